#include "shellns/rawfs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace pindrel::platform::rawfs {

namespace {

struct DirCloser
{
    void operator()(DIR *pDir) const { ::closedir(pDir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool isDotOrDotDot(const char *pName)
{
    return pName[0] == '.' && (pName[1] == '\0' || (pName[1] == '.' && pName[2] == '\0'));
}

// Whether an entry is a folder. d_type answers without a system call on most file systems;
// symlinks and file systems that leave d_type unknown need a stat of the entry.
bool entryIsDir(int pDirFd, const dirent *pEntry)
{
    if (pEntry->d_type == DT_DIR)
        return true;
    if (pEntry->d_type != DT_LNK && pEntry->d_type != DT_UNKNOWN)
        return false;
    struct stat info
    {
    };
    return ::fstatat(pDirFd, pEntry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

Status status(const QByteArray &pPath)
{
    Status result;
    struct stat info
    {
    };
    if (::lstat(pPath.constData(), &info) != 0)
        return result;
    result.exists = true;
    result.isLink = S_ISLNK(info.st_mode);
    if (result.isLink) {
        struct stat target
        {
        };
        result.isDir = ::stat(pPath.constData(), &target) == 0 && S_ISDIR(target.st_mode);
    } else {
        result.isDir = S_ISDIR(info.st_mode);
    }
    result.writable = writable(pPath);
    return result;
}

bool writable(const QByteArray &pPath)
{
    // access() answers for this process (and reports a read-only mount), but it lets the
    // superuser write anything; an object without any write bit is read-only for everyone,
    // as its owner meant it to be.
    struct stat info
    {
    };
    return ::stat(pPath.constData(), &info) == 0 && (info.st_mode & 0222) != 0
        && ::access(pPath.constData(), W_OK) == 0;
}

bool isDir(const QByteArray &pPath)
{
    struct stat info
    {
    };
    return !pPath.isEmpty() && ::stat(pPath.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool list(const QByteArray &pDir, std::vector<Entry> &pOut)
{
    const DirHandle dir(::opendir(pDir.constData()));
    if (!dir)
        return false;
    const int fd = ::dirfd(dir.get());
    while (const dirent *entry = ::readdir(dir.get())) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        pOut.push_back(Entry{QByteArray(entry->d_name), entryIsDir(fd, entry)});
    }
    return true;
}

bool hasSubfolder(const QByteArray &pDir)
{
    const DirHandle dir(::opendir(pDir.constData()));
    if (!dir)
        return false;
    const int fd = ::dirfd(dir.get());
    while (const dirent *entry = ::readdir(dir.get())) {
        if (!isDotOrDotDot(entry->d_name) && entryIsDir(fd, entry))
            return true;
    }
    return false;
}

bool hasEntries(const QByteArray &pDir)
{
    const DirHandle dir(::opendir(pDir.constData()));
    if (!dir)
        return false;
    while (const dirent *entry = ::readdir(dir.get())) {
        if (!isDotOrDotDot(entry->d_name))
            return true;
    }
    return false;
}

QByteArray child(const QByteArray &pBase, QByteArrayView pName)
{
    QByteArray path = pBase;
    if (!path.endsWith('/'))
        path.append('/');
    path.append(pName);
    return path;
}

QByteArray baseName(const QByteArray &pPath)
{
    if (pPath == "/")
        return pPath;
    QByteArray path = pPath;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace pindrel::platform::rawfs
