#pragma once

// The folders the desktop shares with the network: Samba's user shares, one small file per
// share in the user-share folder, whose "path=" line names the shared folder. A machine without
// Samba, or a folder this account may not read, shares nothing.
//
// The folder is looked at (one stat) at most every quarter of a second and read again only when
// it changed (its modification time), so that a share made or ended shows in the entries
// inserted from then on. User-interface thread.

#include <QtCore/QDateTime>
#include <QtCore/QElapsedTimer>
#include <QtCore/QSet>
#include <QtCore/QString>

#include <memory>

namespace vexlo {

class UserShares
{
public:
    // Where Samba keeps the user shares on Debian and most other systems.
    static QString systemFolder();

    explicit UserShares(QString pFolder = systemFolder());

    // The one object for pFolder in this process, shared by every list window that asks, so
    // that the shares are read once rather than once per window.
    static std::shared_ptr<const UserShares> of(const QString &pFolder = systemFolder());

    // True when pPath (as the namespace gives paths) is one of the shared folders.
    bool isShared(const QString &pPath) const;
    // True when a shared folder has the display name pName (the last part of its path, as the
    // namespace shows names), so that a caller can spare itself making paths for the others.
    bool mayBeShared(const QString &pName) const;

private:
    void refresh() const;

    static constexpr qint64 kLookAgainMs = 250;

    QString m_folder;
    mutable QElapsedTimer m_lookedAt;
    mutable QDateTime m_readAt; // the folder's modification time when it was last read
    mutable bool m_read = false;
    mutable QSet<QString> m_paths;
    mutable QSet<QString> m_names;
};

} // namespace vexlo
