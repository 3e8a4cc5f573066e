// The registry procedures on a real config.ini: write orders, the drawer limit, shifts on
// removal, dead sections, program moves and index guards.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup/settings.h"
#include "startup_testsupport.h"
#include "txini/clsini.h"

namespace pindrel {
namespace {

using test::RecordingHost;
using test::RecordingIni;
using test::TempConfig;
using test::Write;

const std::string kLimitCall = "exclamation:You can't add another drawer. (Max. allowed 100).";

// Drawer n of a seeded file: its entry keys and window keys differ from every other drawer's.
std::string seededDrawer(int pNumber)
{
    const std::string n = std::to_string(pNumber);
    return "[BUTTON" + n + "]\nCAPTION=Drawer " + n + "\nPATH=/folder" + n + "\nICON=/icon" + n
        + ".png\nHEIGHT=" + std::to_string(1000 + pNumber)
        + "\nWIDTH=" + std::to_string(2000 + pNumber) + "\nLEFT=" + std::to_string(10 * pNumber)
        + "\nTOP=" + std::to_string(400 + pNumber) + "\nVISIBLE=" + std::to_string(pNumber % 2)
        + "\nVIEW=" + std::to_string(pNumber % 5) + "\n";
}

std::string seededProgram(int pNumber)
{
    const std::string n = std::to_string(pNumber);
    return "[PROGRAM" + n + "]\nCAPTION=Program " + n + "\nPATH=/bin/program" + n + "\n";
}

class RegistryTest : public ::testing::Test
{
protected:
    // Writes the file (when given), opens the store on it and loads both counts, clamped.
    void open(const std::string &pFile = {})
    {
        if (!pFile.empty())
            config.write(pFile);
        state.openStore(config.path(), std::make_unique<RecordingIni>(writes));
        state.setDrawerCount(readCount(state.ini(), kKeyDrawerCount));
        state.setProgramCount(readCount(state.ini(), kKeyProgramCount));
    }

    void openWithDrawers(int pCount, int pStoredCount = -1)
    {
        std::string file;
        for (int number = 1; number <= pCount; ++number)
            file += seededDrawer(number);
        file +=
            "[GRAL]\nCANTBOT=" + std::to_string(pStoredCount < 0 ? pCount : pStoredCount) + "\n";
        open(file);
    }

    void openWithPrograms(int pCount)
    {
        std::string file;
        for (int number = 1; number <= pCount; ++number)
            file += seededProgram(number);
        file += "[GRAL]\nCANTPROG=" + std::to_string(pCount) + "\n";
        open(file);
    }

    std::string value(const std::string &pSection, const std::string &pKey) const
    {
        txini::clsIni reader;
        reader.File(config.path().toStdString());
        return reader.getLeerValor(pSection, pKey);
    }

    // CAPTION, PATH and ICON of a section.
    std::vector<std::string> entry(int pNumber) const
    {
        const std::string section = Registry::drawerSection(pNumber);
        return {value(section, "CAPTION"), value(section, "PATH"), value(section, "ICON")};
    }
    // HEIGHT, WIDTH, LEFT, TOP, VISIBLE, VIEW of a section.
    std::vector<std::string> window(int pNumber) const
    {
        const std::string section = Registry::drawerSection(pNumber);
        return {value(section, "HEIGHT"), value(section, "WIDTH"),   value(section, "LEFT"),
                value(section, "TOP"),    value(section, "VISIBLE"), value(section, "VIEW")};
    }
    static std::vector<std::string> seededEntry(int pNumber)
    {
        const std::string n = std::to_string(pNumber);
        return {"Drawer " + n, "/folder" + n, "/icon" + n + ".png"};
    }
    static std::vector<std::string> seededWindow(int pNumber)
    {
        return {std::to_string(1000 + pNumber), std::to_string(2000 + pNumber),
                std::to_string(10 * pNumber),   std::to_string(400 + pNumber),
                std::to_string(pNumber % 2),    std::to_string(pNumber % 5)};
    }

    TempConfig config;
    std::vector<Write> writes;
    AppState state;
    RecordingHost host;
    Registry registry{state, host};
};

// ---- adding drawers -----------------------------------------------------------------------

TEST_F(RegistryTest, AddWritesTheNewDrawerInOrder)
{
    open();
    registry.AgregarBoton(QStringLiteral("Docs"), QStringLiteral("/home/u/Docs"), QString(), -1);

    const std::vector<Write> expected = {
        {"BUTTON1", "CAPTION", "Docs"}, {"BUTTON1", "PATH", "/home/u/Docs"},
        {"BUTTON1", "ICON", ""},        {"BUTTON1", "HEIGHT", "5745"},
        {"BUTTON1", "WIDTH", "6855"},   {"BUTTON1", "LEFT", "-1"},
        {"BUTTON1", "TOP", "390"},      {"GRAL", "CANTBOT", "1"},
    };
    EXPECT_EQ(writes, expected);
    // An empty icon is still written, as a key with an empty value.
    EXPECT_EQ(config.bytes(),
              "[BUTTON1]\nCAPTION=Docs\nPATH=/home/u/Docs\nICON=\nHEIGHT=5745\n"
              "WIDTH=6855\nLEFT=-1\nTOP=390\n[GRAL]\nCANTBOT=1\n");
    EXPECT_EQ(state.drawerCount(), 1);
    EXPECT_EQ(host.calls, std::vector<std::string>{"MostrarBotones"});
}

TEST_F(RegistryTest, AddTakesTheBarsCurrentHeightWithoutRebuilding)
{
    open();
    host.barHeight = 382.5F;
    registry.AgregarBoton(QStringLiteral("A"), QStringLiteral("/a"), QStringLiteral("/a.png"), 0);

    EXPECT_EQ(value("BUTTON1", "TOP"), "382.5");
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(RegistryTest, ValuesGoToTheStoreAsGiven)
{
    open();
    registry.AgregarBoton(QStringLiteral("  Spaced  "), QStringLiteral("/a"), QString(), 0);

    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), (Write{"BUTTON1", "CAPTION", "  Spaced  "}));
    // The store keeps its own rule: values are stored trimmed.
    EXPECT_EQ(value("BUTTON1", "CAPTION"), "Spaced");
}

struct LimitRow
{
    const char *name;
    int storedCount;
    bool added;
};

class DrawerLimitTest : public RegistryTest, public ::testing::WithParamInterface<LimitRow>
{
};

TEST_P(DrawerLimitTest, AddsUpToOneHundred)
{
    // Only the last sections matter for the limit; the file holds the count.
    openWithDrawers(2, GetParam().storedCount);
    const std::string before = config.bytes();

    registry.AgregarBoton(QStringLiteral("New"), QStringLiteral("/new"), QString(), -1);

    if (GetParam().added) {
        EXPECT_EQ(value("BUTTON100", "CAPTION"), "New");
        EXPECT_EQ(value("GRAL", "CANTBOT"), "100");
        EXPECT_EQ(host.calls, std::vector<std::string>{"MostrarBotones"});
        host.calls.clear();
        writes.clear();
        // The next one is refused.
        registry.AgregarBoton(QStringLiteral("Next"), QStringLiteral("/next"), QString(), -1);
    }
    EXPECT_EQ(host.calls, std::vector<std::string>{kLimitCall});
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(state.drawerCount(), 100);
    if (!GetParam().added) {
        EXPECT_EQ(config.bytes(), before);
    }
    EXPECT_EQ(value("BUTTON101", "CAPTION"), "");
}

const LimitRow kLimitRows[] = {
    {"NinetyNine", 99, true},
    {"OneHundred", 100, false},
    {"OneHundredOne", 101, false},
    {"FiveHundred", 500, false},
};
INSTANTIATE_TEST_SUITE_P(Rows, DrawerLimitTest, ::testing::ValuesIn(kLimitRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- changing drawers ---------------------------------------------------------------------

TEST_F(RegistryTest, ModifyWritesTheEntryKeysOnly)
{
    openWithDrawers(2);
    registry.ModificarBoton(2, QStringLiteral("X"), QStringLiteral("/x"), QStringLiteral("/x.png"),
                            -1);

    const std::vector<Write> expected = {
        {"BUTTON2", "CAPTION", "X"}, {"BUTTON2", "PATH", "/x"}, {"BUTTON2", "ICON", "/x.png"}};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(window(2), seededWindow(2));
    EXPECT_EQ(host.calls, std::vector<std::string>{"MostrarBotones"});
}

TEST_F(RegistryTest, ModifyIgnoresNumbersThatAreNoDrawer)
{
    openWithDrawers(2);
    const std::string before = config.bytes();
    for (const int16_t index : {int16_t{0}, int16_t{-1}, int16_t{3}, int16_t{101}})
        registry.ModificarBoton(index, QStringLiteral("X"), QStringLiteral("/x"), QString(), -1);

    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(config.bytes(), before);
}

// ---- removing drawers ---------------------------------------------------------------------

TEST_F(RegistryTest, DeleteSecondOfThreeShiftsTheLaterEntry)
{
    openWithDrawers(3);
    auto &folders = state.lastFolders();
    folders[1] = QStringLiteral("/a");
    folders[2] = QStringLiteral("/b");
    folders[3] = QStringLiteral("/c");

    registry.EliminarBoton(2, -1);

    const std::vector<Write> expected = {
        {"BUTTON2", "CAPTION", "Drawer 3"},
        {"BUTTON2", "PATH", "/folder3"},
        {"BUTTON2", "ICON", "/icon3.png"},
        {"GRAL", "CANTBOT", "2"},
    };
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(entry(1), seededEntry(1));
    EXPECT_EQ(entry(2), seededEntry(3));
    // The window keys stay with the section number.
    EXPECT_EQ(window(2), seededWindow(2));
    // The old last section stays, dead, with its contents.
    EXPECT_EQ(entry(3), seededEntry(3));
    EXPECT_EQ(window(3), seededWindow(3));
    EXPECT_EQ(value("GRAL", "CANTBOT"), "2");
    EXPECT_EQ(state.drawerCount(), 2);
    EXPECT_EQ(folders[1], QStringLiteral("/a"));
    EXPECT_EQ(folders[2], QStringLiteral("/c"));
    EXPECT_EQ(folders[3], QStringLiteral("-"));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"pump", "MostrarBotones"}));
}

TEST_F(RegistryTest, DeleteFirstOfThreeMovesBothDown)
{
    openWithDrawers(3);
    registry.EliminarBoton(1, 0);

    EXPECT_EQ(entry(1), seededEntry(2));
    EXPECT_EQ(entry(2), seededEntry(3));
    EXPECT_EQ(entry(3), seededEntry(3));
    EXPECT_EQ(writes.size(), 7U);
    EXPECT_EQ(writes.back(), (Write{"GRAL", "CANTBOT", "2"}));
    EXPECT_EQ(host.calls, std::vector<std::string>{"pump"});
}

TEST_F(RegistryTest, DeleteLastWritesOnlyTheCount)
{
    openWithDrawers(3);
    state.lastFolders()[3] = QStringLiteral("/c");
    registry.EliminarBoton(3, -1);

    EXPECT_EQ(writes, std::vector<Write>{(Write{"GRAL", "CANTBOT", "2"})});
    EXPECT_EQ(state.lastFolders()[3], QStringLiteral("-"));
    EXPECT_EQ(entry(3), seededEntry(3));
}

TEST_F(RegistryTest, DeleteIgnoresNumbersThatAreNoDrawer)
{
    openWithDrawers(3);
    const std::string before = config.bytes();
    for (const int16_t index : {int16_t{0}, int16_t{-1}, int16_t{4}, int16_t{101}, int16_t{32767}})
        registry.EliminarBoton(index, -1);

    EXPECT_TRUE(writes.empty());
    // Pending messages still run first, and nothing is rebuilt.
    EXPECT_EQ(host.calls, std::vector<std::string>(5, "pump"));
    EXPECT_EQ(state.drawerCount(), 3);
    EXPECT_EQ(config.bytes(), before);
}

TEST_F(RegistryTest, DeleteWithCountAboveTheTablesStaysInside)
{
    // GRAL CANTBOT 500 is taken as 100; drawer 100 is the last one.
    openWithDrawers(3, 500);
    ASSERT_EQ(state.drawerCount(), 100);
    state.lastFolders()[100] = QStringLiteral("/last");
    registry.EliminarBoton(100, 0);

    EXPECT_EQ(state.drawerCount(), 99);
    EXPECT_EQ(value("GRAL", "CANTBOT"), "99");
    EXPECT_EQ(state.lastFolders()[100], QStringLiteral("-"));
}

TEST_F(RegistryTest, AddAfterDeleteReusesTheDeadSection)
{
    openWithDrawers(3);
    registry.EliminarBoton(3, 0);
    registry.AgregarBoton(QStringLiteral("New"), QStringLiteral("/new"), QString(), 0);

    EXPECT_EQ(entry(3), (std::vector<std::string>{"New", "/new", ""}));
    EXPECT_EQ(value("BUTTON3", "HEIGHT"), "5745");
    EXPECT_EQ(value("BUTTON3", "WIDTH"), "6855");
    EXPECT_EQ(value("BUTTON3", "LEFT"), "-1");
    EXPECT_EQ(value("BUTTON3", "TOP"), "390");
    // The add does not write these: they come from the removed drawer.
    EXPECT_EQ(value("BUTTON3", "VISIBLE"), "1");
    EXPECT_EQ(value("BUTTON3", "VIEW"), "3");
    EXPECT_EQ(value("GRAL", "CANTBOT"), "3");
}

// ---- programs -----------------------------------------------------------------------------

TEST_F(RegistryTest, AddProgramWritesEntryThenCount)
{
    open();
    registry.AgregarPrograma(QStringLiteral("Editor"), QStringLiteral("/usr/bin/editor"), -1);

    const std::vector<Write> expected = {{"PROGRAM1", "CAPTION", "Editor"},
                                         {"PROGRAM1", "PATH", "/usr/bin/editor"},
                                         {"GRAL", "CANTPROG", "1"}};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(state.programCount(), 1);
    EXPECT_EQ(host.calls, std::vector<std::string>{"MostrarProgramas"});
}

TEST_F(RegistryTest, ModifyProgramWritesCaptionThenPath)
{
    openWithPrograms(2);
    registry.ModificarPrograma(2, QStringLiteral("New"), QStringLiteral("/bin/new"), 0);
    registry.ModificarPrograma(3, QStringLiteral("Nope"), QStringLiteral("/bin/nope"), -1);

    const std::vector<Write> expected = {{"PROGRAM2", "CAPTION", "New"},
                                         {"PROGRAM2", "PATH", "/bin/new"}};
    EXPECT_EQ(writes, expected);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(RegistryTest, DeleteFirstProgramOfThree)
{
    openWithPrograms(3);
    registry.EliminarPrograma(1, -1);

    const std::vector<Write> expected = {
        {"PROGRAM1", "CAPTION", "Program 2"},
        {"PROGRAM1", "PATH", "/bin/program2"},
        {"PROGRAM2", "CAPTION", "Program 3"},
        {"PROGRAM2", "PATH", "/bin/program3"},
        {"GRAL", "CANTPROG", "2"},
    };
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(value("PROGRAM3", "CAPTION"), "Program 3");
    EXPECT_EQ(state.programCount(), 2);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"pump", "MostrarProgramas"}));
}

TEST_F(RegistryTest, DeleteLastProgramWritesOnlyTheCount)
{
    openWithPrograms(3);
    registry.EliminarPrograma(3, 0);
    EXPECT_EQ(writes, std::vector<Write>{(Write{"GRAL", "CANTPROG", "2"})});
}

TEST_F(RegistryTest, MoveProgramUpSwapsWithTheOneBefore)
{
    openWithPrograms(3);
    registry.SubirPrograma(2, -1);

    const std::vector<Write> expected = {
        {"PROGRAM2", "CAPTION", "Program 1"},
        {"PROGRAM2", "PATH", "/bin/program1"},
        {"PROGRAM1", "CAPTION", "Program 2"},
        {"PROGRAM1", "PATH", "/bin/program2"},
    };
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"pump", "MostrarProgramas"}));
}

TEST_F(RegistryTest, MoveProgramDownSwapsWithTheOneAfter)
{
    openWithPrograms(3);
    registry.BajarPrograma(2, 0);

    const std::vector<Write> expected = {
        {"PROGRAM2", "CAPTION", "Program 3"},
        {"PROGRAM2", "PATH", "/bin/program3"},
        {"PROGRAM3", "CAPTION", "Program 2"},
        {"PROGRAM3", "PATH", "/bin/program2"},
    };
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(value("PROGRAM1", "CAPTION"), "Program 1");
}

struct MoveRow
{
    const char *name;
    bool up;
    int16_t index;
};

class ProgramMoveAtEndTest : public RegistryTest, public ::testing::WithParamInterface<MoveRow>
{
};

TEST_P(ProgramMoveAtEndTest, ChangesNothing)
{
    openWithPrograms(3);
    const std::string before = config.bytes();
    if (GetParam().up)
        registry.SubirPrograma(GetParam().index, -1);
    else
        registry.BajarPrograma(GetParam().index, -1);

    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(config.bytes(), before);
    EXPECT_EQ(host.calls, std::vector<std::string>{"pump"});
}

const MoveRow kMoveRows[] = {
    {"UpFirst", true, 1},   {"DownLast", false, 3}, {"UpZero", true, 0},
    {"DownZero", false, 0}, {"UpBeyond", true, 4},  {"DownNegative", false, -1},
};
INSTANTIATE_TEST_SUITE_P(Rows, ProgramMoveAtEndTest, ::testing::ValuesIn(kMoveRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace
} // namespace pindrel
