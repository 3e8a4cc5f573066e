#include "filekinds.h"

#include "platform/themeiconcache.h"

#include <QCoreApplication>
#include <QFileIconProvider>
#include <QMimeType>
#include <QMutexLocker>
#include <QThread>

namespace pindrel {

namespace {

// Past this many extensions the table starts again, so that odd names cannot grow it without
// bound.
constexpr qsizetype kMaxExtensions = 4096;

QString plainFileType()
{
    return QStringLiteral("application/octet-stream");
}

QIcon themedOr(const QString &pName, const QIcon &pFallback)
{
    const QIcon icon = platform::ThemeIconCache::themed(pName);
    return icon.isNull() ? pFallback : icon;
}

} // namespace

FileKinds::FileKinds()
{
    if (QCoreApplication *application = QCoreApplication::instance()) {
        moveToThread(application->thread());
        // This object outlives the application; its timer must not.
        connect(application, &QCoreApplication::aboutToQuit, &m_lookUpTimer, &QTimer::stop);
    }
    m_lookUpTimer.setSingleShot(true);
    m_lookUpTimer.setInterval(0);
    connect(&m_lookUpTimer, &QTimer::timeout, this, &FileKinds::lookUpNextIcon);
}

FileKinds &FileKinds::shared()
{
    static FileKinds kinds;
    return kinds;
}

QString FileKinds::mimeNameOf(const QString &pName)
{
    const qsizetype dot = pName.indexOf(QLatin1Char('.'), 1);
    if (dot <= 0)
        return plainFileType();
    const QString extension = pName.mid(dot).toLower();
    const auto known = m_byExtension.constFind(extension);
    if (known != m_byExtension.constEnd())
        return *known;
    const QString name = m_mimeTypes.mimeTypeForFile(pName, QMimeDatabase::MatchExtension).name();
    if (m_byExtension.size() >= kMaxExtensions)
        m_byExtension.clear();
    m_byExtension.insert(extension, name);
    return name;
}

QString FileKinds::typeName(const QString &pName, bool pFolder)
{
    if (pFolder)
        return QCoreApplication::translate("FileKinds", "Folder");
    QMutexLocker locker(&m_lock);
    const QString mime = mimeNameOf(pName);
    const auto known = m_typeNames.constFind(mime);
    if (known != m_typeNames.constEnd())
        return *known;
    return *m_typeNames.insert(mime, m_mimeTypes.mimeTypeForName(mime).comment());
}

QIcon FileKinds::icon(const QString &pName, bool pFolder)
{
    QMutexLocker locker(&m_lock);
    static const QFileIconProvider styleIcons;
    if (m_fileIcon.isNull())
        m_fileIcon = styleIcons.icon(QAbstractFileIconProvider::File);
    if (pFolder) {
        if (m_folderIcon.isNull())
            m_folderIcon = themedOr(QStringLiteral("folder"),
                                    styleIcons.icon(QAbstractFileIconProvider::Folder));
        return m_folderIcon;
    }
    const QString mime = mimeNameOf(pName);
    const auto known = m_icons.constFind(mime);
    if (known != m_icons.constEnd())
        return *known;
    if (!m_iconsToLookUp.contains(mime)) {
        m_iconsToLookUp.append(mime);
        m_lookUpTimer.start();
    }
    return m_fileIcon;
}

void FileKinds::lookUpNextIcon()
{
    {
        QMutexLocker locker(&m_lock);
        if (m_iconsToLookUp.isEmpty())
            return;
        const QString mime = m_iconsToLookUp.takeFirst();
        const QMimeType type = m_mimeTypes.mimeTypeForName(mime);
        m_icons.insert(mime,
                       themedOr(type.iconName(), themedOr(type.genericIconName(), m_fileIcon)));
        if (!m_iconsToLookUp.isEmpty())
            m_lookUpTimer.start();
    }
    emit iconsChanged();
}

} // namespace pindrel
