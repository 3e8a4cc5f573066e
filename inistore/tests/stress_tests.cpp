// Crash and concurrency tests of the private-profile writer: a writer process killed in the
// middle of its work leaves the old file or the new one, never a torn one, and writers in
// several processes do not lose each other's updates. The writer is txini_stress_writer.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "childprocess.h"
#include "testfiles.h"
#include "txini/profile.h"

namespace txini::test {
namespace {

using namespace std::chrono_literals;

// Generous: the machine may be busy with other builds. Reaching one is a failure, never a pass.
constexpr auto kCommitTimeout = 20s;
constexpr auto kRunTimeout = 60s;

// A realistic settings file of 100 drawers (about 18 KB, CRLF line ends) with a counter near the
// top, so that every rewrite moves nearly the whole file. content(n) is the file with the
// counter at n; nothing else ever changes in it.
class ButtonsFile
{
public:
    ButtonsFile()
    {
        m_head = "; Pindrel settings\r\n"
                 "[CONFIG]\r\n"
                 "CANTBOTONES=100\r\n"
                 "COUNTER=";
        std::ostringstream tail;
        tail << "\r\nTHEME=2\r\nTRANSPARENCIA=230\r\n\r\n";
        for (int button = 1; button <= 100; ++button) {
            tail << "[BUTTON" << button << "]\r\n"
                 << "PATH=/home/user/Documents/Projects/Drawer " << button << "\r\n"
                 << "CAPTION=Drawer number " << button << "\r\n"
                 << "ICON=/usr/share/icons/hicolor/48x48/places/folder-" << button << ".png\r\n"
                 << "LEFT=" << 120 * button << "\r\n"
                 << "TOP=" << 480 + button << "\r\n"
                 << "WIDTH=6630\r\n"
                 << "HEIGHT=5505\r\n"
                 << "VISIBLE=" << button % 2 << "\r\n"
                 << "VIEW=" << button % 4 << "\r\n"
                 << "\r\n";
        }
        m_tail = tail.str();
    }

    std::string content(long long pCounter) const { return withCounter(std::to_string(pCounter)); }
    std::string withCounter(const std::string &pValue) const { return m_head + pValue + m_tail; }

private:
    std::string m_head;
    std::string m_tail;
};

long long toNumber(const std::string &pText)
{
    std::size_t used = 0;
    const long long number = std::stoll(pText, &used);
    if (used != pText.size())
        throw std::invalid_argument("not a number: " + pText);
    return number;
}

std::string readValue(const std::string &pFile, const char *pSection, const char *pKey)
{
    char buffer[256] = {};
    const auto length =
        GetPrivateProfileStringA(pSection, pKey, "", buffer, sizeof buffer, pFile.c_str());
    return std::string(buffer, length);
}

// The NUL-separated names of a list read (sections, or the keys of a section).
std::vector<std::string> readNames(const std::string &pFile, const char *pSection)
{
    std::vector<char> buffer(1 << 16);
    const auto length = GetPrivateProfileStringA(
        pSection, nullptr, "", buffer.data(), static_cast<uint32_t>(buffer.size()), pFile.c_str());
    std::vector<std::string> names;
    for (std::size_t start = 0; start < length;) {
        const std::string name(buffer.data() + start);
        names.push_back(name);
        start += name.size() + 1;
    }
    return names;
}

// Where two texts first differ, with some context, for a failure message.
std::string describeDifference(const std::string &pActual, const std::string &pExpected)
{
    const auto mismatch =
        std::mismatch(pActual.begin(), pActual.end(), pExpected.begin(), pExpected.end());
    const auto offset = static_cast<std::size_t>(mismatch.first - pActual.begin());
    const auto from = offset > 40 ? offset - 40 : 0;
    std::ostringstream text;
    text << "file has " << pActual.size() << " bytes, expected " << pExpected.size()
         << "; first difference at byte " << offset << "\n  file:     [" << pActual.substr(from, 80)
         << "]\n  expected: [" << pExpected.substr(from, 80) << "]";
    return text.str();
}

std::vector<std::string> loopWriter(const std::string &pFile)
{
    return {TXINI_STRESS_WRITER, pFile, "loop", "CONFIG", "COUNTER"};
}

// Runs one loop writer (pWriter, loopWriter's by default) until it has committed a value, lets
// it go on for pJitter (collecting what it commits meanwhile), kills it, and returns the last
// value it reported as committed; -1 after a failure has been recorded.
long long commitThenKill(const std::string &pFile, std::chrono::microseconds pJitter,
                         const std::vector<std::string> &pWriter = {})
{
    ChildProcess writer(pWriter.empty() ? loopWriter(pFile) : pWriter);
    const auto first = writer.readLine(Clock::now() + kCommitTimeout);
    if (!first) {
        writer.kill();
        ADD_FAILURE() << "the writer committed nothing; it ended with " << writer.exitStatus()
                      << ", stderr: " << writer.errors();
        return -1;
    }
    // The wait on the writer's output is what varies the moment of the kill: it falls anywhere
    // in the writes that follow, from reading the file to replacing it.
    writer.pumpUntil(Clock::now() + pJitter);
    writer.kill();
    if (writer.exitStatus() != -SIGKILL) {
        ADD_FAILURE() << "the writer ended by itself with " << writer.exitStatus()
                      << ", stderr: " << writer.errors();
        return -1;
    }
    long long last = toNumber(*first);
    for (const auto &line : writer.unreadLines())
        last = toNumber(line);
    return last;
}

// Checks that pContent is the file of pBase with the counter at pLast or pLast + 1 (the write
// in progress at the kill may have been committed without being reported) and returns it;
// -1 after a failure has been recorded.
long long committedCounter(const ButtonsFile &pBase, const std::string &pContent, long long pLast)
{
    if (pContent == pBase.content(pLast))
        return pLast;
    if (pContent == pBase.content(pLast + 1))
        return pLast + 1;
    ADD_FAILURE() << "the file is neither the old nor the new one (last committed value " << pLast
                  << "): " << describeDifference(pContent, pBase.content(pLast));
    return -1;
}

TEST(StressCrash, KilledWriterLeavesOldOrNewFile)
{
    constexpr int kIterations = 200;
    const ButtonsFile base;
    TempDir dir;
    const std::string file = dir.file("config.ini");
    writeBytes(file, base.content(0));

    // A fixed seed: the kill moments differ from one iteration to the next, but a failing run
    // can be repeated.
    std::mt19937 random(20240917);
    std::uniform_int_distribution<int> jitter(0, 5000);
    long long counter = 0;
    for (int iteration = 0; iteration < kIterations; ++iteration) {
        SCOPED_TRACE("iteration " + std::to_string(iteration));
        // Every fourth kill comes as soon as the first commit is seen.
        const std::chrono::microseconds wait(iteration % 4 == 0 ? 0 : jitter(random));
        const long long last = commitThenKill(file, wait);
        if (last < 0)
            return; // the failure is recorded
        // The writer goes on from the stored number, so its first commit is above it.
        ASSERT_GT(last, counter);

        const long long stored = committedCounter(base, readBytes(file), last);
        if (stored < 0)
            return; // the failure is recorded
        // This process reads the file that the other one replaced, not an older copy of it.
        ASSERT_EQ(readValue(file, "config", "counter"), std::to_string(stored));
        counter = stored;
    }
    EXPECT_EQ(readNames(file, nullptr).size(), 101u);
}

TEST(StressConcurrency, TwoWritersLoseNoUpdates)
{
    constexpr int kKeysEach = 300;
    const ButtonsFile base;
    TempDir dir;
    const std::string file = dir.file("config.ini");
    writeBytes(file, base.content(0));

    StartGate gate;
    const std::string count = std::to_string(kKeysEach);
    ChildProcess first({TXINI_STRESS_WRITER, file, "keys", "A", count}, &gate);
    ChildProcess second({TXINI_STRESS_WRITER, file, "keys", "B", count}, &gate);
    gate.release(2);
    const auto deadline = Clock::now() + kRunTimeout;
    ASSERT_TRUE(first.waitFor(deadline)) << "the first writer did not finish";
    ASSERT_TRUE(second.waitFor(deadline)) << "the second writer did not finish";
    EXPECT_EQ(first.exitStatus(), 0) << first.errors();
    EXPECT_EQ(second.exitStatus(), 0) << second.errors();

    // The drawers are untouched; the new section follows them.
    const std::string content = readBytes(file);
    const std::string original = base.content(0);
    EXPECT_EQ(content.compare(0, original.size(), original), 0)
        << describeDifference(content.substr(0, original.size()), original);

    std::vector<std::string> lost;
    for (const char *prefix : {"A", "B"}) {
        for (int index = 1; index <= kKeysEach; ++index) {
            const std::string key = prefix + std::to_string(index);
            if (readValue(file, "S", key.c_str()) != "value-" + key)
                lost.push_back(key);
        }
    }
    EXPECT_EQ(lost.size(), 0u) << "lost keys, the first " << (lost.empty() ? "" : lost.front());

    // One section [S], each key in it once.
    EXPECT_EQ(readNames(file, nullptr).size(), 102u);
    const auto keys = readNames(file, "S");
    EXPECT_EQ(keys.size(), 2u * kKeysEach);
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
}

TEST(StressConcurrency, KilledWriterDoesNotHoldUpOthers)
{
    constexpr int kKeys = 200;
    const ButtonsFile base;
    TempDir dir;
    const std::string file = dir.file("config.ini");
    writeBytes(file, base.content(0));

    // While one writer adds its keys, others are started and killed in the middle of their
    // writes, some of them while they hold the file's lock.
    ChildProcess steady({TXINI_STRESS_WRITER, file, "keys", "K", std::to_string(kKeys)});
    const auto deadline = Clock::now() + kRunTimeout;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitter(0, 3000);
    long long last = 0;
    int kills = 0;
    while (!steady.pumpUntil(Clock::now())) {
        ASSERT_LT(Clock::now(), deadline) << "the steady writer did not finish";
        last = commitThenKill(file, std::chrono::microseconds(jitter(random)));
        if (last < 0)
            return; // the failure is recorded
        ++kills;
    }
    ASSERT_TRUE(steady.waitFor(deadline));
    EXPECT_EQ(steady.exitStatus(), 0) << steady.errors();
    EXPECT_GT(kills, 0);

    const std::string content = readBytes(file);
    const std::string counter = readValue(file, "CONFIG", "COUNTER");
    EXPECT_TRUE(counter == std::to_string(last) || counter == std::to_string(last + 1))
        << "counter " << counter << ", last committed " << last;
    const std::string original = base.content(toNumber(counter));
    EXPECT_EQ(content.compare(0, original.size(), original), 0)
        << describeDifference(content.substr(0, original.size()), original);
    int missing = 0;
    for (int index = 1; index <= kKeys; ++index) {
        const std::string key = "K" + std::to_string(index);
        missing += readValue(file, "S", key.c_str()) != "value-" + key ? 1 : 0;
    }
    EXPECT_EQ(missing, 0);
}

// The rewrite in place: a writable file in a folder that refuses new files. Root may create
// files in any folder, so under root the writers and readers run as the unprivileged user
// nobody, from copies of the programs that user can reach; otherwise as the user running the
// tests. Their journals go to a folder of the sandbox.
class InPlaceSandbox
{
public:
    explicit InPlaceSandbox(const std::string &pContent)
    {
        namespace fs = std::filesystem;
        const bool root = ::geteuid() == 0;
        fs::permissions(m_dir.path(), fs::perms(0755));
        m_program = TXINI_STRESS_WRITER;
        if (root) {
            m_prefix = {findProgram("setpriv"), "--reuid=nobody", "--regid=nogroup",
                        "--clear-groups"};
            // The program finds its library beside it, in ../lib.
            fs::create_directories(m_dir.path() / "bin");
            fs::create_directories(m_dir.path() / "lib");
            m_program = (m_dir.path() / "bin" / "txini_stress_writer").string();
            fs::copy_file(TXINI_STRESS_WRITER, m_program);
            fs::copy_file(TXINI_LIBRARY, m_dir.path() / "lib" / TXINI_LIBRARY_SONAME);
        }
        const fs::path work = m_dir.path() / "work";
        const fs::path state = m_dir.path() / "state";
        fs::create_directory(work);
        fs::create_directory(state);
        fs::permissions(state, fs::perms(0700));
        m_file = (work / "config.ini").string();
        writeBytes(m_file, pContent);
        if (root) {
            for (const fs::path &path : {work, state, fs::path(m_file)})
                ::chown(path.c_str(), kNobody, kNogroup);
        }
        fs::permissions(work, fs::perms(0555));
        m_journals.emplace("XDG_STATE_HOME", state.string());
    }

    const std::string &file() const { return m_file; }
    // The stress program with pArguments after FILE, run as the sandbox's user.
    std::vector<std::string> command(const std::vector<std::string> &pArguments) const
    {
        std::vector<std::string> command = m_prefix;
        command.push_back(m_program);
        command.push_back(m_file);
        command.insert(command.end(), pArguments.begin(), pArguments.end());
        return command;
    }

private:
    static constexpr uid_t kNobody = 65534;
    static constexpr gid_t kNogroup = 65534;

    static std::string findProgram(const std::string &pName)
    {
        for (const char *folder : {"/usr/bin/", "/bin/", "/usr/sbin/", "/sbin/"}) {
            const std::string path = folder + pName;
            if (::access(path.c_str(), X_OK) == 0)
                return path;
        }
        throw std::runtime_error(pName + " is missing (util-linux)");
    }

    TempDir m_dir;
    std::string m_program;
    std::vector<std::string> m_prefix;
    std::string m_file;
    std::optional<ScopedVariable> m_journals; // inherited by the programs the sandbox runs
};

// The value the padded loop writer stores for pNumber (see stress_writer.cpp).
std::string padded(long long pNumber)
{
    return std::to_string(pNumber) + (pNumber % 2 == 1 ? std::string(400, '.') : std::string());
}

TEST(StressInPlace, KilledWriterLeavesOldOrNewFile)
{
    constexpr int kIterations = 200;
    const ButtonsFile base;
    InPlaceSandbox sandbox(base.withCounter(padded(0)));
    const auto writer = sandbox.command({"loop-padded", "CONFIG", "COUNTER"});

    std::mt19937 random(20250101);
    std::uniform_int_distribution<int> jitter(0, 5000);
    long long counter = 0;
    for (int iteration = 0; iteration < kIterations; ++iteration) {
        SCOPED_TRACE("iteration " + std::to_string(iteration));
        const std::chrono::microseconds wait(iteration % 4 == 0 ? 0 : jitter(random));
        const long long last = commitThenKill(sandbox.file(), wait, writer);
        if (last < 0)
            return; // the failure is recorded
        ASSERT_GT(last, counter);

        // The next call of the same user finishes what the killed writer left.
        ChildProcess reader(sandbox.command({"read", "CONFIG", "COUNTER"}));
        ASSERT_TRUE(reader.waitFor(Clock::now() + kCommitTimeout)) << "the reader hung";
        ASSERT_EQ(reader.exitStatus(), 0) << reader.errors();

        const std::string content = readBytes(sandbox.file());
        long long stored = -1;
        for (const long long candidate : {last, last + 1}) {
            if (content == base.withCounter(padded(candidate)))
                stored = candidate;
        }
        ASSERT_GE(stored, 0) << "the file is neither the old nor the new one (last committed "
                             << last << "): "
                             << describeDifference(content, base.withCounter(padded(last)));
        EXPECT_EQ(reader.output(), padded(stored) + "\n");
        counter = stored;
    }
}

TEST(StressInPlace, ReadersNeverSeeAHalfWrittenFile)
{
    constexpr int kReaders = 3;
    const ButtonsFile base;
    InPlaceSandbox sandbox(base.withCounter(padded(0)));

    ChildProcess writer(sandbox.command({"loop-padded", "CONFIG", "COUNTER"}));
    ASSERT_TRUE(writer.readLine(Clock::now() + kCommitTimeout)) << writer.errors();
    std::vector<std::unique_ptr<ChildProcess>> readers;
    for (int reader = 0; reader < kReaders; ++reader)
        readers.push_back(std::make_unique<ChildProcess>(
            sandbox.command({"watch", "CONFIG", "COUNTER", "1500"})));
    const auto deadline = Clock::now() + kRunTimeout;
    for (auto &reader : readers) {
        ASSERT_TRUE(reader->waitFor(deadline)) << "a reader did not finish";
        EXPECT_EQ(reader->exitStatus(), 0) << reader->errors();
    }
    // The writer went on writing all along.
    writer.pumpUntil(Clock::now());
    EXPECT_GT(writer.unreadLines().size(), 10u);
}

} // namespace
} // namespace txini::test
