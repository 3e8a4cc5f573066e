#pragma once

// The folders the desktop shares with the network: Samba's user shares, one small file per
// share in the user-share folder, whose "path=" line names the shared folder. A machine without
// Samba, or a folder this account may not read, shares nothing.
//
// The folder is read again only when it changed (its modification time), so asking once per
// inserted entry costs one stat. User-interface thread.

#include <QtCore/QDateTime>
#include <QtCore/QSet>
#include <QtCore/QString>

namespace vexlo {

class UserShares
{
public:
    // Where Samba keeps the user shares on Debian and most other systems.
    static QString systemFolder();

    explicit UserShares(QString pFolder = systemFolder());

    // True when pPath (as the namespace gives paths) is one of the shared folders.
    bool isShared(const QString &pPath) const;
    // True when any folder is shared (so that a caller can spare itself making paths).
    bool hasShares() const;

private:
    void refresh() const;

    QString m_folder;
    mutable QDateTime m_readAt; // the folder's modification time when it was last read
    mutable bool m_read = false;
    mutable QSet<QString> m_paths;
};

} // namespace vexlo
