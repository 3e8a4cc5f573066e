#include "usershares.h"

#include "platform/filenamecodec.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

namespace vexlo {

namespace {

QString normalised(const QString &pPath)
{
    QString path = QDir::cleanPath(pPath);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

QString UserShares::systemFolder()
{
    return QStringLiteral("/var/lib/samba/usershares");
}

UserShares::UserShares(QString pFolder)
    : m_folder(std::move(pFolder))
{ }

bool UserShares::isShared(const QString &pPath) const
{
    if (m_folder.isEmpty() || pPath.isEmpty())
        return false;
    refresh();
    return !m_paths.isEmpty() && m_paths.contains(normalised(pPath));
}

bool UserShares::hasShares() const
{
    if (m_folder.isEmpty())
        return false;
    refresh();
    return !m_paths.isEmpty();
}

void UserShares::refresh() const
{
    const QFileInfo folder(m_folder);
    const QDateTime modified = folder.exists() ? folder.lastModified() : QDateTime();
    if (m_read && modified == m_readAt)
        return;
    m_read = true;
    m_readAt = modified;
    m_paths.clear();
    if (!modified.isValid())
        return;
    // Each share's file holds "key=value" lines; "path" is the folder, written by the share
    // tools as its bytes.
    const QStringList shares = QDir(m_folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &share : shares) {
        QFile file(m_folder + u'/' + share);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine(64 * 1024).trimmed();
            if (line.startsWith("path="))
                m_paths.insert(normalised(pindrel::platform::decodeFileName(line.mid(5))));
        }
    }
}

} // namespace vexlo
