// Opening files from a drawer: what starts at once, what asks first, and what each answer
// does, on real files in a temporary folder. The shell records instead of starting.

#include "drawer/fileopener.h"
#include "drawer_testsupport.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>

namespace pindrel {
namespace {

using Answer = OpenQuestions::ScriptAnswer;

enum class Content { Program, Script, Text, Launcher };

struct OpenRow
{
    const char *name;
    QString fileName;
    Content content;
    QFile::Permissions permissions;
    Answer scriptAnswer;
    bool startLauncher;
    QString asked; // the question asked, as ScriptedQuestions notes it; empty: none
    bool started; // run directly (Shell::run or a program through Shell::open)
    bool opened; // handed to the desktop (default application, or a launcher through open)
    bool otherOwner = false; // the file belongs to nobody (needs root)
    bool ownerCloses = false;
};

void PrintTo(const OpenRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

constexpr QFile::Permissions kPlain = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kExecutable = kPlain | QFile::ExeOwner;
const QString kLauncherText = QStringLiteral("[Desktop Entry]\nType=Application\nName=Tool\n"
                                             "Exec=/bin/true --from-launcher %f\n");
const QString kOdd = QStringLiteral("-x $(touch pwned) \"q\"\nnext.sh");

const OpenRow kOpenRows[] = {
    {"native_program_starts_without_asking",
     "tool",
     Content::Program,
     kExecutable,
     Answer::Cancel,
     false,
     {},
     true,
     false},
    {"script_asks_and_runs", "tool.sh", Content::Script, kExecutable, Answer::Run, false,
     "script tool.sh", true, false},
    {"executable_readme_asks_and_opens", "README.txt", Content::Script, kExecutable, Answer::Open,
     false, "script README.txt", false, true},
    {"script_cancelled_does_nothing", "tool.sh", Content::Script, kExecutable, Answer::Cancel,
     false, "script tool.sh", false, false},
    {"script_without_execute_bit_opens",
     "tool.sh",
     Content::Script,
     kPlain,
     Answer::Run,
     false,
     {},
     false,
     true},
    {"text_with_execute_bit_opens",
     "notes",
     Content::Text,
     kExecutable,
     Answer::Run,
     false,
     {},
     false,
     true},
    {"odd_name_runs_whole", kOdd, Content::Script, kExecutable, Answer::Run, false,
     "script " + kOdd, true, false},
    {"trusted_launcher_starts_without_asking",
     "tool.desktop",
     Content::Launcher,
     kExecutable,
     Answer::Cancel,
     false,
     {},
     false,
     true},
    {"launcher_not_executable_asks_and_starts", "tool.desktop", Content::Launcher, kPlain,
     Answer::Cancel, true,
     "launcher tool.desktop: it is not executable | /bin/true --from-launcher %f", false, true},
    {"launcher_refused", "tool.desktop", Content::Launcher, kPlain, Answer::Cancel, false,
     "launcher tool.desktop: it is not executable | /bin/true --from-launcher %f", false, false},
    {"launcher_known_by_content", "setup", Content::Launcher, kPlain, Answer::Cancel, false,
     "launcher setup: it is not executable | /bin/true --from-launcher %f", false, false},
    {"launcher_of_another_user_asks", "tool.desktop", Content::Launcher,
     kExecutable | QFile::ExeOther, Answer::Cancel, true,
     "launcher tool.desktop: it belongs to another user | /bin/true --from-launcher %f", false,
     true, true},
    {"owner_closing_during_question_starts_nothing", "tool.sh", Content::Script, kExecutable,
     Answer::Run, false, "script tool.sh", false, false, false, true},
};

class FileOpening : public ::testing::TestWithParam<OpenRow>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString make(const OpenRow &pRow)
    {
        const QString path = QDir(m_folder.path()).filePath(pRow.fileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        switch (pRow.content) {
        case Content::Program:
            file.write(QByteArray("\x7f"
                                  "ELF\x02\x01\x01",
                                  7)
                       + QByteArray(64, '\0'));
            break;
        case Content::Script:
            file.write("#!/bin/sh\ntouch ran\n");
            break;
        case Content::Text:
            file.write("echo not a program\n");
            break;
        case Content::Launcher:
            file.write(kLauncherText.toUtf8());
            break;
        }
        file.close();
        QFile::setPermissions(path, pRow.permissions);
        return path;
    }

    QTemporaryDir m_folder;
    test::RecordingShell m_shell;
    test::ScriptedQuestions m_questions;
};

TEST_P(FileOpening, AsksWhereItMustAndDoesWhatTheAnswerSays)
{
    const OpenRow &row = GetParam();
    if (row.otherOwner && ::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    const QString path = make(row);
    ASSERT_FALSE(path.isEmpty());
    if (row.otherOwner) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }
    m_questions.scriptAnswer = row.scriptAnswer;
    m_questions.startLauncher = row.startLauncher;
    m_questions.deleteOwner = row.ownerCloses;
    auto *owner = new QWidget;
    const QPointer<QWidget> guard(owner);

    FileOpener::open(owner, path, m_shell, m_questions);

    EXPECT_EQ(m_questions.asked, row.asked.isEmpty() ? QStringList{} : QStringList{row.asked});
    EXPECT_EQ(m_shell.started, row.started ? QStringList{path} : QStringList{});
    EXPECT_EQ(m_shell.opened, row.opened ? QList<QUrl>{QUrl::fromLocalFile(path)} : QList<QUrl>{});
    EXPECT_EQ(guard.isNull(), row.ownerCloses);
    delete guard.data();
}

INSTANTIATE_TEST_SUITE_P(Drawer, FileOpening, ::testing::ValuesIn(kOpenRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace
} // namespace pindrel
