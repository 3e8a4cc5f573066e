#include "platform/shellfolders.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

#include <unistd.h>

namespace pindrel::platform {

namespace {

// The folder if it exists, clean and absolute; "" otherwise, so that callers skip it.
QString existingFolder(const QString &pPath)
{
    if (pPath.isEmpty())
        return {};
    const QFileInfo info(pPath);
    if (!info.isDir())
        return {};
    return QDir::cleanPath(info.absoluteFilePath());
}

// An XDG user folder. xdg-user-dirs marks a folder the user does not want by pointing it at
// the home folder itself, and Qt falls back to the home folder as well: neither is the
// special folder asked for.
QString userFolder(QStandardPaths::StandardLocation pLocation)
{
    const QString path = existingFolder(QStandardPaths::writableLocation(pLocation));
    if (path.isEmpty() || path == QDir::cleanPath(QDir::homePath()))
        return {};
    return path;
}

// Network places are mounted by the desktop's virtual file system under the runtime folder.
QString networkFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QStringLiteral("/run/user/%1").arg(::getuid());
    return existingFolder(QDir(runtime).filePath(QStringLiteral("gvfs")));
}

} // namespace

QString specialFolderPath(int pCsidl)
{
    switch (pCsidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
        return userFolder(QStandardPaths::DesktopLocation);
    case CSIDL_PERSONAL:
    case CSIDL_MYDOCUMENTS:
        return userFolder(QStandardPaths::DocumentsLocation);
    case CSIDL_MYMUSIC:
        return userFolder(QStandardPaths::MusicLocation);
    case CSIDL_MYVIDEO:
        return userFolder(QStandardPaths::MoviesLocation);
    case CSIDL_MYPICTURES:
        return userFolder(QStandardPaths::PicturesLocation);
    case CSIDL_PROFILE:
        return existingFolder(QDir::homePath());
    case CSIDL_NETHOOD:
        return networkFolder();
    case CSIDL_APPDATA:
        return existingFolder(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    case CSIDL_LOCAL_APPDATA:
        return existingFolder(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    default:
        // Virtual folders (control panel, printers, recycle bin, the computer) and folders of
        // another system (start menu, program files, system folder) have no counterpart.
        return {};
    }
}

} // namespace pindrel::platform
