// The drawer window and its opener, driven through the toolbar's tools and the bar's toggle, on
// real folders and a recording store.

#include "bar/draweropener.h"
#include "bar/drawerplacement.h"
#include "drawer/drawertoolbar.h"
#include "drawer/filelist.h"
#include "drawer/form2.h"
#include "drawer/tool.h"
#include "startup/appstate.h"
#include "startup/twips.h"

#include "drawer_testsupport.h"
#include "startup_testsupport.h"

#include "vexlo/vexloctrl.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pindrel::test {
namespace {

class DrawerWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_home = QDir(m_root.path()).filePath(QStringLiteral("home"));
        makeFolder(m_home);
        openStore();
    }

    void openStore()
    {
        m_state = std::make_unique<AppState>();
        m_state->openStore(m_config.path(), std::make_unique<RecordingIni>(m_writes));
    }

    QString sub(const QString &pRelative) const { return QDir(m_home).filePath(pRelative); }

    // A window set up and showing its folder, as the opener leaves it before placing it.
    std::unique_ptr<Form2> openWindow(const QString &pHome, int16_t pNro = 1, int16_t pView = 0)
    {
        auto window = std::make_unique<Form2>(*m_state);
        window->setShell(&m_shell);
        window->Inicializar(pHome, QStringLiteral("Drawer"), pNro, pView);
        window->Mostrar();
        return window;
    }

    static void press(Form2 &pWindow, const char *pId)
    {
        Tool *tool = pWindow.tool(QString::fromLatin1(pId));
        ASSERT_NE(tool, nullptr) << pId;
        tool->trigger();
    }

    static bool enabled(Form2 &pWindow, const char *pId)
    {
        return pWindow.tool(QString::fromLatin1(pId))->isEnabled();
    }

    // Closes a window that owns itself and waits until it is gone.
    static void closeAndWait(Form2 *pWindow)
    {
        QPointer<Form2> guard(pWindow);
        pWindow->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(waitFor([&guard] { return guard.isNull(); }));
    }

    std::vector<Write> writesTo(const std::string &pSection) const
    {
        std::vector<Write> result;
        for (const Write &write : m_writes) {
            if (write.section == pSection)
                result.push_back(write);
        }
        return result;
    }

    QTemporaryDir m_root;
    QString m_home;
    TempConfig m_config;
    std::vector<Write> m_writes;
    std::unique_ptr<AppState> m_state;
    RecordingShell m_shell;
};

TEST_F(DrawerWindowTest, BackTwiceAfterTwoSubfoldersReturnsThroughTheMiddleFolder)
{
    makeFolder(sub("a/b"));
    auto window = openWindow(m_home);
    ASSERT_EQ(window->fV()->Path(), m_home);
    EXPECT_FALSE(enabled(*window, "ID_Back"));

    window->fV()->setPath(sub("a"));
    window->fV()->setPath(sub("a/b"));
    ASSERT_EQ(window->history(), (QStringList{m_home, sub("a"), sub("a/b")}));
    EXPECT_TRUE(enabled(*window, "ID_Back"));

    press(*window, "ID_Back");
    EXPECT_EQ(window->fV()->Path(), sub("a"));
    EXPECT_TRUE(enabled(*window, "ID_Back"));
    press(*window, "ID_Back");
    EXPECT_EQ(window->fV()->Path(), m_home);
    EXPECT_FALSE(enabled(*window, "ID_Back"));
    EXPECT_EQ(window->history(), QStringList{m_home});
}

TEST_F(DrawerWindowTest, HomeToolsFollowWhetherTheHomeFolderIsShown)
{
    makeFolder(sub("a"));
    struct Row
    {
        const char *name;
        QString home;
        QString shown;
        bool atHome;
    };
    const Row rows[] = {
        {"same", m_home, m_home, true},
        {"other letter case", m_home.toUpper(), m_home, true},
        {"surrounding blanks", QStringLiteral("  ") + m_home + QStringLiteral(" "), m_home, true},
        {"a subfolder", m_home, sub("a"), false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        // The last folder table decides what Mostrar shows; the home is only compared.
        m_state->lastFolders()[1] = row.shown;
        auto window = openWindow(row.home);
        ASSERT_EQ(window->fV()->Path(), row.shown);
        for (const char *id : {"ID_Home", "ID_NewHome", "ID_Add"})
            EXPECT_EQ(enabled(*window, id), !row.atHome) << id;
    }
}

TEST_F(DrawerWindowTest, HomeAndExplorerUseTheHomeFolderNotTheShownOne)
{
    makeFolder(sub("a"));
    auto window = openWindow(m_home);
    window->fV()->setPath(sub("a"));
    press(*window, "ID_Explorer");
    ASSERT_EQ(m_shell.opened.size(), 1);
    EXPECT_EQ(m_shell.opened.front().toLocalFile(), m_home);

    press(*window, "ID_Home");
    EXPECT_EQ(window->fV()->Path(), m_home);
}

TEST_F(DrawerWindowTest, OpacitySettingGivesTheWindowsAlpha)
{
    struct Row
    {
        int16_t percent;
        std::optional<uint8_t> alpha;
    };
    for (const Row &row : {Row{0, std::nullopt}, Row{150, 178}, Row{100, 255}, Row{50, 128}}) {
        SCOPED_TRACE(row.percent);
        m_state->settings().formOpacity = row.percent;
        auto window = openWindow(m_home);
        EXPECT_EQ(window->opacityByte(), row.alpha);
    }
}

TEST_F(DrawerWindowTest, FiveViewPressesCycleBackToTheStartingView)
{
    auto window = openWindow(m_home, 1, 2);
    std::vector<int> views;
    for (int i = 0; i < 5; ++i) {
        press(*window, "ID_View");
        views.push_back(window->fV()->View());
    }
    EXPECT_EQ(views, (std::vector<int>{3, 4, 0, 1, 2}));
}

TEST_F(DrawerWindowTest, FilterTextSetsThePatternAndHidingTheFilterShowsAll)
{
    auto window = openWindow(m_home);
    window->resize(600, 500);
    EXPECT_EQ(window->fV()->Pattern(), QStringLiteral("*.*"));
    EXPECT_FALSE(window->FrameFilter()->isVisibleTo(window.get()));

    press(*window, "ID_Filter");
    EXPECT_TRUE(window->FrameFilter()->isVisibleTo(window.get()));
    const float clientHeight = toTwips(window->clientArea()->height(), twipsPerPixelY());
    EXPECT_FLOAT_EQ(window->frameRect().top, clientHeight - 735 - 60);
    EXPECT_FLOAT_EQ(window->fVRect().height, clientHeight - 480 - 735 - 120);

    window->TextFiltro()->setText(QStringLiteral("rep"));
    EXPECT_EQ(window->fV()->Pattern(), QStringLiteral("*rep*.*"));

    press(*window, "ID_Filter");
    EXPECT_FALSE(window->FrameFilter()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->TextFiltro()->text().isEmpty());
    EXPECT_EQ(window->fV()->Pattern(), QStringLiteral("*"));
    EXPECT_FLOAT_EQ(window->fVRect().height, clientHeight - 480 - 60);
}

TEST_F(DrawerWindowTest, LayoutKeepsSizesWhenTheWindowIsTooSmall)
{
    auto window = openWindow(m_home);
    window->resize(600, 500);
    const Form2::TwipsRect before = window->fVRect();
    ASSERT_GT(before.width, 0);
    window->clientArea()->resize(10, 10); // narrower than two margins, lower than list top + 60
    window->Form_Resize();
    EXPECT_FLOAT_EQ(window->fVRect().width, before.width);
    EXPECT_FLOAT_EQ(window->comboRect().width, before.width);
    EXPECT_FLOAT_EQ(window->fVRect().height, before.height);
}

TEST_F(DrawerWindowTest, ClosingWritesTheSixKeysInOrderAndFreesTheSlot)
{
    makeFolder(sub("a"));
    for (const int pinned : {1, 0}) {
        SCOPED_TRACE(pinned);
        m_writes.clear();
        m_state->resetLastFolders();
        auto owned = openWindow(m_home, 7, 3);
        Form2 *window = owned.release();
        m_state->openDrawers()[7] = window;
        window->tool(QStringLiteral("ID_Top"))->setState(pinned);
        window->fV()->setPath(sub("a"));
        window->setWidthTwips(6855);
        window->setHeightTwips(5745);
        window->setLeftTwips(1234);
        window->setTopTwips(600);
        closeAndWait(window);

        EXPECT_EQ(writesTo("BUTTON7"),
                  (std::vector<Write>{{"BUTTON7", "WIDTH", "6855"},
                                      {"BUTTON7", "HEIGHT", "5745"},
                                      {"BUTTON7", "LEFT", "1234"},
                                      {"BUTTON7", "TOP", "600"},
                                      {"BUTTON7", "VISIBLE", std::to_string(pinned)},
                                      {"BUTTON7", "VIEW", "3"}}));
        EXPECT_EQ(m_state->lastFolders()[7], sub("a"));
        EXPECT_TRUE(m_state->openDrawers()[7].isNull());
    }
}

TEST_F(DrawerWindowTest, ADrawerNumberOutsideTheTablesStillWritesItsSection)
{
    auto owned = openWindow(m_home, 101);
    EXPECT_EQ(owned->fV()->Path(), QString()); // no last folder to show
    closeAndWait(owned.release());
    EXPECT_EQ(writesTo("BUTTON101").size(), 6u);
}

TEST_F(DrawerWindowTest, ComboAndListFollowEachOther)
{
    makeFolder(sub("a"));
    makeFolder(sub("b"));
    auto window = openWindow(m_home);
    window->show();
    // Shown before the combo had its list: it takes the list's folder when it appears.
    ASSERT_TRUE(window->combo()->SelectedItem().has_value());
    EXPECT_EQ(window->combo()->SelectedItem()->Path(), m_home);
    int changes = 0;
    QObject::connect(window->fV(), &FileList::FolderChanged, [&changes] { ++changes; });

    // Browsing in the list moves the combo, and the list changes folder once.
    window->fV()->setPath(sub("a"));
    const std::optional<vexlo::CComboBoxItem> selected = window->combo()->SelectedItem();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(selected->Path(), sub("a"));
    EXPECT_EQ(changes, 1);

    // A folder chosen in the combo is shown by the list.
    window->combo()->SetPath(sub("b"));
    EXPECT_EQ(window->fV()->Path(), sub("b"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(window->history(), (QStringList{m_home, sub("a"), sub("b")}));
}

// The opener, on drawers written to the config file.
class DrawerOpenerTest : public DrawerWindowTest
{
protected:
    void writeDrawer(const std::string &pKeys)
    {
        m_config.write("[BUTTON1]\r\nPATH=" + m_home.toStdString()
                       + "\r\nCAPTION=Work\r\nVIEW=2\r\n" + pKeys);
        m_opener.reset(); // its windows go with the run they belong to
        openStore();
        m_opener = std::make_unique<DrawerOpener>(*m_state, nullptr);
    }

    Form2 *toggle()
    {
        m_opener->AlternarCajon(1, kButtonLeft);
        return m_opener->lastOpened();
    }

    static constexpr float kButtonLeft = 2400;
    std::unique_ptr<DrawerOpener> m_opener;
};

TEST_F(DrawerOpenerTest, StoredGeometryIsAppliedByTheRules)
{
    // Where a fresh window is before anything is set.
    const float defaultTop = Form2(*m_state).topTwips();
    struct Row
    {
        const char *name;
        std::string keys;
        float left;
        float top;
        std::optional<float> width;
        std::optional<float> height;
        int pinned;
    };
    const std::string size = "WIDTH=6855\r\nHEIGHT=5745\r\n";
    const Row rows[] = {
        {"new drawer", "LEFT=-1\r\nTOP=600\r\n" + size, kButtonLeft, 600, 6855, 5745, 0},
        {"no LEFT", "TOP=600\r\n" + size + "VISIBLE=1\r\n", kButtonLeft, 600, 6855, 5745, 1},
        {"LEFT not a number", "LEFT=abc\r\nTOP=600\r\n" + size, kButtonLeft, 600, 6855, 5745, 0},
        {"half rounds down to even", "LEFT=1234.5\r\nTOP=600\r\n" + size + "VISIBLE=0\r\n", 1234,
         600, 6855, 5745, 0},
        {"half rounds up to even", "LEFT=1235.5\r\nTOP=600\r\n" + size + "VISIBLE=x\r\n", 1236, 600,
         6855, 5745, 0},
        {"negative TOP kept", "LEFT=300\r\nTOP=-120\r\n" + size + "VISIBLE=2\r\n", 300, defaultTop,
         6855, 5745, 1},
        {"empty size", "LEFT=300\r\nTOP=600\r\nWIDTH=\r\nHEIGHT=\r\n", 300, 600, std::nullopt,
         std::nullopt, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeDrawer(row.keys);
        Form2 *window = toggle();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(m_state->openDrawers()[1].data(), window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Work"));
        EXPECT_EQ(window->fV()->View(), 2);
        EXPECT_FLOAT_EQ(window->leftTwips(), row.left);
        EXPECT_FLOAT_EQ(window->topTwips(), row.top);
        if (row.width) {
            EXPECT_FLOAT_EQ(window->widthTwips(), *row.width);
            EXPECT_FLOAT_EQ(window->heightTwips(), *row.height);
        } else {
            // Set to 0, which leaves no usable window: it opens at its design size.
            EXPECT_EQ(window->size(), kUnstoredDrawerSize);
        }
        EXPECT_EQ(window->tool(QStringLiteral("ID_Top"))->State(), row.pinned);
        m_opener.reset(); // deletes the window without its closing step
        EXPECT_TRUE(m_state->openDrawers()[1].isNull());
    }
    EXPECT_TRUE(m_writes.empty());
}

TEST_F(DrawerOpenerTest, ReopeningShowsTheLastFolderUntilTheProgramRestarts)
{
    makeFolder(sub("a"));
    writeDrawer("LEFT=300\r\nTOP=600\r\n");
    Form2 *first = toggle();
    ASSERT_EQ(first->fV()->Path(), m_home);
    first->fV()->setPath(sub("a"));

    QPointer<Form2> guard(first);
    m_opener->AlternarCajon(1, kButtonLeft); // closes it
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(waitFor([&guard] { return guard.isNull(); }));
    EXPECT_TRUE(m_state->openDrawers()[1].isNull());
    EXPECT_EQ(writesTo("BUTTON1").size(), 6u);

    Form2 *second = toggle();
    EXPECT_EQ(second->fV()->Path(), sub("a"));
    EXPECT_FLOAT_EQ(second->leftTwips(), 300);

    // A new run starts every drawer at its own folder again.
    writeDrawer("LEFT=300\r\nTOP=600\r\n");
    EXPECT_EQ(toggle()->fV()->Path(), m_home);
}

TEST_F(DrawerOpenerTest, AMissingFolderOpensTheWindowWithTheReasonInTheList)
{
    m_home = QDir(m_root.path()).filePath(QStringLiteral("gone"));
    writeDrawer("LEFT=300\r\n");
    Form2 *window = toggle();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->fV()->showsMessage());
    EXPECT_FALSE(window->fV()->message().isEmpty());
}

} // namespace
} // namespace pindrel::test
