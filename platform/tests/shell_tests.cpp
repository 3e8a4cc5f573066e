// What the shell object does with folders, documents and programs: which way out it takes is
// seen through a recording subclass; one case really starts a program.

#include "platform/filenamecodec.h"
#include "platform/shell.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QUrl>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

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

    bool launchDesktopEntry(const QString &pPath) override
    {
        calls << QStringLiteral("launch %1").arg(pPath);
        return true;
    }
};

enum class Kind {
    Folder,
    Document,
    Script,
    NativeProgram,
    WindowsProgram,
    ExecutableText,
    Launcher
};

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
        case Kind::Launcher:
            // Some launchers carry a "#!" line and the execute bit of their own.
            file.write("#!/usr/bin/env xdg-open\n[Desktop Entry]\nType=Application\n"
                       "Name=Tool\nExec=true\n");
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
        {"tool.desktop", Kind::Launcher, false, false},
        {"runnable.desktop", Kind::Launcher, true, false},
        {"folder.desktop", Kind::Folder, false, false},
    };
    for (const Row &row : rows) {
        RecordingShell shell;
        const QString path = make(QString::fromLatin1(row.name), row.kind, row.executable);
        ASSERT_FALSE(path.isEmpty()) << row.name;
        EXPECT_TRUE(shell.open(path)) << row.name;
        QString expected = row.startsDirectly
            ? QStringLiteral("start %1 [] in %2").arg(path, m_folder.path())
            : QStringLiteral("open %1").arg(url(path));
        if (row.kind == Kind::Launcher)
            expected = QStringLiteral("launch %1").arg(path);
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

namespace {

// A file made from its name's bytes, which QFile could not keep when they are not UTF-8.
bool writeNative(const QByteArray &pPath, const QByteArray &pContent, mode_t pMode)
{
    const int descriptor = ::open(pPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, pMode);
    if (descriptor < 0)
        return false;
    const bool written =
        ::write(descriptor, pContent.constData(), static_cast<size_t>(pContent.size()))
        == pContent.size();
    return ::close(descriptor) == 0 && written;
}

QByteArray readWhenThere(const QString &pPath)
{
    if (!QTest::qWaitFor([&] { return QFile::exists(pPath); }, timeoutMs))
        return {};
    QFile file(pPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Names a command shell would split, expand or take as options, and a name that is not
// UTF-8: the program started is the file with exactly that name, and nothing else runs.
TEST_F(ShellTest, OpenStartsAProgramByItsExactName)
{
    struct Row
    {
        const char *name;
        QByteArray fileName;
    };
    const Row rows[] = {
        {"spaces", "my tool"},
        {"quotes", "it's \"quoted\""},
        {"substitution", "$(touch pwned)`touch pwned`"},
        {"newline", "two\nlines"},
        {"leading_dash", "-rf"},
        {"not_utf8", "caf\xe9\xff"},
    };
    const QString marker = QDir(m_folder.path()).filePath(QStringLiteral("marker"));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(marker);
        const QByteArray path = QFile::encodeName(m_folder.path()) + '/' + row.fileName;
        ASSERT_TRUE(writeNative(path,
                                "#!/bin/sh\nprintf '%s' \"$0\" > \"" + QFile::encodeName(marker)
                                    + ".tmp\"\nmv \"" + QFile::encodeName(marker) + ".tmp\" \""
                                    + QFile::encodeName(marker) + "\"\n",
                                0700));
        Shell shell;
        ASSERT_TRUE(shell.open(pindrel::platform::decodeFileName(path)));
        EXPECT_EQ(readWhenThere(marker), path);
        ::unlink(path.constData());
    }
    EXPECT_FALSE(QFile::exists(QDir(m_folder.path()).filePath(QStringLiteral("pwned"))));
}

TEST_F(ShellTest, LauncherStartsItsExecInItsFolderWithoutFiles)
{
    const QString work = make(QStringLiteral("work"), Kind::Folder, false);
    const QString script = QDir(m_folder.path()).filePath(QStringLiteral("tool"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > marker.tmp\npwd >> marker.tmp\n"
               "mv marker.tmp marker\n");
    file.close();
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString launcher = QDir(m_folder.path()).filePath(QStringLiteral("tool.desktop"));
    QFile entry(launcher);
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Tool\nExec=" + QFile::encodeName(script)
                + " %F --flag\nPath=" + QFile::encodeName(work) + "\nTerminal=false\n");
    entry.close();

    Shell shell;
    ASSERT_TRUE(shell.open(launcher));
    EXPECT_EQ(QString::fromUtf8(readWhenThere(QDir(work).filePath(QStringLiteral("marker")))),
              QStringLiteral("1|--flag|%1\n").arg(QDir(work).canonicalPath()));
}

TEST_F(ShellTest, BrokenLauncherStartsNothing)
{
    const QString launcher = make(QStringLiteral("broken.desktop"), Kind::Document, false);
    Shell shell;
    EXPECT_FALSE(shell.open(launcher));
}
