// Start-up of the bar against a bare Qt window, on the X display in DISPLAY.
//
//   pindrel_startup_bench --pindrel PATH --bare PATH [--runs N] [--folder DIR]
//
// Each program is started N times (after one start each that warms the caches and is not
// counted), the two alternating so that both meet the same state of the machine. A run has two
// times, both from just before the process is created: to the moment the X server reports its
// first top-level window mapped (the window or its window-manager frame, matched by
// _NET_WM_PID), and to the program's first drawing into that window (its first paint, seen
// through the DAMAGE extension), which is when the user sees it. The goal applies to the first
// paint. The processor time (all threads) and resident memory (VmRSS) are read at the first
// paint. The process is then asked to end (SIGTERM, which the bar takes as "Close Pindrel").
//
// The bar runs from a portable copy with a config.ini of 100 drawers and 20 programs (see
// benchinstall.h) made in DIR (default: the temporary folder). Every run reads the same file,
// written at least kSettled before, as a configuration that has been there a while: the store
// compares a file changed within its clock's granularity byte for byte at every read, which a
// start right after the file was written would pay for and a normal start does not. (Should a
// run change the file, it is written again and left to settle before the next one.) The reference
// is a frameless 1280 x 26 QWidget shown at once (barewindow.cpp). Printed: the median, fastest and
// slowest times, the median processor time and resident memory, and the ratios of the medians; the
// goal is a start-up ratio of at most 1.5.

#include "benchinstall.h"
#include "childprocess.h"
#include "mapwatcher.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kGoal = 1.5;
constexpr std::chrono::seconds kMapTimeout{30};
constexpr std::chrono::milliseconds kSettled{300};

struct Options
{
    std::string pindrel;
    std::string bare;
    int runs = 31;
    std::filesystem::path folder = std::filesystem::temp_directory_path();
};

struct Samples
{
    std::vector<double> mappedMilliseconds;
    std::vector<double> milliseconds; // to the first paint
    std::vector<double> residentMiB;
    std::vector<double> cpuMilliseconds;
};

double median(std::vector<double> pValues)
{
    std::sort(pValues.begin(), pValues.end());
    const size_t middle = pValues.size() / 2;
    return pValues.size() % 2 == 1 ? pValues[middle] : (pValues[middle - 1] + pValues[middle]) / 2;
}

bool parse(int pArgc, char **pArgv, Options &pOptions)
{
    for (int i = 1; i + 1 < pArgc; i += 2) {
        const std::string name = pArgv[i];
        const std::string value = pArgv[i + 1];
        if (name == "--pindrel")
            pOptions.pindrel = value;
        else if (name == "--bare")
            pOptions.bare = value;
        else if (name == "--runs")
            pOptions.runs = std::max(1, std::atoi(value.c_str()));
        else if (name == "--folder")
            pOptions.folder = value;
        else
            return false;
    }
    return pArgc % 2 == 1 && !pOptions.pindrel.empty() && !pOptions.bare.empty();
}

// One start of pProgram up to its window on the screen. False, with a message, when the window
// did not come.
bool measure(MapWatcher &pWatcher, const std::string &pProgram, Samples *pSamples,
             const std::vector<std::string> &pArguments = {})
{
    pWatcher.discardPending();
    ChildProcess child(pProgram, pArguments);
    if (!child.isRunning()) {
        std::fprintf(stderr, "cannot start %s\n", pProgram.c_str());
        return false;
    }
    const auto shown =
        pWatcher.waitForPaint(child.pid(), kMapTimeout, [&] { return child.isRunning(); });
    if (!shown) {
        std::fprintf(stderr, "%s showed no window\n", pProgram.c_str());
        return false;
    }
    const auto resident = child.residentKiB();
    const auto cpu = child.cpuMilliseconds();
    if (pSamples != nullptr) {
        pSamples->mappedMilliseconds.push_back(
            std::chrono::duration<double, std::milli>(shown->mapped - child.startTime()).count());
        pSamples->milliseconds.push_back(
            std::chrono::duration<double, std::milli>(shown->painted - child.startTime()).count());
        pSamples->residentMiB.push_back(static_cast<double>(resident.value_or(0)) / 1024.0);
        pSamples->cpuMilliseconds.push_back(cpu.value_or(0));
    }
    child.stop();
    return true;
}

void printRow(const char *pName, const Samples &pSamples)
{
    const auto [fastest, slowest] =
        std::minmax_element(pSamples.milliseconds.begin(), pSamples.milliseconds.end());
    std::printf("  %-36s %8.1f ms %8.1f ms %8.1f ms %8.1f ms %8.1f ms %9.1f MiB\n", pName,
                median(pSamples.milliseconds), *fastest, *slowest,
                median(pSamples.mappedMilliseconds), median(pSamples.cpuMilliseconds),
                median(pSamples.residentMiB));
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s --pindrel PATH --bare PATH [--runs N] [--folder DIR]\n",
                     argv[0]);
        return 2;
    }
    const char *display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr,
                     "DISPLAY is not set: run under an X session (bench/run-benchmarks.sh "
                     "starts one)\n");
        return 2;
    }
    MapWatcher watcher;
    if (!watcher.isConnected()) {
        std::fprintf(stderr, "cannot connect to %s\n", display);
        return 1;
    }
    if (!watcher.canSeePaint()) {
        std::fprintf(stderr, "the X server on %s has no DAMAGE extension\n", display);
        return 1;
    }
    const BenchInstall install(options.pindrel, options.folder);
    if (!install.isValid()) {
        std::fprintf(stderr, "%s\n", install.error().c_str());
        return 1;
    }
    const std::string pindrel = install.program().string();

    Samples bar;
    Samples bare;
    Samples text;
    // The first start of each fills the caches (libraries, fonts, the theme picture).
    for (int run = -1; run < options.runs; ++run) {
        if (run < 0 || !install.configIntact()) {
            if (!install.writeConfig())
                return 1;
            std::this_thread::sleep_for(kSettled);
        }
        const bool counted = run >= 0;
        if (!measure(watcher, pindrel, counted ? &bar : nullptr)
            || !measure(watcher, options.bare, counted ? &bare : nullptr)
            || !measure(watcher, options.bare, counted ? &text : nullptr, {"--text"}))
            return 1;
    }

    std::printf("Start-up to the first paint (%d runs each, alternating, on %s)\n", options.runs,
                display);
    std::printf("  %-36s %11s %11s %11s %11s %11s %13s\n", "", "median", "fastest", "slowest",
                "mapped", "cpu (med.)", "resident");
    printRow("pindrel: 100 drawers, 20 programs", bar);
    printRow("bare Qt window 1280 x 26", bare);
    printRow("same with one captioned button", text);
    const double ratio = median(bar.milliseconds) / median(bare.milliseconds);
    std::printf("  start-up ratio pindrel / bare window: %.2f (goal: at most %.1f, %s)\n", ratio,
                kGoal, ratio <= kGoal ? "met" : "NOT met");
    std::printf("  to the window mapped, pindrel / bare window: %.2f (for information)\n",
                median(bar.mappedMilliseconds) / median(bare.mappedMilliseconds));
    std::printf("  processor time ratio pindrel / bare window: %.2f\n",
                median(bar.cpuMilliseconds) / median(bare.cpuMilliseconds));
    std::printf("  resident memory ratio pindrel / bare window: %.2f\n",
                median(bar.residentMiB) / median(bare.residentMiB));
    // A window with text pays for starting the font system before its first paint, as the bar
    // does: this ratio shows what is left of the gap.
    std::printf("  start-up ratio pindrel / window with one caption: %.2f (for information)\n",
                median(bar.milliseconds) / median(text.milliseconds));
    return 0;
}
