// Reading the appearance settings and the counts from a real config.ini.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "startup/settings.h"
#include "startup_testsupport.h"
#include "txini/clsini.h"

namespace pindrel {
namespace {

using test::RecordingIni;
using test::TempConfig;
using test::Write;

const char kFirstRunFile[] = "[TRANSPARENCIA]\n"
                             "MAIN=100\n"
                             "FORM=100\n"
                             "[MAIN]\n"
                             "POSITION=TOP\n"
                             "HEIGHT=390\n"
                             "BUTTONTYPE=0\n"
                             "[COLORS]\n"
                             "MAIN=-2147483633\n"
                             "BUTTON=-2147483633\n"
                             "FORE=-2147483633\n"
                             "FORM=-2147483630\n"
                             "THEME=0\n";

Settings defaultSettings()
{
    return {100,         100,         QStringLiteral("TOP"), 390,         0,
            -2147483633, -2147483633, -2147483633,           -2147483630, 0};
}

TEST(LoadSettings, FirstRunWritesTheTenDefaults)
{
    TempConfig config;
    txini::clsIni ini;
    ini.File(config.path().toStdString());

    EXPECT_EQ(loadSettings(ini), defaultSettings());
    EXPECT_EQ(config.bytes(), kFirstRunFile);
}

TEST(LoadSettings, FirstRunWritesInReadingOrder)
{
    TempConfig config;
    std::vector<Write> writes;
    RecordingIni ini(writes);
    ini.File(config.path().toStdString());

    loadSettings(ini);

    const std::vector<Write> expected = {
        {"TRANSPARENCIA", "MAIN", "100"},  {"TRANSPARENCIA", "FORM", "100"},
        {"MAIN", "POSITION", "TOP"},       {"MAIN", "HEIGHT", "390"},
        {"COLORS", "MAIN", "-2147483633"}, {"COLORS", "BUTTON", "-2147483633"},
        {"COLORS", "FORE", "-2147483633"}, {"COLORS", "FORM", "-2147483630"},
        {"MAIN", "BUTTONTYPE", "0"},       {"COLORS", "THEME", "0"},
    };
    EXPECT_EQ(writes, expected);
}

TEST(LoadSettings, EmptyFileIsAFirstRun)
{
    TempConfig config;
    config.write("");
    txini::clsIni ini;
    ini.File(config.path().toStdString());

    EXPECT_EQ(loadSettings(ini), defaultSettings());
    EXPECT_EQ(config.bytes(), kFirstRunFile);
}

TEST(LoadSettings, OtherSectionsStayInFront)
{
    TempConfig config;
    config.write("[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=a\n");
    txini::clsIni ini;
    ini.File(config.path().toStdString());

    loadSettings(ini);
    EXPECT_EQ(config.bytes(),
              std::string("[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=a\n") + kFirstRunFile);
}

TEST(LoadSettings, SecondRunWritesNothing)
{
    TempConfig config;
    config.write(kFirstRunFile);
    std::vector<Write> writes;
    RecordingIni ini(writes);
    ini.File(config.path().toStdString());

    EXPECT_EQ(loadSettings(ini), defaultSettings());
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(config.bytes(), kFirstRunFile);
}

// ---- one key at a time, every other key holding a value that is not its default ----------

using Key = std::pair<std::string, std::string>;

const std::vector<std::pair<Key, std::string>> kStoredValues = {
    {{"TRANSPARENCIA", "MAIN"}, "80"},   {{"TRANSPARENCIA", "FORM"}, "60"},
    {{"MAIN", "POSITION"}, "BOTTOM"},    {{"MAIN", "HEIGHT"}, "450"},
    {{"MAIN", "BUTTONTYPE"}, "2"},       {{"COLORS", "MAIN"}, "255"},
    {{"COLORS", "BUTTON"}, "65280"},     {{"COLORS", "FORE"}, "16711680"},
    {{"COLORS", "FORM"}, "-2147483643"}, {{"COLORS", "THEME"}, "3"},
};

Settings storedSettings()
{
    return {80, 60, QStringLiteral("BOTTOM"), 450, 2, 255, 65280, 16711680, -2147483643, 3};
}

// The stored file with one key's value replaced.
std::string fileWith(const Key &pKey, const std::string &pValue)
{
    std::string file;
    std::string section;
    for (const auto &[key, value] : kStoredValues) {
        if (key.first != section) {
            section = key.first;
            file += '[' + section + "]\n";
        }
        file += key.second + '=' + (key == pKey ? pValue : value) + '\n';
    }
    return file;
}

struct BadValueRow
{
    const char *name;
    Key key;
    std::string value;
    void (*expect)(Settings &);
    const char *rewrittenAs; // the default written back, or nullptr when nothing is written
};

class BadValueTest : public ::testing::TestWithParam<BadValueRow>
{
};

TEST_P(BadValueTest, GivesTheDocumentedValueAndLosesNothing)
{
    const BadValueRow &row = GetParam();
    TempConfig config;
    config.write(fileWith(row.key, row.value));
    txini::clsIni ini;
    ini.File(config.path().toStdString());

    Settings expected = storedSettings();
    row.expect(expected);
    EXPECT_EQ(loadSettings(ini), expected);

    if (row.rewrittenAs == nullptr) {
        EXPECT_EQ(config.bytes(), fileWith(row.key, row.value));
        return;
    }
    // The default replaces the blank value in place (how the store lays out the line is its
    // own business); every other key keeps its value and nothing is added.
    txini::clsIni reader;
    reader.File(config.path().toStdString());
    for (const auto &[key, value] : kStoredValues) {
        const std::string expectedValue = key == row.key ? row.rewrittenAs : value;
        EXPECT_EQ(reader.getLeerValor(key.first, key.second), expectedValue)
            << key.first << ' ' << key.second;
    }
    EXPECT_EQ(reader.getCantidadSecciones(), 3);
    const auto keysInSection =
        std::count_if(kStoredValues.begin(), kStoredValues.end(),
                      [&](const auto &pEntry) { return pEntry.first.first == row.key.first; });
    EXPECT_EQ(reader.getCantidadClaves(row.key.first), keysInSection);
}

const Key kBarOpacity{"TRANSPARENCIA", "MAIN"};
const Key kFormOpacity{"TRANSPARENCIA", "FORM"};
const Key kPosition{"MAIN", "POSITION"};
const Key kHeight{"MAIN", "HEIGHT"};
const Key kStyle{"MAIN", "BUTTONTYPE"};
const Key kBarColor{"COLORS", "MAIN"};
const Key kButtonColor{"COLORS", "BUTTON"};
const Key kTextColor{"COLORS", "FORE"};
const Key kFormColor{"COLORS", "FORM"};
const Key kTheme{"COLORS", "THEME"};

const BadValueRow kBadValueRows[] = {
    // Opacity: read as written, 16-bit.
    {"BarOpacityEmpty", kBarOpacity, "", [](Settings &s) { s.barOpacity = 100; }, "100"},
    {"BarOpacityBlank", kBarOpacity, "   ", [](Settings &s) { s.barOpacity = 100; }, "100"},
    {"BarOpacityLetters", kBarOpacity, "abc", [](Settings &s) { s.barOpacity = 0; }, nullptr},
    {"BarOpacityNegative", kBarOpacity, "-5", [](Settings &s) { s.barOpacity = -5; }, nullptr},
    {"BarOpacityAboveScale", kBarOpacity, "150", [](Settings &s) { s.barOpacity = 150; }, nullptr},
    {"BarOpacityOverflow", kBarOpacity, "32768", [](Settings &s) { s.barOpacity = 0; }, nullptr},
    {"BarOpacityHuge", kBarOpacity, "1e30", [](Settings &s) { s.barOpacity = 0; }, nullptr},
    {"BarOpacityFraction", kBarOpacity, "12.5", [](Settings &s) { s.barOpacity = 12; }, nullptr},
    {"FormOpacityEmpty", kFormOpacity, "", [](Settings &s) { s.formOpacity = 100; }, "100"},
    {"FormOpacityNegative", kFormOpacity, "-1", [](Settings &s) { s.formOpacity = -1; }, nullptr},
    {"FormOpacityLetters", kFormOpacity, "x", [](Settings &s) { s.formOpacity = 0; }, nullptr},
    // Position: text, kept as written (case included).
    {"PositionLowerCase", kPosition, "top", [](Settings &s) { s.position = QStringLiteral("top"); },
     nullptr},
    {"PositionLeft", kPosition, "LEFT", [](Settings &s) { s.position = QStringLiteral("LEFT"); },
     nullptr},
    {"PositionEmpty", kPosition, "", [](Settings &s) { s.position = QStringLiteral("TOP"); },
     "TOP"},
    {"PositionBlank", kPosition, "  ", [](Settings &s) { s.position = QStringLiteral("TOP"); },
     "TOP"},
    // Height: "0" in front, 16-bit.
    {"HeightEmpty", kHeight, "", [](Settings &s) { s.barHeight = 390; }, "390"},
    {"HeightBlank", kHeight, "    ", [](Settings &s) { s.barHeight = 390; }, "390"},
    {"HeightLetters", kHeight, "abc", [](Settings &s) { s.barHeight = 0; }, nullptr},
    {"HeightNegative", kHeight, "-5", [](Settings &s) { s.barHeight = 0; }, nullptr},
    {"HeightLargest", kHeight, "32767", [](Settings &s) { s.barHeight = 32767; }, nullptr},
    {"HeightOverflow", kHeight, "40000", [](Settings &s) { s.barHeight = 0; }, nullptr},
    {"HeightHuge", kHeight, "99999999999", [](Settings &s) { s.barHeight = 0; }, nullptr},
    {"HeightHalfToEven", kHeight, "390.5", [](Settings &s) { s.barHeight = 390; }, nullptr},
    {"HeightHexadecimal", kHeight, "&H10", [](Settings &s) { s.barHeight = 0; }, nullptr},
    // Button style: "0" in front, 32-bit.
    {"StyleEmpty", kStyle, "", [](Settings &s) { s.buttonStyle = 0; }, "0"},
    {"StyleNoSelection", kStyle, "-1", [](Settings &s) { s.buttonStyle = 0; }, nullptr},
    {"StyleBeyond16Bits", kStyle, "40000", [](Settings &s) { s.buttonStyle = 40000; }, nullptr},
    {"StyleHuge", kStyle, "99999999999", [](Settings &s) { s.buttonStyle = 0; }, nullptr},
    {"StyleLetters", kStyle, "x", [](Settings &s) { s.buttonStyle = 0; }, nullptr},
    // Colours: read as written, 32-bit.
    {"BarColorEmpty", kBarColor, "", [](Settings &s) { s.barColor = -2147483633; }, "-2147483633"},
    {"BarColorLetters", kBarColor, "abc", [](Settings &s) { s.barColor = 0; }, nullptr},
    {"BarColorNegative", kBarColor, "-1", [](Settings &s) { s.barColor = -1; }, nullptr},
    {"BarColorHexadecimal", kBarColor, "&HFF", [](Settings &s) { s.barColor = 255; }, nullptr},
    {"BarColorOverflow", kBarColor, "2147483648", [](Settings &s) { s.barColor = 0; }, nullptr},
    {"BarColorUnderflow", kBarColor, "-2147483649", [](Settings &s) { s.barColor = 0; }, nullptr},
    {"BarColorHuge", kBarColor, "1e20", [](Settings &s) { s.barColor = 0; }, nullptr},
    {"ButtonColorBlank", kButtonColor, " ", [](Settings &s) { s.buttonColor = -2147483633; },
     "-2147483633"},
    {"TextColorEmpty", kTextColor, "", [](Settings &s) { s.buttonTextColor = -2147483633; },
     "-2147483633"},
    {"FormColorEmpty", kFormColor, "", [](Settings &s) { s.formColor = -2147483630; },
     "-2147483630"},
    {"FormColorLetters", kFormColor, "oops", [](Settings &s) { s.formColor = 0; }, nullptr},
    // Theme: "0" in front, 16-bit; values outside 0..4 are kept (they load no picture).
    {"ThemeEmpty", kTheme, "", [](Settings &s) { s.theme = 0; }, "0"},
    {"ThemeOutOfList", kTheme, "7", [](Settings &s) { s.theme = 7; }, nullptr},
    {"ThemeNoSelection", kTheme, "-1", [](Settings &s) { s.theme = 0; }, nullptr},
    {"ThemeOverflow", kTheme, "40000", [](Settings &s) { s.theme = 0; }, nullptr},
    {"ThemeLetters", kTheme, "zz", [](Settings &s) { s.theme = 0; }, nullptr},
};
INSTANTIATE_TEST_SUITE_P(Rows, BadValueTest, ::testing::ValuesIn(kBadValueRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- counts -------------------------------------------------------------------------------

struct CountRow
{
    const char *name;
    const char *file; // nullptr: no file at all
    int16_t expected; // with 7 in memory
};

class ReadCountTest : public ::testing::TestWithParam<CountRow>
{
};

TEST_P(ReadCountTest, Reads)
{
    TempConfig config;
    if (GetParam().file != nullptr)
        config.write(GetParam().file);
    txini::clsIni ini;
    ini.File(config.path().toStdString());

    EXPECT_EQ(readCount(ini, kKeyDrawerCount, 7), GetParam().expected);
    // A count is never written back.
    if (GetParam().file == nullptr)
        EXPECT_FALSE(config.exists());
    else
        EXPECT_EQ(config.bytes(), GetParam().file);
}

const CountRow kCountRows[] = {
    {"NoFile", nullptr, 0},
    {"NoSection", "[MAIN]\nHEIGHT=390\n", 0},
    {"Empty", "[GRAL]\nCANTBOT=\n", 0},
    {"Blank", "[GRAL]\nCANTBOT=   \n", 0},
    {"Value", "[GRAL]\nCANTBOT=5\n", 5},
    {"AboveLimit", "[GRAL]\nCANTBOT=500\n", 500},
    {"Negative", "[GRAL]\nCANTBOT=-3\n", -3},
    {"OverflowKeepsCount", "[GRAL]\nCANTBOT=70000\n", 7},
    {"LettersKeepCount", "[GRAL]\nCANTBOT=abc\n", 7},
};
INSTANTIATE_TEST_SUITE_P(Rows, ReadCountTest, ::testing::ValuesIn(kCountRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace
} // namespace pindrel
