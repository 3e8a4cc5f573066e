// Opening a drawer on large folders, as the bar does it: from the button's release
// (DrawerOpener::AlternarCajon) to the drawer window's first paint of its list with entries.
//
//   first paint  time from the AlternarCajon call to the end of the first paint of the file
//                list's view that shows an entry (goal: at most 150 ms)
//   stall        the longest gap between ticks of a 1 ms timer from just before the call until
//                the folder is listed, sorted and laid out; the call itself counts, since it
//                runs on the user-interface thread (goal: at most 50 ms)
//   listed       time until every entry is in the list
//   drawer MiB   growth of the process's resident memory from before the call to the listed,
//                settled window: what one open drawer costs
//
// Folders of 100, 10,000 and 100,000 entries are made in $DRAWER_BENCH_DIR (default: the
// system's temporary folder). Each opening runs in a fresh process, so nothing cached by one
// folder helps the next: "cold" is the first window the process shows; "warm" follows another
// drawer opened on a small folder and closed again (fonts, icon theme, MIME database and the
// window system connection are then loaded, as in the running program, whose bar is up before
// any drawer opens). On an X display, a desktop file manager (pcmanfm) is timed on the same
// folders when it is installed (see filemanagerprobe.h); otherwise the output says so.
//
//   drawer_bench [--sizes 100,10000]          runs everything and prints the table
//   drawer_bench --child FOLDER COUNT cold|warm   one opening (used by the above)

#include "filemanagerprobe.h"
#include "uiprobes.h"

#include "bar/draweropener.h"
#include "drawer/filelist.h"
#include "drawer/form2.h"
#include "startup/appstate.h"

#include "platform/themeiconcache.h"
#include "txini/clsini.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>

using namespace benchprobes;

namespace {

constexpr double kFirstPaintGoalMs = 150;
constexpr double kStallGoalMs = 50;
constexpr int kSettleMs = 500;
constexpr int kTimeoutMs = 120000;
constexpr int16_t kDrawer = 1;
constexpr int16_t kWarmUpDrawer = 2;

// The file list's view whose viewport pObject is, null for any other object.
QAbstractItemView *fileListViewOf(QObject *pObject)
{
    auto *view = qobject_cast<QAbstractItemView *>(pObject->parent());
    if (view == nullptr || view->viewport() != pObject)
        return nullptr;
    for (QObject *ancestor = view->parent(); ancestor != nullptr; ancestor = ancestor->parent()) {
        if (qobject_cast<pindrel::FileList *>(ancestor) != nullptr)
            return view;
    }
    return nullptr;
}

// Records the end of the first paint of a file list's view that shows an entry. The opener
// lets events run while it builds the window, so the paint may come before it returns: every
// paint is watched, not only those of a window known beforehand.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *pReceiver, QEvent *pEvent) override
    {
        const bool result = QApplication::notify(pReceiver, pEvent);
        if (m_watching && !m_painted && pEvent->type() == QEvent::Paint) {
            if (QAbstractItemView *view = fileListViewOf(pReceiver)) {
                const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
                if (first.isValid() && !view->visualRect(first).isEmpty()) {
                    m_painted = true;
                    m_paintedAtNs = m_clock.nsecsElapsed();
                }
            }
        }
        return result;
    }

    void watch()
    {
        m_watching = true;
        m_painted = false;
        m_clock.start();
    }
    bool painted() const { return m_painted; }
    double paintedAtMs() const { return static_cast<double>(m_paintedAtNs) / 1e6; }
    double elapsedMs() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

private:
    bool m_watching = false;
    bool m_painted = false;
    qint64 m_paintedAtNs = 0;
    QElapsedTimer m_clock;
};

// One opening of drawer 1 on pFolder; prints "key=value" pairs on one line.
int runChild(BenchApplication &pApplication, const QString &pFolder, int pCount, bool pWarm)
{
    QTemporaryDir small;
    for (const char *name : {"a.txt", "b.png", "c.pdf"}) {
        QFile file(small.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
    }
    QTemporaryDir configFolder;
    const QString config = configFolder.filePath(QStringLiteral("config.ini"));
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return 2;
        // The drawer's design place and size at 96 dots per inch.
        file.write("[GRAL]\nCANTBOT=2\n[BUTTON1]\nCAPTION=Bench\nPATH=" + pFolder.toUtf8()
                   + "\nICON=\nLEFT=1500\nTOP=1500\nWIDTH=6855\nHEIGHT=5430\nVISIBLE=0\nVIEW=0\n"
                   + "[BUTTON2]\nCAPTION=Small\nPATH=" + small.path().toUtf8() + "\nICON=\n");
    }
    pindrel::AppState state;
    state.openStore(config);
    pindrel::DrawerOpener opener(state, nullptr);
    if (pWarm) {
        // Drawer 2, so that drawer 1 still opens on its own folder, not on the last one shown.
        opener.AlternarCajon(kWarmUpDrawer, 0.0F);
        const pindrel::Form2 *warmUp = opener.lastOpened();
        if (warmUp == nullptr)
            return 1;
        QAbstractItemView *view = warmUp->fV()->currentView();
        runEventsUntil([&] { return view->model()->rowCount(view->rootIndex()) == 3; }, kTimeoutMs);
        runEventsFor(200);
        opener.AlternarCajon(kWarmUpDrawer, 0.0F);
        runEventsFor(200);
    }

    const qint64 residentBefore = residentKiB();
    StallMeter stalls;
    stalls.start();
    runEventsFor(100);

    pApplication.watch();
    opener.AlternarCajon(kDrawer, 0.0F);
    const double returnedMs = pApplication.elapsedMs();
    pindrel::Form2 *window = opener.lastOpened();
    if (window == nullptr)
        return 1;
    const bool painted = runEventsUntil([&] { return pApplication.painted(); }, kTimeoutMs);
    const double firstPaintMs = pApplication.paintedAtMs();
    QAbstractItemView *view = window->fV()->currentView();
    const bool complete = runEventsUntil(
        [&] { return view->model()->rowCount(view->rootIndex()) == pCount; }, kTimeoutMs);
    const double listedMs = pApplication.elapsedMs();
    runEventsFor(kSettleMs);
    const double stallMs = stalls.longestMs();
    const qint64 residentAfter = residentKiB();

    std::printf("painted=%d complete=%d callMs=%.1f firstPaintMs=%.1f listedMs=%.1f "
                "stallMs=%.1f rssKiB=%lld rssGrowthKiB=%lld\n",
                painted ? 1 : 0, complete ? 1 : 0, returnedMs, firstPaintMs, listedMs, stallMs,
                static_cast<long long>(residentAfter),
                static_cast<long long>(residentAfter - residentBefore));
    return painted && complete ? 0 : 1;
}

// The same folders opened by the file manager, in the same run: time to its window mapped.
void compareWithFileManager(QTextStream &pOut, const QString &pManager, const QTemporaryDir &pRoot,
                            const QList<int> &pSizes)
{
    const QString small = pRoot.filePath(QStringLiteral("file-manager-start"));
    if (!makeFolder(small, 3))
        return;
    pOut << "== pcmanfm on the same folders (start of its command to its window mapped) ==\n";
    pOut << QStringLiteral("%1 %2 %3 %4\n")
                .arg(QStringLiteral("entries"), 8)
                .arg(QStringLiteral("first start ms"), 15)
                .arg(QStringLiteral("new window ms"), 14)
                .arg(QStringLiteral("RSS MiB"), 8);
    pOut.flush();
    const auto shown = [](const std::optional<double> &pValue, int pWidth) {
        return pValue ? QStringLiteral("%1").arg(*pValue, pWidth, 'f', 1)
                      : QStringLiteral("%1").arg(QStringLiteral("-"), pWidth);
    };
    for (const int size : pSizes) {
        const QString folder = pRoot.filePath(QStringLiteral("folder-%1").arg(size));
        const FileManagerTiming timing = timeFileManager(pManager, folder, small);
        pOut << QStringLiteral("%1 %2 %3 %4\n")
                    .arg(size, 8)
                    .arg(shown(timing.coldMs, 15), shown(timing.warmMs, 14),
                         shown(timing.residentMiB, 8));
        pOut.flush();
    }
}

int runAll(const QList<int> &pSizes)
{
    const QString base = qEnvironmentVariableIsEmpty("DRAWER_BENCH_DIR")
        ? QDir::tempPath()
        : qEnvironmentVariable("DRAWER_BENCH_DIR");
    QTemporaryDir root(base + QStringLiteral("/drawer-bench-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "drawer_bench: cannot make a folder in %s\n", qPrintable(base));
        return 2;
    }

    QTextStream out(stdout);
    out << "== Opening a drawer (platform " << QGuiApplication::platformName() << ") ==\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("entries"), 8)
               .arg(QStringLiteral("run"), 5)
               .arg(QStringLiteral("call ms"), 8)
               .arg(QStringLiteral("1st paint"), 10)
               .arg(QStringLiteral("listed"), 9)
               .arg(QStringLiteral("max stall"), 10)
               .arg(QStringLiteral("RSS MiB"), 8)
               .arg(QStringLiteral("drawer MiB"), 11);
    out.flush();

    bool goalsMet = true;
    for (const int size : pSizes) {
        const QString folder = root.filePath(QStringLiteral("folder-%1").arg(size));
        if (!makeFolder(folder, size)) {
            std::fprintf(stderr, "drawer_bench: cannot fill %s\n", qPrintable(folder));
            return 2;
        }
        for (const char *run : {"cold", "warm"}) {
            const ChildReport child = runSelf({QStringLiteral("--child"), folder,
                                               QString::number(size), QString::fromLatin1(run)},
                                              kTimeoutMs * 3);
            if (!child.ok) {
                out << QStringLiteral("%1 %2   failed: %3\n")
                           .arg(size, 8)
                           .arg(QLatin1String(run), 5)
                           .arg(child.line.trimmed());
                goalsMet = false;
                continue;
            }
            const auto number = [&child](const char *pKey) { return child.number(pKey); };
            // The goals are for the running program, whose bar is up: the warm opening.
            if (std::strcmp(run, "warm") == 0)
                goalsMet = goalsMet && number("firstPaintMs") <= kFirstPaintGoalMs
                    && number("stallMs") <= kStallGoalMs;
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                       .arg(size, 8)
                       .arg(QLatin1String(run), 5)
                       .arg(number("callMs"), 8, 'f', 1)
                       .arg(number("firstPaintMs"), 10, 'f', 1)
                       .arg(number("listedMs"), 9, 'f', 1)
                       .arg(number("stallMs"), 10, 'f', 1)
                       .arg(number("rssKiB") / 1024, 8, 'f', 1)
                       .arg(number("rssGrowthKiB") / 1024, 11, 'f', 1);
            out.flush();
        }
    }
    out << "goals: first paint <= " << kFirstPaintGoalMs << " ms, no stall > " << kStallGoalMs
        << " ms (warm openings): " << (goalsMet ? "met" : "NOT met") << "\n";
    const QString manager = QStandardPaths::findExecutable(QStringLiteral("pcmanfm"));
    if (manager.isEmpty()) {
        out << "pcmanfm: not installed, no comparison with a file manager in this run\n";
    } else if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        out << "pcmanfm: its windows can only be timed on an X display; not compared here\n";
    } else {
        compareWithFileManager(out, manager, root, pSizes);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication application(argc, argv);
    // As the program does at its start.
    pindrel::platform::ThemeIconCache::adoptDesktopTheme();
    const QStringList arguments = QCoreApplication::arguments();

    if (arguments.size() == 5 && arguments.at(1) == QStringLiteral("--child"))
        return runChild(application, arguments.at(2), arguments.at(3).toInt(),
                        arguments.at(4) == QStringLiteral("warm"));

    QList<int> sizes{100, 10000, 100000};
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--sizes")) {
        sizes.clear();
        for (const QString &size : arguments.at(2).split(QLatin1Char(',')))
            sizes.append(size.toInt());
    }
    return runAll(sizes);
}
