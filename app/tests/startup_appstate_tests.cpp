// The module-level state: its starting tables, the clamped drawer count and the store it
// holds; and where config.ini is placed.

#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "startup/appstate.h"
#include "startup/configlocation.h"
#include "startup/settings.h"
#include "startup_testsupport.h"

namespace pindrel {
namespace {

using test::TempConfig;

// ---- AppState -----------------------------------------------------------------------------

TEST(AppState, StartsWithEmptyTables)
{
    AppState state;
    for (const QString &folder : state.lastFolders())
        EXPECT_EQ(folder, QStringLiteral("-"));
    for (const QPointer<QWidget> &window : state.openDrawers())
        EXPECT_TRUE(window.isNull());
    EXPECT_EQ(state.lastFolders().size(), 101U);
    EXPECT_EQ(state.drawerCount(), 0);
    EXPECT_EQ(state.programCount(), 0);
}

TEST(AppState, StoreBeforeOpeningTouchesNoFile)
{
    AppState state;
    EXPECT_FALSE(state.hasStore());
    state.ini().doAdd("GRAL", "CANTBOT", "1");
    EXPECT_EQ(state.ini().getLeerValor("GRAL", "CANTBOT"), "");
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("config.ini")));
}

TEST(AppState, OpenedStoreWritesTheFile)
{
    TempConfig config;
    AppState state;
    state.openStore(config.path());
    EXPECT_TRUE(state.hasStore());
    state.ini().doAdd("GRAL", "CANTBOT", "1");
    EXPECT_EQ(config.bytes(), "[GRAL]\nCANTBOT=1\n");
    EXPECT_EQ(state.configFile(), config.path());
}

struct ClampRow
{
    const char *name;
    int count;
    int16_t expected;
};

class ClampTest : public ::testing::TestWithParam<ClampRow>
{
};

TEST_P(ClampTest, KeepsTheCountInsideTheTables)
{
    EXPECT_EQ(AppState::clampDrawerCount(GetParam().count), GetParam().expected);
    AppState state;
    state.setDrawerCount(GetParam().count);
    EXPECT_EQ(state.drawerCount(), GetParam().expected);
}

const ClampRow kClampRows[] = {
    {"Zero", 0, 0},
    {"Fifty", 50, 50},
    {"Hundred", 100, 100},
    {"HundredOne", 101, 100},
    {"FiveHundred", 500, 100},
    {"Seventy000", 70000, 100},
    {"MinusThree", -3, 0},
    {"Smallest16Bit", -32768, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, ClampTest, ::testing::ValuesIn(kClampRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(AppState, NegativeProgramCountIsZero)
{
    AppState state;
    state.setProgramCount(-4);
    EXPECT_EQ(state.programCount(), 0);
    state.setProgramCount(12);
    EXPECT_EQ(state.programCount(), 12);
}

// ---- config.ini's place -------------------------------------------------------------------

TEST(ConfigLocation, WritableProgramFolderHoldsTheFile)
{
    QTemporaryDir program;
    QTemporaryDir user;
    const QString userFolder = user.path() + QStringLiteral("/pindrel");

    EXPECT_EQ(chooseConfigFile(program.path(), userFolder),
              program.path() + QStringLiteral("/config.ini"));
    EXPECT_FALSE(QFileInfo::exists(userFolder));
    // The probe leaves nothing behind.
    EXPECT_TRUE(
        QDir(program.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// An installed copy (the package's /usr/lib/pindrel/bin) keeps its settings in the user's
// folder even when root, who may write there, runs it.
TEST(ConfigLocation, SystemFoldersAreNotTheUsers)
{
    QTemporaryDir elsewhere;
    EXPECT_TRUE(isSystemFolder(QStringLiteral("/usr/lib")));
    EXPECT_TRUE(isSystemFolder(QStringLiteral("/usr/bin/../lib")));
    EXPECT_FALSE(isSystemFolder(elsewhere.path()));
    EXPECT_FALSE(isSystemFolder(QStringLiteral("/nonexistent/usr/lib")));
}

TEST(ConfigLocation, UnwritableProgramFolderUsesTheUserFolder)
{
    QTemporaryDir program;
    QTemporaryDir user;
    const QString userFolder = user.path() + QStringLiteral("/deeper/pindrel");

    const QString chosen =
        chooseConfigFile(program.path(), userFolder, [](const QString &) { return false; });
    EXPECT_EQ(chosen, userFolder + QStringLiteral("/config.ini"));
    EXPECT_TRUE(QFileInfo(userFolder).isDir());
}

struct ProbeRow
{
    const char *name;
    QString folder; // relative to a temporary folder unless absolute
    bool writable;
};

class ProbeTest : public ::testing::TestWithParam<ProbeRow>
{
};

// These folders refuse new files even to root.
TEST_P(ProbeTest, FindsWhetherFilesCanBeCreated)
{
    QTemporaryDir base;
    QFile plain(base.path() + QStringLiteral("/plain-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const QString folder = QDir::isAbsolutePath(GetParam().folder)
        ? GetParam().folder
        : base.path() + QLatin1Char('/') + GetParam().folder;
    EXPECT_EQ(canCreateFilesIn(folder), GetParam().writable);
}

const ProbeRow kProbeRows[] = {
    {"TemporaryFolder", QStringLiteral("."), true},
    {"UnderAPlainFile", QStringLiteral("plain-file/sub"), false},
    {"APlainFile", QStringLiteral("plain-file"), false},
    {"MissingFolder", QStringLiteral("missing"), false},
    {"ProcessTable", QStringLiteral("/proc"), false},
};
INSTANTIATE_TEST_SUITE_P(Rows, ProbeTest, ::testing::ValuesIn(kProbeRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(ConfigLocation, EmptyFolderNameIsNotWritable)
{
    EXPECT_FALSE(canCreateFilesIn(QString()));
}

TEST(ConfigLocation, ProgramFolderUnderAFileFallsBack)
{
    QTemporaryDir base;
    QFile plain(base.path() + QStringLiteral("/bin"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString userFolder = base.path() + QStringLiteral("/xdg/pindrel");

    EXPECT_EQ(chooseConfigFile(base.path() + QStringLiteral("/bin/sub"), userFolder),
              userFolder + QStringLiteral("/config.ini"));
}

TEST(ConfigLocation, UserFolderFollowsXdgConfigHome)
{
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const QString folder = userConfigFolder();
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
    else
        qunsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(folder, home.path() + QStringLiteral("/pindrel"));
}

TEST(ConfigLocation, ConfigFileThatIsAFolderReadsDefaultsQuietly)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("config.ini")));
    const QString path = chooseConfigFile(program.path(), program.path() + QStringLiteral("/u"));
    ASSERT_EQ(path, program.path() + QStringLiteral("/config.ini"));

    AppState state;
    state.openStore(path);
    const Settings settings = loadSettings(state.ini());

    EXPECT_EQ(settings.barHeight, 390);
    EXPECT_EQ(settings.position, QStringLiteral("TOP"));
    EXPECT_EQ(readCount(state.ini(), kKeyDrawerCount), 0);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

} // namespace
} // namespace pindrel
