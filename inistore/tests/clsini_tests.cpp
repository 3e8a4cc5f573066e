// The INI store object: list reading rules, trimming and case rules, whole reads, counts, and
// the "empty value on failure" contract. Cases the engine never produces run against scripted
// private-profile functions; the rest against real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "testfiles.h"
#include "txini/clsini.h"

using namespace std::string_literals;
using txini::clsIni;
using txini::ProfileFunctions;
using txini::test::readBytes;
using txini::test::TempDir;
using txini::test::writeBytes;

namespace {

// ---- scripted private-profile functions -------------------------------------------------

struct WriteCall
{
    std::optional<std::string> section;
    std::optional<std::string> key;
    std::optional<std::string> value;
    std::string file;

    bool operator==(const WriteCall &) const = default;
};

// What the scripted functions answer. A list is given as the platform packs it (each item
// followed by NUL) and handed out as the platform would: cut to the buffer, reporting size - 2
// when it does not fit. A raw list is copied as it stands with its length as result, to reach
// shapes the platform only produces when it cuts.
struct Script
{
    std::string sectionNames;
    std::optional<std::string> rawSectionNames;
    std::map<std::string, std::string> sections;
    std::optional<std::string> rawSection;
    std::map<std::string, std::string> values; // "section/key" -> value
    bool fail = false;

    std::string lastFile;
    std::string lastSection;
    std::vector<WriteCall> writes;
};

Script &script()
{
    static Script current;
    return current;
}

std::optional<std::string> optionalText(const char *pText)
{
    return pText ? std::optional<std::string>(pText) : std::nullopt;
}

void note(const char *pSection, const char *pFile)
{
    if (script().fail)
        throw std::runtime_error("scripted failure");
    script().lastFile = pFile ? pFile : "<null>";
    script().lastSection = pSection ? pSection : "<null>";
}

uint32_t copyRaw(const std::string &pBytes, char *pBuffer, uint32_t pSize)
{
    const auto count = static_cast<uint32_t>(std::min<size_t>(pBytes.size(), pSize));
    std::copy_n(pBytes.data(), count, pBuffer);
    return count;
}

uint32_t copyList(const std::string &pPacked, char *pBuffer, uint32_t pSize)
{
    if (pSize < 2)
        return 0;
    if (pPacked.size() + 1 < pSize) {
        std::copy(pPacked.begin(), pPacked.end(), pBuffer);
        pBuffer[pPacked.size()] = '\0';
        return static_cast<uint32_t>(pPacked.size());
    }
    std::copy_n(pPacked.data(), pSize - 2, pBuffer);
    pBuffer[pSize - 2] = '\0';
    pBuffer[pSize - 1] = '\0';
    return pSize - 2;
}

uint32_t scriptedSectionNames(char *pBuffer, uint32_t pSize, const char *pFile)
{
    note(nullptr, pFile);
    if (script().rawSectionNames)
        return copyRaw(*script().rawSectionNames, pBuffer, pSize);
    return copyList(script().sectionNames, pBuffer, pSize);
}

uint32_t scriptedSection(const char *pSection, char *pBuffer, uint32_t pSize, const char *pFile)
{
    note(pSection, pFile);
    if (script().rawSection)
        return copyRaw(*script().rawSection, pBuffer, pSize);
    const auto found = script().sections.find(pSection);
    return copyList(found == script().sections.end() ? ""s : found->second, pBuffer, pSize);
}

uint32_t scriptedString(const char *pSection, const char *pKey, const char *pDefault, char *pBuffer,
                        uint32_t pSize, const char *pFile)
{
    note(pSection, pFile);
    const auto found = script().values.find(std::string(pSection) + "/" + pKey);
    std::string text = found != script().values.end() ? found->second : std::string(pDefault);
    if (found == script().values.end()) {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
    }
    if (pSize == 0)
        return 0;
    const auto count = static_cast<uint32_t>(std::min<size_t>(text.size(), pSize - 1));
    std::copy_n(text.data(), count, pBuffer);
    pBuffer[count] = '\0';
    return count;
}

int scriptedWrite(const char *pSection, const char *pKey, const char *pValue, const char *pFile)
{
    note(pSection, pFile);
    script().writes.push_back(
        {optionalText(pSection), optionalText(pKey), optionalText(pValue), pFile});
    return 1;
}

ProfileFunctions scriptedFunctions()
{
    return {&scriptedSectionNames, &scriptedSection, &scriptedString, &scriptedWrite};
}

std::string packed(const std::vector<std::string> &pItems)
{
    std::string bytes;
    for (const auto &item : pItems)
        bytes += item + '\0';
    return bytes;
}

std::vector<std::string> numberedNames(const std::string &pPrefix, int pCount)
{
    std::vector<std::string> names;
    for (int i = 1; i <= pCount; ++i)
        names.push_back(pPrefix + std::to_string(100000 + i));
    return names;
}

std::vector<std::string> allKeys(clsIni &pIni, const std::string &pSection)
{
    std::vector<std::string> keys;
    for (int16_t i = 1; i <= pIni.getCantidadClaves(pSection); ++i)
        keys.push_back(pIni.getLeerClave(pSection, i));
    return keys;
}

std::vector<std::string> allSections(clsIni &pIni)
{
    std::vector<std::string> names;
    for (int16_t i = 1; i <= pIni.getCantidadSecciones(); ++i)
        names.push_back(pIni.getLeerSeccion(i));
    return names;
}

class ScriptedIni : public ::testing::Test
{
protected:
    void SetUp() override
    {
        script() = Script();
        ini.File(kFile);
    }
    void TearDown() override { script() = Script(); }

    static constexpr char kFile[] = "/scripted/config.ini";
    clsIni ini{scriptedFunctions()};
};

// ---- list reading rules --------------------------------------------------------------------

struct RawListRow
{
    const char *name;
    std::string bytes;
    std::vector<std::string> expected;
    friend void PrintTo(const RawListRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class SectionListRules : public ScriptedIni, public ::testing::WithParamInterface<RawListRow>
{
};

TEST_P(SectionListRules, BuildsTheNameList)
{
    script().rawSectionNames = GetParam().bytes;
    EXPECT_EQ(allSections(ini), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SectionListRules,
    ::testing::Values(
        RawListRow{"Plain", "One\0Two\0"s, {"One", "Two"}},
        RawListRow{
            "LeadingSpacesDroppedAndBlankItemsSkipped", "  One\0   \0Two  \0"s, {"One", "Two  "}},
        RawListRow{"DoubleNulEndsTheList", "One\0\0Two\0"s, {"One"}},
        RawListRow{"RemainderAfterLastNulKeptAsItStands", "One\0  Two"s, {"One", "  Two"}}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

class KeyListRules : public ScriptedIni, public ::testing::WithParamInterface<RawListRow>
{
};

TEST_P(KeyListRules, BuildsTheKeyList)
{
    script().rawSection = GetParam().bytes;
    EXPECT_EQ(allKeys(ini, "Datos"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyListRules,
    ::testing::Values(RawListRow{"SpacesBeforeEqualsStayLeadingSpacesGo",
                                 "alpha=1\0no equals here\0  beta =  two\0"s,
                                 {"alpha", "beta "}},
                      RawListRow{"DuplicatesCountInFileOrder", "k=1\0K=2\0k=3\0"s, {"k", "K", "k"}},
                      RawListRow{"EmptyKeyNameIsAKey", "=v\0"s, {""}},
                      RawListRow{"SplitAtFirstEquals", "a=b=c\0"s, {"a"}},
                      RawListRow{"RemainderKeepsItsLeadingSpaces", "a=1\0  c=3"s, {"a", "  c"}},
                      RawListRow{"RemainderWithoutEqualsIsNoKey", "a=1\0tail"s, {"a"}}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(ScriptedIni, SectionWithLinesAroundEquals)
{
    script().sections["Datos"] = packed({"alpha=1", "no equals here", "  beta =  two"});

    EXPECT_EQ(ini.getCantidadClaves("Datos"), 2);
    EXPECT_EQ(ini.getLeerClave("Datos", 1), "alpha");
    EXPECT_EQ(ini.getLeerClave("Datos", 2), "beta ");
    EXPECT_EQ(ini.getLeerClave("Datos", 3), "");
    EXPECT_EQ(ini.getLeerClave("Datos", 0), "");
    EXPECT_TRUE(ini.getExisteClave("Datos", " BETA "));
    EXPECT_FALSE(ini.getExisteClave("Datos", "no equals here"));
}

TEST_F(ScriptedIni, AbsentListsGiveEmptyValues)
{
    EXPECT_EQ(ini.getCantidadSecciones(), 0);
    EXPECT_EQ(ini.getLeerSeccion(1), "");
    EXPECT_FALSE(ini.getExisteSeccion(""));
    EXPECT_EQ(ini.getCantidadClaves("Datos"), 0);
    EXPECT_EQ(ini.getLeerClave("Datos", 1), "");
    EXPECT_FALSE(ini.getExisteClave("Datos", ""));
}

struct PositionRow
{
    const char *name;
    int16_t position;
    std::string expected;
    friend void PrintTo(const PositionRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class SectionPositions : public ScriptedIni, public ::testing::WithParamInterface<PositionRow>
{
};

TEST_P(SectionPositions, GetLeerSeccion)
{
    script().sectionNames = packed({"A", "B", "C"});
    EXPECT_EQ(ini.getLeerSeccion(GetParam().position), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SectionPositions,
    ::testing::Values(PositionRow{"Zero", 0, ""}, PositionRow{"Negative", -1, ""},
                      PositionRow{"Lowest", -32768, ""}, PositionRow{"First", 1, "A"},
                      PositionRow{"Last", 3, "C"}, PositionRow{"BeyondTheCount", 4, ""}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- names: trimming and case ---------------------------------------------------------------

struct CaseRow
{
    const char *name;
    std::string stored;
    std::string asked;
    bool exists;
    friend void PrintTo(const CaseRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class NameComparison : public ScriptedIni, public ::testing::WithParamInterface<CaseRow>
{
};

TEST_P(NameComparison, SectionsAndKeys)
{
    script().sectionNames = packed({"Other", GetParam().stored});
    script().sections["S"] = packed({"other=1", GetParam().stored + "=x"});
    EXPECT_EQ(ini.getExisteSeccion(GetParam().asked), GetParam().exists);
    EXPECT_EQ(ini.getExisteClave("S", GetParam().asked), GetParam().exists);
}

INSTANTIATE_TEST_SUITE_P(Rows, NameComparison,
                         ::testing::Values(CaseRow{"AsciiLowerWithSpaces", "CONFIG", "  config ",
                                                   true},
                                           CaseRow{"Latin1", "ÄRGER", " ärger ", true},
                                           CaseRow{"LatinExtended", "ŁÓDŹ", "łódź", true},
                                           CaseRow{"Greek", "ΑΛΦΑ", "αλφα", true},
                                           CaseRow{"Cyrillic", "ДОМ", "дом", true},
                                           CaseRow{"TabIsNotTrimmed", "CONFIG", "\tconfig", false},
                                           CaseRow{"DifferentName", "CONFIG", "configs", false}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- which members trim File ----------------------------------------------------------------

struct FileRow
{
    const char *name;
    std::function<void(clsIni &)> call;
    bool trimmed;
    friend void PrintTo(const FileRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class FileTrimming : public ScriptedIni, public ::testing::WithParamInterface<FileRow>
{
};

TEST_P(FileTrimming, PathHandedToThePlatform)
{
    const std::string path = "   /scripted/with spaces.ini  ";
    ini.File(path);
    EXPECT_EQ(ini.File(), path) << "File stores its value exactly";
    GetParam().call(ini);
    EXPECT_EQ(script().lastFile, GetParam().trimmed ? "/scripted/with spaces.ini" : path);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileTrimming,
    ::testing::Values(
        FileRow{"getLeerValor", [](clsIni &p) { p.getLeerValor("S", "k"); }, true},
        FileRow{"getExisteValor", [](clsIni &p) { p.getExisteValor("S", "k"); }, true},
        FileRow{"doAdd", [](clsIni &p) { p.doAdd("S", "k", "v"); }, true},
        FileRow{"doDelete", [](clsIni &p) { p.doDelete("S", "k"); }, false},
        FileRow{"getLeerSeccion", [](clsIni &p) { p.getLeerSeccion(1); }, false},
        FileRow{"getExisteSeccion", [](clsIni &p) { p.getExisteSeccion("S"); }, false},
        FileRow{"getCantidadSecciones", [](clsIni &p) { p.getCantidadSecciones(); }, false},
        FileRow{"getLeerClave", [](clsIni &p) { p.getLeerClave("S", 1); }, false},
        FileRow{"getExisteClave", [](clsIni &p) { p.getExisteClave("S", "k"); }, false},
        FileRow{"getCantidadClaves", [](clsIni &p) { p.getCantidadClaves("S"); }, false}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(ScriptedIni, EnumerationsHandTheSectionUntrimmed)
{
    ini.getCantidadClaves("  Sec ");
    EXPECT_EQ(script().lastSection, "  Sec ");
    ini.getLeerValor("  Sec ", "k");
    EXPECT_EQ(script().lastSection, "Sec");
}

TEST_F(ScriptedIni, DoAddTrimsAllFourDoDeleteNone)
{
    ini.File(" /scripted/a.ini ");
    ini.doAdd("  Sec ", " Key  ", "  a value  ");
    ini.doDelete(" Sec ", "");
    ini.doDelete(" Sec ");
    ini.doDelete(" Sec ", " Key ");

    const std::vector<WriteCall> expected{
        {"Sec", "Key", "a value", "/scripted/a.ini"},
        {" Sec ", std::nullopt, std::nullopt, " /scripted/a.ini "},
        {" Sec ", std::nullopt, std::nullopt, " /scripted/a.ini "},
        {" Sec ", " Key ", std::nullopt, " /scripted/a.ini "},
    };
    EXPECT_EQ(script().writes, expected);
}

TEST_F(ScriptedIni, ExisteValorNeedsSomethingBesidesSpaces)
{
    script().values["S/full"] = " x ";
    script().values["S/spaces"] = "   ";
    script().values["S/empty"] = "";
    EXPECT_TRUE(ini.getExisteValor(" S ", " full "));
    EXPECT_FALSE(ini.getExisteValor("S", "spaces"));
    EXPECT_FALSE(ini.getExisteValor("S", "empty"));
    EXPECT_FALSE(ini.getExisteValor("S", "missing"));
    EXPECT_EQ(ini.getLeerValor("S", "full"), " x ");
}

// ---- whole reads and counts ------------------------------------------------------------------

struct CountRow
{
    const char *name;
    int items;
    int16_t expected;
    friend void PrintTo(const CountRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class CountLimits : public ScriptedIni, public ::testing::WithParamInterface<CountRow>
{
};

// About 260,000 characters per list, so these also read lists far beyond the first buffer.
TEST_P(CountLimits, SectionsAndKeys)
{
    const auto names = numberedNames("n", GetParam().items);
    script().sectionNames = packed(names);
    std::vector<std::string> lines;
    for (const auto &name : names)
        lines.push_back(name + "=");
    script().sections["S"] = packed(lines);

    EXPECT_EQ(ini.getCantidadSecciones(), GetParam().expected);
    EXPECT_EQ(ini.getCantidadClaves("S"), GetParam().expected);
    // The positions an Integer reaches stay readable even when the count cannot be held.
    EXPECT_EQ(ini.getLeerSeccion(32767), names[32766]);
    EXPECT_EQ(ini.getLeerClave("S", 32767), names[32766]);
    EXPECT_TRUE(ini.getExisteSeccion(names.back()));
    EXPECT_TRUE(ini.getExisteClave("S", names.back()));
}

INSTANTIATE_TEST_SUITE_P(Rows, CountLimits,
                         ::testing::Values(CountRow{"LargestInteger", 32767, 32767},
                                           CountRow{"Overflow", 32768, 0}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- failures ------------------------------------------------------------------------------

TEST_F(ScriptedIni, FailingPlatformGivesEmptyValuesAndLeavesTheObjectUsable)
{
    script().sectionNames = packed({"S"});
    script().sections["S"] = packed({"k=v"});
    script().values["S/k"] = "v";
    script().fail = true;

    EXPECT_EQ(ini.getLeerValor("S", "k"), "");
    EXPECT_FALSE(ini.getExisteValor("S", "k"));
    EXPECT_EQ(ini.getLeerSeccion(1), "");
    EXPECT_FALSE(ini.getExisteSeccion("S"));
    EXPECT_EQ(ini.getCantidadSecciones(), 0);
    EXPECT_EQ(ini.getLeerClave("S", 1), "");
    EXPECT_FALSE(ini.getExisteClave("S", "k"));
    EXPECT_EQ(ini.getCantidadClaves("S"), 0);
    EXPECT_NO_THROW(ini.doAdd("S", "k", "w"));
    EXPECT_NO_THROW(ini.doDelete("S", "k"));
    EXPECT_NO_THROW(ini.doSeleccionarArchivo(0));
    EXPECT_EQ(ini.File(), kFile);

    script().fail = false;
    EXPECT_EQ(ini.getLeerValor("S", "k"), "v");
    EXPECT_EQ(ini.getLeerSeccion(1), "S");
    EXPECT_EQ(ini.getCantidadClaves("S"), 1);
}

// ---- against real files ----------------------------------------------------------------------

class FileIni : public ::testing::Test
{
protected:
    void SetUp() override { ini.File(file); }

    TempDir dir;
    std::string file = dir.file("config.ini");
    clsIni ini;
};

class ValueLengths : public FileIni, public ::testing::WithParamInterface<size_t>
{
};

TEST_P(ValueLengths, ReadBackWhole)
{
    std::string value;
    for (size_t i = 0; i < GetParam(); ++i)
        value += static_cast<char>('a' + i % 26);
    ini.doAdd("Datos", "largo", value);
    EXPECT_EQ(ini.getLeerValor("Datos", "largo"), value);
    EXPECT_TRUE(ini.getExisteValor("Datos", "largo"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ValueLengths,
                         ::testing::Values(253, 254, 255, 300, 509, 510, 70000),
                         [](const auto &pInfo) { return "Chars" + std::to_string(pInfo.param); });

TEST_F(FileIni, MissingFileReadsEmptyAndTheFirstAddCreatesIt)
{
    EXPECT_EQ(ini.getLeerValor("S", "k"), "");
    EXPECT_FALSE(ini.getExisteValor("S", "k"));
    EXPECT_FALSE(ini.getExisteSeccion("S"));
    EXPECT_EQ(ini.getCantidadSecciones(), 0);
    EXPECT_EQ(ini.getCantidadClaves("S"), 0);
    EXPECT_EQ(ini.getLeerSeccion(1), "");
    EXPECT_FALSE(std::filesystem::exists(file));

    ini.doAdd("S", "k", "v");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ini.getLeerValor("S", "k"), "v");
    EXPECT_EQ(ini.getCantidadSecciones(), 1);
}

TEST_F(FileIni, AddStoresTheValueTrimmed)
{
    ini.doAdd("S", "padded", "   a b   ");
    ini.doAdd("S", "blank", "    ");

    EXPECT_EQ(ini.getLeerValor("S", "padded"), "a b");
    const std::string bytes = readBytes(file);
    EXPECT_NE(bytes.find("padded=a b\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("blank=\n"), std::string::npos) << bytes;

    EXPECT_TRUE(ini.getExisteClave("S", "blank"));
    EXPECT_FALSE(ini.getExisteValor("S", "blank"));
    EXPECT_EQ(ini.getCantidadClaves("S"), 2);
}

struct DeleteRow
{
    const char *name;
    std::function<void(clsIni &)> call;
    std::vector<std::string> sectionsLeft;
    std::vector<std::string> keysLeftInA;
    friend void PrintTo(const DeleteRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class Deletes : public FileIni, public ::testing::WithParamInterface<DeleteRow>
{
};

TEST_P(Deletes, RemoveWhatWasNamed)
{
    writeBytes(file, "[A]\nk1=1\nk2=2\n[B]\nk=3\n");
    GetParam().call(ini);
    EXPECT_EQ(allSections(ini), GetParam().sectionsLeft);
    EXPECT_EQ(allKeys(ini, "A"), GetParam().keysLeftInA);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Deletes,
    ::testing::Values(
        DeleteRow{"SectionOnly", [](clsIni &p) { p.doDelete("A"); }, {"B"}, {}},
        DeleteRow{"EmptyKey", [](clsIni &p) { p.doDelete("A", ""); }, {"B"}, {}},
        DeleteRow{"Key", [](clsIni &p) { p.doDelete("A", "k1"); }, {"A", "B"}, {"k2"}},
        DeleteRow{
            "MissingKey", [](clsIni &p) { p.doDelete("A", "nope"); }, {"A", "B"}, {"k1", "k2"}}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(FileIni, LongSectionListIsReadWhole)
{
    std::string content;
    const auto names = numberedNames("Section", 4000); // about 52,000 characters of names
    for (const auto &name : names)
        content += "[" + name + "]\nk=v\n";
    writeBytes(file, content);

    EXPECT_EQ(ini.getCantidadSecciones(), 4000);
    EXPECT_EQ(ini.getLeerSeccion(4000), names.back());
    EXPECT_TRUE(ini.getExisteSeccion(names.back()));
}

TEST_F(FileIni, FileWithLeadingSpaces)
{
    writeBytes(file, "[S]\nk=v\n");
    ini.File("  " + file);

    // Trimmed: the file is found.
    EXPECT_EQ(ini.getLeerValor("S", "k"), "v");
    EXPECT_TRUE(ini.getExisteValor("S", "k"));
    ini.doAdd("S", "added", "1");
    EXPECT_NE(readBytes(file).find("added=1"), std::string::npos);

    // Untrimmed: a path with leading spaces names no file here.
    EXPECT_FALSE(ini.getExisteSeccion("S"));
    EXPECT_EQ(ini.getCantidadSecciones(), 0);
    EXPECT_EQ(ini.getCantidadClaves("S"), 0);
    ini.doDelete("S");
    ini.File(file);
    EXPECT_TRUE(ini.getExisteSeccion("S")) << "doDelete must not have reached the real file";
}

// ---- the default file --------------------------------------------------------------------------

#ifdef __linux__
// The library's file as the loader mapped it, read independently of the library.
std::filesystem::path mappedLibrary()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const size_t slash = line.find('/');
        if (slash != std::string::npos && line.find("libtxini", slash) != std::string::npos)
            return line.substr(slash);
    }
    return {};
}

TEST(ClsIniDefault, FileIsConfigIniBesideTheLibrary)
{
    clsIni ini;
    const std::string file = ini.File();
    EXPECT_EQ(file, clsIni::defaultFile());
    ASSERT_GT(file.size(), 11u);
    EXPECT_EQ(file.substr(file.size() - 11), "/config.ini");

    const auto library = mappedLibrary();
    ASSERT_FALSE(library.empty());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(file).parent_path(),
                                            library.parent_path()))
        << file << " vs " << library;
}
#endif

} // namespace
