// Files dropped on a drawer: the copy the drop starts (CopyController, as Copiar_Archivo runs
// it for a drop) against `cp -r` of the same data into the same disk, in the same run.
//
//   throughput  bytes per second of the copy over those of cp -r (goal: at least 0.9)
//   stall       the longest gap between ticks of a 1 ms timer on the user-interface thread
//               while the copy runs, its progress window included (goal: at most 50 ms)
//
// Data: one file of 1 GiB, and a tree of 10,000 files of 20 KiB (about 200 MiB) in 100 folders,
// made in $COPY_BENCH_DIR (default: the current folder) and deleted at the end. Each copy runs
// five times, alternating with cp -r, into a fresh folder; the best time of each counts, so
// that both find the source in the page cache alike.

#include "uiprobes.h"

#include "dragfiles/copycontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

using namespace benchprobes;

namespace {

constexpr double kThroughputGoal = 0.9;
constexpr double kStallGoalMs = 50;
constexpr int kRuns = 5;
constexpr int kTimeoutMs = 600000;

bool writeFile(const QString &pPath, qint64 pBytes)
{
    QFile file(pPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, 'p');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7919 % 251);
    for (qint64 written = 0; written < pBytes;) {
        const qint64 part = std::min<qint64>(block.size(), pBytes - written);
        if (file.write(block.constData(), part) != part)
            return false;
        written += part;
    }
    return true;
}

bool makeTree(const QString &pRoot)
{
    for (int folder = 0; folder < 100; ++folder) {
        const QString path = pRoot + QStringLiteral("/folder%1").arg(folder);
        if (!QDir().mkpath(path))
            return false;
        for (int file = 0; file < 100; ++file) {
            if (!writeFile(path + QStringLiteral("/file%1.dat").arg(file), 20 * 1024))
                return false;
        }
    }
    return true;
}

double timeCp(const QString &pSource, const QString &pTarget)
{
    QDir().mkpath(pTarget);
    QElapsedTimer clock;
    clock.start();
    const int code =
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), pSource, pTarget});
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return code == 0 ? ms : -1;
}

struct Ours
{
    double ms = -1;
    double stallMs = 0;
};

Ours timeOurs(pindrel::CopyController &pCopies, const QString &pSource, const QString &pTarget)
{
    QDir().mkpath(pTarget);
    bool done = false;
    const QMetaObject::Connection finished =
        QObject::connect(&pCopies, &pindrel::CopyController::jobFinished, [&] { done = true; });
    StallMeter stall;
    stall.start();
    QElapsedTimer clock;
    clock.start();
    pCopies.add(pSource, pTarget, pindrel::platform::TransferMode::Copy);
    pCopies.startQueued();
    Ours result;
    if (runEventsUntil([&] { return done; }, kTimeoutMs))
        result.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    result.stallMs = stall.longestMs();
    QObject::disconnect(finished);
    return result;
}

bool measure(pindrel::CopyController &pCopies, const QString &pWork, const QString &pName,
             const QString &pSource, qint64 pBytes)
{
    double bestCp = 1e18;
    double bestOurs = 1e18;
    double worstStall = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString cpTarget = pWork + QStringLiteral("/cp-%1").arg(run);
        const QString oursTarget = pWork + QStringLiteral("/ours-%1").arg(run);
        // Each copy starts with the disk settled (what the one before left dirty written out),
        // and the two take turns at going first, so that neither pays for the other's writeback.
        double cp = -1;
        Ours ours;
        if (run % 2 == 0) {
            ::sync();
            cp = timeCp(pSource, cpTarget);
            ::sync();
            ours = timeOurs(pCopies, pSource, oursTarget);
        } else {
            ::sync();
            ours = timeOurs(pCopies, pSource, oursTarget);
            ::sync();
            cp = timeCp(pSource, cpTarget);
        }
        QDir(cpTarget).removeRecursively();
        QDir(oursTarget).removeRecursively();
        if (cp < 0 || ours.ms < 0) {
            std::printf("%s: a copy failed\n", qPrintable(pName));
            return false;
        }
        bestCp = std::min(bestCp, cp);
        bestOurs = std::min(bestOurs, ours.ms);
        worstStall = std::max(worstStall, ours.stallMs);
    }
    const double ratio = bestCp / bestOurs;
    const double mibPerSecond = static_cast<double>(pBytes) / (1 << 20) / (bestOurs / 1000);
    const bool ok = ratio >= kThroughputGoal && worstStall <= kStallGoalMs;
    std::printf("%-22s ours %8.1f ms (%6.0f MiB/s)  cp -r %8.1f ms  ratio %.2f (goal >= %.1f)  "
                "longest stall %5.1f ms (goal <= %.0f)  %s\n",
                qPrintable(pName), bestOurs, mibPerSecond, bestCp, ratio, kThroughputGoal,
                worstStall, kStallGoalMs, ok ? "ok" : "MISSED");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QString base = qEnvironmentVariableIsSet("COPY_BENCH_DIR")
        ? qEnvironmentVariable("COPY_BENCH_DIR")
        : QDir::currentPath();
    QTemporaryDir work(base + QStringLiteral("/copy-bench-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString big = work.filePath(QStringLiteral("big.bin"));
    const QString tree = work.filePath(QStringLiteral("tree"));
    if (!writeFile(big, qint64{1} << 30) || !makeTree(tree)) {
        std::printf("could not make the data in %s\n", qPrintable(work.path()));
        return 1;
    }
    pindrel::CopyController copies;
    bool ok =
        measure(copies, work.path(), QStringLiteral("one file of 1 GiB"), big, qint64{1} << 30);
    ok = measure(copies, work.path(), QStringLiteral("10,000 files, 200 MiB"), tree,
                 qint64{10000} * 20 * 1024)
        && ok;
    return ok ? 0 : 2;
}
