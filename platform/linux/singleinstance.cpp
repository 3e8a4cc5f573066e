#include "platform/singleinstance.h"

#include <QtCore/QMetaObject>

#include <QtCore/QCryptographicHash>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QLockFile>
#include <QtCore/QSocketNotifier>
#include <QtCore/QStandardPaths>
#include <QtCore/QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace pindrel::platform {

namespace {

constexpr QByteArrayView activateRequest = "activate\n";
constexpr int notifyTimeoutMs = 2000;
constexpr int retryPauseMs = 50;

QString runtimeFolder()
{
    // The runtime folder is private to the user and emptied at logout, so a lock left behind
    // by a crash does not survive the session; the temporary folder is the fallback.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

// A file name safe for any key: the readable part for people looking at the folder, the hash
// so that keys differing only in dropped characters stay apart.
QString baseNameFor(const QString &pKey)
{
    QString readable;
    for (const QChar c : pKey) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
            || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
        readable += plain ? c : u'_';
    }
    const QByteArray hash =
        QCryptographicHash::hash(pKey.toUtf8(), QCryptographicHash::Sha256).toHex().left(12);
    return readable.left(40) + u'-' + QString::fromLatin1(hash);
}

// The socket address of pPath; false when the path does not fit (the program then runs
// without serving, or cannot reach, activation requests).
bool socketAddress(const QString &pPath, sockaddr_un &pAddress)
{
    const QByteArray encoded = QFile::encodeName(pPath);
    std::memset(&pAddress, 0, sizeof pAddress);
    pAddress.sun_family = AF_UNIX;
    if (encoded.isEmpty() || static_cast<std::size_t>(encoded.size()) >= sizeof pAddress.sun_path)
        return false;
    std::memcpy(pAddress.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}

} // namespace

// One accepted connection: reads its request line and closes.
class SingleInstance::Connection
{
public:
    Connection(int pDescriptor, SingleInstance &pOwner)
        : m_descriptor(pDescriptor)
        , m_notifier(pDescriptor, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, &pOwner,
                         [this, &pOwner] { pOwner.readFrom(this); });
    }
    ~Connection() { ::close(m_descriptor); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    int descriptor() const { return m_descriptor; }
    QByteArray &buffer() { return m_buffer; }

private:
    int m_descriptor;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
};

SingleInstance::SingleInstance(const QString &pKey, QObject *pParent)
    : QObject(pParent)
{
    const QString base = QDir(runtimeFolder()).filePath(baseNameFor(pKey));
    m_lockFilePath = base + QStringLiteral(".lock");
    // A full path keeps the socket in the same folder instead of the temporary one.
    m_serverPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance()
{
    m_connections.clear();
    m_listener.reset();
    if (m_listening >= 0) {
        ::close(m_listening);
        ::unlink(QFile::encodeName(m_serverPath).constData());
    }
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::lockFilePath() const
{
    return m_lockFilePath;
}

QString SingleInstance::serverPath() const
{
    return m_serverPath;
}

bool SingleInstance::isFirst()
{
    if (m_state != State::Undecided)
        return m_state == State::First;

    auto lock = std::make_unique<QLockFile>(m_lockFilePath);
    // The lock is held for the whole run: it must never turn stale by age, only when the
    // process that wrote it is gone (QLockFile checks the process id recorded in the file).
    // Qt's own file lock already protects a live holder on a local disk; this also covers
    // file systems without one.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        m_state = State::Second;
        return false;
    }
    m_lock = std::move(lock);
    m_state = State::First;

    // Without the socket the program still runs as the only copy; later copies then end
    // without bringing it forward.
    listen();
    return true;
}

void SingleInstance::listen()
{
    sockaddr_un address{};
    if (!socketAddress(m_serverPath, address))
        return;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return;
    // A socket file left by a crashed first copy would make bind() fail; the lock proves that
    // nobody serves it any more.
    ::unlink(address.sun_path);
    // Only this user may connect: the runtime folder is private already, the temporary folder
    // (the fallback) is not.
    if (::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(descriptor, 8) != 0) {
        ::close(descriptor);
        return;
    }
    m_listening = descriptor;
    m_listener = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    connect(m_listener.get(), &QSocketNotifier::activated, this,
            &SingleInstance::acceptConnections);
}

void SingleInstance::acceptConnections()
{
    for (;;) {
        const int descriptor =
            ::accept4(m_listening, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor < 0)
            return; // EAGAIN: nothing more waiting; anything else: try at the next wake-up
        m_connections.push_back(std::make_unique<Connection>(descriptor, *this));
    }
}

void SingleInstance::readFrom(Connection *pConnection)
{
    char chunk[64];
    const ssize_t count = ::read(pConnection->descriptor(), chunk, sizeof chunk);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    bool done = count <= 0;
    if (count > 0) {
        QByteArray &buffer = pConnection->buffer();
        buffer.append(chunk, count);
        // A request is one short line; anything else is ignored.
        const qsizetype end = buffer.indexOf('\n');
        if (end >= 0) {
            if (QByteArrayView(buffer).first(end + 1) == activateRequest)
                Q_EMIT activationRequested();
            done = true;
        } else if (buffer.size() > 64) {
            done = true;
        }
    }
    if (!done)
        return;
    // The connection's notifier is the sender of this call: it goes once the call is over.
    const auto found = std::ranges::find_if(
        m_connections, [pConnection](const auto &pOwned) { return pOwned.get() == pConnection; });
    if (found != m_connections.end()) {
        std::unique_ptr<Connection> owned = std::move(*found);
        m_connections.erase(found);
        QMetaObject::invokeMethod(
            this, [gone = std::shared_ptr<Connection>(std::move(owned))] {}, Qt::QueuedConnection);
    }
}

bool SingleInstance::notifyFirst()
{
    if (isFirst())
        return false;
    sockaddr_un address{};
    if (!socketAddress(m_serverPath, address))
        return false;
    // The first copy may hold the lock and not listen yet (it is starting): try again for a
    // short while rather than give up at once.
    const QDeadlineTimer deadline(notifyTimeoutMs);
    for (;;) {
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (descriptor < 0)
            return false;
        if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address)
            == 0) {
            // The request is far smaller than any socket buffer: one write takes it whole.
            const bool written = ::send(descriptor, activateRequest.data(),
                                        static_cast<size_t>(activateRequest.size()), MSG_NOSIGNAL)
                == activateRequest.size();
            // What was sent stays readable for the first copy after this end is closed.
            ::close(descriptor);
            return written;
        }
        ::close(descriptor);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(retryPauseMs, deadline.remainingTime())));
    }
}

} // namespace pindrel::platform
