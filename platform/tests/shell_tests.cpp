// What the shell object does with folders, documents and programs: which way out it takes is
// seen through a recording subclass; one case really starts a program.

#include "platform/shell.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QUrl>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using pindrel::platform::Shell;

namespace {

constexpr int timeoutMs = 10000;

class RecordingShell final : public Shell
{
public:
    QStringList calls;

protected:
    bool startDetached(const QString &pProgram, const QStringList &pArgs,
                       const QString &pWorkDir) override
    {
        calls << QStringLiteral("start %1 [%2] in %3").arg(pProgram, pArgs.join(u' '), pWorkDir);
        return true;
    }

    bool openWithDefaultHandler(const QUrl &pUrl) override
    {
        calls << QStringLiteral("open %1").arg(pUrl.toString());
        return true;
    }
};

enum class Kind { Folder, Document, Script, NativeProgram, WindowsProgram, ExecutableText };

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    // Makes pName in the temporary folder with content of the given kind; pExecutable sets the
    // execute permission.
    QString make(const QString &pName, Kind pKind, bool pExecutable)
    {
        const QString path = QDir(m_folder.path()).filePath(pName);
        if (pKind == Kind::Folder) {
            QDir().mkpath(path);
            return path;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        switch (pKind) {
        case Kind::Document:
            file.write("just some text\n");
            break;
        case Kind::Script:
            file.write("#!/bin/sh\nexit 0\n");
            break;
        case Kind::NativeProgram:
            file.write(QByteArray("\x7f"
                                  "ELF\x02\x01\x01",
                                  7)
                       + QByteArray(64, '\0'));
            break;
        case Kind::WindowsProgram:
            file.write(QByteArray("MZ\x90\x00", 4) + QByteArray(64, '\0'));
            break;
        case Kind::ExecutableText:
            file.write("echo not a program\n");
            break;
        case Kind::Folder:
            break;
        }
        file.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (pExecutable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(path, permissions);
        return path;
    }

    QString url(const QString &pPath) const { return QUrl::fromLocalFile(pPath).toString(); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(ShellTest, OpenSendsFoldersAndDocumentsToTheDefaultHandlerAndStartsPrograms)
{
    struct Row
    {
        const char *name;
        Kind kind;
        bool executable;
        bool startsDirectly;
    };
    const Row rows[] = {
        {"folder", Kind::Folder, false, false},
        {"notes.txt", Kind::Document, false, false},
        {"tool.sh", Kind::Script, true, true},
        {"program", Kind::NativeProgram, true, true},
        {"program-not-executable", Kind::NativeProgram, false, false},
        {"setup.exe", Kind::WindowsProgram, true, false},
        {"text-with-execute-bit", Kind::ExecutableText, true, false},
    };
    for (const Row &row : rows) {
        RecordingShell shell;
        const QString path = make(QString::fromLatin1(row.name), row.kind, row.executable);
        ASSERT_FALSE(path.isEmpty()) << row.name;
        EXPECT_TRUE(shell.open(path)) << row.name;
        const QString expected = row.startsDirectly
            ? QStringLiteral("start %1 [] in %2").arg(path, m_folder.path())
            : QStringLiteral("open %1").arg(url(path));
        EXPECT_EQ(shell.calls, QStringList{expected}) << row.name;
    }
}

TEST_F(ShellTest, OpenRefusesMissingAndEmptyPaths)
{
    RecordingShell shell;
    EXPECT_FALSE(shell.open(QDir(m_folder.path()).filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(shell.open(QString()));
    EXPECT_FALSE(shell.open(QStringLiteral("   ")));
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(ShellTest, ShellExecuteStartsOnlyWhatCanRunHere)
{
    struct Row
    {
        const char *name;
        Kind kind;
        bool executable;
        bool starts;
    };
    const Row rows[] = {
        {"updater-script", Kind::Script, true, true},
        {"updater-native", Kind::NativeProgram, true, true},
        {"updater-windows", Kind::WindowsProgram, true, false},
        {"updater-not-executable", Kind::Script, false, false},
        {"updater-text", Kind::ExecutableText, true, false},
    };
    for (const Row &row : rows) {
        const QString folder = make(QString::fromLatin1(row.name), Kind::Folder, false);
        const QString program =
            make(QStringLiteral("%1/update.exe").arg(QString::fromLatin1(row.name)), row.kind,
                 row.executable);
        RecordingShell shell;
        const QStringList args{QStringLiteral("/CheckBackground")};
        EXPECT_EQ(shell.shellExecute(program, args, folder), row.starts) << row.name;
        const QStringList expected = row.starts
            ? QStringList{QStringLiteral("start %1 [/CheckBackground] in %2").arg(program, folder)}
            : QStringList{};
        EXPECT_EQ(shell.calls, expected) << row.name;
    }
}

TEST_F(ShellTest, ShellExecuteTakesARelativeFileInTheWorkingFolder)
{
    const QString program = make(QStringLiteral("update.exe"), Kind::Script, true);
    RecordingShell shell;
    EXPECT_TRUE(shell.shellExecute(QStringLiteral("update.exe"), {QStringLiteral("/CheckNow")},
                                   m_folder.path()));
    EXPECT_EQ(
        shell.calls,
        QStringList{QStringLiteral("start %1 [/CheckNow] in %2").arg(program, m_folder.path())});

    RecordingShell missing;
    EXPECT_FALSE(missing.shellExecute(QStringLiteral("absent.exe"), {}, m_folder.path()));
    EXPECT_FALSE(missing.shellExecute(QString(), {}, m_folder.path()));
    EXPECT_TRUE(missing.calls.isEmpty());
}

TEST_F(ShellTest, ShellExecuteRunsTheProgramWithItsArgumentsAndFolder)
{
    // A real start: the script writes what it received where the test can see it. Arguments
    // with spaces and shell characters must arrive untouched (no command shell in between).
    const QString work = make(QStringLiteral("work"), Kind::Folder, false);
    const QString marker = QDir(work).filePath(QStringLiteral("marker"));
    const QString program = QDir(m_folder.path()).filePath(QStringLiteral("update.exe"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "printf '%s|' \"$@\" > marker.tmp\n"
                 "pwd >> marker.tmp\n"
                 "mv marker.tmp marker\n");
    script.close();
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Shell shell;
    ASSERT_TRUE(shell.shellExecute(
        program,
        {QStringLiteral("/CheckBackground"), QStringLiteral("a b"), QStringLiteral("$HOME;`x`")},
        work));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, timeoutMs));
    QFile result(marker);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    const QString expected =
        QStringLiteral("/CheckBackground|a b|$HOME;`x`|%1\n").arg(QDir(work).canonicalPath());
    EXPECT_EQ(QString::fromUtf8(result.readAll()), expected);
}

TEST_F(ShellTest, RunStartsOnlyProgramsAndOpeningWithTheApplicationNeverRuns)
{
    struct Row
    {
        const char *name;
        Kind kind;
        bool executable;
        bool runs;
    };
    const Row rows[] = {
        {"tool.sh", Kind::Script, true, true},
        {"program", Kind::NativeProgram, true, true},
        {"notes.txt", Kind::Document, false, false},
        {"text-with-execute-bit", Kind::ExecutableText, true, false},
        {"setup.exe", Kind::WindowsProgram, true, false},
    };
    for (const Row &row : rows) {
        const QString path = make(QString::fromLatin1(row.name), row.kind, row.executable);
        RecordingShell running;
        EXPECT_EQ(running.run(path), row.runs) << row.name;
        EXPECT_EQ(running.calls,
                  row.runs
                      ? QStringList{QStringLiteral("start %1 [] in %2").arg(path, m_folder.path())}
                      : QStringList{})
            << row.name;
        RecordingShell opening;
        EXPECT_TRUE(opening.openWithDefaultApplication(path)) << row.name;
        EXPECT_EQ(opening.calls, QStringList{QStringLiteral("open %1").arg(url(path))}) << row.name;
    }
    RecordingShell missing;
    const QString absent = QDir(m_folder.path()).filePath(QStringLiteral("absent"));
    EXPECT_FALSE(missing.run(absent));
    EXPECT_FALSE(missing.openWithDefaultApplication(absent));
    EXPECT_TRUE(missing.calls.isEmpty());
}

TEST_F(ShellTest, RunHandsOddNamesToTheProgramWhole)
{
    // Real starts: each script writes the name it was started by into its own folder. Quotes,
    // command substitution, line breaks and a leading dash reach it as they are, and no shell
    // ever sees them (one would have made the file "pwned").
    const QStringList names = {
        QStringLiteral("it's \"quoted\".sh"), QStringLiteral("$(touch pwned).sh"),
        QStringLiteral("two\nlines.sh"),      QStringLiteral("-rf"),
        QStringLiteral("a;b`touch pwned`|c"),
    };
    Shell shell;
    int index = 0;
    for (const QString &name : names) {
        const QString folder = make(QStringLiteral("case%1").arg(++index), Kind::Folder, false);
        const QString program = QDir(folder).filePath(name);
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly)) << name.toStdString();
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > marker.tmp\nmv marker.tmp marker\n");
        script.close();
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        ASSERT_TRUE(shell.run(program)) << name.toStdString();
        const QString marker = QDir(folder).filePath(QStringLiteral("marker"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, timeoutMs))
            << name.toStdString();
        QFile result(marker);
        ASSERT_TRUE(result.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(result.readAll()), program) << name.toStdString();
        EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("pwned"))));
    }
}
