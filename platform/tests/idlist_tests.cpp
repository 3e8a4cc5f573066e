// Identifier lists as byte chains, the task allocator that backs them, and the file-name codec.

#include "namespacesandbox.h"

#include <QtCore/QByteArray>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace pindrel::platform;

namespace {

// A chain written by hand: the bytes are copied into a task-allocator block, like a list that
// came from elsewhere.
idlist::Unique chain(const std::vector<uint8_t> &pBytes)
{
    auto *const block = static_cast<ItemIdList *>(TaskAllocator::instance().alloc(pBytes.size()));
    std::copy(pBytes.begin(), pBytes.end(), block);
    return idlist::Unique(block);
}

std::vector<uint8_t> bytesOf(const ItemIdList *p)
{
    return p == nullptr ? std::vector<uint8_t>{} : std::vector<uint8_t>(p, p + idlist::size(p));
}

class IdListTest : public LeakCheckedTest
{
};

struct ShapeRow
{
    const char *name;
    std::vector<uint8_t> bytes;
    int level;
    size_t size;
    std::vector<uint8_t> copied; // what copy() gives: the valid part, terminated
    ptrdiff_t lastOffset; // -1: none
};

TEST_F(IdListTest, LevelSizeCopyAndLastOfChains)
{
    const ShapeRow rows[] = {
        {"empty list", {0, 0}, 0, 2, {0, 0}, -1},
        {"one identifier", {4, 0, 'a', 'b', 0, 0}, 1, 6, {4, 0, 'a', 'b', 0, 0}, 0},
        {"two identifiers",
         {3, 0, 'x', 5, 0, 'p', 'q', 'r', 0, 0},
         2,
         10,
         {3, 0, 'x', 5, 0, 'p', 'q', 'r', 0, 0},
         3},
        {"bare count identifier", {2, 0, 0, 0}, 1, 4, {2, 0, 0, 0}, 0},
        {"count of 1 ends the walk", {3, 0, 'x', 1, 0, 'z', 'z', 0, 0}, 1, 5, {3, 0, 'x', 0, 0}, 0},
        {"count of 1 at the start", {1, 0, 7, 7}, 0, 2, {0, 0}, -1},
    };
    for (const ShapeRow &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique list = chain(row.bytes);
        EXPECT_EQ(idlist::level(list.get()), row.level);
        EXPECT_EQ(idlist::size(list.get()), row.size);
        const idlist::Unique copied(idlist::copy(list.get()));
        EXPECT_EQ(bytesOf(copied.get()), row.copied);
        const ItemIdList *last = idlist::last(list.get());
        EXPECT_EQ(last == nullptr ? -1 : last - list.get(), row.lastOffset);
    }
}

TEST_F(IdListTest, CountsAreLittleEndian)
{
    // One identifier of 0x0104 = 260 bytes, then the terminator.
    std::vector<uint8_t> bytes(260 + 2, 'n');
    bytes[0] = 0x04;
    bytes[1] = 0x01;
    bytes[260] = 0;
    bytes[261] = 0;
    const idlist::Unique list = chain(bytes);
    EXPECT_EQ(idlist::level(list.get()), 1);
    EXPECT_EQ(idlist::size(list.get()), 262u);
}

TEST_F(IdListTest, NullListsAreNothing)
{
    EXPECT_EQ(idlist::level(nullptr), 0);
    EXPECT_EQ(idlist::size(nullptr), 0u);
    EXPECT_EQ(idlist::copy(nullptr), nullptr);
    EXPECT_EQ(idlist::firstN(nullptr, 0), nullptr);
    EXPECT_EQ(idlist::last(nullptr), nullptr);
    EXPECT_EQ(idlist::next(nullptr), nullptr);
    EXPECT_TRUE(idlist::equal(nullptr, nullptr));
    idlist::free(nullptr);
}

TEST_F(IdListTest, FirstNTakesAPrefixOrNothing)
{
    const idlist::Unique list = chain({3, 0, 'a', 3, 0, 'b', 4, 0, 'c', 'c', 0, 0});
    struct Row
    {
        const char *name;
        int n;
        bool made;
        std::vector<uint8_t> bytes;
    };
    const Row rows[] = {
        {"none", 0, true, {0, 0}},
        {"first", 1, true, {3, 0, 'a', 0, 0}},
        {"two", 2, true, {3, 0, 'a', 3, 0, 'b', 0, 0}},
        {"all: a plain copy", 3, true, {3, 0, 'a', 3, 0, 'b', 4, 0, 'c', 'c', 0, 0}},
        {"more than there are", 4, false, {}},
        {"negative", -1, false, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique prefix(idlist::firstN(list.get(), row.n));
        EXPECT_EQ(prefix != nullptr, row.made);
        EXPECT_EQ(bytesOf(prefix.get()), row.bytes);
    }
}

TEST_F(IdListTest, JoinConcatenatesAndTreatsNullAsEmpty)
{
    const idlist::Unique parent = chain({3, 0, 'a', 0, 0});
    const idlist::Unique relative = chain({4, 0, 'b', 'b', 3, 0, 'c', 0, 0});
    const idlist::Unique desktop(idlist::empty());
    struct Row
    {
        const char *name;
        const ItemIdList *parent;
        const ItemIdList *relative;
        std::vector<uint8_t> bytes;
    };
    const Row rows[] = {
        {"parent and relative",
         parent.get(),
         relative.get(),
         {3, 0, 'a', 4, 0, 'b', 'b', 3, 0, 'c', 0, 0}},
        {"empty parent", desktop.get(), relative.get(), {4, 0, 'b', 'b', 3, 0, 'c', 0, 0}},
        {"null relative", parent.get(), nullptr, {3, 0, 'a', 0, 0}},
        {"both null", nullptr, nullptr, {0, 0}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique joined(idlist::join(row.parent, row.relative));
        EXPECT_EQ(bytesOf(joined.get()), row.bytes);
    }
}

TEST_F(IdListTest, LastAndNextPointIntoTheList)
{
    const idlist::Unique list = chain({3, 0, 'a', 4, 0, 'b', 'b', 0, 0});
    EXPECT_EQ(idlist::last(list.get()), list.get() + 3);
    EXPECT_EQ(idlist::level(idlist::last(list.get())), 1);
    EXPECT_EQ(idlist::next(list.get()), list.get() + 3);
    EXPECT_EQ(idlist::next(idlist::next(list.get())), list.get() + 7);
    const idlist::Unique desktop(idlist::empty());
    EXPECT_EQ(idlist::next(desktop.get()), desktop.get());
}

TEST_F(IdListTest, EqualComparesTheValidPart)
{
    const idlist::Unique a = chain({3, 0, 'a', 0, 0});
    const idlist::Unique sameBytes = chain({3, 0, 'a', 0, 0});
    const idlist::Unique other = chain({3, 0, 'b', 0, 0});
    const idlist::Unique longer = chain({3, 0, 'a', 3, 0, 'b', 0, 0});
    const idlist::Unique malformedTail = chain({3, 0, 'a', 1, 0, 9});
    const idlist::Unique desktop(idlist::empty());
    EXPECT_TRUE(idlist::equal(a.get(), sameBytes.get()));
    EXPECT_FALSE(idlist::equal(a.get(), other.get()));
    EXPECT_FALSE(idlist::equal(a.get(), longer.get()));
    EXPECT_TRUE(idlist::equal(a.get(), malformedTail.get()));
    EXPECT_FALSE(idlist::equal(a.get(), nullptr));
    EXPECT_FALSE(idlist::equal(desktop.get(), nullptr));
}

TEST_F(IdListTest, FromPayloadMakesOneIdentifier)
{
    const uint8_t payload[] = {'x', 'y'};
    const idlist::Unique list(idlist::fromPayload(payload, 2));
    EXPECT_EQ(bytesOf(list.get()), (std::vector<uint8_t>{4, 0, 'x', 'y', 0, 0}));
    const std::vector<uint8_t> tooLong(0xFFFE, 'z');
    EXPECT_EQ(idlist::fromPayload(tooLong.data(), tooLong.size()), nullptr);
    const std::vector<uint8_t> longest(0xFFFD, 'z');
    const idlist::Unique biggest(idlist::fromPayload(longest.data(), longest.size()));
    EXPECT_EQ(idlist::size(biggest.get()), 0xFFFFu + 2);
}

TEST_F(IdListTest, WalksStopAtTheLevelLimit)
{
    // More bare identifiers than any walk reads, then a terminator.
    std::vector<uint8_t> bytes;
    for (int i = 0; i < idlist::kMaxLevel + 100; ++i) {
        bytes.push_back(2);
        bytes.push_back(0);
    }
    bytes.push_back(0);
    bytes.push_back(0);
    const idlist::Unique list = chain(bytes);
    EXPECT_EQ(idlist::level(list.get()), idlist::kMaxLevel);
    EXPECT_EQ(idlist::size(list.get()), static_cast<size_t>(idlist::kMaxLevel) * 2 + 2);
    const idlist::Unique copied(idlist::copy(list.get()));
    EXPECT_EQ(idlist::level(copied.get()), idlist::kMaxLevel);
}

TEST_F(IdListTest, WalksStopAtTheByteLimit)
{
    // Identifiers of the largest size until they pass the byte limit.
    const size_t count = idlist::kMaxBytes / 0xFFFF + 2;
    std::vector<uint8_t> bytes(count * 0xFFFF + 2, 'q');
    for (size_t i = 0; i < count; ++i) {
        bytes[i * 0xFFFF] = 0xFF;
        bytes[i * 0xFFFF + 1] = 0xFF;
    }
    bytes[count * 0xFFFF] = 0;
    bytes[count * 0xFFFF + 1] = 0;
    const idlist::Unique list = chain(bytes);
    const size_t fitting = (idlist::kMaxBytes - 2) / 0xFFFF;
    EXPECT_EQ(idlist::level(list.get()), static_cast<int>(fitting));
    EXPECT_LE(idlist::size(list.get()), idlist::kMaxBytes);
    // Joining two lists that together pass the limit fails rather than making a chain that
    // no walk would read to its end.
    EXPECT_EQ(idlist::join(list.get(), list.get()), nullptr);
}

class TaskAllocatorTest : public LeakCheckedTest
{
};

TEST_F(TaskAllocatorTest, CountsBlocksAndIgnoresBadFrees)
{
    TaskAllocator &allocator = TaskAllocator::instance();
    const size_t start = allocator.outstanding();
    void *const a = allocator.alloc(16);
    void *const b = allocator.alloc(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(allocator.outstanding(), start + 2);
    EXPECT_TRUE(allocator.owns(a));
    allocator.free(a);
    EXPECT_FALSE(allocator.owns(a));
    EXPECT_EQ(allocator.outstanding(), start + 1);
    allocator.free(a); // twice: ignored
    int onTheStack = 0;
    allocator.free(&onTheStack); // never handed out: ignored
    allocator.free(nullptr);
    EXPECT_EQ(allocator.outstanding(), start + 1);
    allocator.free(b);
    EXPECT_EQ(allocator.outstanding(), start);
}

TEST_F(TaskAllocatorTest, CountsStayRightAcrossThreads)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 2000; ++i) {
                const idlist::Unique list(idlist::empty());
                const idlist::Unique copied(idlist::copy(list.get()));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    // LeakCheckedTest checks that the count is back where it was.
}

struct CodecRow
{
    const char *name;
    QByteArray bytes;
    QString text;
};

TEST(FileNameCodecTest, BytesSurviveTheTripThroughText)
{
    const CodecRow rows[] = {
        {"ascii", "plain name", QStringLiteral("plain name")},
        {"utf-8", "gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80",
         QString::fromUtf8("gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80")},
        {"newline", "line1\nline2", QStringLiteral("line1\nline2")},
        {"latin-1 byte", "caf\xe9", QStringLiteral("caf") + QChar(0xDCE9)},
        {"lone continuation", "a\x80z", QStringLiteral("a") + QChar(0xDC80) + u'z'},
        {"truncated sequence", "\xe2\x82", QString(QChar(0xDCE2)) + QChar(0xDC82)},
        {"overlong slash", "\xc0\xaf", QString(QChar(0xDCC0)) + QChar(0xDCAF)},
        {"encoded surrogate", "\xed\xa0\x80",
         QString(QChar(0xDCED)) + QChar(0xDCA0) + QChar(0xDC80)},
        {"past U+10FFFF", "\xf4\x90\x80\x80",
         QString(QChar(0xDCF4)) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80)},
        {"valid after invalid", "\xff\xc3\xa9", QString(QChar(0xDCFF)) + QChar(0xE9)},
    };
    for (const CodecRow &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decodeFileName(row.bytes), row.text);
        EXPECT_EQ(encodeFileName(row.text), row.bytes);
    }
}

TEST(FileNameCodecTest, TextOnlyOddities)
{
    // A real character whose low surrogate lies in the escape range is not an escape.
    const QString u10080 = QString(QChar(0xD800)) + QChar(0xDC80);
    EXPECT_EQ(encodeFileName(u10080), QByteArray("\xf0\x90\x82\x80"));
    EXPECT_EQ(decodeFileName("\xf0\x90\x82\x80"), u10080);
    // Other unpaired surrogates cannot be bytes: they become U+FFFD.
    EXPECT_EQ(encodeFileName(QString(QChar(0xD800))), QByteArray("\xef\xbf\xbd"));
    EXPECT_EQ(displayFileName(QStringLiteral("caf") + QChar(0xDCE9)),
              QStringLiteral("caf") + QChar(0xFFFD));
    EXPECT_EQ(displayFileName(u10080), u10080);
}

} // namespace
