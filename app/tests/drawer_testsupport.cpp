#include "drawer_testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace pindrel::test {

void makeFile(const QString &pPath, qint64 pSize)
{
    QDir().mkpath(QFileInfo(pPath).absolutePath());
    QFile file(pPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(static_cast<int>(pSize), 'x'));
}

void makeFolder(const QString &pPath)
{
    QDir().mkpath(pPath);
}

bool makeFileWithRawName(const QString &pFolder, const QByteArray &pName)
{
    const QByteArray path = QFile::encodeName(pFolder) + '/' + pName;
    const int descriptor = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}

bool removeAll(const QString &pPath)
{
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(pPath).toStdString()),
                                error);
    return !error;
}

bool makeLink(const QString &pTarget, const QString &pLink)
{
    return ::symlink(QFile::encodeName(pTarget).constData(), QFile::encodeName(pLink).constData())
        == 0;
}

bool waitFor(const std::function<bool()> &pCondition, int pTimeoutMs)
{
    return QTest::qWaitFor(pCondition, pTimeoutMs);
}

bool RecordingShell::startDetached(const QString &pProgram, const QStringList &, const QString &)
{
    started.append(pProgram);
    return true;
}

bool RecordingShell::openWithDefaultHandler(const QUrl &pUrl)
{
    opened.append(pUrl);
    return true;
}

bool RecordingShell::launchDesktopEntry(const QString &pPath)
{
    opened.append(QUrl::fromLocalFile(pPath));
    return true;
}

OpenQuestions::ScriptAnswer ScriptedQuestions::askAboutScript(QWidget *pParent,
                                                              const QString &pPath)
{
    asked.append(QStringLiteral("script ") + QFileInfo(pPath).fileName());
    if (deleteOwner)
        delete pParent;
    return scriptAnswer;
}

bool ScriptedQuestions::askAboutLauncher(QWidget *pParent, const QString &pPath,
                                         const QString &pReason, const QString &pCommand)
{
    asked.append(
        QStringLiteral("launcher %1: %2 | %3").arg(QFileInfo(pPath).fileName(), pReason, pCommand));
    if (deleteOwner)
        delete pParent;
    return startLauncher;
}

} // namespace pindrel::test
