#include "profilefile.h"

#include "documentcache.h"

#include <chrono>
#include <optional>
#include <string_view>

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#else
#include "inplacejournal.h"
#include "posixio.h"
#include "writepath.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace txini {

ProfileFile::ProfileFile(std::string pPath)
    : m_path(std::move(pPath))
{ }

#ifndef _WIN32

namespace {

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

FileStamp stampOf(const struct stat &pInfo)
{
    FileStamp stamp;
    stamp.device = static_cast<uint64_t>(pInfo.st_dev);
    stamp.inode = static_cast<uint64_t>(pInfo.st_ino);
    stamp.size = static_cast<uint64_t>(pInfo.st_size);
    stamp.modifiedNs =
        static_cast<int64_t>(pInfo.st_mtim.tv_sec) * 1'000'000'000 + pInfo.st_mtim.tv_nsec;
    stamp.changedNs =
        static_cast<int64_t>(pInfo.st_ctim.tv_sec) * 1'000'000'000 + pInfo.st_ctim.tv_nsec;
    return stamp;
}

std::string folderOf(const std::string &pPath)
{
    const size_t slash = pPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : pPath.substr(0, slash);
}

// Removes temporary files that a writer killed between creating and renaming them left
// behind. Only called under the file's lock: no live writer of this file has one open then.
void removeStaleTemporaries(const std::string &pFolder, const std::string &pBase)
{
    DIR *directory = ::opendir(pFolder.c_str());
    if (directory == nullptr)
        return;
    const std::string prefix = "." + pBase + ".txini-";
    while (const dirent *entry = ::readdir(directory)) {
        const std::string_view name(entry->d_name);
        if (name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix)
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

// Writes pBytes to a new file beside pTarget and renames it over pTarget. False when the
// folder does not let us make the temporary file; the target is then untouched.
bool replaceAtomically(const std::string &pTarget, const struct stat &pOld,
                       const std::string &pBytes, bool &pFolderRefused)
{
    pFolderRefused = false;
    const std::string folder = folderOf(pTarget);
    const size_t slash = pTarget.rfind('/');
    const std::string base = slash == std::string::npos ? pTarget : pTarget.substr(slash + 1);
    removeStaleTemporaries(folder, base);
    std::string temporary = folder + "/." + base + ".txini-XXXXXX";
    posix::Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        pFolderRefused = (errno == EACCES || errno == EPERM || errno == EROFS);
        return false;
    }
    // The new file takes the old one's permissions and, where we may, its owner.
    ::fchmod(fd.get(), pOld.st_mode & 07777);
    if (::fchown(fd.get(), pOld.st_uid, pOld.st_gid) != 0) {
        // Not ours to give away; the file keeps our ownership, as any editor's would.
    }
    if (!posix::writeAll(fd.get(), pBytes, 0) || ::fsync(fd.get()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    fd.reset();
    if (::rename(temporary.c_str(), pTarget.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return false;
    }
    // The folder is not flushed as well: the new file's bytes are on disk before the rename,
    // so after a crash the name leads to the old file or the new one, each whole, and a
    // second flush would double the cost of every setting the program writes.
    return true;
}

// Rewrites the file where it stands, for a folder that refuses new files. The journal's record
// comes first, so that a rewrite cut short is finished by the next call; without a place for
// the record the file is left as it is.
bool rewriteInPlace(int pFd, const struct stat &pInfo, const std::string &pOld,
                    const std::string &pNew)
{
    InPlaceJournal journal(pInfo.st_dev, pInfo.st_ino);
    if (!journal.begin(pOld, pNew)) {
        errno = EACCES;
        return false;
    }
    if (!posix::rewrite(pFd, pNew)) {
        const int error = errno;
        // Back to the old content; when even that fails, the record stays for the next call.
        if (posix::rewrite(pFd, pOld))
            journal.finish();
        errno = error;
        return false;
    }
    journal.finish();
    return true;
}

// Finishes a rewrite in place that a writer killed in the middle left behind. Called under
// the file's exclusive lock with the file open for writing; pBytes is what the file holds and
// afterwards what it holds then. False when the file could not be mended.
bool finishInterruptedRewrite(int pFd, const struct stat &pInfo, std::string &pBytes)
{
    InPlaceJournal journal(pInfo.st_dev, pInfo.st_ino);
    if (!journal.exists())
        return true;
    if (auto content = journal.pendingContent(pBytes)) {
        if (*content != pBytes && !posix::rewrite(pFd, *content))
            return false;
        pBytes = std::move(*content);
    }
    // Either finished now, or the file was changed since by someone else: the record is done.
    journal.finish();
    return true;
}

// A shared lock for reading, so that a writer rewriting the file in place is never seen in
// the middle. A writer holds its lock for one write only; a lock held much longer than that is
// not a writer of ours, and the read goes on without it.
void lockForReading(int pFd)
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(2);
    auto pause = microseconds(20);
    while (::flock(pFd, LOCK_SH | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(pause);
        pause = std::min<microseconds>(pause * 2, milliseconds(5));
    }
}

} // namespace

std::shared_ptr<const IniDocument> ProfileFile::readFile(const char *pPath)
{
    struct stat info = {};
    if (::stat(pPath, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    if (auto document = DocumentCache::recent(pPath, stampOf(info)))
        return document;
    return ProfileFile(pPath).read();
}

std::shared_ptr<const IniDocument> ProfileFile::read() const
{
    struct stat info = {};
    if (::stat(m_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    DocumentCache &cache = DocumentCache::instance();
    if (auto document = cache.settled(m_path, stampOf(info)))
        return document;

    for (int attempt = 0;; ++attempt) {
        posix::Descriptor fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() < 0)
            return nullptr;
        lockForReading(fd.get());
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
            return nullptr;
        std::string bytes;
        if (!posix::readAll(fd.get(), static_cast<uint64_t>(info.st_size), bytes))
            return nullptr;
        const InPlaceJournal journal(info.st_dev, info.st_ino);
        if (!journal.exists())
            return cache.remember(m_path, stampOf(info), std::move(bytes), nowNs());
        // A rewrite in place was cut short. A writer mends the file (under its lock) before
        // anything else; where this user may not write the file, the record tells what it
        // is to hold.
        fd.reset();
        if (attempt == 0
            && update(Create::Never, [](IniDocument &) { return false; }) != Outcome::Failed)
            continue;
        if (auto content = journal.pendingContent(bytes))
            bytes = std::move(*content);
        cache.forget(m_path);
        return std::make_shared<const IniDocument>(IniDocument::parse(bytes));
    }
}

ProfileFile::Outcome ProfileFile::update(Create pCreate,
                                         const std::function<bool(IniDocument &)> &pEdit) const
{
    m_error = 0;
    const auto failed = [this](int pError) {
        m_error = pError != 0 ? pError : EIO;
        return Outcome::Failed;
    };
    const WritePath target = resolveWritePath(m_path);
    if (target.error != 0)
        return target.error == ENOENT && pCreate == Create::Never ? Outcome::Unchanged
                                                                  : failed(target.error);
    // Only a regular file is written: not a folder, and never a device or a pipe, which
    // opening alone may disturb.
    struct stat info = {};
    if (::lstat(target.path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return failed(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);

    // The resolved path has no link left in its last part; one appearing there now is not
    // followed.
    const int flags =
        O_RDWR | O_CLOEXEC | O_NOFOLLOW | (pCreate == Create::IfMissing ? O_CREAT : 0);

    // Lock the file, then make sure the name still leads to the file we locked: another
    // writer may have replaced it while we waited.
    posix::Descriptor fd;
    for (int attempt = 0;; ++attempt) {
        if (attempt > 1000)
            return failed(EAGAIN);
        fd.reset(::open(target.path.c_str(), flags, 0666));
        if (fd.get() < 0)
            return (errno == ENOENT && pCreate == Create::Never) ? Outcome::Unchanged
                                                                 : failed(errno);
        int locked;
        do {
            locked = ::flock(fd.get(), LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0 || ::fstat(fd.get(), &info) != 0)
            return failed(errno);
        struct stat current = {};
        if (::lstat(target.path.c_str(), &current) == 0 && current.st_dev == info.st_dev
            && current.st_ino == info.st_ino)
            break;
    }
    if (!S_ISREG(info.st_mode))
        return failed(EINVAL);
    if ((info.st_mode & 0222) == 0)
        return failed(EACCES); // a read-only file is not written, not even by root

    std::string bytes;
    if (!posix::readAll(fd.get(), static_cast<uint64_t>(info.st_size), bytes))
        return failed(errno);
    if (!finishInterruptedRewrite(fd.get(), info, bytes))
        return failed(errno);
    DocumentCache &cache = DocumentCache::instance();
    std::optional<IniDocument> cached = cache.take(m_path, bytes);
    IniDocument document = cached ? std::move(*cached) : IniDocument::parse(bytes);
    if (!pEdit(document)) {
        if (::fstat(fd.get(), &info) == 0)
            cache.store(m_path, stampOf(info), std::move(bytes), std::move(document));
        return Outcome::Unchanged;
    }
    std::string written = document.serialize();

    bool folderRefused = false;
    if (!replaceAtomically(target.path, info, written, folderRefused)) {
        if (!folderRefused)
            return failed(errno);
        if (!rewriteInPlace(fd.get(), info, bytes, written))
            return failed(errno);
    }
    struct stat now = {};
    if (::stat(m_path.c_str(), &now) == 0)
        cache.store(m_path, stampOf(now), std::move(written), std::move(document));
    return Outcome::Written;
}

#else // _WIN32

namespace {

bool readWhole(const std::string &pPath, std::string &pBytes)
{
    std::ifstream in(pPath, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    pBytes = out.str();
    return true;
}

// A machine-wide mutex per file path serialises read-modify-write across processes.
class PathMutex
{
public:
    explicit PathMutex(const std::string &pPath)
    {
        std::string name = "Local\\txini-";
        name += std::to_string(std::hash<std::string>{}(pPath));
        m_handle = ::CreateMutexA(nullptr, FALSE, name.c_str());
        if (m_handle != nullptr)
            ::WaitForSingleObject(m_handle, INFINITE);
    }
    ~PathMutex()
    {
        if (m_handle != nullptr) {
            ::ReleaseMutex(m_handle);
            ::CloseHandle(m_handle);
        }
    }
    PathMutex(const PathMutex &) = delete;
    PathMutex &operator=(const PathMutex &) = delete;

private:
    HANDLE m_handle = nullptr;
};

} // namespace

std::shared_ptr<const IniDocument> ProfileFile::readFile(const char *pPath)
{
    return ProfileFile(pPath).read();
}

std::shared_ptr<const IniDocument> ProfileFile::read() const
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_path, error))
        return nullptr;
    std::string bytes;
    if (!readWhole(m_path, bytes))
        return nullptr;
    return std::make_shared<const IniDocument>(IniDocument::parse(bytes));
}

ProfileFile::Outcome ProfileFile::update(Create pCreate,
                                         const std::function<bool(IniDocument &)> &pEdit) const
{
    PathMutex lock(m_path);
    std::error_code error;
    const bool exists = std::filesystem::exists(m_path, error);
    if (!exists && pCreate == Create::Never)
        return Outcome::Unchanged;
    const DWORD attributes = ::GetFileAttributesA(m_path.c_str());
    if (exists && attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return Outcome::Failed;
    std::string bytes;
    if (exists && !readWhole(m_path, bytes))
        return Outcome::Failed;
    IniDocument document = IniDocument::parse(bytes);
    if (!pEdit(document))
        return Outcome::Unchanged;
    const std::string written = document.serialize();
    const std::string temporary = m_path + ".txini-tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(written.data(), static_cast<std::streamsize>(written.size()));
        out.flush();
        if (!out)
            return Outcome::Failed;
    }
    if (!::MoveFileExA(temporary.c_str(), m_path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temporary.c_str());
        return Outcome::Failed;
    }
    return Outcome::Written;
}

#endif

} // namespace txini
