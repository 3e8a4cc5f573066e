#pragma once

// One running copy per key. The first copy holds a lock file and listens on a local socket,
// both in the user's runtime folder; a later copy finds the lock taken and tells the first copy,
// through the socket, to bring its window to the front.

#include "platform/platformexport.h"

#include <QtCore/QObject>
#include <QtCore/QString>

#include <memory>
#include <vector>

class QLockFile;
class QSocketNotifier;

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT SingleInstance : public QObject
{
    Q_OBJECT

public:
    // pKey names the program; copies with the same key exclude each other. Nothing is touched
    // until isFirst().
    explicit SingleInstance(const QString &pKey, QObject *pParent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy: takes the lock (a lock left by a copy that died is
    // recognised as stale and taken over) and starts listening for activation requests. False
    // when another live copy holds it; a later copy then writes nothing at all. The answer is
    // decided on the first call and kept.
    bool isFirst();

    // From a later copy: asks the first copy to come to the front. True when the request was
    // delivered. Waits at most about two seconds for the first copy. Runs isFirst() when it has
    // not run yet; on the first copy itself it returns false and sends nothing.
    bool notifyFirst();

    // Where the lock file and the socket live: QStandardPaths::RuntimeLocation, else the
    // temporary folder.
    QString lockFilePath() const;
    QString serverPath() const;

Q_SIGNALS:
    // In the first copy: a later copy asked to bring the program to the front.
    void activationRequested();

private:
    enum class State { Undecided, First, Second };

    class Connection;

    void listen();
    void acceptConnections();
    void readFrom(Connection *pConnection);

    QString m_lockFilePath;
    QString m_serverPath;
    std::unique_ptr<QLockFile> m_lock;
    int m_listening = -1; // the listening socket, -1 without one
    std::unique_ptr<QSocketNotifier> m_listener;
    std::vector<std::unique_ptr<Connection>> m_connections;
    State m_state = State::Undecided;
};

} // namespace pindrel::platform
