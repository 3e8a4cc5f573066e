#include "platform/themeiconcache.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QHash>
#include <QtCore/QSettings>
#include <QtCore/QStandardPaths>
#include <QtGui/QGuiApplication>

#include <atomic>

namespace pindrel::platform {

namespace {

struct Cache
{
    QString themeName;
    QStringList searchPaths;
    QHash<QString, QIcon> byName;
    QHash<int, QIcon> provided;
};

std::atomic<int> g_lookups{0};

bool haveGui()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

// The cache of the current theme: emptied when the theme or where themes are looked for
// changed since the last call (tests and the desktop's settings may switch them).
Cache &current()
{
    static Cache cache;
    const QString theme = QIcon::themeName();
    const QStringList paths = QIcon::themeSearchPaths();
    if (cache.themeName != theme || cache.searchPaths != paths) {
        cache.byName.clear();
        cache.provided.clear();
        cache.themeName = theme;
        cache.searchPaths = paths;
    }
    return cache;
}

// A theme name from a settings file names a folder: nothing that could lead elsewhere.
bool plausibleThemeName(const QString &pName)
{
    return !pName.isEmpty() && !pName.contains(u'/') && pName != QLatin1String(".")
        && pName != QLatin1String("..");
}

bool installed(const QString &pName)
{
    if (!plausibleThemeName(pName))
        return false;
    const QStringList paths = QIcon::themeSearchPaths();
    for (const QString &path : paths) {
        if (QFileInfo::exists(path + u'/' + pName + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

QString gtkIconTheme(const QString &pSettingsFile)
{
    if (!QFileInfo::exists(pSettingsFile))
        return {};
    const QSettings settings(pSettingsFile, QSettings::IniFormat);
    QString name = settings.value(QStringLiteral("Settings/gtk-icon-theme-name")).toString();
    name = name.trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2).trimmed();
    return name;
}

QStringList gtkSettingsFiles()
{
    QStringList files;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!user.isEmpty())
        files << user + QStringLiteral("/gtk-3.0/settings.ini");
    QString systemDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (systemDirs.isEmpty())
        systemDirs = QStringLiteral("/etc/xdg");
    const QStringList dirs = systemDirs.split(u':', Qt::SkipEmptyParts);
    for (const QString &dir : dirs)
        files << dir + QStringLiteral("/gtk-3.0/settings.ini");
    files << QStringLiteral("/etc/gtk-3.0/settings.ini");
    return files;
}

} // namespace

QIcon ThemeIconCache::themed(const QString &pName)
{
    if (!haveGui() || pName.isEmpty())
        return {};
    Cache &cache = current();
    const auto known = cache.byName.constFind(pName);
    if (known != cache.byName.constEnd())
        return *known;
    ++g_lookups;
    QIcon icon = QIcon::fromTheme(pName);
    // Qt answers a missing name with the icon of a shortened one ("folder" for
    // "folder-open") or with an empty engine; only the exact name counts, as for
    // QIcon::hasThemeIcon.
    if (icon.name() != pName || icon.availableSizes().isEmpty())
        icon = QIcon();
    cache.byName.insert(pName, icon);
    return icon;
}

QIcon ThemeIconCache::firstThemed(std::initializer_list<const char *> pNames)
{
    for (const char *name : pNames) {
        QIcon icon = themed(QString::fromLatin1(name));
        if (!icon.isNull())
            return icon;
    }
    return {};
}

QIcon ThemeIconCache::provided(QAbstractFileIconProvider::IconType pType)
{
    if (!haveGui())
        return {};
    Cache &cache = current();
    const int key = static_cast<int>(pType);
    const auto known = cache.provided.constFind(key);
    if (known != cache.provided.constEnd())
        return *known;
    ++g_lookups;
    const QIcon icon = QAbstractFileIconProvider().icon(pType);
    cache.provided.insert(key, icon);
    return icon;
}

int ThemeIconCache::lookups()
{
    return g_lookups.load();
}

QString ThemeIconCache::adoptDesktopTheme()
{
    const QString now = QIcon::themeName();
    if (!now.isEmpty() && now != QLatin1String("hicolor"))
        return now;
    const QStringList files = gtkSettingsFiles();
    for (const QString &file : files) {
        const QString name = gtkIconTheme(file);
        if (name.isEmpty())
            continue;
        // The first file that names a theme decides, as for the desktop's own programs; a
        // theme that is not installed leaves the default below.
        if (installed(name)) {
            QIcon::setThemeName(name);
            return name;
        }
        break;
    }
    const QString fallback = QStringLiteral("Adwaita");
    if (installed(fallback))
        QIcon::setThemeName(fallback);
    return QIcon::themeName();
}

} // namespace pindrel::platform
