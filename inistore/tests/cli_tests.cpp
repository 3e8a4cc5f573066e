// The `txini` command-line tool, run as a program on temporary files: its output, its one-line
// error messages, its exit statuses and what it does to the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "childprocess.h"
#include "testfiles.h"

namespace txini::test {
namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;

struct CliResult
{
    int status = -1;
    std::string out;
    std::string err;
};

CliResult runCli(std::vector<std::string> pArguments)
{
    pArguments.insert(pArguments.begin(), TXINI_CLI_PATH);
    ChildProcess child(pArguments);
    if (!child.waitFor(Clock::now() + std::chrono::seconds(30)))
        ADD_FAILURE() << "txini did not finish within 30 s";
    return {child.exitStatus(), child.output(), child.errors()};
}

std::string replaceAll(std::string pText, const std::string &pFrom, const std::string &pTo)
{
    for (auto at = pText.find(pFrom); at != std::string::npos;
         at = pText.find(pFrom, at + pTo.size()))
        pText.replace(at, pFrom.size(), pTo);
    return pText;
}

// Whatever the command, a failure says so in exactly one line, and success says nothing on
// the error stream. `exists` is silent about what it finds (not about bad usage).
void expectErrorStreamShape(const std::vector<std::string> &pArguments, const CliResult &pResult)
{
    const bool silent =
        pArguments.size() >= 2 && pArguments[1] == "exists" && pResult.status != kUsage;
    if (pResult.status == kFound || silent) {
        EXPECT_EQ(pResult.err, "");
        return;
    }
    ASSERT_FALSE(pResult.err.empty());
    EXPECT_EQ(pResult.err.rfind("txini: ", 0), 0u) << pResult.err;
    EXPECT_EQ(pResult.err.find('\n'), pResult.err.size() - 1) << pResult.err;
}

const std::string kBase = "; Pindrel settings\n"
                          "[General]\n"
                          "Name = Pindrel \n"
                          "Empty=\n"
                          "Quoted=\"  padded  \"\n"
                          "\n"
                          "[BUTTON1]\n"
                          "PATH=/home/user\n"
                          "CAPTION=Docs\n"
                          "; end of drawer\n"
                          "[Other]";

struct CliRow
{
    const char *name;
    // The file before the run; none: there is no file.
    std::optional<std::string> before;
    // The command line after the program name; "%F" stands for the file's path.
    std::vector<std::string> arguments;
    int status;
    std::string out;
    // "%F" stands for the file's path.
    std::string err;
    // The file after the run; none: exactly as before (or still missing).
    std::optional<std::string> after = std::nullopt;
};

void PrintTo(const CliRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

const std::string kLineBreak =
    "txini: set: SECTION, KEY and VALUE must not hold a line break; nothing was written\n";

// clang-format off
const std::vector<CliRow> kRows = {
    // get
    {"GetTrimmedValue", kBase, {"%F", "get", "General", "Name"}, kFound, "Pindrel\n", ""},
    {"GetIgnoresCaseOfNames", kBase, {"%F", "get", "general", "NAME"}, kFound, "Pindrel\n", ""},
    {"GetEmptyValueIsFound", kBase, {"%F", "get", "General", "Empty"}, kFound, "\n", ""},
    {"GetRemovesOnePairOfQuotes", kBase, {"%F", "get", "General", "Quoted"}, kFound,
        "  padded  \n", ""},
    {"GetMissingKey", kBase, {"%F", "get", "General", "Nope"}, kNotFound, "",
        "txini: key 'Nope' not found in section [General]\n"},
    {"GetKeyOfAnotherSection", kBase, {"%F", "get", "Other", "PATH"}, kNotFound, "",
        "txini: key 'PATH' not found in section [Other]\n"},
    {"GetMissingSection", kBase, {"%F", "get", "Nope", "Name"}, kNotFound, "",
        "txini: key 'Name' not found in section [Nope]\n"},
    {"GetMissingFile", std::nullopt, {"%F", "get", "General", "Name"}, kNotFound, "",
        "txini: %F: no such file\n"},

    // set
    {"SetReplacesInPlace", kBase, {"%F", "set", "button1", "caption", "My Docs"}, kFound, "", "",
        replaceAll(kBase, "CAPTION=Docs", "CAPTION=My Docs")},
    {"SetDropsSpacesAroundValue", kBase, {"%F", "set", "BUTTON1", "CAPTION", "  x y  "}, kFound,
        "", "", replaceAll(kBase, "CAPTION=Docs", "CAPTION=x y")},
    {"SetAddsKeyAfterLastKeyOfSection", kBase, {"%F", "set", "General", "Theme", "2"}, kFound,
        "", "", replaceAll(kBase, "padded  \"\n", "padded  \"\nTheme=2\n")},
    {"SetKeepsQuotesInFile", kBase, {"%F", "set", "BUTTON1", "Q", "'x'"}, kFound, "", "",
        replaceAll(kBase, "CAPTION=Docs\n", "CAPTION=Docs\nQ='x'\n")},
    {"SetAppendsNewSection", kBase, {"%F", "set", "New", "K", "V"}, kFound, "", "",
        kBase + "\n[New]\nK=V\n"},
    {"SetCreatesMissingFile", std::nullopt, {"%F", "set", "S", "K", "V"}, kFound, "", "",
        "[S]\nK=V\n"},
    {"SetRefusesLineFeedInValue", kBase, {"%F", "set", "General", "K", "a\nb"}, kNotFound, "",
        kLineBreak},
    {"SetRefusesCarriageReturnInValue", kBase, {"%F", "set", "General", "Name", "a\rb"},
        kNotFound, "", kLineBreak},
    {"SetRefusesLineFeedInKey", kBase, {"%F", "set", "General", "K\nX", "v"}, kNotFound, "",
        kLineBreak},
    {"SetRefusedLeavesNoFile", std::nullopt, {"%F", "set", "S", "K", "a\nb"}, kNotFound, "",
        kLineBreak},
    {"SetRefusesCommentKey", kBase, {"%F", "set", "General", " ;K", "v"}, kUsage, "",
        "txini: set: a KEY starting with ';' would be written as a comment\n"},
    {"SetRefusesKeyLikeHeader", kBase, {"%F", "set", "General", "[K", "v"}, kUsage, "",
        "txini: set: a KEY starting with '[' would read as a section header\n"},
    {"SetRefusesEqualsInKey", kBase, {"%F", "set", "General", "a=b", "v"}, kUsage, "",
        "txini: set: KEY must not contain '='\n"},
    {"SetRefusesBracketInSection", kBase, {"%F", "set", "a]b", "K", "v"}, kUsage, "",
        "txini: set: SECTION must not contain ']'\n"},
    {"SetRefusesTabbedKeyLikeHeader", kBase, {"%F", "set", "General", "\t[B]", "x"}, kUsage, "",
        "txini: set: a KEY starting with '[' would read as a section header\n"},
    {"SetRefusesTabbedCommentKey", kBase, {"%F", "set", "General", "\v;x", "x"}, kUsage, "",
        "txini: set: a KEY starting with ';' would be written as a comment\n"},
    {"SetRefusesEmptyKey", kBase, {"%F", "set", "General", " ", "x"}, kUsage, "",
        "txini: set: KEY must not be empty\n"},
    {"SetRefusesTabAtEndOfKey", kBase, {"%F", "set", "General", "Name\t", "x"}, kUsage, "",
        "txini: set: KEY must not begin or end with a tab or vertical tab\n"},
    {"SetRefusesTabAtStartOfSection", kBase, {"%F", "set", "\tGeneral", "Name", "x"}, kUsage,
        "", "txini: set: SECTION must not begin or end with a tab or vertical tab\n"},

    // delete
    {"DeleteKey", kBase, {"%F", "delete", "button1", "caption"}, kFound, "", "",
        replaceAll(kBase, "CAPTION=Docs\n", "")},
    {"DeleteSectionKeepsItsComments", kBase, {"%F", "delete", "BUTTON1"}, kFound, "", "",
        replaceAll(kBase, "[BUTTON1]\nPATH=/home/user\nCAPTION=Docs\n", "")},
    {"DeleteMissingKey", kBase, {"%F", "delete", "BUTTON1", "ICON"}, kNotFound, "",
        "txini: key 'ICON' not found in section [BUTTON1]\n"},
    {"DeleteMissingSection", kBase, {"%F", "delete", "BUTTON2"}, kNotFound, "",
        "txini: section [BUTTON2] not found\n"},
    {"DeleteEmptyKeyIsRefused", kBase, {"%F", "delete", "BUTTON1", ""}, kUsage, "",
        "txini: delete: KEY must not be empty (leave it out to delete the whole section)\n"},
    {"DeleteInMissingFile", std::nullopt, {"%F", "delete", "BUTTON1"}, kNotFound, "",
        "txini: %F: no such file\n"},

    // sections
    {"SectionsInFileOrder", kBase, {"%F", "sections"}, kFound, "General\nBUTTON1\nOther\n", ""},
    {"SectionsOfFileWithoutSections", std::string("; nothing\nk=v\n"), {"%F", "sections"},
        kFound, "", ""},
    {"SectionsOfMissingFile", std::nullopt, {"%F", "sections"}, kNotFound, "",
        "txini: %F: no such file\n"},

    // keys
    {"KeysSkipComments", kBase, {"%F", "keys", "general"}, kFound, "Name\nEmpty\nQuoted\n", ""},
    {"KeysOfSectionWithoutKeys", kBase, {"%F", "keys", "Other"}, kFound, "", ""},
    {"KeysOfMissingSection", kBase, {"%F", "keys", "Nope"}, kNotFound, "",
        "txini: section [Nope] not found\n"},
    {"KeysOfMissingFile", std::nullopt, {"%F", "keys", "General"}, kNotFound, "",
        "txini: %F: no such file\n"},

    // exists: the status alone
    {"ExistsSection", kBase, {"%F", "exists", "OTHER"}, kFound, "", ""},
    {"ExistsKey", kBase, {"%F", "exists", "General", "name"}, kFound, "", ""},
    {"ExistsKeyWithEmptyValue", kBase, {"%F", "exists", "General", "Empty"}, kFound, "", ""},
    {"ExistsMissingKey", kBase, {"%F", "exists", "General", "PATH"}, kNotFound, "", ""},
    {"ExistsMissingSection", kBase, {"%F", "exists", "Nope"}, kNotFound, "", ""},
    {"ExistsInMissingFile", std::nullopt, {"%F", "exists", "General"}, kNotFound, "", ""},

    // usage
    {"NoArguments", kBase, {}, kUsage, "",
        "txini: missing FILE and command (try 'txini --help')\n"},
    {"OnlyFile", kBase, {"%F"}, kUsage, "",
        "txini: missing command after FILE (try 'txini --help')\n"},
    {"EmptyFile", kBase, {"", "sections"}, kUsage, "", "txini: FILE must not be empty\n"},
    {"UnknownCommand", kBase, {"%F", "Get", "General", "Name"}, kUsage, "",
        "txini: unknown command 'Get' (try 'txini --help')\n"},
    {"GetTooFewArguments", kBase, {"%F", "get", "General"}, kUsage, "",
        "txini: usage: txini FILE get SECTION KEY\n"},
    {"GetTooManyArguments", kBase, {"%F", "get", "General", "Name", "x"}, kUsage, "",
        "txini: usage: txini FILE get SECTION KEY\n"},
    {"SetWithoutValue", kBase, {"%F", "set", "General", "Name"}, kUsage, "",
        "txini: usage: txini FILE set SECTION KEY VALUE\n"},
    {"DeleteWithoutSection", kBase, {"%F", "delete"}, kUsage, "",
        "txini: usage: txini FILE delete SECTION [KEY]\n"},
    {"DeleteTooManyArguments", kBase, {"%F", "delete", "General", "Name", "x"}, kUsage, "",
        "txini: usage: txini FILE delete SECTION [KEY]\n"},
    {"SectionsWithArgument", kBase, {"%F", "sections", "General"}, kUsage, "",
        "txini: usage: txini FILE sections\n"},
    {"KeysWithoutSection", kBase, {"%F", "keys"}, kUsage, "",
        "txini: usage: txini FILE keys SECTION\n"},
    {"ExistsTooManyArguments", kBase, {"%F", "exists", "a", "b", "c"}, kUsage, "",
        "txini: usage: txini FILE exists SECTION [KEY]\n"},
};
// clang-format on

class CliCommand : public testing::TestWithParam<CliRow>
{
};

TEST_P(CliCommand, OutputStatusAndFile)
{
    const CliRow &row = GetParam();
    TempDir dir;
    const std::string file = dir.file("store.ini");
    if (row.before)
        writeBytes(file, *row.before);

    std::vector<std::string> arguments;
    for (const auto &argument : row.arguments)
        arguments.push_back(argument == "%F" ? file : argument);
    const CliResult result = runCli(arguments);

    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.out, row.out);
    EXPECT_EQ(result.err, replaceAll(row.err, "%F", file));
    expectErrorStreamShape(arguments, result);

    const std::optional<std::string> &expected = row.after ? row.after : row.before;
    if (expected) {
        ASSERT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(readBytes(file), *expected);
    } else {
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CliCommand, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<CliRow> &pInfo) {
                             return std::string(pInfo.param.name);
                         });

TEST(CliHelp, PrintsUsageOnOutput)
{
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"--help"}, {"-h"}, {"some.ini", "--help"}}) {
        SCOPED_TRACE(arguments.back());
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.status, kFound);
        EXPECT_EQ(result.out.rfind("Usage: txini FILE COMMAND", 0), 0u) << result.out;
        for (const char *command : {"get ", "set ", "delete ", "sections", "keys ", "exists "})
            EXPECT_NE(result.out.find(command), std::string::npos) << command;
        EXPECT_EQ(result.err, "");
    }
    EXPECT_FALSE(std::filesystem::exists("some.ini"));
}

// What `set` stores, `get` gives back: the value as stored, less blanks at both ends and one
// pair of enclosing quotes.
struct RoundTripRow
{
    const char *name;
    std::string value;
    std::string stored;
    std::string read;
};

TEST(CliRoundTrip, SetThenGet)
{
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F\x65";
    const std::string longValue(300, 'x');
    const std::vector<RoundTripRow> rows = {
        {"plain", "plain", "plain", "plain"},
        {"spaces around", "  spaced out  ", "spaced out", "spaced out"},
        {"tabs around", "\ttabbed\t", "\ttabbed\t", "tabbed"},
        {"single quotes", "'single'", "'single'", "single"},
        {"double quotes", " \"double\" ", "\"double\"", "double"},
        {"mismatched quotes", "\"mixed'", "\"mixed'", "\"mixed'"},
        {"syntax characters", "a=b;c #d [e]", "a=b;c #d [e]", "a=b;c #d [e]"},
        {"UTF-8", utf8, utf8, utf8},
        {"empty", "", "", ""},
        {"longer than the first read buffer", longValue, longValue, longValue},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string file = dir.file("round.ini");
        const CliResult set = runCli({file, "set", "Values", "Key", row.value});
        EXPECT_EQ(set.status, kFound);
        EXPECT_EQ(set.err, "");
        EXPECT_EQ(readBytes(file), "[Values]\nKey=" + row.stored + "\n");
        const CliResult get = runCli({file, "get", "values", "key"});
        EXPECT_EQ(get.status, kFound);
        EXPECT_EQ(get.out, row.read + "\n");
    }
}

// A file without write permission is not written (the store refuses it even for root), and the
// tool says that the change did not take.
TEST(CliReadOnlyFile, ChangesAreReportedAsNotDone)
{
    TempDir dir;
    const std::string file = dir.file("locked.ini");
    const std::string content = "[S]\nK=V\n";
    writeBytes(file, content);
    std::filesystem::permissions(
        file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);

    const CliResult set = runCli({file, "set", "S", "K", "W"});
    EXPECT_EQ(set.status, kNotFound);
    EXPECT_EQ(set.err, "txini: set: could not write [S] K to " + file + ": Permission denied\n");
    const CliResult deleteKey = runCli({file, "delete", "S", "K"});
    EXPECT_EQ(deleteKey.status, kNotFound);
    EXPECT_EQ(deleteKey.err,
              "txini: delete: key 'K' is still in section [S] (a second copy of "
              "it, or the file cannot be written)\n");
    const CliResult deleteSection = runCli({file, "delete", "s"});
    EXPECT_EQ(deleteSection.status, kNotFound);
    EXPECT_EQ(deleteSection.err,
              "txini: delete: section [s] is still there (a second copy of "
              "it, or the file cannot be written)\n");
    // Reading is unaffected.
    const CliResult get = runCli({file, "get", "S", "K"});
    EXPECT_EQ(get.status, kFound);
    EXPECT_EQ(get.out, "V\n");
    EXPECT_EQ(readBytes(file), content);
}

TEST(CliSet, UnwritableFileIsReportedAndNotFound)
{
    TempDir dir;
    const std::string file = dir.file("no-such-folder/store.ini");
    const CliResult set = runCli({file, "set", "S", "K", "V"});
    EXPECT_EQ(set.status, kNotFound);
    EXPECT_EQ(set.err,
              "txini: set: could not write [S] K to " + file + ": No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

// A folder where the file should be is an error for every command, and stays as it was.
TEST(CliFolder, EveryCommandRefusesIt)
{
    const std::vector<std::vector<std::string>> commands = {
        {"sections"},           {"get", "S", "K"}, {"keys", "S"},        {"exists", "S"},
        {"set", "S", "K", "V"}, {"delete", "S"},   {"delete", "S", "K"},
    };
    TempDir dir;
    const std::string folder = dir.file("store.ini");
    std::filesystem::create_directory(folder);
    for (const auto &command : commands) {
        SCOPED_TRACE(command.front());
        std::vector<std::string> arguments = {folder};
        arguments.insert(arguments.end(), command.begin(), command.end());
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.status, kNotFound);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "txini: " + folder + ": is a folder, not a file\n");
        EXPECT_TRUE(std::filesystem::is_empty(folder));
    }
}

// A link another user planted in a shared sticky folder is not followed, and the tool says why.
TEST(CliSet, LinkOfAnotherUserInASharedFolderIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    TempDir dir;
    const std::filesystem::path shared = dir.path() / "shared";
    std::filesystem::create_directory(shared);
    const std::string target = dir.file("victim.ini");
    writeBytes(target, "[S]\nK=1\n");
    const std::string link = (shared / "store.ini").string();
    std::filesystem::create_symlink(target, link);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);

    const CliResult set = runCli({link, "set", "S", "K", "2"});
    EXPECT_EQ(set.status, kNotFound);
    EXPECT_EQ(set.err,
              "txini: set: could not write [S] K to " + link
                  + ": a symbolic link on the way belongs to another user of a shared "
                    "folder and is not followed\n");
    EXPECT_EQ(readBytes(target), "[S]\nK=1\n");
}

TEST(CliKeys, ListsEveryKeyLineInFileOrder)
{
    TempDir dir;
    const std::string file = dir.file("keys.ini");
    writeBytes(file,
               "[S]\r\nb=1\r\n  a = 2\r\nno equals sign\r\n; c=3\r\n=4\r\nb=5\r\n[T]\r\nz=1\r\n");
    const CliResult keys = runCli({file, "keys", "s"});
    EXPECT_EQ(keys.status, kFound);
    // The key with an empty name is a line of its own; the duplicate is listed twice.
    EXPECT_EQ(keys.out, "b\na\n\nb\n");
    EXPECT_EQ(keys.err, "");
}

} // namespace
} // namespace txini::test
