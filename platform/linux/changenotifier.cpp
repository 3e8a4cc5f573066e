#include "platform/changenotifier.h"

#include "platform/filenamecodec.h"
#include "shellns/mounttable.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileSystemWatcher>
#include <QtCore/QSocketNotifier>

#include <map>
#include <set>
#include <vector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace pindrel::platform {

namespace {

// What a watched folder reports. IN_ONLYDIR keeps a root that is not a folder out.
constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB
    | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

bool isAtOrUnder(const QByteArray &pPath, const QByteArray &pFolder)
{
    return pPath == pFolder
        || (pPath.startsWith(pFolder)
            && (pFolder.endsWith('/') || pPath.at(pFolder.size()) == '/'));
}

QByteArray joined(const QByteArray &pFolder, const char *pName)
{
    QByteArray result = pFolder;
    if (!result.endsWith('/'))
        result += '/';
    result += pName;
    return result;
}

struct Watch
{
    QByteArray path;
    QByteArray root;
    int depthLeft = 0;
};

// One event copied out of the read buffer, so that moves can be paired before anything is
// reported.
struct RawEvent
{
    int wd = -1;
    uint32_t mask = 0;
    uint32_t cookie = 0;
    QByteArray name;
};

} // namespace

class ChangeNotifier::Private
{
public:
    explicit Private(ChangeNotifier *pOwner)
        : q(pOwner)
    { }

    ~Private()
    {
        inotifyNotifier.reset();
        if (inotifyFd >= 0)
            ::close(inotifyFd);
        mountNotifier.reset();
        if (mountFd >= 0)
            ::close(mountFd);
    }

    // Adds a watch for pPath and, while pDepthLeft allows, its subfolders. Symbolic links to
    // folders are not followed below the root, so a link loop cannot run away.
    bool addWatch(const QByteArray &pPath, const QByteArray &pRoot, int pDepthLeft)
    {
        const int wd = inotify_add_watch(inotifyFd, pPath.constData(), kWatchMask);
        if (wd < 0)
            return false;
        auto found = watches.find(wd);
        if (found == watches.end()) {
            watches.emplace(wd, Watch{pPath, pRoot, pDepthLeft});
            byPath[pPath] = wd;
        } else if (found->second.depthLeft < pDepthLeft) {
            // The same folder reached again (a nested root): keep the deeper reach.
            found->second.depthLeft = pDepthLeft;
        }
        if (pDepthLeft > 0) {
            const QDir dir(decodeFileName(pPath));
            const auto names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden
                                             | QDir::System | QDir::NoSymLinks);
            for (const QString &name : names)
                addWatch(joined(pPath, encodeFileName(name).constData()), pRoot, pDepthLeft - 1);
        }
        return true;
    }

    void forgetWatch(int pWd, bool pRemoveFromKernel)
    {
        auto found = watches.find(pWd);
        if (found == watches.end())
            return;
        auto byPathIt = byPath.find(found->second.path);
        if (byPathIt != byPath.end() && byPathIt->second == pWd)
            byPath.erase(byPathIt);
        watches.erase(found);
        if (pRemoveFromKernel)
            inotify_rm_watch(inotifyFd, pWd);
    }

    // Drops the watches at or under pFolder (a folder that went away or moved out of sight).
    void forgetTree(const QByteArray &pFolder)
    {
        std::vector<int> gone;
        for (const auto &[wd, watch] : watches)
            if (isAtOrUnder(watch.path, pFolder))
                gone.push_back(wd);
        for (int wd : gone)
            forgetWatch(wd, true);
    }

    // A watched folder moved inside the watched area: the kernel keeps its watches, only the
    // paths we know them by change.
    void renameTree(const QByteArray &pOld, const QByteArray &pNew)
    {
        std::vector<std::pair<int, QByteArray>> moved;
        for (const auto &[wd, watch] : watches)
            if (isAtOrUnder(watch.path, pOld))
                moved.emplace_back(wd, pNew + watch.path.mid(pOld.size()));
        for (const auto &[wd, path] : moved) {
            byPath.erase(watches[wd].path);
            watches[wd].path = path;
            byPath[path] = wd;
        }
    }

    void readEvents()
    {
        std::vector<RawEvent> events;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(inotifyFd, buffer, sizeof buffer);
            if (got <= 0)
                break; // EAGAIN: everything read (the descriptor is non-blocking)
            for (ssize_t at = 0; at < got;) {
                inotify_event header;
                std::memcpy(&header, buffer + at, sizeof header);
                RawEvent event{header.wd, header.mask, header.cookie, {}};
                if (header.len > 0)
                    event.name = QByteArray(buffer + at + sizeof header); // NUL padded
                events.push_back(std::move(event));
                at += static_cast<ssize_t>(sizeof header + header.len);
            }
        }
        handle(events);
    }

    void handle(const std::vector<RawEvent> &pEvents)
    {
        // Moves out of a watched folder, waiting for their other half in the same batch.
        std::map<uint32_t, std::pair<QByteArray, bool>> movedFrom;
        for (const RawEvent &event : pEvents) {
            auto found = watches.find(event.wd);
            if (found == watches.end())
                continue; // overflow, or a watch already forgotten
            const Watch watch = found->second;
            const bool isDir = (event.mask & IN_ISDIR) != 0;
            const QByteArray path =
                event.name.isEmpty() ? watch.path : joined(watch.path, event.name.constData());
            const QString text = decodeFileName(path);

            if (event.mask & IN_IGNORED) {
                forgetWatch(event.wd, false);
            } else if (event.mask & IN_CREATE) {
                if (isDir) {
                    if (watch.depthLeft > 0)
                        addWatch(path, watch.root, watch.depthLeft - 1);
                    Q_EMIT q->folderCreated(text);
                }
            } else if (event.mask & IN_DELETE) {
                if (isDir)
                    Q_EMIT q->folderRemoved(text);
            } else if (event.mask & IN_MOVED_FROM) {
                movedFrom[event.cookie] = {path, isDir};
            } else if (event.mask & IN_MOVED_TO) {
                auto from = movedFrom.find(event.cookie);
                if (from != movedFrom.end()) {
                    if (isDir) {
                        renameTree(from->second.first, path);
                        Q_EMIT q->folderRenamed(decodeFileName(from->second.first), text);
                    } else {
                        Q_EMIT q->itemUpdated(text);
                    }
                    movedFrom.erase(from);
                } else if (isDir) {
                    if (watch.depthLeft > 0)
                        addWatch(path, watch.root, watch.depthLeft - 1);
                    Q_EMIT q->folderCreated(text);
                }
            } else if (event.mask & (IN_ATTRIB | IN_CLOSE_WRITE)) {
                // A watched subfolder's own attributes arrive twice (from itself and from its
                // parent); the parent's report is the one kept, except for a root.
                if (!event.name.isEmpty() || roots.count(watch.path) != 0)
                    Q_EMIT q->itemUpdated(text);
            } else if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                // Below a root the parent reports the removal; a root has no watched parent.
                if (roots.erase(watch.path) != 0) {
                    forgetTree(watch.path);
                    Q_EMIT q->folderRemoved(text);
                }
            }
        }
        // The other half never came: moved out of the watched area, as good as removed.
        for (const auto &[cookie, from] : movedFrom) {
            if (!from.second)
                continue;
            forgetTree(from.first);
            Q_EMIT q->folderRemoved(decodeFileName(from.first));
        }
    }

    std::set<QByteArray> readMountPoints() const
    {
        std::set<QByteArray> points;
        QFile file(mountTablePath);
        // /proc files report size 0, so read until the end rather than by size.
        if (!file.open(QIODevice::ReadOnly))
            return points;
        const QByteArray content = file.readAll();
        for (const MountEntry &entry : MountTable::parse(content))
            points.insert(entry.mountPoint);
        return points;
    }

    ChangeNotifier *q;
    int inotifyFd = -1;
    std::unique_ptr<QSocketNotifier> inotifyNotifier;
    std::map<int, Watch> watches;
    std::map<QByteArray, int> byPath;
    std::map<QByteArray, int> roots; // root path -> depth

    QString mountTablePath;
    int mountFd = -1;
    std::unique_ptr<QSocketNotifier> mountNotifier;
    std::unique_ptr<QFileSystemWatcher> mountWatcher;
    std::set<QByteArray> mountPoints;
};

QString ChangeNotifier::defaultMountTablePath()
{
    return QStringLiteral("/proc/self/mounts");
}

ChangeNotifier::ChangeNotifier(const QString &pMountTablePath, QObject *pParent)
    : QObject(pParent)
    , d(std::make_unique<Private>(this))
{
    d->inotifyFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (d->inotifyFd >= 0) {
        d->inotifyNotifier = std::make_unique<QSocketNotifier>(d->inotifyFd, QSocketNotifier::Read);
        connect(d->inotifyNotifier.get(), &QSocketNotifier::activated, this,
                [this] { d->readEvents(); });
    }

    d->mountTablePath = pMountTablePath;
    d->mountPoints = d->readMountPoints();
    if (pMountTablePath.startsWith(QLatin1String("/proc/"))) {
        // The kernel flags a changed mount table as an exceptional condition (POLLPRI) on an
        // open descriptor of it; the flag is cleared by the poll that reports it.
        d->mountFd = ::open(QFile::encodeName(pMountTablePath).constData(), O_RDONLY | O_CLOEXEC);
        if (d->mountFd >= 0) {
            d->mountNotifier =
                std::make_unique<QSocketNotifier>(d->mountFd, QSocketNotifier::Exception);
            connect(d->mountNotifier.get(), &QSocketNotifier::activated, this,
                    [this] { rescanMounts(); });
        }
    } else {
        d->mountWatcher = std::make_unique<QFileSystemWatcher>();
        d->mountWatcher->addPath(pMountTablePath);
        connect(d->mountWatcher.get(), &QFileSystemWatcher::fileChanged, this, [this] {
            // A file replaced by rename drops out of the watcher; take it up again.
            if (!d->mountWatcher->files().contains(d->mountTablePath))
                d->mountWatcher->addPath(d->mountTablePath);
            rescanMounts();
        });
    }
}

ChangeNotifier::~ChangeNotifier() = default;

bool ChangeNotifier::isValid() const
{
    return d->inotifyFd >= 0;
}

bool ChangeNotifier::watchFolder(const QString &pFolder, int pDepth)
{
    if (d->inotifyFd < 0 || pFolder.isEmpty())
        return false;
    const QByteArray root = encodeFileName(QDir::cleanPath(QDir(pFolder).absolutePath()));
    if (d->roots.count(root) != 0)
        unwatchFolder(decodeFileName(root));
    if (!d->addWatch(root, root, std::max(0, pDepth)))
        return false;
    d->roots[root] = std::max(0, pDepth);
    return true;
}

void ChangeNotifier::unwatchFolder(const QString &pFolder)
{
    const QByteArray root = encodeFileName(QDir::cleanPath(QDir(pFolder).absolutePath()));
    if (d->roots.erase(root) == 0)
        return;
    std::vector<int> gone;
    for (const auto &[wd, watch] : d->watches)
        if (watch.root == root)
            gone.push_back(wd);
    for (int wd : gone)
        d->forgetWatch(wd, true);
}

QStringList ChangeNotifier::watchedFolders() const
{
    QStringList result;
    for (const auto &[path, wd] : d->byPath)
        result.append(decodeFileName(path));
    result.sort();
    return result;
}

void ChangeNotifier::rescanMounts()
{
    std::set<QByteArray> now = d->readMountPoints();
    const std::set<QByteArray> before = std::exchange(d->mountPoints, now);
    for (const QByteArray &point : before)
        if (now.count(point) == 0)
            Q_EMIT mediaRemoved(decodeFileName(point));
    for (const QByteArray &point : now)
        if (before.count(point) == 0)
            Q_EMIT mediaInserted(decodeFileName(point));
}

} // namespace pindrel::platform
