// The dialog object: filter conversion, the open-file dialog through a scripted dialog, the
// store's file selection, and the small path and INI routines.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "testfiles.h"
#include "txini/clsfileini.h"
#include "txini/clsini.h"
#include "txini/openfiledialog.h"

using namespace std::string_literals;
using txini::clsFileIni;
using txini::clsIni;
using txini::OpenFileName;

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// Writes paths in tests with "/" and turns them into the native form.
std::string native(std::string pPath)
{
    std::replace(pPath.begin(), pPath.end(), '/', kSeparator);
    return pPath;
}

std::string untilNul(const std::string &pBuffer)
{
    return pBuffer.substr(0, pBuffer.find('\0'));
}

std::string padded(const std::string &pText)
{
    std::string buffer = pText;
    buffer.resize(260, '\0');
    return buffer;
}

// A dialog that records the record it was shown and answers as told. A chosen text is written
// over the start of its buffer with a NUL after it, as the platform does; the rest of the
// buffer keeps what was there.
class ScriptedDialog : public txini::OpenFileDialog
{
public:
    bool getOpenFileName(OpenFileName &pRecord) override
    {
        ++calls;
        seen = pRecord;
        if (fails)
            throw std::runtime_error("dialog failed");
        if (!chosenFile)
            return false;
        overwrite(pRecord.file, *chosenFile);
        overwrite(pRecord.fileTitle, chosenTitle);
        overwrite(pRecord.initialDir, chosenFolder);
        return true;
    }

    int calls = 0;
    bool fails = false;
    std::optional<OpenFileName> seen;
    std::optional<std::string> chosenFile;
    std::string chosenTitle;
    std::string chosenFolder;

private:
    static void overwrite(std::string &pBuffer, const std::string &pText)
    {
        const std::string terminated = pText + '\0';
        pBuffer.replace(0, std::min(terminated.size(), pBuffer.size()), terminated);
    }
};

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { txini::installOpenFileDialog(dialog); }
    void TearDown() override { txini::installOpenFileDialog(nullptr); }

    std::shared_ptr<ScriptedDialog> dialog = std::make_shared<ScriptedDialog>();
    clsFileIni object;
};

// ---- Filter --------------------------------------------------------------------------------

struct FilterRow
{
    const char *name;
    std::string given;
    std::string expected;
    friend void PrintTo(const FilterRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class FilterConversion : public ::testing::TestWithParam<FilterRow>
{
};

TEST_P(FilterConversion, PlatformForm)
{
    clsFileIni object;
    object.Filter("previous|*.*");
    object.Filter(GetParam().given);
    EXPECT_EQ(object.filterText(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FilterConversion,
    ::testing::Values(FilterRow{"StoreFilter",
                                "Ficheros INIs (*.ini)|*.ini|Todos los Archivos (*.*)|*.*",
                                "Ficheros INIs (*.ini)\0*.ini\0Todos los Archivos (*.*)\0*.*\0\0"s},
                      FilterRow{"TrailingBarAndSpaces", "  Text|*.txt|  ", "Text\0*.txt\0\0"s},
                      FilterRow{"SpacesInsideEntriesStay", "A b | *.a", "A b \0 *.a\0\0"s},
                      FilterRow{"OddEntryCount", "a|b|c", "a\0b\0c\0\0"s},
                      FilterRow{"AlreadyConverted", "Text\0*.txt\0\0"s, "Text\0*.txt\0\0"s},
                      FilterRow{"NeitherBarNorNulEmpties", "*.ini", ""},
                      FilterRow{"EmptyEmpties", "", ""}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- ShowOpen --------------------------------------------------------------------------------

struct CancelRow
{
    const char *name;
    bool installed;
    bool cancelError;
    int32_t expectedError;
    friend void PrintTo(const CancelRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class ShowOpenCancelled : public DialogTest, public ::testing::WithParamInterface<CancelRow>
{
};

TEST_P(ShowOpenCancelled, ReturnsFalseAndKeepsTheFields)
{
    if (!GetParam().installed)
        txini::installOpenFileDialog(nullptr);
    object.CancelError = GetParam().cancelError;
    object.FileName = "keep.ini";
    object.InitDir = "folder";

    EXPECT_FALSE(object.ShowOpen());
    EXPECT_EQ(object.FileName, "keep.ini");
    EXPECT_EQ(object.InitDir, "folder");
    EXPECT_EQ(object.Err().Number, GetParam().expectedError);
    if (GetParam().expectedError != 0) {
        EXPECT_EQ(object.Err().Source, "cComDlgR.ShowOpen");
        EXPECT_EQ(object.Err().Description, "Error en Abrir (clase cComDlgR)");
    }
    EXPECT_EQ(dialog->calls, GetParam().installed ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowOpenCancelled,
                         ::testing::Values(CancelRow{"Silent", true, false, 0},
                                           CancelRow{"WithCancelError", true, true, 32755},
                                           CancelRow{"NoDialogInstalled", false, false, 0},
                                           CancelRow{"NoDialogWithCancelError", false, true,
                                                     32755}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(DialogTest, RecordHoldsTheFieldsAndTheDefaults)
{
    object.hWnd = 42;
    object.FilterIndex = 2;
    object.Flags = 0x4;
    object.DefaultExt = "ini";
    object.FileName = std::string(300, 'f');
    object.FileTitle = "title.ini";
    object.InitDir = "/start";

    object.ShowOpen();

    ASSERT_TRUE(dialog->seen);
    const OpenFileName &seen = *dialog->seen;
    EXPECT_EQ(seen.hwndOwner, 42);
    EXPECT_EQ(seen.filterIndex, 2);
    EXPECT_EQ(seen.flags, 0x4);
    EXPECT_EQ(seen.defaultExt, "ini");
    EXPECT_EQ(seen.file, std::string(260, 'f')) << "cut to the buffer's capacity";
    EXPECT_EQ(seen.maxFile, 260u);
    EXPECT_EQ(seen.fileTitle, padded("title.ini"));
    EXPECT_EQ(seen.maxFileTitle, 260u);
    EXPECT_EQ(seen.initialDir, padded("/start"));
    EXPECT_EQ(seen.title, "Abrir");
    EXPECT_EQ(object.DialogTitle, "Abrir") << "the default title stays in the field";
    EXPECT_EQ(seen.filter, "Todos los Archivos (*.*)\0*.*\0\0"s);
}

TEST_F(DialogTest, ArgumentsReplaceTheirFields)
{
    object.ShowOpen("given.ini", "Elegir", "Texto|*.txt", 0x1000, 7);

    EXPECT_EQ(object.FileName, "given.ini");
    EXPECT_EQ(object.DialogTitle, "Elegir");
    EXPECT_EQ(object.Flags, 0x1000);
    EXPECT_EQ(object.hWnd, 7);
    EXPECT_EQ(object.filterText(), "Texto\0*.txt\0\0"s);
    ASSERT_TRUE(dialog->seen);
    EXPECT_EQ(untilNul(dialog->seen->file), "given.ini");
    EXPECT_EQ(dialog->seen->title, "Elegir");
    EXPECT_EQ(dialog->seen->flags, 0x1000);
    EXPECT_EQ(dialog->seen->hwndOwner, 7);
    EXPECT_EQ(dialog->seen->filter, "Texto\0*.txt\0\0"s);
}

TEST_F(DialogTest, SuccessTakesEachBufferUpToItsNul)
{
    object.FileName = "/a/much/longer/proposed/name.ini";
    object.FileTitle = "name.ini";
    dialog->chosenFile = "/b/x.ini";
    dialog->chosenTitle = "x.ini";
    dialog->chosenFolder = "/b";

    EXPECT_TRUE(object.ShowOpen());
    EXPECT_EQ(object.FileName, "/b/x.ini");
    EXPECT_EQ(object.FileTitle, "x.ini");
    EXPECT_EQ(object.InitDir, "/b");
    EXPECT_EQ(object.Err().Number, 0);
}

TEST_F(DialogTest, MultipleSelectionGivesQuotedNames)
{
    object.Flags = txini::kOfnAllowMultiSelect;
    dialog->chosenFile = "/dir\0a.ini\0b c.ini\0"s;
    dialog->chosenFolder = "/dir";

    EXPECT_TRUE(object.ShowOpen());
    EXPECT_EQ(object.FileName, "\"/dir\" \"a.ini\" \"b c.ini\"");
    EXPECT_EQ(object.InitDir, "\"/dir\"");
    EXPECT_EQ(object.FileTitle, "\"\"");
}

TEST_F(DialogTest, ShowOpenClearsTheErrorOfTheLastDialog)
{
    object.CancelError = true;
    object.ShowOpen();
    ASSERT_EQ(object.Err().Number, 32755);

    dialog->chosenFile = "/x.ini";
    EXPECT_TRUE(object.ShowOpen());
    EXPECT_EQ(object.Err().Number, 0);
}

TEST_F(DialogTest, ActionOneShowsTheDialog)
{
    object.Action(0);
    object.Action(2);
    EXPECT_EQ(dialog->calls, 0);
    object.Action(1);
    EXPECT_EQ(dialog->calls, 1);
}

// ---- doSeleccionarArchivo --------------------------------------------------------------------

class SelectFile : public DialogTest
{
protected:
    // The folder of the library's module, as the store's default File names it.
    static std::string libraryFolder()
    {
        const std::string file = clsIni::defaultFile();
        return file.substr(0, file.size() - std::string("/config.ini").size());
    }

    clsIni ini;
};

TEST_F(SelectFile, CancelKeepsFileAndLeavesNoError)
{
    ini.File("  /kept/config.ini ");
    ini.doSeleccionarArchivo(1234);

    EXPECT_EQ(ini.File(), "  /kept/config.ini ");
    EXPECT_EQ(ini.dialogObject().Err().Number, 0);
    EXPECT_EQ(dialog->calls, 1);
}

TEST_F(SelectFile, DialogIsPreparedInFull)
{
    ini.File("  /kept/config.ini ");
    ini.doSeleccionarArchivo(1234);

    ASSERT_TRUE(dialog->seen);
    const OpenFileName &seen = *dialog->seen;
    EXPECT_EQ(seen.hwndOwner, 1234);
    EXPECT_EQ(seen.title, "Seleccionar archivos");
    EXPECT_EQ(seen.filter, "Ficheros INIs (*.ini)\0*.ini\0Todos los Archivos (*.*)\0*.*\0\0"s);
    EXPECT_EQ(seen.flags, 0x280804);
    EXPECT_EQ(seen.file, padded("/kept/config.ini")) << "File trimmed";
    EXPECT_EQ(seen.initialDir, padded(libraryFolder()));
    EXPECT_TRUE(ini.dialogObject().CancelError);
}

TEST_F(SelectFile, ChosenFileBecomesFile)
{
    ini.File("/old.ini");
    dialog->chosenFile = "/chosen/other.ini";
    ini.doSeleccionarArchivo(0);
    EXPECT_EQ(ini.File(), "/chosen/other.ini");
}

TEST_F(SelectFile, FailingDialogKeepsFile)
{
    ini.File("/old.ini");
    dialog->fails = true;
    EXPECT_NO_THROW(ini.doSeleccionarArchivo(0));
    EXPECT_EQ(ini.File(), "/old.ini");
    EXPECT_EQ(ini.dialogObject().Err().Number, 0);
}

// ---- QuitarCaracterEx ------------------------------------------------------------------------

struct ReplaceRow
{
    const char *name;
    std::string value;
    std::string character;
    std::optional<std::string> replacement;
    std::string expected;
    friend void PrintTo(const ReplaceRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class QuitarCaracterEx : public ::testing::TestWithParam<ReplaceRow>
{
};

TEST_P(QuitarCaracterEx, Result)
{
    clsFileIni object;
    const ReplaceRow &row = GetParam();
    EXPECT_EQ(object.QuitarCaracterEx(row.value, row.character, row.replacement), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, QuitarCaracterEx,
    ::testing::Values(
        ReplaceRow{"EmptyCharacterChangesNothing", "a,b", "", "x", "a,b"},
        ReplaceRow{"RemovedWithoutReplacement", "a,b,,c,", ",", std::nullopt, "abc"},
        ReplaceRow{"Replaced", "a,b,,c", ",", ";", "a;b;;c"},
        ReplaceRow{"MultiCharacter", "xxabyyab", "ab", "-", "xx-yy-"},
        ReplaceRow{"ReplacementFormsANewMatch", "abb", "ab", "a", "a"},
        ReplaceRow{"ReplacementHoldingTheCharacterIsBounded", "a,b,", ",", ",,", "a,,b,,"},
        ReplaceRow{"ReplacementEqualToTheCharacter", "a,,b", ",", ",", "a,,b"},
        ReplaceRow{"NulTrailingRemovedThenReplaced", "d\0a\0b\0\0\0"s, "\0"s, "\" \"",
                   "d\" \"a\" \"b"},
        ReplaceRow{"NulRemoved", "a\0b\0"s, "\0"s, std::nullopt, "ab"},
        ReplaceRow{"NulReplacementHoldingNul", "a\0b\0c"s, "\0"s, "\0\0"s, "a\0\0b\0\0c"s},
        ReplaceRow{"OnlyNuls", "\0\0\0"s, "\0"s, "x", ""}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- SplitPath -------------------------------------------------------------------------------

struct SplitRow
{
    const char *name;
    std::string whole;
    std::string path;
    std::string fileName;
    std::string extension;
    friend void PrintTo(const SplitRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class SplitPath : public ::testing::TestWithParam<SplitRow>
{
};

TEST_P(SplitPath, Parts)
{
    clsFileIni object;
    const SplitRow &row = GetParam();
    std::string path = "stale";
    std::string fileName;
    std::string extension;
    object.SplitPath(native(row.whole), path, &fileName, &extension);
    EXPECT_EQ(path, native(row.path));
    EXPECT_EQ(fileName, native(row.fileName));
    EXPECT_EQ(extension, native(row.extension));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitPath,
    ::testing::Values(SplitRow{"Full", "/a/b/file.txt", "/a/b", "file.txt", "txt"},
                      SplitRow{"NoExtension", "/a/b/file", "/a/b", "file", "*"},
                      SplitRow{"TrailingDot", "/a/file.", "/a", "file.", "*"},
                      SplitRow{"DotInFolderCounts", "/a.d/file", "/a.d", "file", "d/file"},
                      SplitRow{"NoSeparator", "file.ini", "", "file.ini", "ini"},
                      SplitRow{"TrailingSeparator", "/a/b/", "/a/b", "", "*"},
                      SplitRow{"Empty", "", "", "", "*"}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(SplitPathOutputs, OptionalPartsAndOutputsThatAreTheInput)
{
    clsFileIni object;
    std::string path;
    object.SplitPath(native("/a/b.txt"), path);
    EXPECT_EQ(path, native("/a"));

    std::string whole = native("/a/b.txt");
    object.SplitPath(whole, whole, nullptr, nullptr);
    EXPECT_EQ(whole, native("/a"));

    std::string both = native("/x/y.ini");
    std::string name;
    object.SplitPath(both, name, &both, nullptr);
    EXPECT_EQ(name, native("/x"));
    EXPECT_EQ(both, "y.ini");
}

// ---- separators ------------------------------------------------------------------------------

struct SeparatorRow
{
    const char *name;
    std::string given;
    std::string added;
    std::string removed;
    friend void PrintTo(const SeparatorRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class Separators : public ::testing::TestWithParam<SeparatorRow>
{
};

TEST_P(Separators, AddAndRemove)
{
    clsFileIni object;
    EXPECT_EQ(object.AddBackSlash(native(GetParam().given)), native(GetParam().added));
    EXPECT_EQ(object.QuitarBackSlash(native(GetParam().given)), native(GetParam().removed));
}

INSTANTIATE_TEST_SUITE_P(Rows, Separators,
                         ::testing::Values(SeparatorRow{"Empty", "", "", ""},
                                           SeparatorRow{"Plain", "/a/b", "/a/b/", "/a/b"},
                                           SeparatorRow{"Trailing", "/a/b/", "/a/b/", "/a/b"},
                                           SeparatorRow{"Root", "/", "/", ""},
                                           SeparatorRow{"DoubleTrailing", "a//", "a//", "a/"}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- settings --------------------------------------------------------------------------------

TEST(FileIniSettings, WriteReadAndDelete)
{
    txini::test::TempDir dir;
    const std::string file = dir.file("settings.ini");
    clsFileIni object;

    object.SaveSetting(file, "A", "one", "1");
    object.GuardarIni(file, "A", "two", "2");
    object.GuardarIni(file, "B", "long", std::string(300, 'x'));
    EXPECT_EQ(object.GetSetting(file, "A", "one"), "1");
    EXPECT_EQ(object.LeerIni(file, "A", "two", "d"), "2");
    EXPECT_EQ(object.GetSetting(file, "B", "long"), std::string(300, 'x')) << "read whole";
    EXPECT_EQ(object.GetSetting(file, "A", "missing", "fallback"), "fallback");
    EXPECT_EQ(object.LeerIni(file, "A", "missing"), "");

    object.DeleteSetting(file, "A", "one");
    EXPECT_EQ(object.GetSetting(file, "A", "one", "gone"), "gone");
    EXPECT_EQ(object.GetSetting(file, "A", "two"), "2");

    object.DeleteSetting(file, "A", "");
    EXPECT_EQ(object.GetSetting(file, "A", "two", "gone"), "gone");
    EXPECT_EQ(object.GetSetting(file, "B", "long").size(), 300u);
}

} // namespace
