// Benchmarks of the path combo (vexlo) on a sandbox namespace in a temporary folder
// (vexlosandbox.h):
//
//   populate   filling the list window of a desktop with 200 folders and a computer with 50
//              drives (and the root file system, which is always listed): goal at most 20 ms
//   setpath    SetPath of a folder 20 levels below a drive, which inserts 20 path items and
//              selects the last: goal at most 2 ms
//
// Building and tearing down the list window, and going back to the desktop between two
// SetPath calls, are not timed. The goal of each shows in its label.

#include "vexlosandbox.h"

#include "vexlo/namespacecombobox.h"

#include "platform/shellnamespace.h"

#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

VexloSandbox &sandbox()
{
    static VexloSandbox instance;
    return instance;
}

void populate(benchmark::State &pState)
{
    const auto shell = sandbox().shell();
    int entries = 0;
    for (auto _ : pState) {
        pState.PauseTiming();
        auto combo = std::make_unique<vexlo::CNamespaceComboBox>(shell, true);
        pState.ResumeTiming();
        combo->populate();
        pState.PauseTiming();
        entries = combo->count();
        combo.reset();
        pState.ResumeTiming();
    }
    pState.counters["entries"] = entries;
    pState.SetLabel("goal <= 20 ms");
}
BENCHMARK(populate)->Unit(benchmark::kMillisecond);

void setPathDeep(benchmark::State &pState)
{
    vexlo::CNamespaceComboBox combo(sandbox().shell(), true);
    combo.populate();
    const QString folder = sandbox().deepFolder();
    size_t inserted = 0;
    for (auto _ : pState) {
        const bool selected = combo.SetPath(folder);
        benchmark::DoNotOptimize(selected);
        pState.PauseTiming();
        inserted = combo.pathItems().size();
        combo.SetPidl(nullptr);
        pState.ResumeTiming();
    }
    pState.counters["path_items"] = static_cast<double>(inserted);
    pState.SetLabel("goal <= 2 ms");
}
BENCHMARK(setPathDeep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
