// The bar's start sequence, unload step, placement and looks, offscreen with a scripted app-bar
// service and real config.ini files in temporary folders.

#include "bar/barbutton.h"
#include "bar/form1.h"
#include "startup/appstate.h"
#include "startup/questionasker.h"
#include "startup_testsupport.h"

#include "platform/appbar.h"
#include "txini/clsini.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

// An app-bar service that answers as a desktop with a taskbar of 30 pixels at the bottom of a
// 1280 x 800 screen would, and records what it was asked.
class ScriptedAppBar : public platform::AppBarService
{
public:
    struct Log
    {
        bool refuse = false;
        int registrations = 0;
        int removals = 0;
        int workAreaRequests = 0;
        platform::AppBarRect reserved{};
        uint32_t reservedEdge = 99;
        // The primary monitor; the taskbar is the lowest 30 pixels of it.
        platform::AppBarRect screen{0, 0, 1280, 800};
    };

    explicit ScriptedAppBar(Log &pLog)
        : m_log(pLog)
    { }

    bool newBar(platform::AppBarData &) override
    {
        if (m_log.refuse)
            return false;
        ++m_log.registrations;
        return true;
    }
    bool getTaskbarPos(platform::AppBarData &pData) override
    {
        pData.rc = {m_log.screen.left, m_log.screen.bottom - 30, m_log.screen.right,
                    m_log.screen.bottom};
        return true;
    }
    void queryPos(platform::AppBarData &) override { }
    void setPos(platform::AppBarData &pData) override
    {
        m_log.reserved = pData.rc;
        m_log.reservedEdge = pData.uEdge;
    }
    void remove(platform::AppBarData &) override { ++m_log.removals; }
    bool setWorkArea(const platform::AppBarRect &) override
    {
        ++m_log.workAreaRequests;
        return false;
    }
    platform::AppBarRect screenRect() const override { return m_log.screen; }
    platform::AppBarRect workArea() const override { return {0, 0, 1280, 770}; }

private:
    Log &m_log;
};

class ScriptedAnswer : public QuestionAsker
{
public:
    explicit ScriptedAnswer(Answer pAnswer)
        : m_answer(pAnswer)
    { }
    Answer ask(const QString &, const QString &) override
    {
        ++asked;
        return m_answer;
    }
    int asked = 0;

private:
    Answer m_answer;
};

// A program folder with its config.ini and theme pictures, and a bar started on it.
class BarFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        QDir(m_folder.path()).mkpath(QStringLiteral("background"));
        // The themes as the build puts them beside the program.
        for (int theme = 1; theme <= 4; ++theme) {
            const QString name = QStringLiteral("background/theme%1.bmp").arg(theme);
            QFile::copy(QStringLiteral(PINDREL_SOURCE_DIR "/app/resources/") + name,
                        m_folder.filePath(name));
        }
    }

    QString configPath() const { return m_folder.filePath(QStringLiteral("config.ini")); }

    void writeConfig(const std::string &pBytes) { test::writeBytes(configPath(), pBytes); }

    // Starts a bar on the folder; the wizard is answered with pAnswer.
    std::unique_ptr<Form1> start(QuestionAsker::Answer pAnswer = QuestionAsker::Answer::Cancel)
    {
        m_asker = std::make_unique<ScriptedAnswer>(pAnswer);
        auto bar = std::make_unique<Form1>(m_state);
        m_state.setProgramFolder(m_folder.path());
        bar->setAppBarService(std::make_unique<ScriptedAppBar>(m_log));
        bar->setConfigLocator([this] { return configPath(); });
        bar->setQuestionAsker(m_asker.get());
        bar->setSpecialFolderLookup([](int) { return QString(); });
        m_loaded = bar->Form_Load();
        return bar;
    }

    QTemporaryDir m_folder;
    AppState m_state;
    ScriptedAppBar::Log m_log;
    std::unique_ptr<ScriptedAnswer> m_asker;
    bool m_loaded = false;
};

TEST_F(BarFixture, FirstRunWritesTheTenSettingsAndAsksTheWizardQuestion)
{
    auto bar = start(QuestionAsker::Answer::Cancel);
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(m_asker->asked, 1);
    EXPECT_EQ(test::readBytes(configPath()),
              "[TRANSPARENCIA]\nMAIN=100\nFORM=100\n"
              "[MAIN]\nPOSITION=TOP\nHEIGHT=390\nBUTTONTYPE=0\n"
              "[COLORS]\nMAIN=-2147483633\nBUTTON=-2147483633\nFORE=-2147483633\n"
              "FORM=-2147483630\nTHEME=0\n");
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(BarFixture, WizardOkAddsTheRootDrawer)
{
    auto bar = start(QuestionAsker::Answer::Ok);
    ASSERT_TRUE(m_loaded);
    txini::clsIni ini;
    ini.File(configPath().toStdString());
    EXPECT_EQ(ini.getLeerValor("GRAL", "CANTBOT"), "1");
    EXPECT_EQ(ini.getLeerValor("BUTTON1", "CAPTION"), "File System");
    EXPECT_EQ(ini.getLeerValor("BUTTON1", "PATH"), "/");
    EXPECT_EQ(m_state.drawerCount(), 1);
}

struct PlacementCase
{
    const char *name;
    const char *position;
    bool refuse;
    QRect geometry;
    bool registered;
};

const PlacementCase kPlacements[] = {
    {"top", "TOP", false, QRect(0, 0, 1280, 26), true},
    {"bottom_above_taskbar", "BOTTOM", false, QRect(0, 744, 1280, 26), true},
    {"lower_case_top_not_docked", "top", false, QRect(0, 0, 1280, 26), false},
    {"left_not_docked", "LEFT", false, QRect(0, 0, 1280, 26), false},
    {"refused_stays_put", "TOP", true, QRect(0, 0, 1280, 26), false},
};

class Placement : public BarFixture, public ::testing::WithParamInterface<PlacementCase>
{
};

TEST_P(Placement, DocksOnlyAtTopOrBottom)
{
    const PlacementCase &row = GetParam();
    m_log.refuse = row.refuse;
    writeConfig(std::string("[MAIN]\nPOSITION=") + row.position + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(bar->isRegistered(), row.registered);
    if (row.registered) {
        EXPECT_EQ(bar->geometry(), row.geometry);
        EXPECT_EQ(m_log.reserved.top, row.geometry.top());
        EXPECT_EQ(m_log.reserved.bottom, row.geometry.bottom() + 1);
    } else {
        // Start-up's place: the top-left corner, the bar's height; the width is the screen's.
        EXPECT_EQ(bar->geometry().topLeft(), QPoint(0, 0));
        EXPECT_EQ(bar->height(), 26);
    }
}

INSTANTIATE_TEST_SUITE_P(Bar, Placement, ::testing::ValuesIn(kPlacements),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

// A change of monitors docks the bar again: the old band is given back and the new one, on the
// primary monitor as it is now, reserved.
struct MonitorRedockCase
{
    const char *name;
    const char *position;
    platform::AppBarRect monitor;
    platform::AppBarRect placed;
};

const MonitorRedockCase kMonitorRedocks[] = {
    {"top_primary_moved_right", "TOP", {1280, 0, 2560, 1080}, {1280, 0, 2560, 26}},
    {"bottom_primary_shrunk", "BOTTOM", {0, 0, 1024, 768}, {0, 712, 1024, 738}},
    {"bottom_primary_below_another", "BOTTOM", {0, 1080, 1280, 1880}, {0, 1824, 1280, 1850}},
    {"undocked_follows_the_primary", "LEFT", {1280, 0, 2560, 1080}, {1280, 0, 2560, 26}},
};

class MonitorRedock : public BarFixture, public ::testing::WithParamInterface<MonitorRedockCase>
{
};

TEST_P(MonitorRedock, FollowsThePrimaryMonitor)
{
    const MonitorRedockCase &row = GetParam();
    writeConfig(std::string("[MAIN]\nPOSITION=") + row.position + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    ASSERT_TRUE(m_loaded);
    const int registrations = m_log.registrations;
    m_log.screen = row.monitor;
    bar->redock();
    EXPECT_EQ(bar->deviceGeometry(), row.placed);
    if (bar->isRegistered()) {
        EXPECT_EQ(m_log.removals, 1);
        EXPECT_EQ(m_log.registrations, registrations + 1);
        EXPECT_EQ(m_log.reserved, row.placed);
    } else {
        EXPECT_EQ(m_log.registrations, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Bar, MonitorRedock, ::testing::ValuesIn(kMonitorRedocks),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

// The settings dialog's Ok with another position or height: the bar docks again at once.
struct RedockCase
{
    const char *name;
    const char *from;
    const char *to;
    int16_t height;
    QRect geometry;
    bool registered;
    int registrations;
    int removals;
};

const RedockCase kRedocks[] = {
    {"top_to_bottom", "TOP", "BOTTOM", 390, QRect(0, 744, 1280, 26), true, 2, 1},
    {"taller_at_the_top", "TOP", "TOP", 600, QRect(0, 0, 1280, 40), true, 2, 1},
    {"bottom_to_other", "BOTTOM", "LEFT", 390, QRect(0, 0, 1280, 26), false, 1, 1},
    {"undocked_to_top", "LEFT", "TOP", 450, QRect(0, 0, 1280, 30), true, 1, 0},
};

class Redock : public BarFixture, public ::testing::WithParamInterface<RedockCase>
{
};

TEST_P(Redock, GivesTheEdgeBackAndClaimsTheNewOne)
{
    const RedockCase &row = GetParam();
    writeConfig(std::string("[MAIN]\nPOSITION=") + row.from + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    ASSERT_TRUE(m_loaded);
    m_state.settings().position = QString::fromLatin1(row.to);
    m_state.settings().barHeight = row.height;
    bar->redock();
    if (row.registered) {
        EXPECT_EQ(bar->geometry(), row.geometry);
    } else {
        // Start-up's place: the top-left corner, the bar's height, the screen's width.
        EXPECT_EQ(bar->geometry().topLeft(), row.geometry.topLeft());
        EXPECT_EQ(bar->height(), row.geometry.height());
    }
    EXPECT_EQ(bar->isRegistered(), row.registered);
    EXPECT_EQ(m_log.registrations, row.registrations);
    EXPECT_EQ(m_log.removals, row.removals);
    // The drawer buttons are made for the new height.
    EXPECT_FLOAT_EQ(bar->cmdBTemplate()->heightTwips(), static_cast<float>(row.height) - 30);
}

INSTANTIATE_TEST_SUITE_P(Bar, Redock, ::testing::ValuesIn(kRedocks),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST_F(BarFixture, UnloadWritesTheDrawerCountAndRemovesTheBar)
{
    writeConfig("[GRAL]\nCANTBOT=2\n[BUTTON1]\nPATH=/\n[BUTTON2]\nPATH=/tmp\n");
    auto bar = start();
    ASSERT_TRUE(bar->isRegistered());
    // The count on disk changes behind the bar's back; the unload writes the one it holds.
    txini::clsIni ini;
    ini.File(configPath().toStdString());
    ini.doAdd("GRAL", "CANTBOT", "7");
    bar->Form_Unload();
    EXPECT_EQ(ini.getLeerValor("GRAL", "CANTBOT"), "2");
    EXPECT_FALSE(bar->isRegistered());
    EXPECT_EQ(m_log.removals, 1);
    EXPECT_EQ(m_log.workAreaRequests, 1);
}

TEST_F(BarFixture, SecondCopyEndsAndTouchesNothing)
{
    writeConfig("[GRAL]\nCANTBOT=1\n");
    auto first = start();
    ASSERT_TRUE(m_loaded);
    const std::string before = test::readBytes(configPath());
    const auto entriesBefore = QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden);

    AppState secondState;
    secondState.setProgramFolder(m_folder.path());
    Form1 second(secondState);
    bool located = false;
    second.setConfigLocator([&] {
        located = true;
        return configPath();
    });
    EXPECT_FALSE(second.Form_Load());
    EXPECT_FALSE(located) << "the second copy looked for its configuration";
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(test::readBytes(configPath()), before);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden), entriesBefore);
}

struct OpacityCase
{
    const char *name;
    const char *value;
    std::optional<uint8_t> byte;
};

const OpacityCase kOpacities[] = {
    {"full", "100", 255},
    {"seventy", "70", 178},
    {"half", "50", 128},
    {"one", "1", 3},
    {"zero_not_layered", "0", std::nullopt},
    {"above_hundred", "150", 178},
    {"letters_opaque", "abc", std::nullopt},
    {"negative", "-5", std::nullopt},
    {"overflow", "40000", std::nullopt},
};

class Opacity : public BarFixture, public ::testing::WithParamInterface<OpacityCase>
{
};

TEST_P(Opacity, AppliesTheByte)
{
    writeConfig(std::string("[TRANSPARENCIA]\nMAIN=") + GetParam().value + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    EXPECT_EQ(bar->opacityByte(), GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(Bar, Opacity, ::testing::ValuesIn(kOpacities),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST_F(BarFixture, ThemeTilesThePictureBehindTheButtons)
{
    writeConfig("[COLORS]\nTHEME=4\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    ASSERT_FALSE(bar->bgPic().isNull());
    const QImage tile = bar->bgPic().toImage();
    const QImage shot = bar->grab().toImage();
    // The tile repeats across the whole bar at its own size.
    for (int x : {tile.width() * 10 + 3, shot.width() - 2}) {
        const int y = 5;
        EXPECT_EQ(shot.pixelColor(x, y), tile.pixelColor(x % tile.width(), y)) << "x " << x;
    }
    // The add button is drawn over the tiles.
    const QRect add = bar->cmdAdd()->geometry();
    const QPoint inside = add.center();
    EXPECT_EQ(bar->cmdAdd()->grab().toImage().pixelColor(inside - add.topLeft()),
              shot.pixelColor(inside));
}

struct ThemeCase
{
    const char *name;
    const char *value;
    bool picture;
};

const ThemeCase kThemes[] = {
    {"none", "0", false},      {"gray", "1", true},     {"out_of_range", "7", false},
    {"negative", "-1", false}, {"letters", "x", false}, {"missing_picture", "3", false},
};

class Theme : public BarFixture, public ::testing::WithParamInterface<ThemeCase>
{
};

TEST_P(Theme, LoadsOnlyAnExistingPicture)
{
    if (std::string(GetParam().name) == "missing_picture")
        QFile::remove(m_folder.filePath(QStringLiteral("background/theme3.bmp")));
    writeConfig(std::string("[COLORS]\nTHEME=") + GetParam().value + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    EXPECT_EQ(!bar->bgPic().isNull(), GetParam().picture);
    // Painting never fails, picture or not.
    EXPECT_FALSE(bar->grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Bar, Theme, ::testing::ValuesIn(kThemes),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

struct HeightCase
{
    const char *name;
    const char *value;
    int pixels;
};

// HEIGHT is read with "0" in front: blank counts as missing (390), letters and negatives do not
// convert and leave 0. The bar is drawn no lower than 16 pixels and no higher than a third of
// its 800-pixel monitor, whatever is stored.
const HeightCase kHeights[] = {
    {"default", "390", 26}, {"blank", "   ", 26},      {"letters", "abc", 16},
    {"negative", "-5", 16}, {"overflow", "99999", 16}, {"zero", "0", 16},
    {"tall", "1200", 80},   {"third", "4000", 266},    {"whole_screen", "20000", 266},
};

class Height : public BarFixture, public ::testing::WithParamInterface<HeightCase>
{
};

TEST_P(Height, SizesTheBar)
{
    writeConfig(std::string("[MAIN]\nPOSITION=LEFT\nHEIGHT=") + GetParam().value
                + "\n[GRAL]\nCANTBOT=1\n");
    auto bar = start();
    EXPECT_EQ(bar->height(), GetParam().pixels);
    EXPECT_EQ(bar->cmdBTemplate()->height(), GetParam().pixels - 2);
    // The stored value stays as the user wrote it.
    EXPECT_EQ(m_state.ini().getLeerValor("MAIN", "HEIGHT"),
              std::string(GetParam().value).find_first_not_of(' ') == std::string::npos
                  ? "390"
                  : GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Bar, Height, ::testing::ValuesIn(kHeights),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

TEST_F(BarFixture, DrawerCountOutsideTheTablesIsClamped)
{
    for (const char *count : {"500", "-3", "70000"}) {
        writeConfig(std::string("[GRAL]\nCANTBOT=") + count + "\n");
        AppState state;
        state.setProgramFolder(m_folder.path());
        ScriptedAnswer cancel(QuestionAsker::Answer::Cancel);
        Form1 bar(state);
        bar.setAppBarService(std::make_unique<ScriptedAppBar>(m_log));
        bar.setConfigLocator([this] { return configPath(); });
        bar.setQuestionAsker(&cancel);
        ASSERT_TRUE(bar.Form_Load());
        EXPECT_GE(state.drawerCount(), 0) << count;
        EXPECT_LE(state.drawerCount(), 100) << count;
        bar.Form_Unload();
    }
}

TEST_F(BarFixture, ConfigThatIsAFolderStillStarts)
{
    QDir(m_folder.path()).mkdir(QStringLiteral("config.ini"));
    auto bar = start();
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(bar->height(), 26); // the defaults are used
    bar->Form_Unload();
    EXPECT_TRUE(QFileInfo(configPath()).isDir());
}

} // namespace
} // namespace pindrel
