// The private-profile functions against one table of cases. The same table runs against the
// platform's own functions in the Windows build (under Wine); a row on which the two are known
// to differ says so, with the reason, and is skipped there.

#include "testfiles.h"

#include "txini/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace txini {
namespace {

// What a read asks for.
enum class Read {
    Value, // GetPrivateProfileStringA(section, key, default)
    KeyNames, // GetPrivateProfileStringA(section, NULL, default)
    NamesByValue, // GetPrivateProfileStringA(NULL, NULL, default)
    SectionNames, // GetPrivateProfileSectionNamesA
    Section, // GetPrivateProfileSectionA(section)
};

struct ReadCase
{
    const char *name;
    const char *fixture; // nullptr: the file does not exist
    Read read;
    const char *section;
    const char *key;
    const char *defaultValue;
    uint32_t size;
    std::string expected; // the buffer's content up to and including its terminating NUL(s)
    uint32_t expectedCount;
    const char *platformDiffers = nullptr; // why the platform (or Wine) gives another answer
};

std::ostream &operator<<(std::ostream &out, const ReadCase &row)
{
    return out << row.name;
}

// Known differences of Wine from Windows, seen when the table runs under Wine.
const char *const kWineHeaders =
    "Wine takes neither a header without ']' nor the empty name '[]' as a section";
const char *const kWinePreamble =
    "Wine reads the lines before the first header as a section with an empty name";
const char *const kWineComments = "Wine matches keys on comment lines";
const char *const kWineArgumentBlanks = "Wine trims tabs and line breaks from the arguments";
const char *const kWineListEnd =
    "Wine closes a cut list with one NUL and leaves the buffer's last byte unwritten";

const ReadCase kReadCases[] = {
    // Line ends
    {"crlf_line", "line_endings.ini", Read::Value, "crlf", "a", "", 64, "1\0"s, 1},
    {"lf_line", "line_endings.ini", Read::Value, "lf", "b", "", 64, "2\0"s, 1},
    {"cr_line", "line_endings.ini", Read::Value, "cr", "c", "", 64, "3\0"s, 1},
    {"last_line_without_end", "line_endings.ini", Read::Value, "last", "d", "", 64, "4\0"s, 1},
    // Blanks
    {"blanks_before_header", "blanks.ini", Read::Value, "sec", "key", "", 64, "value\0"s, 5},
    {"tabs_around_key_and_value", "blanks.ini", Read::Value, "sec", "other", "", 64, "x y\0"s, 3},
    // Section headers
    {"header_name_trimmed", "section_headers.ini", Read::Value, "a", "k", "", 64, "1\0"s, 1},
    {"bracket_inside_name", "section_headers.ini", Read::Value, "[b", "k", "", 64, "2\0"s, 1},
    {"text_after_bracket_ignored", "section_headers.ini", Read::Value, "c", "k", "", 64, "3\0"s, 1},
    {"header_without_bracket", "section_headers.ini", Read::Value, "d", "k", "", 64, "4\0"s, 1,
     kWineHeaders},
    {"empty_header_name", "section_headers.ini", Read::Value, "", "k", "", 64, "5\0"s, 1,
     kWineHeaders},
    {"header_names_listed", "section_headers.ini", Read::SectionNames, nullptr, nullptr, nullptr,
     64, "a\0[b\0c\0d\0\0"s, 9, kWineHeaders},
    {"header_to_last_bracket", "section_brackets.ini", Read::Value, "a]b", "k", "", 64, "1\0"s, 1},
    {"no_section_before_inner_bracket", "section_brackets.ini", Read::Value, "a", "k", "dflt", 64,
     "dflt\0"s, 4},
    {"text_after_last_bracket_ignored", "section_brackets.ini", Read::Value, "f", "k", "", 64,
     "4\0"s, 1},
    {"bracket_names_listed", "section_brackets.ini", Read::SectionNames, nullptr, nullptr, nullptr,
     64, "a]b\0c] x\0e]\0f\0\0"s, 14},
    // Lines before the first header
    {"preamble_not_readable", "preamble.ini", Read::Value, "", "before", "dflt", 64, "dflt\0"s, 4,
     kWinePreamble},
    {"preamble_then_section", "preamble.ini", Read::Value, "s", "k", "", 64, "1\0"s, 1},
    // Quotes
    {"double_quotes_removed", "quotes.ini", Read::Value, "q", "dq", "", 64, "quoted\0"s, 6},
    {"single_quotes_removed", "quotes.ini", Read::Value, "q", "sq", "", 64, "single\0"s, 6},
    {"mismatched_quotes_kept", "quotes.ini", Read::Value, "q", "mixed", "", 64, "\"x'\0"s, 3},
    {"partial_quotes_kept", "quotes.ini", Read::Value, "q", "partial", "", 64, "\"a\" b\0"s, 5},
    {"inside_of_quotes_kept", "quotes.ini", Read::Value, "q", "inner", "", 64, "  spaced  \0"s, 10},
    {"lone_quote_kept", "quotes.ini", Read::Value, "q", "one", "", 64, "\"\0"s, 1},
    {"empty_quotes", "quotes.ini", Read::Value, "q", "empty", "", 64, "\0"s, 0},
    {"quotes_in_key_literal", "quotes.ini", Read::Value, "q", "quoted\"key\"", "", 64, "1\0"s, 1},
    // Comments
    {"comment_never_matched", "comments.ini", Read::Value, "c", ";k", "dflt", 64, "dflt\0"s, 4,
     kWineComments},
    {"semicolon_in_value", "comments.ini", Read::Value, "c", "k2", "", 64, "v;not a comment\0"s,
     15},
    {"hash_is_no_comment", "comments.ini", Read::Value, "c", "#k3", "", 64, "hash\0"s, 4},
    {"comments_not_listed", "comments.ini", Read::KeyNames, "c", nullptr, "", 64, "k2\0#k3\0\0"s,
     7},
    // Lines without '='
    {"other_line_not_a_key", "other_lines.ini", Read::KeyNames, "o", nullptr, "", 64, "k\0\0"s, 2},
    {"other_line_in_section", "other_lines.ini", Read::Section, "o", nullptr, nullptr, 64,
     "not a key\0k=v\0spaced line\0\0"s, 26},
    // Case
    {"names_without_case", "case.ini", Read::Value, "SECTION", "kEY", "", 64, "Value\0"s, 5},
    {"utf8_names_without_case", "utf8.ini", Read::Value, "ärger", "SCHLÜSSEL", "", 64, "wert\0"s, 4,
     "Wine compares names byte for byte beyond ASCII in the ANSI functions"},
    {"greek_names_without_case", "utf8.ini", Read::Value, "δ", "Κ", "", 64, "λ\0"s, 2,
     "Wine compares names byte for byte beyond ASCII in the ANSI functions"},
    // Duplicates
    {"first_key_wins", "duplicates.ini", Read::Value, "d", "k", "", 64, "first\0"s, 5},
    {"only_first_section_searched", "duplicates.ini", Read::Value, "d", "z", "none", 64, "none\0"s,
     4},
    {"duplicate_keys_listed", "duplicates.ini", Read::KeyNames, "d", nullptr, "", 64, "k\0k\0\0"s,
     4},
    {"duplicate_sections_listed", "duplicates.ini", Read::SectionNames, nullptr, nullptr, nullptr,
     64, "d\0D\0\0"s, 4},
    // Arguments
    {"argument_spaces_ignored", "case.ini", Read::Value, "  Section ", " Key  ", "", 64, "Value\0"s,
     5},
    {"argument_tab_prevents_match", "case.ini", Read::Value, "\tSection", "Key", "d", 64, "d\0"s, 1,
     kWineArgumentBlanks},
    {"argument_newline_prevents_match", "case.ini", Read::Value, "Section", "Key\n", "d", 64,
     "d\0"s, 1, kWineArgumentBlanks},
    // Byte-order mark
    {"bom_skipped", "bom.ini", Read::Value, "first", "k", "", 64, "1\0"s, 1},
    // Value buffer
    {"value_fits", "values.ini", Read::Value, "v", "long", "", 11, "abcdefghij\0"s, 10},
    {"value_cut", "values.ini", Read::Value, "v", "long", "", 5, "abcd\0"s, 4},
    {"value_size_one", "values.ini", Read::Value, "v", "long", "", 1, "\0"s, 0},
    {"empty_value", "values.ini", Read::Value, "v", "empty", "dflt", 64, "\0"s, 0},
    // Defaults
    {"default_trailing_spaces_removed", "values.ini", Read::Value, "v", "missing", "def  ", 64,
     "def\0"s, 3},
    {"default_leading_spaces_kept", "values.ini", Read::Value, "v", "missing", "  def", 64,
     "  def\0"s, 5},
    {"default_tab_kept", "values.ini", Read::Value, "v", "missing", "d\t", 64, "d\t\0"s, 2},
    {"default_null_is_empty", "values.ini", Read::Value, "v", "missing", nullptr, 64, "\0"s, 0},
    {"default_cut", "values.ini", Read::Value, "v", "missing", "abcdef", 4, "abc\0"s, 3},
    {"default_for_missing_section", "values.ini", Read::Value, "nope", "long", "d", 64, "d\0"s, 1},
    {"default_for_missing_file", nullptr, Read::Value, "v", "long", "d", 64, "d\0"s, 1},
    {"key_list_default_for_missing_section", "values.ini", Read::KeyNames, "nope", nullptr, "d", 64,
     "d\0"s, 1},
    // Lists
    {"names_fit", "names.ini", Read::SectionNames, nullptr, nullptr, nullptr, 64, "ab\0cd\0ef\0\0"s,
     9},
    {"names_exact_fit", "names.ini", Read::SectionNames, nullptr, nullptr, nullptr, 10,
     "ab\0cd\0ef\0\0"s, 8, kWineListEnd},
    {"names_cut", "names.ini", Read::SectionNames, nullptr, nullptr, nullptr, 9, "ab\0cd\0e\0\0"s,
     7, kWineListEnd},
    {"names_size_two", "names.ini", Read::SectionNames, nullptr, nullptr, nullptr, 2, "\0\0"s, 0,
     kWineListEnd},
    {"names_size_one", "names.ini", Read::SectionNames, nullptr, nullptr, nullptr, 1, "\0"s, 0},
    {"names_through_string", "names.ini", Read::NamesByValue, nullptr, nullptr, "d", 64,
     "ab\0cd\0ef\0\0"s, 9},
    {"names_through_string_cut", "names.ini", Read::NamesByValue, nullptr, nullptr, "d", 6,
     "ab\0c\0\0"s, 4, kWineListEnd},
    {"names_of_missing_file", nullptr, Read::SectionNames, nullptr, nullptr, nullptr, 64, "\0"s, 0},
    {"key_names_cut", "section_read.ini", Read::KeyNames, "s", nullptr, "", 4, "a\0\0\0"s, 2,
     kWineListEnd},
    // Section read
    {"section_lines", "section_read.ini", Read::Section, "s", nullptr, nullptr, 64,
     "a=1\0b=\"q\"\0plain line\0=v\0\0"s, 24},
    {"section_exact_fit_is_cut", "section_read.ini", Read::Section, "s", nullptr, nullptr, 25,
     "a=1\0b=\"q\"\0plain line\0=v\0\0"s, 23},
    {"section_cut", "section_read.ini", Read::Section, "s", nullptr, nullptr, 8, "a=1\0b=\0\0"s, 6},
    {"empty_section", "section_read.ini", Read::Section, "t", nullptr, nullptr, 64, "\0"s, 0},
    {"missing_section", "section_read.ini", Read::Section, "zz", nullptr, nullptr, 64, "\0"s, 0},
};

class ReadTable : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadTable, GivesTheExpectedBufferAndCount)
{
    const ReadCase &row = GetParam();
    // TXINI_ALL_ROWS=1 runs the marked rows too, to check that each mark still holds.
    if (usingPlatformProfile() && row.platformDiffers && !std::getenv("TXINI_ALL_ROWS"))
        GTEST_SKIP() << row.platformDiffers;

    test::TempDir dir;
    const std::string file = dir.file("case.ini");
    if (row.fixture)
        test::writeBytes(file, test::fixture(row.fixture));

    std::vector<char> buffer(row.size + 8, 'X');
    uint32_t count = 0;
    switch (row.read) {
    case Read::Value:
        count = GetPrivateProfileStringA(row.section, row.key, row.defaultValue, buffer.data(),
                                         row.size, file.c_str());
        break;
    case Read::KeyNames:
        count = GetPrivateProfileStringA(row.section, nullptr, row.defaultValue, buffer.data(),
                                         row.size, file.c_str());
        break;
    case Read::NamesByValue:
        count = GetPrivateProfileStringA(nullptr, nullptr, row.defaultValue, buffer.data(),
                                         row.size, file.c_str());
        break;
    case Read::SectionNames:
        count = GetPrivateProfileSectionNamesA(buffer.data(), row.size, file.c_str());
        break;
    case Read::Section:
        count = GetPrivateProfileSectionA(row.section, buffer.data(), row.size, file.c_str());
        break;
    }
    EXPECT_EQ(count, row.expectedCount);
    ASSERT_LE(row.expected.size(), row.size);
    EXPECT_EQ(std::string(buffer.data(), row.expected.size()), row.expected);
    // Nothing is written past the buffer's size.
    EXPECT_EQ(buffer[row.size], 'X');
}

INSTANTIATE_TEST_SUITE_P(Profile, ReadTable, ::testing::ValuesIn(kReadCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST(ProfileRead, SizeZeroLeavesTheBufferAlone)
{
    test::TempDir dir;
    const std::string file = dir.file("values.ini");
    test::writeBytes(file, test::fixture("values.ini"));
    char buffer[4] = {'X', 'X', 'X', 'X'};
    EXPECT_EQ(GetPrivateProfileStringA("v", "long", "", buffer, 0, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer, 0, file.c_str()), 0u);
    if (!usingPlatformProfile()) {
        // Wine's section read crashes on a buffer of size 0.
        EXPECT_EQ(GetPrivateProfileSectionA("v", buffer, 0, file.c_str()), 0u);
    }
    EXPECT_EQ(std::string(buffer, 4), "XXXX");
}

TEST(ProfileRead, EmptyFileNameGivesTheDefault)
{
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, sizeof buffer, ""), 4u);
    EXPECT_STREQ(buffer, "dflt");
    if (!usingPlatformProfile()) {
        // Windows reads its own win.ini for a NULL name; here there is no such file.
        EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, sizeof buffer, nullptr), 4u);
        EXPECT_STREQ(buffer, "dflt");
    }
}

// One write: section, key, value (nullptr where the argument is NULL).
struct Write
{
    const char *section;
    const char *key;
    const char *value;
    bool succeeds = true;
};

// A read after the writes, and what it must give.
struct Check
{
    const char *section;
    const char *key;
    std::optional<std::string> value; // nullopt: the key must be missing
};

struct WriteCase
{
    const char *name;
    const char *before; // fixture with the file before; nullptr: the file does not exist
    std::vector<Write> writes;
    const char *after; // fixture with the exact bytes after (our engine); nullptr: not created
    std::vector<Check> checks;
    const char *platformDiffers = nullptr;
};

std::ostream &operator<<(std::ostream &out, const WriteCase &row)
{
    return out << row.name;
}

const std::vector<WriteCase> &writeCases()
{
    static const std::vector<WriteCase> cases = {
        {"new_file",
         nullptr,
         {{"Sec", "key", "value"}},
         "new_file.expected.ini",
         {{"sec", "KEY", "value"}}},
        {"new_section_at_end",
         "new_section.ini",
         {{"b", "k", "v"}},
         "new_section.expected.ini",
         {{"a", "x", "1"}, {"b", "k", "v"}}},
        {"new_section_after_last_line_without_end",
         "new_section_no_final_eol.ini",
         {{"b", "k", "v"}},
         "new_section_no_final_eol.expected.ini",
         {{"b", "k", "v"}}},
        {"new_keys_after_last_key",
         "new_keys_after_last_key.ini",
         {{"a", "first", "1"}, {"A", "second", "2"}},
         "new_keys_after_last_key.expected.ini",
         {{"a", "first", "1"}, {"a", "second", "2"}, {"b", "z", "3"}}},
        {"new_key_after_last_line_without_end",
         "new_key_no_final_eol.ini",
         {{"a", "k", "v"}},
         "new_key_no_final_eol.expected.ini",
         {{"a", "x", "1"}, {"a", "k", "v"}}},
        {"new_key_in_section_without_keys",
         "new_key_empty_section.ini",
         {{"a", "k", "v"}},
         "new_key_empty_section.expected.ini",
         {{"a", "k", "v"}}},
        {"value_replaced_in_place",
         "replace_in_place.ini",
         {{" SEC ", " KEY ", "new"}},
         "replace_in_place.expected.ini",
         {{"Sec", "Key", "new"}, {"Sec", "Other", "1"}}},
        {"same_value_leaves_line_alone",
         "replace_in_place.ini",
         {{"sec", "other", "1"}, {"sec", "key", "old value"}},
         "replace_in_place.ini",
         {{"Sec", "Key", "old value"}}},
        {"value_written_as_given",
         "value_as_given.ini",
         {{"  a ", " k ", " v "}, {"a", "empty", ""}, {"a", "q", "\"x\""}},
         "value_as_given.expected.ini",
         {{"a", "k", "v"}, {"a", "empty", ""}, {"a", "q", "x"}}},
        {"null_value_deletes_first_key",
         "delete_key.ini",
         {{"a", "k", nullptr}},
         "delete_key.expected.ini",
         {{"a", "x", "1"}, {"a", "k", "3"}, {"b", "k", "4"}}},
        {"deleting_missing_key_changes_nothing",
         "delete_key.ini",
         {{"a", "nope", nullptr}},
         "delete_key.ini",
         {{"a", "k", "2"}}},
        {"deleting_in_missing_file_creates_nothing",
         nullptr,
         {{"a", "k", nullptr}, {"a", nullptr, nullptr}},
         nullptr,
         {}},
        {"null_key_deletes_section",
         "delete_section.ini",
         {{"a", nullptr, nullptr}},
         "delete_section.expected.ini",
         {{"a", "x", std::nullopt}, {"b", "z", "1"}}},
        {"null_section_fails",
         "new_section.ini",
         {{nullptr, "k", "v", false}},
         "new_section.ini",
         {{"a", "x", "1"}}},
        {"key_with_semicolon_refused",
         "comment_key.ini",
         {{"a", ";note", "v", false}, {"a", "\t;x", "v", false}},
         "comment_key.ini",
         {{"a", "x", "1"}},
         "Windows writes a key starting with ';' as a comment line"},
        {"key_like_header_refused",
         "comment_key.ini",
         {{"a", "[B]", "v", false}, {"a", "\t[B]", "v", false}},
         "comment_key.ini",
         {{"B", "x", std::nullopt}, {"a", "x", "1"}},
         "Windows writes the line, which reads as a section header"},
        {"key_not_reading_back_refused",
         "comment_key.ini",
         {{"a", "k=v", "1", false},
          {"a", "", "1", false},
          {"a", " \t ", "1", false},
          {"a", "\tk", "1", false},
          {"a", "k\v", "1", false}},
         "comment_key.ini",
         {{"a", "k", std::nullopt}},
         "Windows writes keys that can never be read back"},
        {"section_not_reading_back_refused",
         "comment_key.ini",
         {{"a]b", "k", "1", false}, {"\tb", "k", "1", false}, {"b\v", "k", "1", false}},
         "comment_key.ini",
         {{"b", "k", std::nullopt}, {"a", "x", "1"}},
         "Windows writes sections that read back under another name"},
        {"byte_order_mark_kept",
         "bom_kept.ini",
         {{"a", "x", "2"}},
         "bom_kept.expected.ini",
         {{"a", "x", "2"}}},
        {"other_bytes_kept",
         "kept_bytes.ini",
         {{"a", "x", "9"}, {"b", "z", "3"}},
         "kept_bytes.expected.ini",
         {{"a", "x", "9"}, {"b", "y", "2"}, {"b", "z", "3"}}},
        {"line_break_in_value_refused",
         "new_section.ini",
         {{"a", "x", "1\n[evil]\nk=v", false}, {"a", "y", "a\rb", false}},
         "new_section.ini",
         {{"evil", "k", std::nullopt}, {"a", "x", "1"}},
         "Windows writes the line break into the file, which breaks its structure"},
        {"line_break_in_names_refused",
         "new_section.ini",
         {{"a\n[b]", "x", "1", false}, {"a", "x\ny", "1", false}},
         "new_section.ini",
         {{"b", "x", std::nullopt}},
         "Windows writes the line break into the file"},
    };
    return cases;
}

class WriteTable : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(WriteTable, LeavesTheExpectedFile)
{
    const WriteCase &row = GetParam();
    // TXINI_ALL_ROWS=1 runs the marked rows too, to check that each mark still holds.
    if (usingPlatformProfile() && row.platformDiffers && !std::getenv("TXINI_ALL_ROWS"))
        GTEST_SKIP() << row.platformDiffers;

    test::TempDir dir;
    const std::string file = dir.file("case.ini");
    if (row.before)
        test::writeBytes(file, test::fixture(row.before));

    for (const Write &write : row.writes) {
        const int result =
            WritePrivateProfileStringA(write.section, write.key, write.value, file.c_str());
        EXPECT_EQ(result != 0, write.succeeds) << (write.section ? write.section : "(null)")
                                               << " / " << (write.key ? write.key : "(null)");
    }
    for (const Check &check : row.checks) {
        char buffer[256];
        const uint32_t count = GetPrivateProfileStringA(check.section, check.key, "<missing>",
                                                        buffer, sizeof buffer, file.c_str());
        EXPECT_EQ(std::string(buffer, count), check.value.value_or("<missing>"))
            << check.section << " / " << check.key;
    }
    // Wine rewrites the lines in its own layout: the bytes are ours to check only.
    if (!usingPlatformProfile()) {
        if (row.after) {
            EXPECT_EQ(test::readBytes(file), test::fixture(row.after));
        } else {
            EXPECT_FALSE(fs::exists(file));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Profile, WriteTable, ::testing::ValuesIn(writeCases()),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

// A config.ini as earlier versions of the program and the platform left it: every value reads
// as it always did, and storing the same values again changes no byte.
TEST(EarlierConfig, ReadsTheSameAndRewritesNothing)
{
    struct Value
    {
        const char *section;
        const char *key;
        const char *value;
    };
    const Value values[] = {
        {"TRANSPARENCIA", "MAIN", "100"},
        {"MAIN", "HEIGHT", "390"},
        {"COLORS", "FORE", "-2147483630"},
        {"GRAL", "CANTBOT", "3"},
        {"BUTTON1", "PATH", "/home/marta/My Documents"},
        {"BUTTON1", "CAPTION", "Docs & more"},
        {"BUTTON1", "ICON", ""},
        {"BUTTON1", "LEFT", "-1"},
        {"BUTTON2", "PATH", "/home/marta/a=b;c"},
        {"BUTTON2", "CAPTION", "M\xc3\xbasica"},
        {"BUTTON3", "PATH", "/srv/share"},
        {"PROGRAM1", "PATH", "/usr/bin/x-terminal-emulator"},
    };
    test::TempDir dir;
    const std::string file = dir.file("config.ini");
    const std::string original = test::fixture("earlier_config.ini");
    test::writeBytes(file, original);

    char names[512];
    const uint32_t count = GetPrivateProfileSectionNamesA(names, sizeof names, file.c_str());
    EXPECT_EQ(std::string(names, count),
              "TRANSPARENCIA\0MAIN\0COLORS\0GRAL\0BUTTON1\0BUTTON2\0BUTTON3\0PROGRAM1\0"s);
    for (const Value &value : values) {
        char buffer[256];
        const uint32_t length = GetPrivateProfileStringA(value.section, value.key, "<missing>",
                                                         buffer, sizeof buffer, file.c_str());
        EXPECT_EQ(std::string(buffer, length), value.value) << value.section << " " << value.key;
        // The program stores values as it read them; a quoted one would lose its quotes.
        if (original.find(std::string(value.key) + "=\"") == std::string::npos) {
            EXPECT_NE(
                WritePrivateProfileStringA(value.section, value.key, value.value, file.c_str()), 0);
        }
    }
    if (!usingPlatformProfile()) {
        EXPECT_EQ(test::readBytes(file), original);
    }
}

TEST(ProfileWrite, FolderThatDoesNotExistFails)
{
    test::TempDir dir;
    const std::string file = (dir.path() / "missing" / "config.ini").string();
    EXPECT_EQ(WritePrivateProfileStringA("a", "k", "v", file.c_str()), 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST(ProfileWrite, EmptyFileNameFails)
{
    EXPECT_EQ(WritePrivateProfileStringA("a", "k", "v", ""), 0);
}

} // namespace
} // namespace txini
