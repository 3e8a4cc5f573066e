#pragma once

// What the in-process user-interface benchmarks share: the resident memory of the process, the
// longest stall of the event loop, running the event loop for a while or until a condition,
// folders of many entries, and the one-line "key=value" reports of their child processes.

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace benchprobes {

// VmRSS of this process in KiB; -1 when it cannot be read.
qint64 residentKiB();

// The longest gap between ticks of a 1 ms timer: how long the event loop was kept from running.
class StallMeter : public QObject
{
public:
    StallMeter();
    void start();
    // Counts the gap up to now as well: a stall still going on when the measurement ends.
    double longestMs() const;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
};

void runEventsFor(int pMs);
// False when pTimeoutMs passed before pCondition held.
bool runEventsUntil(const std::function<bool()> &pCondition, int pTimeoutMs);

// A folder of pCount entries: one in fifty a folder, the files of a few common types.
bool makeFolder(const QString &pPath, int pCount);

// The "key=value key=value" line a child process printed, as a map.
QMap<QString, QString> parseLine(const QString &pLine);

// What one run of this benchmark's own program as a child printed.
struct ChildReport
{
    bool ok = false; // exited with 0 and printed a report
    QString line; // its standard output, as printed
    QMap<QString, QString> values;
    // A value of the report as a number; 0 when it is missing.
    double number(const char *pKey) const;
};

// Runs this program again with pArguments (its standard error goes to ours) and waits at most
// pTimeoutMs for it.
ChildReport runSelf(const QStringList &pArguments, int pTimeoutMs);

} // namespace benchprobes
