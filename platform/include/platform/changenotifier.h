#pragma once

// Changes in the file system and in the mount table, as Qt signals.
//
// Folders are watched through one inotify instance; the mount table (by default
// /proc/self/mounts) is re-read whenever the kernel reports it changed, and the mount points
// that appeared or went away are reported. All signals are emitted from the event loop of the
// notifier's thread; paths are absolute and clean (QDir::cleanPath), decoded with
// decodeFileName.

#include "platform/platformexport.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT ChangeNotifier : public QObject
{
    Q_OBJECT

public:
    // The system's mount table.
    static QString defaultMountTablePath();

    // pMountTablePath: a file in /proc/self/mounts format. A file under /proc is watched for
    // the kernel's "changed" flag; any other file (tests) is watched as an ordinary file that is
    // rewritten in place. The table is read once here, so that only later changes are reported.
    explicit ChangeNotifier(const QString &pMountTablePath = defaultMountTablePath(),
                            QObject *pParent = nullptr);
    ~ChangeNotifier() override;

    // False when inotify could not be set up; folder watching then fails, the mount table is
    // still followed.
    bool isValid() const;

    // Watches pFolder and, when pDepth > 0, its subfolders down to pDepth levels below it
    // (folders created later inside that range are watched as they appear). Watching a folder
    // again replaces its depth. False when pFolder is not a readable folder or inotify refused.
    bool watchFolder(const QString &pFolder, int pDepth = 0);

    // Stops watching pFolder and everything that was watched because of it.
    void unwatchFolder(const QString &pFolder);

    // Every folder watched at the moment (roots and the subfolders below them), sorted.
    QStringList watchedFolders() const;

    // Reads the mount table now and reports the differences (normally done on the table's change
    // notification).
    void rescanMounts();

Q_SIGNALS:
    // A folder appeared inside a watched folder (created, or moved in from outside).
    void folderCreated(const QString &pPath);
    // A folder went away from a watched folder (deleted, or moved out), or a watched root was
    // deleted.
    void folderRemoved(const QString &pPath);
    // An entry's contents or attributes changed (written and closed, permissions, times).
    void itemUpdated(const QString &pPath);
    // A folder was given a new name or moved, both places being watched.
    void folderRenamed(const QString &pOldPath, const QString &pNewPath);
    // A mount point appeared in / disappeared from the mount table.
    void mediaInserted(const QString &pMountPoint);
    void mediaRemoved(const QString &pMountPoint);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace pindrel::platform
