#include "platform/singleinstance.h"

#include <QtCore/QCryptographicHash>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QDir>
#include <QtCore/QLockFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QThread>
#include <QtNetwork/QLocalServer>
#include <QtNetwork/QLocalSocket>

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

} // namespace

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
    if (m_server)
        m_server->close();
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

    // A socket file left by a crashed first copy would make listen() fail; the lock proves that
    // nobody serves it any more.
    QLocalServer::removeServer(m_serverPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // Without the server the program still runs as the only copy; later copies then end
    // without bringing it forward.
    m_server->listen(m_serverPath);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // A request is one short line; anything else is ignored.
            while (socket->canReadLine()) {
                if (socket->readLine(64) == activateRequest)
                    Q_EMIT activationRequested();
            }
        });
    }
}

bool SingleInstance::notifyFirst()
{
    if (isFirst())
        return false;
    // The first copy may hold the lock and not listen yet (it is starting): try again for a
    // short while rather than give up at once.
    const QDeadlineTimer deadline(notifyTimeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_serverPath);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(retryPauseMs);
    }
    socket.write(activateRequest.data(), activateRequest.size());
    const bool written = socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))
        || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(static_cast<int>(deadline.remainingTime()));
    return written;
}

} // namespace pindrel::platform
