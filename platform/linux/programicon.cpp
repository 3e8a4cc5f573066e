#include "platform/programicon.h"

#include "linux/gio.h"
#include "linux/installedlaunchers.h"
#include "platform/filenamecodec.h"
#include "platform/shell.h"
#include "platform/themeiconcache.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QFileInfo>
#include <QtCore/QHash>
#include <QtCore/QMimeDatabase>
#include <QtGui/QGuiApplication>

#include <sys/stat.h>

namespace pindrel::platform {

namespace {

// A picture file's icon, kept while the file keeps its size and modification time.
struct PictureIcon
{
    qint64 size = -1;
    qint64 modified = 0;
    QIcon icon;
};

QHash<QString, PictureIcon> &pictureIcons()
{
    static QHash<QString, PictureIcon> icons;
    return icons;
}

bool nativeStat(const QString &pPath, struct stat &pInfo)
{
    return ::stat(encodeFileName(pPath).constData(), &pInfo) == 0;
}

QIcon pictureFile(const QString &pPath)
{
    struct stat info = {};
    if (!nativeStat(pPath, info) || !S_ISREG(info.st_mode))
        return {};
    const qint64 modified =
        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    PictureIcon &known = pictureIcons()[pPath];
    if (known.size != static_cast<qint64>(info.st_size) || known.modified != modified) {
        known = PictureIcon{static_cast<qint64>(info.st_size), modified, QIcon(pPath)};
        // A file that is no picture gives an icon without sizes: none.
        if (known.icon.availableSizes().isEmpty())
            known.icon = QIcon();
    }
    return known.icon;
}

// The Icon entry of a launcher file, in the user's language where it has one.
QString launcherIconEntry(const QString &pPath)
{
    GKeyFile *file = g_key_file_new();
    QString icon;
    if (g_key_file_load_from_file(file, encodeFileName(pPath).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        gchar *entry = g_key_file_get_locale_string(file, G_KEY_FILE_DESKTOP_GROUP,
                                                    G_KEY_FILE_DESKTOP_KEY_ICON, nullptr, nullptr);
        if (entry != nullptr)
            icon = decodeFileName(QByteArray(entry)).trimmed();
        g_free(entry);
    }
    g_key_file_free(file);
    return icon;
}

QIcon mimeTypeIcon(const QString &pPath)
{
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(pPath);
    QIcon icon = ThemeIconCache::themed(type.iconName());
    if (icon.isNull())
        icon = ThemeIconCache::themed(type.genericIconName());
    if (icon.isNull())
        icon = ThemeIconCache::provided(QAbstractFileIconProvider::File);
    return icon;
}

QIcon launcherIcon(const QString &pPath)
{
    const QIcon icon = ProgramIcon::fromIconEntry(launcherIconEntry(pPath));
    return icon.isNull() ? mimeTypeIcon(pPath) : icon;
}

QIcon programIcon(const QString &pPath)
{
    QIcon icon = ProgramIcon::fromIconEntry(InstalledLaunchers::iconFor(pPath));
    if (icon.isNull())
        icon = ThemeIconCache::themed(QStringLiteral("application-x-executable"));
    if (icon.isNull())
        icon = ThemeIconCache::provided(QAbstractFileIconProvider::File);
    return icon;
}

} // namespace

QIcon ProgramIcon::fromIconEntry(const QString &pIcon)
{
    if (pIcon.isEmpty())
        return {};
    if (pIcon.startsWith(u'/'))
        return pictureFile(pIcon);
    QIcon icon = ThemeIconCache::themed(pIcon);
    if (!icon.isNull())
        return icon;
    // Many launchers name their theme icon with the picture's extension.
    for (const char *extension : {".png", ".svg", ".xpm"}) {
        if (pIcon.endsWith(QLatin1String(extension)))
            return ThemeIconCache::themed(pIcon.chopped(4));
    }
    return {};
}

QIcon ProgramIcon::forFile(const QString &pPath)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return {};
    struct stat info = {};
    if (pPath.trimmed().isEmpty() || !nativeStat(pPath, info))
        return {};
    if (S_ISDIR(info.st_mode))
        return ThemeIconCache::provided(QAbstractFileIconProvider::Folder);
    if (Shell::isDesktopEntry(pPath))
        return launcherIcon(pPath);
    if (Shell::isRunnable(pPath))
        return programIcon(pPath);
    return mimeTypeIcon(pPath);
}

} // namespace pindrel::platform
