// The first-run wizard: the question, the drawers it adds and what Cancel leaves alone; and
// the message box that asks the question.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "startup/appstate.h"
#include "startup/firstrun.h"
#include "startup/messageboxquestionasker.h"
#include "startup/registry.h"
#include "startup/settings.h"
#include "startup_testsupport.h"
#include "txini/clsini.h"

namespace pindrel {
namespace {

using test::RecordingHost;
using test::TempConfig;

class AnsweringAsker : public QuestionAsker
{
public:
    explicit AnsweringAsker(Answer pAnswer)
        : m_answer(pAnswer)
    { }

    Answer ask(const QString &pTitle, const QString &pText) override
    {
        questions.emplace_back(pTitle, pText);
        return m_answer;
    }

    std::vector<std::pair<QString, QString>> questions;

private:
    Answer m_answer;
};

const std::map<int, QString> kAllFolders = {
    {5, QStringLiteral("/home/u/Documents")},
    {39, QStringLiteral("/home/u/Pictures")},
    {0, QStringLiteral("/home/u/Desktop")},
    {19, QStringLiteral("/run/user/1000/gvfs")},
};

class FirstRunTest : public ::testing::Test
{
protected:
    void open(const std::string &pFile = {})
    {
        if (!pFile.empty())
            config.write(pFile);
        state.openStore(config.path());
        state.setDrawerCount(readCount(state.ini(), kKeyDrawerCount));
    }

    FirstRunWizard::Outcome runWith(QuestionAsker &pAsker, std::map<int, QString> pFolders)
    {
        FirstRunWizard wizard(state, registry, host, pAsker,
                              [folders = std::move(pFolders)](int pNumber) {
                                  const auto found = folders.find(pNumber);
                                  return found == folders.end() ? QString() : found->second;
                              });
        return wizard.run();
    }

    std::string value(const std::string &pSection, const std::string &pKey) const
    {
        txini::clsIni reader;
        reader.File(config.path().toStdString());
        return reader.getLeerValor(pSection, pKey);
    }

    // CAPTION and PATH of drawers 1..count as the file holds them.
    std::vector<std::pair<std::string, std::string>> drawers() const
    {
        std::vector<std::pair<std::string, std::string>> list;
        const int count = std::stoi("0" + value("GRAL", "CANTBOT"));
        for (int number = 1; number <= count; ++number) {
            const std::string section = Registry::drawerSection(number);
            list.emplace_back(value(section, "CAPTION"), value(section, "PATH"));
        }
        return list;
    }

    TempConfig config;
    AppState state;
    RecordingHost host;
    Registry registry{state, host};
};

TEST_F(FirstRunTest, AsksTheExactQuestion)
{
    open();
    AnsweringAsker asker(QuestionAsker::Answer::Cancel);
    runWith(asker, kAllFolders);

    ASSERT_EQ(asker.questions.size(), 1U);
    EXPECT_EQ(asker.questions[0].first, QStringLiteral("Pindrel"));
    EXPECT_EQ(asker.questions[0].second,
              QStringLiteral("There are no drawers.\nDo you want to let this wizard to add some "
                             "drawers for you?"));
}

TEST_F(FirstRunTest, OkWithAllFoldersAddsFiveDrawersInOrder)
{
    open();
    AnsweringAsker asker(QuestionAsker::Answer::Ok);
    EXPECT_EQ(runWith(asker, kAllFolders), FirstRunWizard::Outcome::Added);

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"File System", "/"},
        {"My Documents", "/home/u/Documents"},
        {"My Pictures", "/home/u/Pictures"},
        {"Desktop", "/home/u/Desktop"},
        {"Network", "/run/user/1000/gvfs"},
    };
    EXPECT_EQ(drawers(), expected);
    EXPECT_EQ(value("GRAL", "CANTBOT"), "5");
    EXPECT_EQ(value("BUTTON1", "ICON"), "");
    EXPECT_EQ(state.drawerCount(), 5);
    // Messages run once before the first add; the bar is rebuilt after each.
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"pump", "MostrarBotones", "MostrarBotones",
                                        "MostrarBotones", "MostrarBotones", "MostrarBotones"}));
}

struct MissingRow
{
    const char *name;
    int folder;
    QString path; // what the lookup gives for it
    const char *skipped;
};

class FirstRunMissingFolderTest : public FirstRunTest,
                                  public ::testing::WithParamInterface<MissingRow>
{
};

TEST_P(FirstRunMissingFolderTest, SkipsThatDrawer)
{
    open();
    std::map<int, QString> folders = kAllFolders;
    folders[GetParam().folder] = GetParam().path;
    AnsweringAsker asker(QuestionAsker::Answer::Ok);
    runWith(asker, folders);

    const auto list = drawers();
    ASSERT_EQ(list.size(), 4U);
    EXPECT_EQ(list.front().first, "File System");
    for (const auto &[caption, path] : list)
        EXPECT_NE(caption, GetParam().skipped);
    EXPECT_EQ(value("GRAL", "CANTBOT"), "4");
}

const MissingRow kMissingRows[] = {
    {"NoDocuments", 5, QString(), "My Documents"},
    {"NoPictures", 39, QString(), "My Pictures"},
    {"BlankDesktop", 0, QStringLiteral("   "), "Desktop"},
    {"NoNetwork", 19, QString(), "Network"},
};
INSTANTIATE_TEST_SUITE_P(Rows, FirstRunMissingFolderTest, ::testing::ValuesIn(kMissingRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(FirstRunTest, CancelWritesNothing)
{
    open();
    AnsweringAsker asker(QuestionAsker::Answer::Cancel);
    EXPECT_EQ(runWith(asker, kAllFolders), FirstRunWizard::Outcome::Declined);

    EXPECT_FALSE(config.exists());
    EXPECT_EQ(state.drawerCount(), 0);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FirstRunTest, NotAskedWhenThereAreDrawers)
{
    open("[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=Mine\nPATH=/mine\n");
    const std::string before = config.bytes();
    AnsweringAsker asker(QuestionAsker::Answer::Ok);
    EXPECT_EQ(runWith(asker, kAllFolders), FirstRunWizard::Outcome::NotNeeded);

    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(config.bytes(), before);
}

TEST_F(FirstRunTest, CountZeroWithOldSectionsWritesOverThem)
{
    open("[GRAL]\nCANTBOT=0\n"
         "[BUTTON1]\nCAPTION=Old 1\nPATH=/old1\nICON=/old1.png\nVIEW=3\n"
         "[BUTTON2]\nCAPTION=Old 2\nPATH=/old2\nICON=/old2.png\nVISIBLE=1\n");
    AnsweringAsker asker(QuestionAsker::Answer::Ok);
    EXPECT_EQ(runWith(asker, kAllFolders), FirstRunWizard::Outcome::Added);

    EXPECT_EQ(asker.questions.size(), 1U);
    EXPECT_EQ(value("BUTTON1", "CAPTION"), "File System");
    EXPECT_EQ(value("BUTTON1", "ICON"), "");
    EXPECT_EQ(value("BUTTON2", "CAPTION"), "My Documents");
    EXPECT_EQ(value("BUTTON2", "ICON"), "");
    // Keys the add does not write stay from the old sections.
    EXPECT_EQ(value("BUTTON1", "VIEW"), "3");
    EXPECT_EQ(value("BUTTON2", "VISIBLE"), "1");
    EXPECT_EQ(value("GRAL", "CANTBOT"), "5");
}

// ---- the message box ----------------------------------------------------------------------

// Waits for the modal question box, records what it shows and presses pButton. The wait is on
// the box appearing, polled by a timer inside the box's own event loop, with a limit.
struct BoxSeen
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool found = false;
};

QMessageBox *shownBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box != nullptr && box->isVisible())
            return box;
    }
    return nullptr;
}

void pressWhenShown(QMessageBox::StandardButton pButton, BoxSeen &pSeen)
{
    auto *poll = new QTimer(qApp);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, attempts, pButton, &pSeen] {
        QMessageBox *box = shownBox();
        if (box == nullptr) {
            // About ten seconds: far beyond any real delay. The poll then gives up; a box
            // that never became visible cannot be waiting for an answer.
            if (++*attempts > 1000)
                poll->deleteLater();
            return;
        }
        pSeen.found = true;
        pSeen.title = box->windowTitle();
        pSeen.text = box->text();
        pSeen.icon = box->icon();
        pSeen.buttons = box->standardButtons();
        if (QAbstractButton *defaultButton = box->defaultButton())
            pSeen.defaultButton = box->standardButton(defaultButton);
        box->button(pButton)->click();
        poll->deleteLater();
    });
    poll->start(10);
}

class MessageBoxAskerTest : public ::testing::TestWithParam<QMessageBox::StandardButton>
{
};

TEST_P(MessageBoxAskerTest, ShowsTheQuestionAndReturnsTheAnswer)
{
    BoxSeen seen;
    pressWhenShown(GetParam(), seen);
    MessageBoxQuestionAsker asker;
    const QuestionAsker::Answer answer =
        asker.ask(FirstRunWizard::title(), FirstRunWizard::questionText());

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, QStringLiteral("Pindrel"));
    EXPECT_EQ(seen.text, FirstRunWizard::questionText());
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Ok);
    EXPECT_EQ(answer,
              GetParam() == QMessageBox::Ok ? QuestionAsker::Answer::Ok
                                            : QuestionAsker::Answer::Cancel);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxAskerTest,
                         ::testing::Values(QMessageBox::Ok, QMessageBox::Cancel),
                         [](const auto &pInfo) {
                             return std::string(pInfo.param == QMessageBox::Ok ? "Ok" : "Cancel");
                         });

} // namespace
} // namespace pindrel
