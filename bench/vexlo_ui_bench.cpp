// The path combo as its user meets it, measured against its references in the same run:
//
//   completion  a folder of 100,000 entries: the time from the keystroke that ends the folder's
//               path ("/", followed at once by "e") until the first suggestions show (goal: at
//               most 100 ms), the time a further letter takes to its suggestions, and the
//               longest stall of the event loop over both (goal: at most 50 ms); against a
//               plain QCompleter over QFileSystemModel on a QLineEdit, typed into the same way
//   populate    making the list window of a desktop of 200 folders (a quarter of them shared,
//               a quarter links) and 50 drives with overlays and tooltips on, against the same
//               with both off (goal: at most 1.2 times as long)
//
// Medians of several runs, the two sides of each comparison taking turns. The folders are made
// in $VEXLO_BENCH_DIR (default: the system's temporary folder).

#include "uiprobes.h"
#include "vexlosandbox.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/pathcompleter.h"
#include "vexlo/vexloctrl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace benchprobes;

namespace {

constexpr int kEntries = 100000;
constexpr int kCompletionRuns = 5;
constexpr int kPopulateRuns = 31;
constexpr double kFirstSuggestionsGoalMs = 100;
constexpr double kStallGoalMs = 50;
constexpr double kPopulateGoalRatio = 1.2;
constexpr int kTimeoutMs = 60000;

double median(std::vector<double> pValues)
{
    std::sort(pValues.begin(), pValues.end());
    return pValues.empty() ? 0 : pValues[pValues.size() / 2];
}

QString benchFolder()
{
    const QString configured = qEnvironmentVariable("VEXLO_BENCH_DIR");
    return configured.isEmpty() ? QDir::tempPath() : configured;
}

// Types one character into pTarget as the keyboard would, press and release.
void type(QWidget *pTarget, Qt::Key pKey, const QString &pText)
{
    QKeyEvent press(QEvent::KeyPress, pKey, Qt::NoModifier, pText);
    QApplication::sendEvent(pTarget, &press);
    QKeyEvent release(QEvent::KeyRelease, pKey, Qt::NoModifier, pText);
    QApplication::sendEvent(pTarget, &release);
}

struct Completion
{
    bool ok = false;
    double firstMs = 0; // keystroke to the first suggestions
    double nextMs = 0; // the next letter to its suggestions
    double stallMs = 0;
};

// One typing of "/e" and then "n" after pFolder, in an edit box that pTarget takes keys for, where
// pShown tells when suggestions are up.
Completion typeInto(QWidget *pTarget, QLineEdit *pEdit, const QString &pFolder,
                    const std::function<bool()> &pShown, const std::function<void()> &pStarting)
{
    Completion result;
    // The folder's path typed as a user types it, each key given its moment, so that each side
    // reads the folders on the way as it would.
    pEdit->clear();
    for (const QChar character : pFolder) {
        type(pTarget, Qt::Key_unknown, QString(character));
        runEventsFor(2);
    }
    runEventsFor(200);
    pStarting();
    StallMeter stall;
    stall.start();
    QElapsedTimer clock;
    clock.start();
    // "/e" as typed: the folder's path is complete with the first key, the second starts the
    // name (a completer over QFileSystemModel suggests nothing for a bare folder).
    type(pTarget, Qt::Key_Slash, QStringLiteral("/"));
    type(pTarget, Qt::Key_E, QStringLiteral("e"));
    if (!runEventsUntil(pShown, kTimeoutMs))
        return result;
    result.firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    type(pTarget, Qt::Key_N, QStringLiteral("n"));
    if (!runEventsUntil(pShown, kTimeoutMs))
        return result;
    result.nextMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    result.stallMs = stall.longestMs();
    result.ok = true;
    return result;
}

Completion ours(const QString &pFolder)
{
    vexlo::CVexloCtrl control;
    control.AutoUpdate(false);
    control.resize(500, 30);
    control.show();
    QApplication::setActiveWindow(&control);
    vexlo::CNamespaceComboBox *combo = control.listWindow();
    combo->setFocus();
    vexlo::PathCompleter *completer = combo->pathCompleter();
    // Suggestions shown since the clock started, and not looked at yet.
    bool fresh = false;
    QObject::connect(completer, &vexlo::PathCompleter::suggested, &control,
                     [&] { fresh = completer->popupVisible(); });
    return typeInto(
        combo, combo->lineEdit(), pFolder, [&] { return std::exchange(fresh, false); },
        [&] { fresh = false; });
}

Completion reference(const QString &pFolder)
{
    QLineEdit edit;
    auto *completer = new QCompleter(&edit);
    auto *model = new QFileSystemModel(completer);
    model->setRootPath(QString());
    completer->setModel(model);
    edit.setCompleter(completer);
    edit.resize(500, 30);
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus();
    QString last;
    return typeInto(
        &edit, &edit, pFolder,
        [&] {
            // Up with rows, and with those of what is typed now.
            QAbstractItemView *popup = completer->popup();
            if (!popup->isVisible() || popup->model()->rowCount() == 0
                || completer->completionPrefix() == last
                || completer->completionPrefix() != edit.text())
                return false;
            last = completer->completionPrefix();
            return true;
        },
        [&] { last = edit.text(); });
}

// The time to make and fill the list window of pSandbox's namespace, in milliseconds.
double populate(const VexloSandbox &pSandbox, bool pOverlaysAndTips)
{
    vexlo::CVexloCtrl control(pSandbox.shell());
    control.AutoUpdate(false);
    control.setUserShareFolder(pSandbox.shareFolder());
    control.ShowOverlayIcons(pOverlaysAndTips);
    control.TooltipType(pOverlaysAndTips ? 3 : 0);
    QElapsedTimer clock;
    clock.start();
    control.createControlWindow();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

const char *verdict(bool pMet)
{
    return pMet ? "met" : "MISSED";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const QTemporaryDir work(benchFolder() + QStringLiteral("/vexlo-completion-XXXXXX"));
    const QString folder = work.path() + QStringLiteral("/big");
    if (!work.isValid() || !makeFolder(folder, kEntries)) {
        std::fprintf(stderr, "vexlo_ui_bench: cannot make %s\n", qPrintable(folder));
        return 1;
    }
    // A first look at the folder by each side, so that neither pays for the disk alone.
    ours(folder);
    reference(folder);
    std::vector<double> first, next, stall, refFirst, refNext, refStall;
    for (int run = 0; run < kCompletionRuns; ++run) {
        const Completion mine = ours(folder);
        const Completion theirs = reference(folder);
        if (!mine.ok || !theirs.ok) {
            std::fprintf(stderr, "vexlo_ui_bench: no suggestions (%s)\n",
                         mine.ok ? "QFileSystemModel" : "vexlo");
            return 1;
        }
        first.push_back(mine.firstMs);
        next.push_back(mine.nextMs);
        stall.push_back(mine.stallMs);
        refFirst.push_back(theirs.firstMs);
        refNext.push_back(theirs.nextMs);
        refStall.push_back(theirs.stallMs);
    }
    std::printf("completion in a folder of %d entries (median of %d runs)\n", kEntries,
                kCompletionRuns);
    std::printf("  %-26s %9s %9s %9s\n", "", "vexlo", "QFSM", "ratio");
    std::printf("  %-26s %9.1f %9.1f %9.2f   goal <= %.0f ms: %s\n", "first suggestions (ms)",
                median(first), median(refFirst), median(first) / median(refFirst),
                kFirstSuggestionsGoalMs, verdict(median(first) <= kFirstSuggestionsGoalMs));
    std::printf("  %-26s %9.1f %9.1f %9.2f\n", "next letter (ms)", median(next), median(refNext),
                median(next) / median(refNext));
    std::printf("  %-26s %9.1f %9.1f %9.2f   goal <= %.0f ms: %s\n", "longest stall (ms)",
                median(stall), median(refStall), median(stall) / median(refStall), kStallGoalMs,
                verdict(median(stall) <= kStallGoalMs));

    const VexloSandbox sandbox(true, benchFolder());
    populate(sandbox, true);
    populate(sandbox, false);
    std::vector<double> with, without;
    for (int run = 0; run < kPopulateRuns; ++run) {
        with.push_back(populate(sandbox, true));
        without.push_back(populate(sandbox, false));
    }
    const double ratio = median(with) / median(without);
    std::printf("populate, 200 desktop folders and 50 drives (median of %d runs)\n", kPopulateRuns);
    std::printf("  overlays and tooltips %.2f ms, without %.2f ms, ratio %.2f   goal <= %.1f: %s\n",
                median(with), median(without), ratio, kPopulateGoalRatio,
                verdict(ratio <= kPopulateGoalRatio));
    return 0;
}
