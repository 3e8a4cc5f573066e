#include "shellns/namespaceicons.h"

#include "platform/themeiconcache.h"

#include <QtCore/QMimeDatabase>
#include <QtGui/QGuiApplication>

namespace pindrel::platform::namespaceicons {

bool available()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

QIcon themed(std::initializer_list<const char *> pNames,
             QAbstractFileIconProvider::IconType pFallback)
{
    if (!available())
        return {};
    QIcon icon = ThemeIconCache::firstThemed(pNames);
    return icon.isNull() ? ThemeIconCache::provided(pFallback) : icon;
}

QIcon forFile(const QString &pPath)
{
    if (!available())
        return {};
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(pPath);
    for (const QString &name : {type.iconName(), type.genericIconName()}) {
        QIcon icon = ThemeIconCache::themed(name);
        if (!icon.isNull())
            return icon;
    }
    return themed({"text-x-generic", "unknown"}, QAbstractFileIconProvider::File);
}

} // namespace pindrel::platform::namespaceicons
