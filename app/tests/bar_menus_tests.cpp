// The bar's menus: their entries, pictures and font, where they pop up, the drawer number in
// m's tag, and the commands of m and mC. Commands are checked against a recording stand-in of
// the bar; pop-ups and the right press against a started bar.

#include "bar/barbutton.h"
#include "bar/barmenuhost.h"
#include "bar/barmenus.h"
#include "bar/buttonarray.h"
#include "bar_testsupport.h"
#include "dialogs/buildinfo.h"
#include "dialogs/form3.h"
#include "dialogs/form4.h"
#include "dialogs/formacerca.h"
#include "dialogs/formconfig.h"
#include "dialogs/settingshost.h"
#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup_testsupport.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

// ---- structure ----------------------------------------------------------------------------

struct EntryRow
{
    std::string name;
    std::string caption; // "-" for a separator
    bool picture;
    bool visible;
};

void expectEntries(const QMenu *pMenu, const std::vector<EntryRow> &pExpected)
{
    const QList<QAction *> actions = pMenu->actions();
    ASSERT_EQ(static_cast<std::size_t>(actions.size()), pExpected.size())
        << pMenu->objectName().toStdString();
    for (std::size_t i = 0; i < pExpected.size(); ++i) {
        const QAction *action = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(pExpected[i].name);
        EXPECT_EQ(action->objectName().toStdString(), pExpected[i].name);
        EXPECT_EQ(action->isSeparator() ? std::string("-") : action->text().toStdString(),
                  pExpected[i].caption);
        EXPECT_EQ(!action->icon().isNull(), pExpected[i].picture);
        EXPECT_EQ(action->isVisible(), pExpected[i].visible);
    }
}

TEST(BarMenus, TreeCaptionsSeparatorsAndPictures)
{
    test::BarOnFolder folder;
    folder.writeConfig(test::drawersConfig(1, 0, 390));
    Form1 &bar = folder.start();
    const BarMenus &menus = bar.menus();
    expectEntries(menus.m(),
                  {
                      {"mAbrir", "Open in Drawer", true, true},
                      {"mOcultar", "Hide Drawer", false, false},
                      {"mAbrirEx", "Open in Explorer", true, true},
                      {"mL1", "-", false, true},
                      {"mNombre", "Configure...", true, true},
                      {"mL2", "-", false, true},
                      {"mCerrar", "Delete", false, true},
                  });
    expectEntries(menus.mC(),
                  {
                      {"mCAdd", "Add Drawer...", true, true},
                      {"mCUndo", "Undo Copy", false, true},
                      {"mCL1", "-", false, true},
                      {"mCAbout", "About Pindrel", true, true},
                      {"mCWeb", "Visit our website", false, true},
                      {"mCUpdate", "Check for updates now...", true, true},
                      {"mCL3", "-", false, true},
                      {"mCConf", "Configure...", true, true},
                      {"mCL2", "-", false, true},
                      {"mCCerrar", "Close Pindrel", true, true},
                  });
    expectEntries(menus.mP(),
                  {
                      {"mProg0", "", false, false},
                      {"mPadd", "", false, false},
                  });
    EXPECT_EQ(menus.entry(QStringLiteral("mPadd"))->menu(), menus.mPadd());
    expectEntries(menus.mPadd(),
                  {
                      {"mPadd2", "Add program...", true, true},
                      {"mPlinea1", "-", false, true},
                      {"mPconfig", "Configure...", false, true},
                  });
    for (const QMenu *menu : {menus.m(), menus.mC(), menus.mP(), menus.mPadd()}) {
        EXPECT_EQ(menu->font().families().value(0), QStringLiteral("Tahoma"));
        EXPECT_DOUBLE_EQ(menu->font().pointSizeF(), 8.25);
    }
}

// ---- pop-ups through the bar --------------------------------------------------------------

class PopUps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder.writeConfig(test::drawersConfig(3, 0, 390));
        Form1 &bar = m_folder.start();
        bar.show();
    }
    void TearDown() override
    {
        for (QMenu *menu : {bar().menus().m(), bar().menus().mC()})
            menu->hide();
    }
    Form1 &bar() { return m_folder.bar(); }

    test::BarOnFolder m_folder;
};

TEST_F(PopUps, RightPressOnADrawerShowsItsMenuUnderTheButton)
{
    BarButton *second = bar().cmdB().item(2);
    ASSERT_NE(second, nullptr);
    QTest::mousePress(second, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    QMenu *m = bar().menus().m();
    ASSERT_TRUE(QTest::qWaitFor([m] { return m->isVisible(); }, 2000));
    EXPECT_EQ(m->pos(), bar().mapToGlobal(second->geometry().bottomLeft() + QPoint(0, 1)));
    EXPECT_FALSE(bar().menus().mC()->isVisible()) << "the press reached the bar as well";
    EXPECT_EQ(bar().menus().tag(), QStringLiteral("2"));
    EXPECT_TRUE(bar().menus().entry(QStringLiteral("mAbrir"))->isVisible());
    EXPECT_FALSE(bar().menus().entry(QStringLiteral("mOcultar"))->isVisible());
    QTest::mouseRelease(second, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
}

TEST_F(PopUps, OpenDrawerOffersHideInstead)
{
    QWidget drawerWindow;
    bar().state().openDrawers()[3] = &drawerWindow;
    bar().menus().showDrawerMenu(3, *bar().cmdB().item(3));
    EXPECT_FALSE(bar().menus().entry(QStringLiteral("mAbrir"))->isVisible());
    EXPECT_TRUE(bar().menus().entry(QStringLiteral("mOcultar"))->isVisible());
    bar().state().openDrawers()[3] = nullptr;
    bar().menus().showDrawerMenu(3, *bar().cmdB().item(3));
    EXPECT_TRUE(bar().menus().entry(QStringLiteral("mAbrir"))->isVisible());
}

TEST_F(PopUps, AddButtonShowsTheBarMenuBelowTheBar)
{
    QTest::mouseClick(bar().cmdAdd(), Qt::LeftButton);
    QMenu *mC = bar().menus().mC();
    ASSERT_TRUE(QTest::qWaitFor([mC] { return mC->isVisible(); }, 2000));
    EXPECT_EQ(mC->pos(), bar().mapToGlobal(QPoint(bar().cmdAdd()->x(), bar().height())));
}

TEST_F(PopUps, RightPressOnTheFreeAreaShowsTheBarMenuThere)
{
    const QPoint free(bar().width() - 20, 10);
    QTest::mousePress(&bar(), Qt::RightButton, Qt::NoModifier, free);
    QMenu *mC = bar().menus().mC();
    ASSERT_TRUE(QTest::qWaitFor([mC] { return mC->isVisible(); }, 2000));
    // The window system keeps the menu on the screen: it may move left, never down or up.
    EXPECT_EQ(mC->pos().y(), bar().mapToGlobal(free).y());
    EXPECT_FALSE(bar().menus().m()->isVisible());
    QTest::mouseRelease(&bar(), Qt::RightButton, Qt::NoModifier, free);
}

TEST_F(PopUps, LeftPressOnTheFreeAreaShowsNothing)
{
    QTest::mouseClick(&bar(), Qt::LeftButton, Qt::NoModifier, QPoint(bar().width() - 20, 10));
    EXPECT_FALSE(bar().menus().mC()->isVisible());
}

TEST_F(PopUps, ShiftLeftPressOpensTheFolderOnly)
{
    const QString folder = m_folder.folder();
    std::string config = test::drawersConfig(3, 0, 390);
    config.replace(config.find("PATH=/tmp"), 9, "PATH=" + folder.toStdString());
    m_folder.writeConfig(config);
    QTest::mouseClick(bar().cmdB().item(1), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(m_folder.shell().opened.size(), 1U);
    EXPECT_EQ(m_folder.shell().opened[0], QUrl::fromLocalFile(folder));
    QTest::mouseClick(bar().cmdB().item(1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(m_folder.shell().opened.size(), 1U);
}

TEST_F(PopUps, CheckForUpdatesStartsTheUpdaterWhenItIsThere)
{
    bar().menus().entry(QStringLiteral("mCUpdate"))->trigger();
    EXPECT_TRUE(m_folder.shell().started.empty()) << "no updater, no start";
    const QString updater = m_folder.filePath(QStringLiteral("update.exe"));
    test::writeBytes(updater, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    bar().menus().entry(QStringLiteral("mCUpdate"))->trigger();
    ASSERT_EQ(m_folder.shell().started.size(), 1U);
    EXPECT_EQ(m_folder.shell().started[0].program, updater);
    EXPECT_EQ(m_folder.shell().started[0].arguments, QStringList{QStringLiteral("/CheckNow")});
    EXPECT_EQ(m_folder.shell().started[0].workDir, m_folder.folder());
}

TEST_F(PopUps, AddDrawerAtTheLimitShowsTheMessageOnly)
{
    bar().state().setDrawerCount(100);
    bool editorShown = false;
    bar().menus().setDialogRunner([&](QDialog &) { editorShown = true; });
    bar().menus().entry(QStringLiteral("mCAdd"))->trigger();
    EXPECT_FALSE(editorShown);
    ASSERT_EQ(m_folder.exclamations.size(), 1U);
    EXPECT_EQ(m_folder.exclamations[0],
              QStringLiteral("You can't add another drawer. (Max. allowed 100)."));
}

TEST_F(PopUps, AddDrawerThroughTheEditorAddsAButton)
{
    bar().menus().setDialogRunner([](QDialog &pDialog) {
        auto *editor = dynamic_cast<Form3 *>(&pDialog);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Add Drawer"));
        QTest::keyClicks(editor->TextTitulo(), QStringLiteral("Fourth"));
        QTest::keyClicks(editor->TextRuta(), QStringLiteral("/srv"));
        QTest::mouseClick(editor->cmdAceptar(), Qt::LeftButton);
        EXPECT_EQ(editor->result(), QDialog::Accepted);
    });
    bar().menus().entry(QStringLiteral("mCAdd"))->trigger();
    EXPECT_EQ(m_folder.readValue("GRAL", "CANTBOT"), "4");
    ASSERT_EQ(bar().cmdB().ubound(), 4);
    EXPECT_EQ(bar().cmdB().item(4)->caption(), QStringLiteral("Fourth"));
}

// ---- commands against a recording bar ------------------------------------------------------

class RecordingBar : public BarMenuHost
{
public:
    void MostrarBotones() override { calls.emplace_back("MostrarBotones"); }
    void MostrarProgramas() override { calls.emplace_back("MostrarProgramas"); }
    float barHeightTwips() const override { return 390; }
    void showExclamation(const QString &pText) override
    {
        calls.push_back("exclamation:" + pText.toStdString());
    }
    void processPendingMessages() override { }
    void AlternarCajon(int16_t pIndex) override
    {
        calls.push_back("AlternarCajon:" + std::to_string(pIndex));
    }
    void SetTheme() override { calls.emplace_back("SetTheme"); }
    void AplicarTransparenciaMain() override { calls.emplace_back("AplicarTransparenciaMain"); }
    void startUpdater(const QString &pArgument) override
    {
        calls.push_back("updater:" + pArgument.toStdString());
    }
    void mCCerrar_Click() override { calls.emplace_back("close"); }

    std::vector<std::string> calls;
};

class RecordingSettingsHost : public SettingsHost
{
public:
    void AplicarColoresMain() override { }
    void MostrarBotones() override { }
    void redock() override { }
};

class Commands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_config.write(test::drawersConfig(3, 0, 390));
        m_state.openStore(m_config.path());
        m_state.setDrawerCount(3);
        auto shell = std::make_unique<test::RecordingShell>();
        m_shell = shell.get();
        m_state.setShell(std::move(shell));
        m_menus = std::make_unique<BarMenus>(m_state, m_registry, m_host, &m_barWindow);
        m_menus->setDialogRunner([this](QDialog &pDialog) {
            if (auto *editor = dynamic_cast<Form3 *>(&pDialog)) {
                m_dialogs.push_back("Form3:" + editor->windowTitle().toStdString() + ":"
                                    + editor->TextTitulo()->text().toStdString());
                m_host.calls.emplace_back("dialog");
            } else if (dynamic_cast<FormAcerca *>(&pDialog) != nullptr) {
                m_dialogs.emplace_back("FormAcerca");
            } else if (auto *programEditor = dynamic_cast<Form4 *>(&pDialog)) {
                m_dialogs.push_back("Form4:" + programEditor->windowTitle().toStdString());
            } else if (auto *settings = dynamic_cast<FormConfig *>(&pDialog)) {
                m_dialogs.push_back(
                    "FormConfig:"
                    + settings->ssTab()->tabText(settings->ssTab()->currentIndex()).toStdString());
                m_host.calls.emplace_back("settings");
            }
        });
    }
    void TearDown() override { m_menus.reset(); }

    void trigger(const char *pEntry) { m_menus->entry(QString::fromLatin1(pEntry))->trigger(); }

    test::TempConfig m_config;
    AppState m_state;
    RecordingBar m_host;
    RecordingSettingsHost m_settingsHost;
    Registry m_registry{m_state, m_host};
    QWidget m_barWindow;
    std::unique_ptr<BarMenus> m_menus;
    test::RecordingShell *m_shell = nullptr;
    std::vector<std::string> m_dialogs;
};

TEST_F(Commands, TagThatIsNoDrawerNumberDoesNothing)
{
    for (const char *tag : {"", "   ", "abc", "-1", "2x", "99999"}) {
        SCOPED_TRACE(tag);
        m_menus->setTag(QString::fromLatin1(tag));
        for (const char *entry : {"mAbrir", "mOcultar", "mAbrirEx", "mNombre", "mCerrar"})
            trigger(entry);
        EXPECT_TRUE(m_host.calls.empty());
        EXPECT_TRUE(m_dialogs.empty());
        EXPECT_TRUE(m_shell->opened.empty());
    }
    EXPECT_EQ(m_state.drawerCount(), 3);
}

TEST_F(Commands, OpenAndHideToggleTheTaggedDrawer)
{
    m_menus->setTag(QStringLiteral(" 2 "));
    trigger("mAbrir");
    trigger("mOcultar");
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"AlternarCajon:2", "AlternarCajon:2"}));
}

TEST_F(Commands, OpenInExplorerOpensTheDrawersFolder)
{
    std::string config = test::drawersConfig(3, 0, 390);
    const std::string second = "Drawer 2\nPATH=/tmp";
    config.replace(config.find(second), second.size(),
                   "Drawer 2\nPATH=" + m_config.folder().toStdString());
    m_config.write(config);
    m_menus->setTag(QStringLiteral("2"));
    trigger("mAbrirEx");
    ASSERT_EQ(m_shell->opened.size(), 1U);
    EXPECT_EQ(m_shell->opened[0], QUrl::fromLocalFile(m_config.folder()));
}

TEST_F(Commands, ConfigureEditsTheDrawerThenResetsItsFolderAndRebuilds)
{
    m_state.lastFolders()[2] = QStringLiteral("/tmp/sub");
    m_menus->setTag(QStringLiteral("2"));
    trigger("mNombre");
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"Form3:Configure drawer:Drawer 2"});
    EXPECT_EQ(m_state.lastFolders()[2], QStringLiteral("-"));
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"dialog", "MostrarBotones"}));

    // Drawer 0 is a number the tag rule lets through: the editor opens in add mode.
    m_dialogs.clear();
    m_menus->setTag(QStringLiteral("0"));
    trigger("mNombre");
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"Form3:Add drawer:"});
}

TEST_F(Commands, DeleteRemovesAtOnceAndRebuilds)
{
    m_menus->setTag(QStringLiteral("0"));
    trigger("mCerrar");
    EXPECT_EQ(m_state.drawerCount(), 3) << "drawer 0 is not deleted";
    m_menus->setTag(QStringLiteral("1"));
    trigger("mCerrar");
    EXPECT_EQ(m_state.drawerCount(), 2);
    EXPECT_EQ(m_state.ini().getLeerValor("BUTTON1", "CAPTION"), "Drawer 2");
    EXPECT_EQ(m_host.calls, std::vector<std::string>{"MostrarBotones"});
    EXPECT_TRUE(m_dialogs.empty()) << "no question is asked";
}

TEST_F(Commands, AddDrawerBelowTheLimitOpensTheEditorThenRebuilds)
{
    m_state.setDrawerCount(99);
    trigger("mCAdd");
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"Form3:Add Drawer:"});
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"dialog", "MostrarBotones"}));
}

TEST_F(Commands, BarMenuCommands)
{
    trigger("mCAbout");
    EXPECT_EQ(m_dialogs, std::vector<std::string>{"FormAcerca"});
    trigger("mCWeb");
    ASSERT_EQ(m_shell->opened.size(), 1U);
    EXPECT_EQ(m_shell->opened[0], websiteUrl());
    EXPECT_TRUE(websiteUrl().isValid());
    trigger("mCUpdate");
    m_menus->setSettingsHost(&m_settingsHost);
    trigger("mCConf");
    trigger("mCCerrar");
    EXPECT_EQ(m_host.calls,
              (std::vector<std::string>{"updater:/CheckNow", "settings", "SetTheme",
                                        "AplicarTransparenciaMain", "close"}));
    EXPECT_EQ(m_dialogs, (std::vector<std::string>{"FormAcerca", "FormConfig:Main Window"}));
}

TEST_F(Commands, ProgramMenuCompanionCommands)
{
    m_menus->setSettingsHost(&m_settingsHost);
    trigger("mPadd2");
    EXPECT_TRUE(m_host.calls.empty()) << "the editor rebuilds the menu itself when it saves";
    trigger("mPconfig");
    EXPECT_EQ(m_dialogs, (std::vector<std::string>{"Form4:Add program", "FormConfig:Programs"}));
    EXPECT_EQ(m_host.calls,
              (std::vector<std::string>{"settings", "SetTheme", "AplicarTransparenciaMain"}));
}

TEST_F(Commands, ConfigureWithoutASettingsDialogStillAppliesTheLooks)
{
    trigger("mCConf");
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"SetTheme", "AplicarTransparenciaMain"}));
}

} // namespace
} // namespace pindrel
