#include "linux/copyengine.h"

#include "linux/trashplace.h"
#include "platform/filenamecodec.h"

#include <QtCore/QLocale>

#include "linux/gio.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace pindrel::platform {

namespace {

constexpr char kTemporaryPrefix[] = ".pindrel-";
constexpr char kTemporarySuffix[] = ".part";
// Progress is told at most this often, so that a tree of small files does not flood the
// user-interface thread.
constexpr gint64 kReportEveryUs = 50'000;

QString shown(const QByteArray &pPath)
{
    return displayFileName(decodeFileName(pPath));
}

QByteArray cleanPath(QByteArray pPath)
{
    while (pPath.size() > 1 && pPath.endsWith('/'))
        pPath.chop(1);
    return pPath;
}

QByteArray join(const QByteArray &pFolder, const QByteArray &pName)
{
    return pFolder.endsWith('/') ? pFolder + pName : pFolder + '/' + pName;
}

QByteArray baseName(const QByteArray &pPath)
{
    const qsizetype slash = pPath.lastIndexOf('/');
    return slash < 0 ? pPath : pPath.mid(slash + 1);
}

QByteArray parentOf(const QByteArray &pPath)
{
    const qsizetype slash = pPath.lastIndexOf('/');
    if (slash <= 0)
        return QByteArrayLiteral("/");
    return pPath.left(slash);
}

// The names in a folder, without "." and ".."; nullopt when it cannot be read.
std::optional<std::vector<QByteArray>> entryNames(const QByteArray &pFolder)
{
    DIR *folder = ::opendir(pFolder.constData());
    if (folder == nullptr)
        return std::nullopt;
    std::vector<QByteArray> names;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(folder);
    return names;
}

bool lstatPath(const QByteArray &pPath, struct stat &pInfo)
{
    return ::lstat(pPath.constData(), &pInfo) == 0;
}

bool isUnder(const QByteArray &pPath, const QByteArray &pFolder)
{
    if (pPath == pFolder)
        return true;
    return pPath.startsWith(pFolder.endsWith('/') ? pFolder : pFolder + '/');
}

QByteArray realPath(const QByteArray &pPath)
{
    char *resolved = ::realpath(pPath.constData(), nullptr);
    if (resolved == nullptr)
        return pPath;
    QByteArray result(resolved);
    ::free(resolved);
    return result;
}

// rename(2) that never replaces what is at pTo. File systems without RENAME_NOREPLACE get
// link and unlink for files, and a look before the rename for folders.
int renameNoReplace(const QByteArray &pFrom, const QByteArray &pTo)
{
    if (::renameat2(AT_FDCWD, pFrom.constData(), AT_FDCWD, pTo.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat info = {};
    if (!lstatPath(pFrom, info))
        return errno;
    if (!S_ISDIR(info.st_mode)) {
        if (::link(pFrom.constData(), pTo.constData()) != 0)
            return errno;
        ::unlink(pFrom.constData());
        return 0;
    }
    struct stat existing = {};
    if (lstatPath(pTo, existing))
        return EEXIST;
    return ::rename(pFrom.constData(), pTo.constData()) == 0 ? 0 : errno;
}

// The extended attributes of one open file onto another; what the target's file system will
// not take is left out.
void copyAttributes(int pInput, int pOutput)
{
    const ssize_t size = ::flistxattr(pInput, nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(static_cast<size_t>(size));
    const ssize_t listed = ::flistxattr(pInput, names.data(), names.size());
    for (ssize_t at = 0; at < listed;) {
        const char *name = names.data() + at;
        at += static_cast<ssize_t>(std::strlen(name)) + 1;
        const ssize_t length = ::fgetxattr(pInput, name, nullptr, 0);
        if (length < 0)
            continue;
        std::vector<char> value(static_cast<size_t>(length) + 1);
        const ssize_t read = ::fgetxattr(pInput, name, value.data(), value.size());
        if (read >= 0)
            ::fsetxattr(pOutput, name, value.data(), static_cast<size_t>(read), 0);
    }
}

GFile *fileFor(const QByteArray &pPath)
{
    return g_file_new_for_path(pPath.constData());
}

} // namespace

CopyEngine::CopyEngine(GCancellable *pCancellable, Hooks pHooks)
    : m_cancellable(pCancellable)
    , m_hooks(std::move(pHooks))
{ }

bool CopyEngine::cancelled() const
{
    return g_cancellable_is_cancelled(m_cancellable) != 0;
}

bool CopyEngine::refuse(const QString &pMessage)
{
    outcome = CopyJob::Outcome::Failed;
    error = pMessage;
    return false;
}

QByteArray CopyEngine::freeName(const QByteArray &pFolder, const QByteArray &pName, bool pIsFolder)
{
    // The number goes before the extension of a file ("report (2).txt"); a leading dot is no
    // extension (".profile (2)").
    qsizetype dot = pIsFolder ? -1 : pName.lastIndexOf('.');
    if (dot <= 0)
        dot = pName.size();
    const QByteArray stem = pName.left(dot);
    const QByteArray extension = pName.mid(dot);
    for (int number = 2;; ++number) {
        const QByteArray candidate = stem + " (" + QByteArray::number(number) + ')' + extension;
        struct stat info = {};
        if (!lstatPath(join(pFolder, candidate), info))
            return candidate;
    }
}

void CopyEngine::fileBytes(qint64 pDone)
{
    m_progress.bytesDone = m_fileBase + pDone;
    report();
}

void CopyEngine::report()
{
    const gint64 now = g_get_monotonic_time();
    if (now - m_lastReport < kReportEveryUs && m_progress.itemsDone < m_progress.itemsTotal)
        return;
    m_lastReport = now;
    if (m_hooks.progress)
        m_hooks.progress(m_progress);
}

void CopyEngine::scan(const QByteArray &pPath, Totals &pTotals) const
{
    struct stat info = {};
    if (!lstatPath(pPath, info))
        return;
    ++pTotals.items;
    if (S_ISREG(info.st_mode))
        pTotals.bytes += info.st_size;
    if (!S_ISDIR(info.st_mode))
        return;
    for (const QByteArray &name : entryNames(pPath).value_or(std::vector<QByteArray>{}))
        scan(join(pPath, name), pTotals);
}

bool CopyEngine::checkDestination(const QByteArray &pDestination,
                                  const std::vector<QByteArray> &pSources,
                                  const std::vector<Totals> &pTotals, TransferMode pMode)
{
    struct stat folder = {};
    if (::stat(pDestination.constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
        return refuse(QStringLiteral("The folder \"%1\" does not exist.").arg(shown(pDestination)));
    struct statvfs space = {};
    const bool knowsSpace = ::statvfs(pDestination.constData(), &space) == 0;
    if ((knowsSpace && (space.f_flag & ST_RDONLY) != 0)
        || ::access(pDestination.constData(), W_OK) != 0) {
        return refuse(QStringLiteral("The folder \"%1\" is read-only. Nothing was %2.")
                          .arg(shown(pDestination),
                               pMode == TransferMode::Move ? QStringLiteral("moved")
                                                           : QStringLiteral("copied")));
    }

    const QByteArray destination = realPath(pDestination);
    Totals needed;
    for (size_t i = 0; i < pSources.size(); ++i) {
        const QByteArray &source = pSources[i];
        struct stat info = {};
        if (!lstatPath(source, info))
            continue; // reported when its turn comes
        if (S_ISDIR(info.st_mode) && isUnder(destination, realPath(source))
            && !(pMode == TransferMode::Move && parentOf(source) == pDestination)) {
            return refuse(QStringLiteral("The folder \"%1\" cannot be %2 into itself or into one "
                                         "of its own subfolders. Nothing was %2.")
                              .arg(shown(source),
                                   pMode == TransferMode::Move ? QStringLiteral("moved")
                                                               : QStringLiteral("copied")));
        }
        // A move within one file system is a rename: it needs no room.
        if (pMode == TransferMode::Copy || info.st_dev != folder.st_dev)
            needed.bytes += pTotals[i].bytes;
    }
    const qint64 available = knowsSpace
        ? static_cast<qint64>(space.f_bavail) * static_cast<qint64>(space.f_frsize)
        : std::numeric_limits<qint64>::max();
    if (needed.bytes > available) {
        const QLocale locale;
        return refuse(QStringLiteral("There is not enough free space in \"%1\": %2 are needed, "
                                     "%3 are free. Nothing was copied.")
                          .arg(shown(pDestination), locale.formattedDataSize(needed.bytes),
                               locale.formattedDataSize(available)));
    }
    return true;
}

void CopyEngine::removeStaleTemporaries(const QByteArray &pDestination) const
{
    // A copy that was killed leaves its temporary item behind, never a file under its final
    // name. Its name carries the process number: once that process is gone it is removed.
    DIR *folder = ::opendir(pDestination.constData());
    if (folder == nullptr)
        return;
    std::vector<QByteArray> stale;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(kTemporaryPrefix) || !name.endsWith(kTemporarySuffix))
            continue;
        const QByteArray middle = name.mid(static_cast<qsizetype>(std::strlen(kTemporaryPrefix)));
        bool ok = false;
        const pid_t pid = static_cast<pid_t>(middle.left(middle.indexOf('-')).toLong(&ok));
        if (ok && pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH)
            stale.push_back(join(pDestination, name));
    }
    ::closedir(folder);
    for (const QByteArray &path : stale)
        removeTree(path);
}

QByteArray CopyEngine::temporaryName(const QByteArray &pFolder)
{
    for (;;) {
        const QByteArray name = kTemporaryPrefix + QByteArray::number(::getpid()) + '-'
            + QByteArray::number(++m_counter) + '-' + QByteArray::number(g_random_int(), 16)
            + kTemporarySuffix;
        struct stat info = {};
        const QByteArray path = join(pFolder, name);
        if (!lstatPath(path, info))
            return path;
    }
}

void CopyEngine::removeTree(const QByteArray &pPath) const
{
    struct stat info = {};
    if (!lstatPath(pPath, info))
        return;
    if (S_ISDIR(info.st_mode)) {
        // A folder copied without write permission for its owner gets it back to be emptied.
        ::chmod(pPath.constData(), 0700);
        for (const QByteArray &name : entryNames(pPath).value_or(std::vector<QByteArray>{}))
            removeTree(join(pPath, name));
        ::rmdir(pPath.constData());
    } else {
        ::unlink(pPath.constData());
    }
}

bool CopyEngine::noteFailure(const QByteArray &pPath, int pCode, const QString &pText)
{
    if (pCode == G_IO_ERROR_CANCELLED || cancelled()) {
        outcome = CopyJob::Outcome::Cancelled;
        m_endJob = true;
        return false;
    }
    if (pCode == G_IO_ERROR_NO_SPACE) {
        outcome = CopyJob::Outcome::Failed;
        error = QStringLiteral("The destination is full: \"%1\" could not be copied, and the copy "
                               "was stopped.")
                    .arg(shown(baseName(pPath)));
        m_endJob = true;
        return false;
    }
    problems << QStringLiteral("\"%1\" could not be copied: %2").arg(shown(pPath), pText);
    return true;
}

bool CopyEngine::copyFile(const QByteArray &pSource, const QByteArray &pTarget,
                          const struct stat &pInfo)
{
    m_progress.current = decodeFileName(pSource);
    if (S_ISREG(pInfo.st_mode))
        return copyRegular(pSource, pTarget, pInfo);
    // Links, and the special files GIO turns down with a reason.
    g_autoptr(GFile) source = fileFor(pSource);
    g_autoptr(GFile) target = fileFor(pTarget);
    g_autoptr(GError) failure = nullptr;
    const auto flags =
        static_cast<GFileCopyFlags>(G_FILE_COPY_NOFOLLOW_SYMLINKS | G_FILE_COPY_ALL_METADATA);
    const gboolean copied =
        g_file_copy(source, target, flags, m_cancellable, nullptr, nullptr, &failure);
    if (copied == 0) {
        // Whatever was written stays nowhere: the entry is missing, never half there.
        ::unlink(pTarget.constData());
        m_progress.bytesDone = m_fileBase;
        return noteFailure(pSource, failure ? failure->code : G_IO_ERROR_FAILED,
                           failure ? QString::fromUtf8(failure->message) : QString());
    }
    ++m_progress.itemsDone;
    report();
    return true;
}

bool CopyEngine::copyRegular(const QByteArray &pSource, const QByteArray &pTarget,
                             const struct stat &pInfo)
{
    // By hand rather than with g_file_copy: GIO asks the file system for every copyable
    // attribute of every file, which made a tree of small files copy at less than half the
    // speed of cp. The kernel copies the bytes (copy_file_range); read and write where it
    // cannot.
    const int input = ::open(pSource.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (input < 0)
        return noteFailure(pSource, G_IO_ERROR_FAILED, QString::fromLocal8Bit(strerror(errno)));
    const int output = ::open(pTarget.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (output < 0) {
        const int code = errno;
        ::close(input);
        return noteFailure(pSource, code == ENOSPC ? G_IO_ERROR_NO_SPACE : G_IO_ERROR_FAILED,
                           QString::fromLocal8Bit(strerror(code)));
    }
    constexpr size_t kChunk = 32 << 20;
    bool kernelCopy = true;
    std::vector<char> buffer;
    qint64 done = 0;
    int failed = 0;
    while (failed == 0) {
        if (cancelled()) {
            failed = ECANCELED;
            break;
        }
        ssize_t moved = -1;
        if (kernelCopy) {
            moved = ::copy_file_range(input, nullptr, output, nullptr, kChunk, 0);
            if (moved < 0 && done == 0
                && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
        } else {
            buffer.resize(1 << 20);
            moved = ::read(input, buffer.data(), buffer.size());
            for (ssize_t written = 0; moved > 0 && written < moved;) {
                const ssize_t part =
                    ::write(output, buffer.data() + written, static_cast<size_t>(moved - written));
                if (part < 0) {
                    moved = -1;
                    break;
                }
                written += part;
            }
        }
        if (moved < 0)
            failed = errno;
        else if (moved == 0)
            break;
        else {
            done += moved;
            fileBytes(done);
        }
    }
    if (failed == 0) {
        if (::geteuid() == 0)
            static_cast<void>(::fchown(output, pInfo.st_uid, pInfo.st_gid));
        ::fchmod(output, pInfo.st_mode & 07777);
        copyAttributes(input, output);
        const struct timespec times[2] = {pInfo.st_atim, pInfo.st_mtim};
        ::futimens(output, times);
    }
    ::close(input);
    if (::close(output) != 0 && failed == 0)
        failed = errno;
    if (failed != 0) {
        ::unlink(pTarget.constData());
        m_progress.bytesDone = m_fileBase;
        const int code = failed == ECANCELED       ? G_IO_ERROR_CANCELLED
            : failed == ENOSPC || failed == EDQUOT ? G_IO_ERROR_NO_SPACE
                                                   : G_IO_ERROR_FAILED;
        return noteFailure(pSource, code, QString::fromLocal8Bit(strerror(failed)));
    }
    m_fileBase += pInfo.st_size;
    m_progress.bytesDone = m_fileBase;
    ++m_progress.itemsDone;
    report();
    return true;
}

bool CopyEngine::copyTree(const QByteArray &pSource, const QByteArray &pTarget)
{
    if (cancelled())
        return noteFailure(pSource, G_IO_ERROR_CANCELLED, {});
    struct stat info = {};
    if (!lstatPath(pSource, info))
        return noteFailure(pSource, G_IO_ERROR_NOT_FOUND, QString::fromLocal8Bit(strerror(errno)));
    if (!S_ISDIR(info.st_mode))
        return copyFile(pSource, pTarget, info);

    // Only the owner may look in while the folder fills; its own permissions come at the end,
    // with its times, which the entries written into it would otherwise change.
    if (::mkdir(pTarget.constData(), 0700) != 0) {
        const int code = errno == ENOSPC ? G_IO_ERROR_NO_SPACE : G_IO_ERROR_FAILED;
        return noteFailure(pSource, code, QString::fromLocal8Bit(strerror(errno)));
    }
    const std::optional<std::vector<QByteArray>> names = entryNames(pSource);
    if (!names) {
        problems << QStringLiteral("The contents of \"%1\" could not be read: %2")
                        .arg(shown(pSource), QString::fromLocal8Bit(strerror(errno)));
    } else {
        for (const QByteArray &name : *names) {
            if (!copyTree(join(pSource, name), join(pTarget, name)))
                return false;
        }
    }
    g_autoptr(GFile) source = fileFor(pSource);
    g_autoptr(GFile) target = fileFor(pTarget);
    g_autoptr(GError) failure = nullptr;
    const auto flags =
        static_cast<GFileCopyFlags>(G_FILE_COPY_NOFOLLOW_SYMLINKS | G_FILE_COPY_ALL_METADATA);
    if (g_file_copy_attributes(source, target, flags, m_cancellable, &failure) == 0) {
        // GIO stops at the first attribute it cannot set (an owner, as an ordinary user); the
        // permissions and times are what matter.
        ::chmod(pTarget.constData(), info.st_mode & 07777);
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::utimensat(AT_FDCWD, pTarget.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
    ++m_progress.itemsDone;
    report();
    return true;
}

bool CopyEngine::copyIntoPlace(const QByteArray &pSource, const QByteArray &pTarget)
{
    const QByteArray temporary = temporaryName(parentOf(pTarget));
    if (!copyTree(pSource, temporary) || cancelled()) {
        removeTree(temporary);
        if (cancelled())
            noteFailure(pSource, G_IO_ERROR_CANCELLED, {});
        return false;
    }
    struct stat info = {};
    if (!lstatPath(temporary, info)) {
        return false; // the entry's problem is already noted
    }
    if (const int code = renameNoReplace(temporary, pTarget); code != 0) {
        removeTree(temporary);
        problems << QStringLiteral("\"%1\" could not be put in place: %2")
                        .arg(shown(pTarget), QString::fromLocal8Bit(strerror(code)));
        return false;
    }
    return true;
}

std::optional<QByteArray> CopyEngine::resolveConflict(const QByteArray &pSource,
                                                      const QByteArray &pFolder,
                                                      const QByteArray &pName,
                                                      QByteArray &pReplacedInTrash, bool &pEndJob)
{
    const QByteArray target = join(pFolder, pName);
    struct stat source = {};
    struct stat existing = {};
    lstatPath(pSource, source);
    lstatPath(target, existing);
    const bool sourceIsFolder = S_ISDIR(source.st_mode);
    const QByteArray other = freeName(pFolder, pName, sourceIsFolder);

    std::pair<ConflictChoice, bool> answer{ConflictChoice::Cancel, false};
    if (m_forAll) {
        answer = *m_forAll;
    } else {
        TransferConflict conflict;
        conflict.source = decodeFileName(pSource);
        conflict.target = decodeFileName(target);
        conflict.keepBothName = decodeFileName(other);
        conflict.sourceIsFolder = sourceIsFolder;
        conflict.targetIsFolder = S_ISDIR(existing.st_mode);
        answer = m_hooks.ask ? m_hooks.ask(conflict) : answer;
        if (answer.second && answer.first != ConflictChoice::Cancel)
            m_forAll = answer;
    }
    switch (answer.first) {
    case ConflictChoice::Skip:
        return std::nullopt;
    case ConflictChoice::KeepBoth:
        return join(pFolder, other);
    case ConflictChoice::Cancel:
        outcome = CopyJob::Outcome::Cancelled;
        pEndJob = true;
        return std::nullopt;
    case ConflictChoice::Replace:
        break;
    }
    // Replacing the folder that holds the source would throw the source away with it.
    if (isUnder(realPath(pSource), realPath(target))) {
        problems << QStringLiteral("\"%1\" cannot replace \"%2\", which contains it.")
                        .arg(shown(pSource), shown(target));
        return std::nullopt;
    }
    QString why;
    const std::optional<QByteArray> inTrash = moveToTrash(target, m_cancellable, why);
    if (!inTrash) {
        problems << QStringLiteral("\"%1\" was kept: it could not be moved to the trash (%2).")
                        .arg(shown(target), why);
        return std::nullopt;
    }
    if (inTrash->isEmpty())
        problems << QStringLiteral("\"%1\" was moved to the trash; undo cannot bring it back.")
                        .arg(shown(target));
    pReplacedInTrash = *inTrash;
    return target;
}

bool CopyEngine::transferOne(const QByteArray &pSource, const Totals &pTotals,
                             const QByteArray &pDestination, TransferMode pMode)
{
    struct stat source = {};
    if (!lstatPath(pSource, source)) {
        problems << QStringLiteral("\"%1\" no longer exists.").arg(shown(pSource));
        return true;
    }
    const int itemsAfter = m_progress.itemsDone + pTotals.items;
    const qint64 bytesAfter = m_fileBase + pTotals.bytes;
    const auto skipItem = [&] {
        m_progress.itemsDone = itemsAfter;
        m_fileBase = bytesAfter;
        m_progress.bytesDone = m_fileBase;
        report();
        return true;
    };

    const QByteArray name = baseName(pSource);
    QByteArray target = join(pDestination, name);
    QByteArray replacedInTrash;
    struct stat existing = {};
    if (lstatPath(target, existing)) {
        if (existing.st_dev == source.st_dev && existing.st_ino == source.st_ino) {
            // Dropped on its own folder: a move has nothing to do, a copy gets a free name.
            if (pMode == TransferMode::Move)
                return skipItem();
            target = join(pDestination, freeName(pDestination, name, S_ISDIR(source.st_mode)));
        } else {
            bool endJob = false;
            const std::optional<QByteArray> chosen =
                resolveConflict(pSource, pDestination, name, replacedInTrash, endJob);
            if (endJob)
                return false;
            if (!chosen)
                return skipItem();
            target = *chosen;
        }
    }

    const auto giveBackReplaced = [&] {
        if (!replacedInTrash.isEmpty() && !restoreFromTrash(replacedInTrash, target))
            problems << QStringLiteral("\"%1\" stays in the trash.").arg(shown(target));
    };

    if (pMode == TransferMode::Move) {
        const int code = renameNoReplace(pSource, target);
        if (code == 0) {
            placed.push_back(
                {decodeFileName(target), decodeFileName(pSource), decodeFileName(replacedInTrash)});
            return skipItem();
        }
        if (code != EXDEV) {
            problems << QStringLiteral("\"%1\" could not be moved: %2")
                            .arg(shown(pSource), QString::fromLocal8Bit(strerror(code)));
            giveBackReplaced();
            return skipItem();
        }
    }
    const qsizetype problemsBefore = problems.size();
    if (!copyIntoPlace(pSource, target)) {
        giveBackReplaced();
        return !m_endJob;
    }
    PlacedItem item{decodeFileName(target), QString(), decodeFileName(replacedInTrash)};
    if (pMode == TransferMode::Move) {
        // The original goes only once every entry of it has arrived.
        if (problems.size() == problemsBefore) {
            removeTree(pSource);
            item.origin = decodeFileName(pSource);
        } else {
            problems << QStringLiteral("\"%1\" was copied, not moved: not all of it arrived.")
                            .arg(shown(pSource));
        }
    }
    placed.push_back(item);
    m_progress.itemsDone = itemsAfter;
    report();
    return true;
}

void CopyEngine::transfer(const QStringList &pSources, const QString &pDestination,
                          TransferMode pMode)
{
    std::vector<QByteArray> sources;
    sources.reserve(static_cast<size_t>(pSources.size()));
    for (const QString &source : pSources)
        sources.push_back(cleanPath(encodeFileName(source)));
    const QByteArray destination = cleanPath(encodeFileName(pDestination));
    // One look at every source tree, for the room it needs and for the progress.
    std::vector<Totals> totals(sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        scan(sources[i], totals[i]);
        m_progress.itemsTotal += totals[i].items;
        m_progress.bytesTotal += totals[i].bytes;
    }
    if (!checkDestination(destination, sources, totals, pMode))
        return;
    removeStaleTemporaries(destination);

    m_lastReport = g_get_monotonic_time();
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!transferOne(sources[i], totals[i], destination, pMode))
            break;
    }
    m_progress.itemsDone = m_progress.itemsTotal;
    if (m_hooks.progress)
        m_hooks.progress(m_progress);
}

void CopyEngine::undo(const std::vector<PlacedItem> &pItems)
{
    m_progress.itemsTotal = static_cast<int>(pItems.size());
    // Last placed first, so that a later item that replaced an earlier one is undone first.
    for (auto item = pItems.rbegin(); item != pItems.rend(); ++item) {
        const QByteArray placedPath = encodeFileName(item->placed);
        m_progress.current = item->placed;
        struct stat info = {};
        bool gone = !lstatPath(placedPath, info);
        if (gone) {
            problems << QStringLiteral("\"%1\" is no longer there.").arg(shown(placedPath));
        } else if (!item->origin.isEmpty()) {
            const QByteArray origin = encodeFileName(item->origin);
            int code = renameNoReplace(placedPath, origin);
            if (code == EXDEV) {
                code = copyIntoPlace(placedPath, origin) ? 0 : EXDEV;
                if (code == 0)
                    removeTree(placedPath);
            }
            if (code != 0) {
                problems << QStringLiteral("\"%1\" could not be moved back to \"%2\".")
                                .arg(shown(placedPath), shown(origin));
                continue;
            }
            gone = true;
        } else {
            QString why;
            if (!moveToTrash(placedPath, m_cancellable, why)) {
                problems << QStringLiteral("\"%1\" could not be moved to the trash (%2).")
                                .arg(shown(placedPath), why);
                continue;
            }
            gone = true;
        }
        if (gone && !item->replacedInTrash.isEmpty()
            && !restoreFromTrash(encodeFileName(item->replacedInTrash), placedPath)) {
            problems << QStringLiteral("The replaced \"%1\" could not be brought back from the "
                                       "trash.")
                            .arg(shown(placedPath));
        }
        ++m_progress.itemsDone;
        report();
    }
    if (m_endJob)
        return;
    outcome = CopyJob::Outcome::Done;
}

} // namespace pindrel::platform
