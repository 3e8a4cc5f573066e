#include "uiprobes.h"

#include <QCoreApplication>
#include <QProcess>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <iterator>

namespace benchprobes {

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

StallMeter::StallMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestNs = std::max(m_longestNs, now - m_lastNs);
        m_lastNs = now;
    });
}

void StallMeter::start()
{
    m_clock.start();
    m_lastNs = 0;
    m_longestNs = 0;
    m_timer.start();
}

double StallMeter::longestMs() const
{
    return static_cast<double>(std::max(m_longestNs, m_clock.nsecsElapsed() - m_lastNs)) / 1e6;
}

void runEventsFor(int pMs)
{
    QDeadlineTimer deadline(pMs);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents,
                                        static_cast<int>(deadline.remainingTime()));
}

bool runEventsUntil(const std::function<bool()> &pCondition, int pTimeoutMs)
{
    QDeadlineTimer deadline(pTimeoutMs);
    while (!pCondition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

bool makeFolder(const QString &pPath, int pCount)
{
    static const char *const suffixes[] = {".txt", ".jpg", ".pdf", ".odt", "", ".tar.gz", ".png"};
    if (!QDir().mkpath(pPath))
        return false;
    for (int i = 0; i < pCount; ++i) {
        const QString stem =
            QStringLiteral("%1/entry-%2").arg(pPath).arg(i, 6, 10, QLatin1Char('0'));
        if (i % 50 == 0) {
            if (!QDir().mkdir(stem))
                return false;
            continue;
        }
        QFile file(stem + QString::fromLatin1(suffixes[i % std::size(suffixes)]));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

QMap<QString, QString> parseLine(const QString &pLine)
{
    QMap<QString, QString> values;
    for (const QString &pair : pLine.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        values.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    return values;
}

double ChildReport::number(const char *pKey) const
{
    return values.value(QString::fromLatin1(pKey)).toDouble();
}

ChildReport runSelf(const QStringList &pArguments, int pTimeoutMs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), pArguments);
    child.waitForFinished(pTimeoutMs);
    ChildReport report;
    report.line = QString::fromLocal8Bit(child.readAllStandardOutput());
    report.values = parseLine(report.line);
    report.ok = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
        && !report.values.isEmpty();
    return report;
}

} // namespace benchprobes
