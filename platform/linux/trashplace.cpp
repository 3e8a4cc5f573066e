#include "linux/trashplace.h"

#include "linux/gio.h"

#include <QtCore/QByteArrayList>
#include <QtCore/QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace pindrel::platform {

namespace {

constexpr char kInfoSuffix[] = ".trashinfo";

struct TrashFolder
{
    QByteArray folder; // holds files/ and info/
    QByteArray relativeTo; // "" for the home trash (absolute paths in its info files)
};

// The top of the file system pPath lies on: the last folder upwards with the same device.
QByteArray mountTop(const QByteArray &pPath)
{
    struct stat own = {};
    if (::lstat(pPath.constData(), &own) != 0)
        return {};
    QByteArray top = pPath;
    while (top != "/") {
        const qsizetype slash = top.lastIndexOf('/');
        const QByteArray up = slash <= 0 ? QByteArrayLiteral("/") : top.left(slash);
        struct stat above = {};
        if (::stat(up.constData(), &above) != 0 || above.st_dev != own.st_dev)
            break;
        top = up;
    }
    return top;
}

// The trashes GIO may have used for pPath, as the freedesktop.org Trash standard lays them out.
std::vector<TrashFolder> candidates(const QByteArray &pPath)
{
    std::vector<TrashFolder> found;
    found.push_back({QByteArray(g_get_user_data_dir()) + "/Trash", {}});
    const QByteArray top = mountTop(pPath);
    if (!top.isEmpty()) {
        const QByteArray uid = QByteArray::number(static_cast<qulonglong>(::getuid()));
        const QByteArray base = top == "/" ? QByteArray() : top;
        found.push_back({base + "/.Trash/" + uid, top});
        found.push_back({base + "/.Trash-" + uid, top});
    }
    return found;
}

QByteArray pathLine(const QByteArray &pInfoFile)
{
    QFile info(QFile::decodeName(pInfoFile));
    if (!info.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : info.readAll().split('\n')) {
        if (line.startsWith("Path="))
            return QByteArray::fromPercentEncoding(line.mid(5).trimmed());
    }
    return {};
}

QByteArray relativeName(const QByteArray &pPath, const QByteArray &pTop)
{
    if (pTop.isEmpty())
        return pPath;
    if (pTop == "/")
        return pPath.mid(1);
    return pPath.mid(pTop.size() + 1);
}

} // namespace

std::optional<QByteArray> moveToTrash(const QByteArray &pPath, GCancellable *pCancellable,
                                      QString &pWhy)
{
    const std::vector<TrashFolder> folders = candidates(pPath);
    g_autoptr(GFile) file = g_file_new_for_path(pPath.constData());
    g_autoptr(GError) failure = nullptr;
    if (g_file_trash(file, pCancellable, &failure) == 0) {
        pWhy = failure ? QString::fromUtf8(failure->message) : QString();
        return std::nullopt;
    }

    // The newest information file that names pPath tells which entry is ours. GIO keeps the
    // name up to its first dot and numbers the rest ("a.txt", "a.2.txt").
    const qsizetype slash = pPath.lastIndexOf('/');
    const QByteArray name = pPath.mid(slash + 1);
    const QByteArray stem =
        name.left(name.indexOf('.', 1) < 0 ? name.size() : name.indexOf('.', 1));
    QByteArray best;
    struct timespec newest = {};
    for (const TrashFolder &trash : folders) {
        const QByteArray infoFolder = trash.folder + "/info";
        DIR *listing = ::opendir(infoFolder.constData());
        if (listing == nullptr)
            continue;
        const QByteArray wanted = relativeName(pPath, trash.relativeTo);
        while (const dirent *entry = ::readdir(listing)) {
            const QByteArray entryName(entry->d_name);
            if (!entryName.startsWith(stem) || !entryName.endsWith(kInfoSuffix))
                continue;
            const QByteArray infoFile = infoFolder + '/' + entryName;
            struct stat info = {};
            if (::stat(infoFile.constData(), &info) != 0 || pathLine(infoFile) != wanted)
                continue;
            const bool newer = info.st_mtim.tv_sec > newest.tv_sec
                || (info.st_mtim.tv_sec == newest.tv_sec && info.st_mtim.tv_nsec >= newest.tv_nsec);
            if (best.isEmpty() || newer) {
                newest = info.st_mtim;
                best = trash.folder + "/files/"
                    + entryName.left(entryName.size()
                                     - static_cast<qsizetype>(sizeof(kInfoSuffix) - 1));
            }
        }
        ::closedir(listing);
    }
    return best; // empty: in the trash, but not to be found there again
}

bool restoreFromTrash(const QByteArray &pInTrash, const QByteArray &pOriginal)
{
    if (::renameat2(AT_FDCWD, pInTrash.constData(), AT_FDCWD, pOriginal.constData(),
                    RENAME_NOREPLACE)
        != 0) {
        struct stat existing = {};
        if (errno != EINVAL || ::lstat(pOriginal.constData(), &existing) == 0
            || ::rename(pInTrash.constData(), pOriginal.constData()) != 0)
            return false;
    }
    // .../files/NAME has its information in .../info/NAME.trashinfo.
    const qsizetype slash = pInTrash.lastIndexOf('/');
    const QByteArray filesFolder = pInTrash.left(slash);
    const QByteArray trash = filesFolder.left(filesFolder.lastIndexOf('/'));
    const QByteArray info = trash + "/info/" + pInTrash.mid(slash + 1) + kInfoSuffix;
    ::unlink(info.constData());
    return true;
}

} // namespace pindrel::platform
