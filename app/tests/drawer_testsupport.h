#pragma once

// Helpers of the drawer tests: real folders in a temporary place, files with raw byte names,
// links, and a shell that records what it would have opened instead of opening it.

#include "drawer/openquestions.h"

#include "platform/shell.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString &pText, std::ostream *pStream)
{
    *pStream << '"' << pText.toStdString() << '"';
}

namespace pindrel::test {

// Creates pPath (and its folders) holding pSize bytes.
void makeFile(const QString &pPath, qint64 pSize = 0);
void makeFolder(const QString &pPath);
// Creates a file whose name is the raw bytes pName inside pFolder; returns false on failure.
bool makeFileWithRawName(const QString &pFolder, const QByteArray &pName);
// Removes pPath and everything below it, also names Qt cannot see (QDir and QTemporaryDir
// leave those behind).
bool removeAll(const QString &pPath);
// A symbolic link at pLink pointing at pTarget (which need not exist).
bool makeLink(const QString &pTarget, const QString &pLink);

// Runs the event loop until pCondition holds or pTimeoutMs pass; returns pCondition().
bool waitFor(const std::function<bool()> &pCondition, int pTimeoutMs = 5000);

class RecordingShell : public platform::Shell
{
public:
    QStringList started;
    QList<QUrl> opened;

protected:
    bool startDetached(const QString &pProgram, const QStringList &pArgs,
                       const QString &pWorkDir) override;
    bool openWithDefaultHandler(const QUrl &pUrl) override;
    // A launcher is handed to the desktop too: noted among the opened files.
    bool launchDesktopEntry(const QString &pPath) override;
};

// Answers the file list's questions as a test says, and notes each one asked.
class ScriptedQuestions : public OpenQuestions
{
public:
    ScriptAnswer scriptAnswer = ScriptAnswer::Cancel;
    bool startLauncher = false;
    bool deleteOwner = false; // the owner window goes away while the question is up
    QStringList asked; // "script NAME" or "launcher NAME: REASON | COMMAND"

    ScriptAnswer askAboutScript(QWidget *pParent, const QString &pPath) override;
    bool askAboutLauncher(QWidget *pParent, const QString &pPath, const QString &pReason,
                          const QString &pCommand) override;
};

} // namespace pindrel::test
