// The drawer's file list showing large folders: how soon the user sees entries, and whether the
// window stays responsive while the rest of the folder is read.
//
//   first paint  time from setting Path to the end of the first paint of the list that shows
//                entries (goal: at most 150 ms)
//   stall        the longest gap between ticks of a 1 ms timer, from just before Path is set
//                until the folder is read, sorted and laid out (goal: at most 50 ms)
//   listed       time until every entry is in the list
//   memory       resident memory of the process with the folder shown, and its growth
//   ref          QDirIterator reading the same names in the same process, as a floor
//
// Folders of 100, 10,000 and 100,000 entries are made in $FILELIST_BENCH_DIR (default: the
// system's temporary folder). Each measurement runs in a fresh process, so that nothing cached
// by an earlier folder helps a later one: "cold" is the first folder the process shows, "warm"
// follows a small folder shown first (the icon theme, the MIME database and the style are then
// loaded, as in a program that has shown a drawer before).
//
//   filelist_bench [--view N] [--sizes 100,10000]      runs everything and prints the table
//   filelist_bench --child FOLDER COUNT VIEW cold|warm  one measurement (used by the above)

#include "uiprobes.h"

#include "drawer/filelist.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace benchprobes;

namespace {

constexpr double kFirstPaintGoalMs = 150;
constexpr double kStallGoalMs = 50;
// Listing, sorting and laying out are watched this long after the last entry arrived.
constexpr int kSettleMs = 500;
constexpr int kTimeoutMs = 120000;

// Records the end of the first paint of the list's viewport that shows an entry. Paint events
// are delivered inside notify(), so the time taken after it returns includes the painting.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *pReceiver, QEvent *pEvent) override
    {
        const bool result = QApplication::notify(pReceiver, pEvent);
        if (pEvent->type() == QEvent::Paint && m_view != nullptr && !m_painted
            && pReceiver == m_view->viewport()) {
            const QModelIndex first = m_view->model()->index(0, 0);
            if (first.isValid() && !m_view->visualRect(first).isEmpty()) {
                m_painted = true;
                m_paintedAtNs = m_clock.nsecsElapsed();
            }
        }
        return result;
    }

    void watch(QAbstractItemView *pView)
    {
        m_view = pView;
        m_painted = false;
        m_clock.start();
    }
    bool painted() const { return m_painted; }
    double paintedAtMs() const { return static_cast<double>(m_paintedAtNs) / 1e6; }
    double elapsedMs() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

private:
    QAbstractItemView *m_view = nullptr;
    bool m_painted = false;
    qint64 m_paintedAtNs = 0;
    QElapsedTimer m_clock;
};

// One measurement; prints "key=value" pairs on one line.
int runChild(BenchApplication &pApplication, const QString &pFolder, int pCount, int pView,
             bool pWarm)
{
    pindrel::FileList list;
    list.setView(pView);
    // The list's design size in a drawer window at 96 dots per inch.
    list.resize(425, 273);
    list.show();
    runEventsFor(50);

    if (pWarm) {
        QTemporaryDir small;
        for (const char *name : {"a.txt", "b.png", "c.pdf"}) {
            QFile file(small.filePath(QString::fromLatin1(name)));
            file.open(QIODevice::WriteOnly);
        }
        list.setPath(small.path());
        runEventsUntil([&] { return list.currentView()->model()->rowCount() == 3; }, kTimeoutMs);
        runEventsFor(200);
    }

    const qint64 residentBefore = residentKiB();
    bool loaded = false;
    QObject::connect(&list, &pindrel::FileList::folderLoaded, &list, [&] { loaded = true; });
    StallMeter stalls;
    stalls.start();
    runEventsFor(100);

    pApplication.watch(list.currentView());
    list.setPath(pFolder);
    const bool painted = runEventsUntil([&] { return pApplication.painted(); }, kTimeoutMs);
    const double firstPaintMs = pApplication.paintedAtMs();
    const bool complete = runEventsUntil(
        [&] { return loaded && list.currentView()->model()->rowCount() == pCount; }, kTimeoutMs);
    const double listedMs = pApplication.elapsedMs();
    runEventsFor(kSettleMs);
    const double stallMs = stalls.longestMs();
    const qint64 residentAfter = residentKiB();

    QElapsedTimer reference;
    reference.start();
    int names = 0;
    for (QDirIterator it(pFolder, QDir::AllEntries | QDir::NoDotAndDotDot); it.hasNext(); it.next())
        ++names;
    const double referenceMs = static_cast<double>(reference.nsecsElapsed()) / 1e6;

    std::printf("painted=%d complete=%d firstPaintMs=%.1f listedMs=%.1f stallMs=%.1f "
                "rssKiB=%lld rssGrowthKiB=%lld refMs=%.1f refNames=%d\n",
                painted ? 1 : 0, complete ? 1 : 0, firstPaintMs, listedMs, stallMs,
                static_cast<long long>(residentAfter),
                static_cast<long long>(residentAfter - residentBefore), referenceMs, names);
    return painted && complete ? 0 : 1;
}

int runAll(const QList<int> &pSizes, int pView)
{
    const QString base = qEnvironmentVariableIsEmpty("FILELIST_BENCH_DIR")
        ? QDir::tempPath()
        : qEnvironmentVariable("FILELIST_BENCH_DIR");
    QTemporaryDir root(base + QStringLiteral("/filelist-bench-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "filelist_bench: cannot make a folder in %s\n", qPrintable(base));
        return 2;
    }

    QTextStream out(stdout);
    out << "== File list (view " << pView << ", platform " << QGuiApplication::platformName()
        << ") ==\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("entries"), 8)
               .arg(QStringLiteral("run"), 5)
               .arg(QStringLiteral("1st paint"), 10)
               .arg(QStringLiteral("listed"), 9)
               .arg(QStringLiteral("max stall"), 10)
               .arg(QStringLiteral("RSS MiB"), 8)
               .arg(QStringLiteral("+MiB"), 6)
               .arg(QStringLiteral("ref ms"), 7);
    out.flush();

    bool goalsMet = true;
    for (const int size : pSizes) {
        const QString folder = root.filePath(QStringLiteral("folder-%1").arg(size));
        if (!makeFolder(folder, size)) {
            std::fprintf(stderr, "filelist_bench: cannot fill %s\n", qPrintable(folder));
            return 2;
        }
        for (const char *run : {"cold", "warm"}) {
            const ChildReport child =
                runSelf({QStringLiteral("--child"), folder, QString::number(size),
                         QString::number(pView), QString::fromLatin1(run)},
                        kTimeoutMs * 3);
            if (!child.ok) {
                out << QStringLiteral("%1 %2   failed: %3\n")
                           .arg(size, 8)
                           .arg(QLatin1String(run), 5)
                           .arg(child.line.trimmed());
                goalsMet = false;
                continue;
            }
            const QMap<QString, QString> &values = child.values;
            const double paint = values.value(QStringLiteral("firstPaintMs")).toDouble();
            const double stall = values.value(QStringLiteral("stallMs")).toDouble();
            goalsMet = goalsMet && paint <= kFirstPaintGoalMs && stall <= kStallGoalMs;
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                       .arg(size, 8)
                       .arg(QLatin1String(run), 5)
                       .arg(paint, 10, 'f', 1)
                       .arg(values.value(QStringLiteral("listedMs")).toDouble(), 9, 'f', 1)
                       .arg(stall, 10, 'f', 1)
                       .arg(values.value(QStringLiteral("rssKiB")).toDouble() / 1024, 8, 'f', 1)
                       .arg(values.value(QStringLiteral("rssGrowthKiB")).toDouble() / 1024, 6, 'f',
                            1)
                       .arg(values.value(QStringLiteral("refMs")).toDouble(), 7, 'f', 1);
            out.flush();
        }
    }
    out << "goals: first paint <= " << kFirstPaintGoalMs << " ms, no stall > " << kStallGoalMs
        << " ms: " << (goalsMet ? "met" : "NOT met") << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();

    if (arguments.size() == 6 && arguments.at(1) == QStringLiteral("--child"))
        return runChild(application, arguments.at(2), arguments.at(3).toInt(),
                        arguments.at(4).toInt(), arguments.at(5) == QStringLiteral("warm"));

    int view = 0;
    QList<int> sizes{100, 10000, 100000};
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == QStringLiteral("--view")) {
            view = arguments.at(i + 1).toInt();
        } else if (arguments.at(i) == QStringLiteral("--sizes")) {
            sizes.clear();
            for (const QString &size : arguments.at(i + 1).split(QLatin1Char(',')))
                sizes.append(size.toInt());
        }
    }
    return runAll(sizes, view);
}
