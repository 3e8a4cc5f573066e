#include "usershares.h"

#include "platform/filenamecodec.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QHash>

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

std::shared_ptr<const UserShares> UserShares::of(const QString &pFolder)
{
    // Kept for the life of the process: a program asks for one folder or two.
    static QHash<QString, std::shared_ptr<const UserShares>> shares;
    std::shared_ptr<const UserShares> &known = shares[pFolder];
    if (!known)
        known = std::make_shared<UserShares>(pFolder);
    return known;
}

bool UserShares::isShared(const QString &pPath) const
{
    if (m_folder.isEmpty() || pPath.isEmpty())
        return false;
    refresh();
    if (m_paths.isEmpty())
        return false;
    // The namespace gives clean absolute paths; only a trailing separator may differ.
    return m_paths.contains(pPath.size() > 1 && pPath.endsWith(u'/') ? pPath.chopped(1) : pPath);
}

bool UserShares::mayBeShared(const QString &pName) const
{
    if (m_folder.isEmpty() || pName.isEmpty())
        return false;
    refresh();
    return m_names.contains(pName);
}

void UserShares::refresh() const
{
    // A list window asks once per entry it inserts; the folder is looked at again only after a
    // moment, so that a population costs one look rather than hundreds.
    if (m_read && m_lookedAt.isValid() && !m_lookedAt.hasExpired(kLookAgainMs))
        return;
    m_lookedAt.start();
    const QFileInfo folder(m_folder);
    const QDateTime modified = folder.exists() ? folder.lastModified() : QDateTime();
    if (m_read && modified == m_readAt)
        return;
    m_read = true;
    m_readAt = modified;
    m_paths.clear();
    m_names.clear();
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
            if (!line.startsWith("path="))
                continue;
            const QString path = normalised(pindrel::platform::decodeFileName(line.mid(5)));
            m_paths.insert(path);
            m_names.insert(pindrel::platform::displayFileName(path.section(u'/', -1)));
        }
    }
}

} // namespace vexlo
