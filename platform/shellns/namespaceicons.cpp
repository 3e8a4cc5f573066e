#include "shellns/namespaceicons.h"

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
    for (const char *name : pNames) {
        const QString themeName = QString::fromLatin1(name);
        if (QIcon::hasThemeIcon(themeName))
            return QIcon::fromTheme(themeName);
    }
    return QAbstractFileIconProvider().icon(pFallback);
}

QIcon forFile(const QString &pPath)
{
    if (!available())
        return {};
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(pPath);
    for (const QString &name : {type.iconName(), type.genericIconName()}) {
        if (!name.isEmpty() && QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return themed({"text-x-generic", "unknown"}, QAbstractFileIconProvider::File);
}

} // namespace pindrel::platform::namespaceicons
