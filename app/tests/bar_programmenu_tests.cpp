// The program menu: its entries and pictures from config.ini, what a chosen entry starts, the
// programs button's pop-ups and the bad counts and paths a hand-edited file may hold. On a bar
// started offscreen with a shell that records what it would start.

#include "bar/barbutton.h"
#include "bar/barmenus.h"
#include "bar/imagelist.h"
#include "bar/programmenu.h"
#include "bar_testsupport.h"
#include "dialogs/formconfig.h"
#include "dialogs/programlistpage.h"
#include "startup_testsupport.h"

#include "platform/filenamecodec.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace pindrel {
namespace {

struct Program
{
    std::string caption;
    std::string path;
};

// One drawer (so that no first-run question comes), then the count and the sections given.
std::string programsConfig(const std::optional<std::string> &pCount,
                           const std::vector<Program> &pPrograms)
{
    std::string text = "[MAIN]\nPOSITION=TOP\n[GRAL]\nCANTBOT=1\n";
    if (pCount)
        text += "CANTPROG=" + *pCount + "\n";
    text += "[BUTTON1]\nCAPTION=Temp\nPATH=/tmp\n";
    for (std::size_t i = 0; i < pPrograms.size(); ++i) {
        text += "[PROGRAM" + std::to_string(i + 1) + "]\nCAPTION=" + pPrograms[i].caption
            + "\nPATH=" + pPrograms[i].path + "\n";
    }
    return text;
}

QColor centre(const QIcon &pIcon)
{
    return pIcon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

class ProgramMenuTest : public ::testing::Test
{
protected:
    // A runnable script in the program folder, named by its bytes (QFile would not keep
    // bytes that are not UTF-8).
    std::string script(const QByteArray &pName)
    {
        const QByteArray path = QFile::encodeName(m_folder.folder()) + '/' + pName;
        const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0700);
        const char content[] = "#!/bin/sh\nexit 0\n";
        const bool written = descriptor >= 0
            && ::write(descriptor, content, sizeof content - 1)
                == static_cast<ssize_t>(sizeof content - 1);
        if (descriptor >= 0)
            ::close(descriptor);
        EXPECT_TRUE(written) << pName.toStdString();
        return path.toStdString();
    }

    Form1 &start(const std::string &pConfig)
    {
        m_folder.writeConfig(pConfig);
        Form1 &bar = m_folder.start();
        // Each path gets a picture of its own colour; a path without one gets none.
        bar.programMenu().setIconLookup([this](const QString &pPath) {
            const auto colour = m_colours.find(pPath.toStdString());
            if (colour == m_colours.end())
                return QIcon();
            QPixmap picture(16, 16);
            picture.fill(colour->second);
            return QIcon(picture);
        });
        m_imagesBefore = bar.imgP().count();
        bar.MostrarProgramas();
        return bar;
    }

    std::vector<std::string> captions()
    {
        std::vector<std::string> texts;
        for (int i = 1; i <= menu().entryCount(); ++i)
            texts.push_back(menu().mProg(i)->text().toStdString());
        return texts;
    }

    ProgramMenu &menu() { return m_folder.bar().programMenu(); }

    test::BarOnFolder m_folder;
    std::map<std::string, QColor> m_colours;
    int m_imagesBefore = 0; // what the start-up's own rebuild added
};

TEST_F(ProgramMenuTest, EntriesInProgramOrderWithTheirPictures)
{
    const std::string editor = script("editor");
    const std::string tool = script("tool");
    m_colours = {{editor, Qt::red}, {tool, Qt::blue}};
    Form1 &bar =
        start(programsConfig("3", {{"Editor", editor}, {"No path", ""}, {"Tools & more", tool}}));

    // Between the hidden anchor and the hidden companion entry, in program order.
    const QList<QAction *> actions = bar.menus().mP()->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->objectName(), QStringLiteral("mProg0"));
    EXPECT_FALSE(actions[0]->isVisible());
    EXPECT_EQ(actions[1], menu().mProg(1));
    EXPECT_EQ(actions[3], menu().mProg(3));
    EXPECT_EQ(actions[4]->objectName(), QStringLiteral("mPadd"));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Editor", "No path", "Tools && more"}));
    EXPECT_EQ(centre(menu().mProg(1)->icon()), QColor(Qt::red));
    EXPECT_TRUE(menu().mProg(2)->icon().isNull()) << "an empty path has no picture";
    EXPECT_EQ(centre(menu().mProg(3)->icon()), QColor(Qt::blue));
    EXPECT_EQ(bar.imgP().count(), m_imagesBefore + 2);

    // Again: one entry per program still; the pictures are appended, never replaced.
    bar.MostrarProgramas();
    test::flushDeletions();
    EXPECT_EQ(bar.menus().mP()->actions().size(), 5);
    EXPECT_EQ(captions().size(), 3U);
    EXPECT_EQ(bar.imgP().count(), m_imagesBefore + 4);
    EXPECT_EQ(centre(menu().mProg(3)->icon()), QColor(Qt::blue));
    const QString last = ProgramMenu::imageKey(m_imagesBefore + 4);
    EXPECT_EQ(bar.imgP().indexOf(last), m_imagesBefore + 4);
    EXPECT_EQ(bar.imgP().picture(last).toImage().pixelColor(8, 8), QColor(Qt::blue));
}

TEST_F(ProgramMenuTest, AFileWithoutAnIconGetsABlankPicture)
{
    const std::string plain = script("plain");
    Form1 &bar = start(programsConfig("1", {{"Plain", plain}}));
    ASSERT_EQ(menu().entryCount(), 1);
    EXPECT_FALSE(menu().mProg(1)->icon().isNull());
    EXPECT_EQ(centre(menu().mProg(1)->icon()).alpha(), 0);
    EXPECT_EQ(bar.imgP().count(), m_imagesBefore + 1);
}

// Counts a hand-edited file may hold, after a menu of two programs was built.
struct CountRow
{
    const char *name;
    std::optional<std::string> count;
    int programs;
    std::vector<std::string> captions;
};

class BadCount : public ProgramMenuTest, public ::testing::WithParamInterface<CountRow>
{
};

TEST_P(BadCount, BuildsWhatTheCountSaysOrKeepsTheMenu)
{
    const CountRow &row = GetParam();
    const std::vector<Program> two = {{"One", "/bin/true"}, {"Two", "/bin/false"}};
    Form1 &bar = start(programsConfig("2", two));
    ASSERT_EQ(menu().entryCount(), 2);

    const std::string config = programsConfig(row.count, two);
    m_folder.writeConfig(config);
    bar.MostrarProgramas();
    EXPECT_EQ(bar.state().programCount(), row.programs);
    EXPECT_EQ(captions(), row.captions);
    EXPECT_FALSE(bar.menus().entry(QStringLiteral("mProg0"))->isVisible());
    EXPECT_EQ(test::readBytes(m_folder.configPath()), config) << "the rebuild wrote";
    for (int i = 1; i <= menu().entryCount(); ++i)
        menu().mProg(i)->trigger(); // entries past the sections start nothing
    EXPECT_EQ(m_folder.shell().started.size(), std::min<std::size_t>(row.captions.size(), 2));
}

const CountRow kCounts[] = {
    {"absent", std::nullopt, 0, {}},
    {"zero", "0", 0, {}},
    {"beyond_the_sections", "4", 4, {"One", "Two", "", ""}},
    {"negative", "-1", 0, {}},
    {"too_big_keeps_the_menu", "70000", 2, {"One", "Two"}},
    {"letters_keep_the_menu", "many", 2, {"One", "Two"}},
};

INSTANTIATE_TEST_SUITE_P(ProgramMenu, BadCount, ::testing::ValuesIn(kCounts),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(ProgramMenuTest, ChoosingAnEntryStartsThePathTheFileHoldsNow)
{
    const std::string first = script("first");
    const std::string second = script("second");
    start(programsConfig("1", {{"Mine", first}}));
    m_folder.writeConfig(programsConfig("1", {{"Mine", second}}));
    menu().mProg(1)->trigger();
    ASSERT_EQ(m_folder.shell().started.size(), 1U);
    EXPECT_EQ(m_folder.shell().started[0].program.toStdString(), second);
    EXPECT_TRUE(m_folder.shell().started[0].arguments.isEmpty());
    menu().mProg_Click(0);
    EXPECT_EQ(m_folder.shell().started.size(), 1U);
}

// Names a command shell would split, expand or take as options, and bytes that are not UTF-8:
// exactly the stored path reaches the start, as the program file itself.
TEST_F(ProgramMenuTest, ThePathReachesTheStartExactly)
{
    const QByteArray names[] = {"my tool", "it's \"quoted\"", "$(touch pwned)", "-rf",
                                "caf\xe9\xff"};
    std::vector<Program> programs;
    for (const QByteArray &name : names)
        programs.push_back({name.toStdString(), script(name)});
    start(programsConfig(std::to_string(programs.size()), programs));
    for (int i = 1; i <= static_cast<int>(programs.size()); ++i)
        menu().mProg(i)->trigger();
    ASSERT_EQ(m_folder.shell().started.size(), programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        EXPECT_EQ(platform::encodeFileName(m_folder.shell().started[i].program).toStdString(),
                  programs[i].path);
        EXPECT_EQ(m_folder.shell().started[i].workDir, m_folder.folder());
    }
    EXPECT_FALSE(QFile::exists(m_folder.filePath(QStringLiteral("pwned"))));
}

TEST_F(ProgramMenuTest, LaunchersAndDocumentsGoTheirOwnWays)
{
    const QString launcher = m_folder.filePath(QStringLiteral("tool.desktop"));
    test::writeBytes(launcher, "[Desktop Entry]\nType=Application\nName=Tool\nExec=true\n");
    const QString document = m_folder.filePath(QStringLiteral("notes.txt"));
    test::writeBytes(document, "text\n");
    start(programsConfig("3",
                         {{"Tool", launcher.toStdString()},
                          {"Notes", document.toStdString()},
                          {"Gone", m_folder.filePath(QStringLiteral("gone")).toStdString()}}));
    for (int i = 1; i <= 3; ++i)
        menu().mProg(i)->trigger();
    EXPECT_EQ(m_folder.shell().launched, std::vector<QString>{launcher});
    EXPECT_EQ(m_folder.shell().opened, std::vector<QUrl>{QUrl::fromLocalFile(document)});
    EXPECT_TRUE(m_folder.shell().started.empty());
}

// ---- the programs button ------------------------------------------------------------------

class ProgramsButton : public ProgramMenuTest, public ::testing::WithParamInterface<int>
{
protected:
    void TearDown() override
    {
        for (QMenu *menu : {m_folder.bar().menus().mP(), m_folder.bar().menus().mPadd()})
            menu->hide();
    }

    void release(Qt::MouseButton pButton)
    {
        BarButton *button = m_folder.bar().cmdProg();
        QTest::mousePress(button, pButton, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(button, pButton, Qt::NoModifier, QPoint(3, 3));
    }
};

TEST_P(ProgramsButton, LeftShowsTheProgramsOtherButtonsTheCompanionMenu)
{
    const int programs = GetParam();
    std::vector<Program> list;
    for (int i = 1; i <= programs; ++i)
        list.push_back({"Program " + std::to_string(i), "/bin/true"});
    Form1 &bar = start(programsConfig(std::to_string(programs), list));
    bar.show();
    const QPoint below = bar.mapToGlobal(QPoint(bar.cmdProg()->x(), bar.height()));

    release(Qt::LeftButton);
    QMenu *mP = bar.menus().mP();
    if (programs > 0) {
        ASSERT_TRUE(QTest::qWaitFor([mP] { return mP->isVisible(); }, 2000));
        EXPECT_EQ(mP->pos(), below);
        mP->hide();
    } else {
        QTest::qWait(50);
        EXPECT_FALSE(mP->isVisible()) << "no programs, no menu";
    }
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        release(button);
        QMenu *mPadd = bar.menus().mPadd();
        ASSERT_TRUE(QTest::qWaitFor([mPadd] { return mPadd->isVisible(); }, 2000));
        EXPECT_EQ(mPadd->pos(), below);
        EXPECT_FALSE(mP->isVisible());
        mPadd->hide();
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramMenu, ProgramsButton, ::testing::Values(0, 2),
                         [](const auto &pInfo) {
                             return std::to_string(pInfo.param) + "_programs";
                         });

TEST_F(ProgramMenuTest, ConfigureOpensTheSettingsOnTheFilledProgramList)
{
    Form1 &bar = start(programsConfig("2", {{"One", "/bin/true"}, {"Two", "/bin/false"}}));
    std::vector<std::string> seen;
    bar.menus().setDialogRunner([&](QDialog &pDialog) {
        auto *settings = dynamic_cast<FormConfig *>(&pDialog);
        ASSERT_NE(settings, nullptr);
        seen.push_back(settings->ssTab()->tabText(settings->ssTab()->currentIndex()).toStdString());
        QListWidget *list = settings->programs().ListP();
        for (int row = 0; row < list->count(); ++row)
            seen.push_back(list->item(row)->text().toStdString());
    });
    bar.menus().entry(QStringLiteral("mPconfig"))->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"Programs", "One", "Two"}));
}

} // namespace
} // namespace pindrel
