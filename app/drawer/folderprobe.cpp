#include "folderprobe.h"

#include "platform/filenamecodec.h"

#include <QDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace pindrel {

namespace {

// A path typed or pasted from what the list shows has replacement characters where a name had
// bytes that are not text; it cannot lead back to those bytes.
constexpr char16_t kReplacementCharacter = 0xFFFD;

QString shown(const QString &pPath)
{
    return QDir::toNativeSeparators(platform::displayFileName(pPath));
}

FolderProbe::Result unreadableName(const QString &pPath)
{
    return {FolderProbe::Verdict::UnreadableName,
            QStringLiteral("The name of this folder is not valid text, so it cannot be opened: %1")
                .arg(shown(pPath))};
}

bool pathExists(const QString &pPath)
{
    struct stat info
    {
    };
    return ::lstat(platform::encodeFileName(pPath).constData(), &info) == 0;
}

} // namespace

FolderProbe::FolderProbe()
    : FolderProbe(defaultRemovableRoots())
{ }

FolderProbe::FolderProbe(QStringList pRemovableRoots)
    : m_removableRoots(std::move(pRemovableRoots))
{
    for (QString &root : m_removableRoots)
        root = QDir::cleanPath(root);
}

QStringList FolderProbe::defaultRemovableRoots()
{
    QStringList roots{QStringLiteral("/media"), QStringLiteral("/mnt")};
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty()) {
        roots << QStringLiteral("/media/") + user;
        roots << QStringLiteral("/run/media/") + user;
    }
    return roots;
}

FolderProbe::Result FolderProbe::check(const QString &pPath) const
{
    if (pPath.isEmpty())
        return {Verdict::Missing, QStringLiteral("This folder does not exist: %1").arg(pPath)};

    const QByteArray native = platform::encodeFileName(pPath);
    struct stat linkInfo
    {
    };
    if (::lstat(native.constData(), &linkInfo) != 0)
        return fromError(errno, pPath);

    struct stat info
    {
    };
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        // The path itself exists (lstat saw it), so a failure to follow it is the link's fault.
        if (S_ISLNK(linkInfo.st_mode) && error == ELOOP)
            return {Verdict::LinkLoop,
                    QStringLiteral("This folder is a link that leads back to itself: %1")
                        .arg(shown(pPath))};
        if (S_ISLNK(linkInfo.st_mode) && (error == ENOENT || error == ENOTDIR))
            return {Verdict::DeadLink,
                    QStringLiteral("This folder is a link to something that does not exist: %1")
                        .arg(shown(pPath))};
        return fromError(error, pPath);
    }
    if (!S_ISDIR(info.st_mode))
        return {Verdict::NotAFolder, QStringLiteral("This is not a folder: %1").arg(shown(pPath))};

    // Listing takes both the right to read the folder and the right to look up its entries;
    // the model would otherwise show an empty folder or names without details.
    if (::faccessat(AT_FDCWD, native.constData(), R_OK | X_OK, AT_EACCESS) != 0)
        return fromError(errno, pPath);
    DIR *directory = ::opendir(native.constData());
    if (directory == nullptr)
        return fromError(errno, pPath);
    ::closedir(directory);
    return {};
}

FolderProbe::Result FolderProbe::fromError(int pError, const QString &pPath) const
{
    switch (pError) {
    case ENOENT:
    case ENOTDIR:
        if (pPath.contains(QChar(kReplacementCharacter)))
            return unreadableName(pPath);
        if (isOnMissingDrive(pPath))
            return {Verdict::DriveMissing,
                    QStringLiteral("The drive holding this folder is not connected: %1")
                        .arg(shown(pPath))};
        return {Verdict::Missing,
                QStringLiteral("This folder does not exist: %1").arg(shown(pPath))};
    case ELOOP:
        return {Verdict::LinkLoop,
                QStringLiteral("This folder is a link that leads back to itself: %1")
                    .arg(shown(pPath))};
    case EACCES:
    case EPERM:
        return {Verdict::NoPermission,
                QStringLiteral("You do not have permission to open %1").arg(shown(pPath))};
    case EIO:
    case ENXIO:
    case ENODEV:
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
    case ETIMEDOUT:
    case ENOMEDIUM:
        // What a pulled drive or a lost network share answers while still mounted.
        return {
            Verdict::DriveUnavailable,
            QStringLiteral("The drive holding this folder cannot be read: %1").arg(shown(pPath))};
    default:
        return {Verdict::Failed,
                QStringLiteral("This folder cannot be opened: %1 (%2)")
                    .arg(shown(pPath), QString::fromLocal8Bit(std::strerror(pError)))};
    }
}

bool FolderProbe::isOnMissingDrive(const QString &pPath) const
{
    const QString path = QDir::cleanPath(pPath);
    for (const QString &root : m_removableRoots) {
        const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        if (!path.startsWith(prefix) || !pathExists(root))
            continue;
        // The first name under the root is the drive's mount point; removing the drive takes it.
        const QString mountPoint = prefix + path.mid(prefix.size()).section(QLatin1Char('/'), 0, 0);
        if (!pathExists(mountPoint))
            return true;
    }
    return false;
}

} // namespace pindrel
