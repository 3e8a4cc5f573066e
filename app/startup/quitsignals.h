#pragma once

// Turns the termination signals (SIGINT, SIGTERM, SIGHUP) into a Qt signal on the main thread,
// so that the program leaves the way "Close Pindrel" does and gives its screen edge back.

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace pindrel {

class QuitSignals : public QObject
{
    Q_OBJECT

public:
    // Only one may exist at a time: the handlers write to its pipe.
    explicit QuitSignals(QObject *pParent = nullptr);
    ~QuitSignals() override;

Q_SIGNALS:
    void received(int pSignal);

private:
    void readSignal();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace pindrel
