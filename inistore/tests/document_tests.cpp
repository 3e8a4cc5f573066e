// The engine's own parts: the parser's view of lines, byte-exact round trips, and the file
// handling that goes beyond the platform (atomic replace, permissions, links, seeing changes
// made by others at once).

#include "testfiles.h"

#include "inidocument.h"
#include "inplacejournal.h"
#include "linesource.h"
#include "textrules.h"
#include "txini/profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace txini {
namespace {

struct LineCase
{
    const char *name;
    std::string text;
    LineKind kind;
    std::string lineName;
    std::string value;
};

const LineCase kLineCases[] = {
    {"empty", "", LineKind::Blank, "", ""},
    {"blanks_only", " \t\v ", LineKind::Blank, "", ""},
    {"header", "[abc]", LineKind::Section, "abc", ""},
    {"header_trimmed", " \t[ a b ]  ", LineKind::Section, "a b", ""},
    {"header_with_vertical_tab", "[\va\v]", LineKind::Section, "a", ""},
    {"header_without_close", "[open  ", LineKind::Section, "open", ""},
    {"header_text_after_close", "[a] x=1", LineKind::Section, "a", ""},
    {"header_nested_open", "[[a]", LineKind::Section, "[a", ""},
    {"header_to_last_close", " [a]b ] x", LineKind::Section, "a]b", ""},
    {"header_empty", "[]", LineKind::Section, "", ""},
    {"comment", ";x=1", LineKind::Comment, "", ""},
    {"comment_indented", "\t ;x", LineKind::Comment, "", ""},
    {"hash_is_other", "#x", LineKind::Other, "", ""},
    {"key", "k=v", LineKind::Key, "k", "v"},
    {"key_blanks", " \tk \v= \tv w \t", LineKind::Key, "k", "v w"},
    {"key_first_equals", "k=a=b", LineKind::Key, "k", "a=b"},
    {"key_empty_name", "=v", LineKind::Key, "", "v"},
    {"key_empty_value", "k=", LineKind::Key, "k", ""},
    {"key_quotes_kept_raw", "k=\"v\"", LineKind::Key, "k", "\"v\""},
    {"other", "just text", LineKind::Other, "", ""},
};

class LineTable : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(LineTable, IsClassified)
{
    const LineCase &row = GetParam();
    const IniDocument document = IniDocument::parse(row.text);
    if (row.text.empty()) {
        EXPECT_TRUE(document.lines().empty());
        return;
    }
    ASSERT_EQ(document.lines().size(), 1u);
    const IniLine &line = document.lines().front();
    EXPECT_EQ(line.kind, row.kind);
    if (row.kind == LineKind::Section || row.kind == LineKind::Key) {
        EXPECT_EQ(line.name, row.lineName);
    }
    if (row.kind == LineKind::Key) {
        EXPECT_EQ(line.rawValue(), row.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Parser, LineTable, ::testing::ValuesIn(kLineCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(LineSource, SplitsAtEveryKindOfLineEnd)
{
    LineSource source("a\r\nb\nc\rd\n\ne");
    std::vector<std::string> texts;
    std::vector<std::string> ends;
    SourceLine line;
    while (source.next(line)) {
        texts.emplace_back(line.text);
        ends.emplace_back(line.eol);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(ends, (std::vector<std::string>{"\r\n", "\n", "\r", "\n", "\n", ""}));
}

TEST(Document, RoundTripKeepsEveryByte)
{
    const std::vector<std::string> inputs = {
        "",
        "\n\n",
        "no header\r\n[a]\r\nk = v \r\n;c\r\n\r\nother\r\n[b]\nx=1\ry=2",
        "\xEF\xBB\xBF[bom]\nk=1\n",
        "\xEF\xBB\xBF",
        "[a]\nk=\0v\n"s,
        "\r\r\n\n\r",
    };
    for (const std::string &input : inputs)
        EXPECT_EQ(IniDocument::parse(input).serialize(), input) << testing::PrintToString(input);
}

TEST(Document, NewLinesTakeTheFilesFirstLineEnd)
{
    IniDocument document = IniDocument::parse("[a]\r\nx=1\nz=2\n");
    document.setValue("b", "k", "v");
    EXPECT_EQ(document.serialize(), "[a]\r\nx=1\nz=2\n[b]\r\nk=v\r\n");
}

TEST(Document, BlankValueIsReplacedWithoutItsBlanks)
{
    IniDocument document = IniDocument::parse("[a]\nk=   \nj = old\n");
    document.setValue("a", "k", "390");
    document.setValue("a", "j", "new");
    EXPECT_EQ(document.serialize(), "[a]\nk=390\nj=new\n");
}

TEST(Document, SettingTheSameValueChangesNothing)
{
    IniDocument document = IniDocument::parse("[a]\nk = v\n");
    EXPECT_FALSE(document.setValue("A", "K", "v"));
    EXPECT_TRUE(document.setValue("a", "k", "w"));
    EXPECT_EQ(document.serialize(), "[a]\nk=w\n");
}

TEST(TextRules, FoldCaseCoversCommonAlphabets)
{
    EXPECT_EQ(rules::foldCase("abcXYZ09"), "ABCXYZ09");
    EXPECT_EQ(rules::foldCase("äöüß"), "ÄÖÜß");
    EXPECT_EQ(rules::foldCase("ÿ"), "Ÿ");
    EXPECT_EQ(rules::foldCase("čž"), "ČŽ");
    EXPECT_EQ(rules::foldCase("αβγ"), "ΑΒΓ");
    EXPECT_EQ(rules::foldCase("жё"), "ЖЁ");
    EXPECT_EQ(rules::foldCase("\xFF\xC3"), "\xFF\xC3"); // not UTF-8: kept
    EXPECT_TRUE(rules::equalsNoCase("Straße", "STRASSE") == false);
    EXPECT_TRUE(rules::equalsNoCase("Ärger", "äRGER"));
    // Every letter folds to one as long in UTF-8: names of different lengths never match.
    for (char32_t code = 0; code < 0x800; ++code) {
        std::string text;
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
        EXPECT_EQ(rules::foldCase(text).size(), text.size()) << static_cast<uint32_t>(code);
    }
}

// Stress the whole engine with threads of one process: each write holds the file's lock, so
// none is lost.
// "t<thread>k<write>". Appended rather than "t" + ...: GCC 12 warns falsely (-Wrestrict) on that
// at -O3.
std::string threadKey(int pThread, int pWrite)
{
    std::string key = "t";
    key += std::to_string(pThread);
    key += 'k';
    key += std::to_string(pWrite);
    return key;
}

TEST(ProfileFile, ThreadsWritingAtOnceLoseNothing)
{
    test::TempDir dir;
    const std::string file = dir.file("threads.ini");
    constexpr int kThreads = 4;
    constexpr int kWrites = 40;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&file, t] {
            for (int i = 0; i < kWrites; ++i) {
                const std::string key = threadKey(t, i);
                WritePrivateProfileStringA("s", key.c_str(), key.c_str(), file.c_str());
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string key = threadKey(t, i);
            char buffer[32];
            GetPrivateProfileStringA("s", key.c_str(), "", buffer, sizeof buffer, file.c_str());
            EXPECT_EQ(std::string(buffer), key);
        }
    }
}

#ifndef _WIN32

// Waits until the file's last change is old enough for the engine to trust its cache, so that
// the next reads are answered from it. Bounded; polls the clock, not a fixed sleep.
void waitUntilSettled(const std::string &pFile)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        struct stat info = {};
        ASSERT_EQ(::stat(pFile.c_str(), &info), 0);
        const auto changed =
            std::chrono::system_clock::time_point(std::chrono::seconds(info.st_ctim.tv_sec)
                                                  + std::chrono::nanoseconds(info.st_ctim.tv_nsec));
        const bool coarse = info.st_mtim.tv_nsec == 0;
        if (std::chrono::system_clock::now() - changed
            > std::chrono::milliseconds(coarse ? 2700 : 200))
            return;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        std::this_thread::yield();
    }
}

std::string readValue(const std::string &pFile, const char *pSection, const char *pKey)
{
    char buffer[64];
    const uint32_t count =
        GetPrivateProfileStringA(pSection, pKey, "<missing>", buffer, sizeof buffer, pFile.c_str());
    return std::string(buffer, count);
}

TEST(ProfileFile, SameSizeChangeByAnotherProgramIsSeenAtOnce)
{
    test::TempDir dir;
    const std::string file = dir.file("shared.ini");
    test::writeBytes(file, "[a]\nk=1\n");
    EXPECT_EQ(readValue(file, "a", "k"), "1");
    // Same size, same inode, within the same clock tick as the read.
    test::writeBytes(file, "[a]\nk=2\n");
    EXPECT_EQ(readValue(file, "a", "k"), "2");
}

TEST(ProfileFile, ChangeAfterTheCacheSettledIsSeen)
{
    test::TempDir dir;
    const std::string file = dir.file("settled.ini");
    test::writeBytes(file, "[a]\nk=1\n");
    waitUntilSettled(file);
    EXPECT_EQ(readValue(file, "a", "k"), "1");
    EXPECT_EQ(readValue(file, "a", "k"), "1"); // answered from the cache
    // Rewrite in place and put the old modification time back: the change time still moves.
    struct stat before = {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    test::writeBytes(file, "[a]\nk=3\n");
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(readValue(file, "a", "k"), "3");
}

TEST(ProfileFile, DeletedFileReadsAsMissing)
{
    test::TempDir dir;
    const std::string file = dir.file("gone.ini");
    test::writeBytes(file, "[a]\nk=1\n");
    EXPECT_EQ(readValue(file, "a", "k"), "1");
    fs::remove(file);
    EXPECT_EQ(readValue(file, "a", "k"), "<missing>");
}

TEST(ProfileFile, WriteKeepsPermissionsAndReplacesAtomically)
{
    test::TempDir dir;
    const std::string file = dir.file("perm.ini");
    test::writeBytes(file, "[a]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    // A writer killed before its rename left its temporary file behind.
    test::writeBytes(dir.file(".perm.ini.txini-Ab12Cd"), "[a]\nk=");
    struct stat before = {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);

    ASSERT_NE(WritePrivateProfileStringA("a", "k", "2", file.c_str()), 0);

    struct stat after = {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_NE(after.st_ino, before.st_ino) << "the file was rewritten in place";
    // No temporary file is left beside it, not even the stale one.
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(ProfileFile, WriteThroughLinkKeepsTheLink)
{
    test::TempDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("link.ini");
    test::writeBytes(target, "[a]\nk=1\n");
    fs::create_symlink(target, link);
    ASSERT_NE(WritePrivateProfileStringA("a", "k", "2", link.c_str()), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readBytes(target), "[a]\nk=2\n");
}

TEST(ProfileFile, WriteThroughDanglingLinkCreatesItsTarget)
{
    test::TempDir dir;
    const std::string link = dir.file("d.ini");
    fs::create_symlink("missing.ini", link);
    ASSERT_NE(WritePrivateProfileStringA("a", "k", "v", link.c_str()), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readBytes(dir.file("missing.ini")), "[a]\nk=v\n");
    EXPECT_EQ(readValue(link, "a", "k"), "v");
    // A link into a folder that is not there leads nowhere: nothing is created.
    fs::create_symlink("absent/x.ini", dir.file("far.ini"));
    EXPECT_EQ(WritePrivateProfileStringA("a", "k", "v", dir.file("far.ini").c_str()), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "absent"));
}

// A link in a shared folder with the sticky bit (such as /tmp) is followed only when its owner
// is the caller or the folder's owner, as the kernel's protection of such links has it.
struct LinkCase
{
    const char *name;
    mode_t folderMode;
    uid_t folderOwner;
    uid_t linkOwner;
    bool linkToFolder; // the link stands for a folder on the way, not for the file itself
    bool followed;
};

constexpr uid_t kRoot = 0;
constexpr uid_t kOther = 65534; // nobody

const LinkCase kLinkCases[] = {
    {"other_users_link_in_sticky_folder", 01777, kRoot, kOther, false, false},
    {"other_users_folder_link_in_sticky_folder", 01777, kRoot, kOther, true, false},
    {"own_link_in_sticky_folder", 01777, kRoot, kRoot, false, true},
    {"folder_owners_link_in_sticky_folder", 01777, kOther, kOther, false, true},
    {"other_users_link_in_plain_shared_folder", 0777, kRoot, kOther, false, true},
    {"other_users_link_in_sticky_private_folder", 01755, kRoot, kOther, false, true},
};

class LinkFollowing : public ::testing::TestWithParam<LinkCase>
{
};

TEST_P(LinkFollowing, FollowsOnlyWhereTheKernelWould)
{
    const LinkCase &row = GetParam();
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    test::TempDir dir;
    const fs::path shared = dir.path() / "shared";
    const fs::path victim = dir.path() / "victim";
    fs::create_directory(shared);
    fs::create_directory(victim);
    const std::string target = (victim / "config.ini").string();
    test::writeBytes(target, "[a]\nk=1\n");
    const fs::path link = shared / (row.linkToFolder ? "folder" : "config.ini");
    fs::create_symlink(row.linkToFolder ? victim : fs::path(target), link);
    ASSERT_EQ(::lchown(link.c_str(), row.linkOwner, row.linkOwner), 0);
    ASSERT_EQ(::chown(shared.c_str(), row.folderOwner, row.folderOwner), 0);
    ASSERT_EQ(::chmod(shared.c_str(), row.folderMode), 0);
    const std::string path = row.linkToFolder ? (link / "config.ini").string() : link.string();

    const int written = WritePrivateProfileStringA("a", "k", "2", path.c_str());

    EXPECT_EQ(written != 0, row.followed);
    EXPECT_EQ(test::readBytes(target), row.followed ? "[a]\nk=2\n" : "[a]\nk=1\n");
    EXPECT_TRUE(fs::is_symlink(link));
}

INSTANTIATE_TEST_SUITE_P(ProfileFile, LinkFollowing, ::testing::ValuesIn(kLinkCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

struct RefusedCase
{
    const char *name;
    void (*prepare)(const std::string &pFile);
};

const RefusedCase kRefusedCases[] = {
    {"read_only_file",
     [](const std::string &pFile) {
         test::writeBytes(pFile, "[a]\nk=1\n");
         ::chmod(pFile.c_str(), 0444);
     }},
    {"directory_in_its_place", [](const std::string &pFile) { fs::create_directory(pFile); }},
};

class RefusedWrite : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedWrite, FailsAndChangesNothing)
{
    test::TempDir dir;
    const std::string file = dir.file("config.ini");
    GetParam().prepare(file);
    const bool wasFile = fs::is_regular_file(file);
    const std::string before = wasFile ? test::readBytes(file) : "";

    EXPECT_EQ(WritePrivateProfileStringA("a", "k", "2", file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("a", "k", nullptr, file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("a", nullptr, nullptr, file.c_str()), 0);
    if (wasFile) {
        EXPECT_EQ(test::readBytes(file), before);
    } else {
        EXPECT_TRUE(fs::is_directory(file));
    }
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("a", "zz", "d", buffer, sizeof buffer, file.c_str()), 1u);
}

INSTANTIATE_TEST_SUITE_P(ProfileFile, RefusedWrite, ::testing::ValuesIn(kRefusedCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

// A rewrite in place that a killed writer left half done: what the next call makes of the
// journal's record. The record is made here directly, so each state is reached for certain.
struct InterruptedCase
{
    const char *name;
    std::string current; // what the file holds when the next call comes
    bool readOnly;
    std::string value; // what the next read gives for [a] k
    std::optional<std::string> fileAfter; // nullopt: as it was
    bool recordStays;
};

const std::string kOldContent = "[a]\nk=1\nlong=xxxxxxxxxxxx\n";
const std::string kNewContent = "[a]\nk=22\n";
const std::string kTorn = kNewContent + kOldContent.substr(kNewContent.size());

const InterruptedCase kInterruptedCases[] = {
    {"cut_before_the_tail_went", kTorn, false, "22", kNewContent, false},
    {"cut_in_the_middle", kNewContent.substr(0, 5) + kOldContent.substr(5), false, "22",
     kNewContent, false},
    {"nothing_written_yet", kOldContent, false, "22", kNewContent, false},
    {"already_whole", kNewContent, false, "22", std::nullopt, false},
    {"changed_since_by_another_program", "[a]\nk=3\n", false, "3", std::nullopt, false},
    {"not_ours_to_mend", kTorn, true, "22", std::nullopt, true},
};

class InterruptedRewrite : public ::testing::TestWithParam<InterruptedCase>
{
};

TEST_P(InterruptedRewrite, IsFinishedByTheNextCall)
{
    const InterruptedCase &row = GetParam();
    test::TempDir dir;
    const test::ScopedVariable journals("XDG_STATE_HOME", dir.file("state"));

    const std::string file = dir.file("config.ini");
    test::writeBytes(file, row.current);
    struct stat info = {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    InPlaceJournal journal(info.st_dev, info.st_ino);
    ASSERT_TRUE(journal.begin(kOldContent, kNewContent));
    if (row.readOnly)
        ::chmod(file.c_str(), 0444);

    EXPECT_EQ(readValue(file, "a", "k"), row.value);
    EXPECT_EQ(test::readBytes(file), row.fileAfter.value_or(row.current));
    EXPECT_EQ(journal.exists(), row.recordStays);
    if (!row.readOnly) {
        // And a writer carries on from the mended file.
        EXPECT_NE(WritePrivateProfileStringA("a", "n", "v", file.c_str()), 0);
        EXPECT_EQ(test::readBytes(file), row.fileAfter.value_or(row.current) + "n=v\n");
    }
}

INSTANTIATE_TEST_SUITE_P(ProfileFile, InterruptedRewrite, ::testing::ValuesIn(kInterruptedCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(ProfileFile, WritableFileInReadOnlyFolderIsRewrittenInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may create files in any folder";
    test::TempDir dir;
    test::TempDir journals;
    const test::ScopedVariable journalFolder("XDG_STATE_HOME", journals.path().string());
    const std::string file = dir.file("config.ini");
    test::writeBytes(file, "[a]\nk=1\n");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_NE(WritePrivateProfileStringA("a", "k", "2", file.c_str()), 0);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(test::readBytes(file), "[a]\nk=2\n");
}

#endif

} // namespace
} // namespace txini
