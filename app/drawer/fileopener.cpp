#include "fileopener.h"

#include "drawer/openquestions.h"

#include "platform/shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPointer>
#include <QWidget>

#include <unistd.h>

namespace pindrel {

namespace {

// A launcher's group and keys lie well within this; a bigger file is read no further.
constexpr qint64 kLauncherReadLimit = 64 * 1024;

bool isLauncher(const QString &pPath)
{
    // By name first, by content ("[Desktop Entry]") when the name says nothing.
    static const QMimeDatabase database;
    return database.mimeTypeForFile(pPath).inherits(QStringLiteral("application/x-desktop"));
}

QString tr(const char *pText)
{
    return QCoreApplication::translate("pindrel::FileOpener", pText);
}

bool startsWithInterpreterLine(const QString &pPath)
{
    QFile file(pPath);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "#!";
}

} // namespace

FileOpener::Kind FileOpener::kindOf(const QString &pPath)
{
    const QFileInfo info(pPath);
    if (!info.isFile())
        return Kind::Document;
    if (isLauncher(pPath))
        return Kind::Launcher;
    if (platform::Shell::isRunnable(pPath))
        return startsWithInterpreterLine(pPath) ? Kind::Script : Kind::Program;
    return Kind::Document;
}

QString FileOpener::launcherDistrust(const QString &pPath)
{
    const QFileInfo info(pPath);
    const bool executable = info.isExecutable();
    const bool own = info.ownerId() == ::geteuid();
    if (executable && own)
        return {};
    if (!executable && !own)
        return tr("it is not executable and belongs to another user");
    return executable ? tr("it belongs to another user") : tr("it is not executable");
}

QString FileOpener::launcherCommand(const QString &pPath)
{
    QFile file(pPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(kLauncherReadLimit).split('\n');
    // Only the main group counts; keys are case-sensitive there.
    bool inEntry = false;
    QByteArray exec;
    QByteArray url;
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const int equals = line.indexOf('=');
        if (!inEntry || equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        if (key == "Exec" && exec.isEmpty())
            exec = line.mid(equals + 1).trimmed();
        else if (key == "URL" && url.isEmpty())
            url = line.mid(equals + 1).trimmed();
    }
    return QString::fromUtf8(exec.isEmpty() ? url : exec);
}

bool FileOpener::open(QWidget *pParent, const QString &pPath, platform::Shell &pShell,
                      OpenQuestions &pQuestions)
{
    const QPointer<QWidget> parent(pParent);
    // The window may close while a question is up, taking the shell object with it.
    const auto gone = [&] { return pParent != nullptr && parent.isNull(); };
    switch (kindOf(pPath)) {
    case Kind::Program:
    case Kind::Document:
        return pShell.open(pPath);
    case Kind::Script: {
        const OpenQuestions::ScriptAnswer answer = pQuestions.askAboutScript(pParent, pPath);
        if (gone())
            return false;
        if (answer == OpenQuestions::ScriptAnswer::Run)
            return pShell.run(pPath);
        if (answer == OpenQuestions::ScriptAnswer::Open)
            return pShell.openWithDefaultApplication(pPath);
        return false;
    }
    case Kind::Launcher: {
        const QString distrust = launcherDistrust(pPath);
        if (!distrust.isEmpty()) {
            const bool start =
                pQuestions.askAboutLauncher(pParent, pPath, distrust, launcherCommand(pPath));
            if (gone() || !start)
                return false;
        }
        return pShell.open(pPath);
    }
    }
    return false;
}

} // namespace pindrel
