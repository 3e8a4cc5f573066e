#pragma once

// Whether a folder can be listed, and when it cannot, the sentence the file list shows in place
// of the listing. A handful of system calls on the calling thread; nothing is cached. Paths are
// taken as the file list gives them: bytes of names that are not valid UTF-8 escaped
// (platform/filenamecodec.h).

#include <QString>
#include <QStringList>

namespace pindrel {

class FolderProbe
{
public:
    enum class Verdict {
        Listable,
        Missing, // nothing at the path, or a file where a folder should be on the way
        NotAFolder, // the path names a file, a device or a socket
        DeadLink, // a symbolic link whose target does not exist
        LinkLoop, // symbolic links that lead back to themselves
        NoPermission, // the folder exists but this user may not list it
        DriveMissing, // a drive's mount point under a removable-media root is gone
        DriveUnavailable, // the file system answers with an I/O or connection error
        UnreadableName, // missing, and holds replacement characters that stood for bytes
        Failed // any other refusal of the system
    };

    struct Result
    {
        Verdict verdict = Verdict::Listable;
        QString message; // empty exactly when listable
        bool listable() const { return verdict == Verdict::Listable; }
    };

    // Probes with defaultRemovableRoots().
    FolderProbe();
    // pRemovableRoots: folders whose children are the mount points of removable drives.
    explicit FolderProbe(QStringList pRemovableRoots);

    Result check(const QString &pPath) const;

    const QStringList &removableRoots() const { return m_removableRoots; }
    // /media, /media/<user>, /run/media/<user> and /mnt.
    static QStringList defaultRemovableRoots();

private:
    Result fromError(int pError, const QString &pPath) const;
    bool isOnMissingDrive(const QString &pPath) const;

    QStringList m_removableRoots;
};

} // namespace pindrel
