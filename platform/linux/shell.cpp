#include "platform/shell.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>

namespace pindrel::platform {

Shell::~Shell() = default;

bool Shell::isRunnable(const QString &pPath)
{
    const QFileInfo info(pPath);
    if (!info.isFile() || !info.isExecutable())
        return false;
    // What the kernel runs by itself: a native program or a script naming its interpreter. A
    // Windows program ("MZ"), or a document that merely has the execute bit (common on
    // shared drives), is not.
    QFile file(pPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head
        == QByteArrayLiteral("\x7f"
                             "ELF")
        || head.startsWith("#!");
}

bool Shell::open(const QString &pPath)
{
    if (pPath.trimmed().isEmpty())
        return false;
    const QFileInfo info(pPath);
    if (!info.exists())
        return false;
    if (isRunnable(pPath)) {
        // Started in its own folder, as a program started from a file manager would be.
        return startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    }
    return openWithDefaultHandler(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool Shell::shellExecute(const QString &pFile, const QStringList &pArgs, const QString &pWorkDir)
{
    if (pFile.trimmed().isEmpty())
        return false;
    QString program = pFile;
    if (QFileInfo(pFile).isRelative() && !pWorkDir.isEmpty())
        program = QDir(pWorkDir).filePath(pFile);
    if (!isRunnable(program))
        return false;
    return startDetached(QFileInfo(program).absoluteFilePath(), pArgs, pWorkDir);
}

bool Shell::openUrl(const QUrl &pUrl)
{
    if (!pUrl.isValid() || pUrl.isEmpty())
        return false;
    return openWithDefaultHandler(pUrl);
}

bool Shell::run(const QString &pPath)
{
    if (pPath.trimmed().isEmpty() || !isRunnable(pPath))
        return false;
    const QFileInfo info(pPath);
    return startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}

bool Shell::openWithDefaultApplication(const QString &pPath)
{
    if (pPath.trimmed().isEmpty() || !QFileInfo::exists(pPath))
        return false;
    return openWithDefaultHandler(QUrl::fromLocalFile(QFileInfo(pPath).absoluteFilePath()));
}

bool Shell::startDetached(const QString &pProgram, const QStringList &pArgs,
                          const QString &pWorkDir)
{
    // QProcess executes the program itself; no command shell sees the arguments.
    return QProcess::startDetached(pProgram, pArgs, pWorkDir);
}

bool Shell::openWithDefaultHandler(const QUrl &pUrl)
{
    return QDesktopServices::openUrl(pUrl);
}

} // namespace pindrel::platform
