// Benchmarks of the INI store on a config.ini of realistic size: 100 drawers, 20 programs and
// the appearance settings, about 17 KB.
//
//   reads   clsIni::getLeerValor and getExisteValor on the unchanged file, keys spread over the
//           whole file (goal: at most 2 us a call)
//   stat    one bare stat() of the same file: the floor of a read that must notice a change
//           made by another program; getLeerValor may take at most 1.3 times as long
//   write   clsIni::doAdd of one value: a durable, atomic replacement of the file
//   ref     the same whole file written with write + fsync + rename, measured in the same run;
//           doAdd may take at most 1.5 times as long
//
// The files live in $TXINI_BENCH_DIR (default: the system's temporary folder); a durable write
// costs what the file system there makes it cost, so both sides of the ratio share the folder.

#include "txini/clsini.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDrawers = 100;
constexpr int kPrograms = 20;
constexpr int kRepetitions = 5;

std::string makeConfig()
{
    static const char *const places[] = {"Documents", "Pictures", "Music",  "Downloads",
                                         "Projects",  "Videos",   "Desktop"};
    static const char *const icons[] = {"folder-documents", "folder-pictures", "folder-music",
                                        "folder-download", "folder-development"};
    std::string text = "[TRANSPARENCIA]\nMAIN=100\nFORM=90\n"
                       "[MAIN]\nPOSITION=TOP\nHEIGHT=390\nBUTTONTYPE=1\n"
                       "[COLORS]\nMAIN=-2147483633\nBUTTON=-2147483633\nFORE=-2147483633\n"
                       "FORM=-2147483630\nTHEME=2\n"
                       "[GRAL]\nCANTBOT="
        + std::to_string(kDrawers) + "\nCANTPROG=" + std::to_string(kPrograms) + "\n";
    for (int n = 1; n <= kDrawers; ++n) {
        const std::string place = places[n % std::size(places)];
        text += "[BUTTON" + std::to_string(n) + "]\n";
        text += "PATH=/home/marta/" + place + "/project-" + std::to_string(n) + "\n";
        text += "CAPTION=" + place + " " + std::to_string(n) + "\n";
        text += "ICON=";
        if (n % 3 != 0)
            text += std::string("/usr/share/icons/") + icons[n % std::size(icons)] + ".png";
        text += "\nLEFT=" + std::to_string(n % 4 == 0 ? -1 : 150 * n) + "\n";
        text += "TOP=390\nWIDTH=6855\nHEIGHT=5745\n";
        text += "VISIBLE=" + std::to_string(n % 2) + "\nVIEW=" + std::to_string(n % 5) + "\n";
    }
    for (int n = 1; n <= kPrograms; ++n) {
        text += "[PROGRAM" + std::to_string(n) + "]\n";
        text += "CAPTION=Tool " + std::to_string(n) + "\n";
        text += "PATH=/usr/bin/tool" + std::to_string(n) + "\n";
        text += "ICON=/usr/share/pixmaps/tool" + std::to_string(n) + ".png\n";
    }
    return text;
}

const std::string &config()
{
    static const std::string text = makeConfig();
    return text;
}

// Section and key pairs from the top of the file to its end, every drawer key name included.
std::vector<std::pair<std::string, std::string>> spreadKeys()
{
    static const char *const keys[] = {"PATH",  "CAPTION", "ICON",    "LEFT", "TOP",
                                       "WIDTH", "HEIGHT",  "VISIBLE", "VIEW"};
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"TRANSPARENCIA", "MAIN"}, {"MAIN", "HEIGHT"}, {"COLORS", "THEME"}, {"GRAL", "CANTBOT"}};
    for (int n = 1; n <= kDrawers; n += 3)
        pairs.emplace_back("BUTTON" + std::to_string(n), keys[n % std::size(keys)]);
    for (int n = 1; n <= kPrograms; n += 4)
        pairs.emplace_back("PROGRAM" + std::to_string(n), "PATH");
    return pairs;
}

// The folder of this run's files, removed at exit.
class BenchFolder
{
public:
    BenchFolder()
    {
        const char *base = std::getenv("TXINI_BENCH_DIR");
        const std::filesystem::path parent =
            base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        m_path = parent / ("txini-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
    }
    ~BenchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    BenchFolder(const BenchFolder &) = delete;
    BenchFolder &operator=(const BenchFolder &) = delete;

    // A fresh copy of the configuration under pName.
    std::string freshConfig(const std::string &pName) const
    {
        const std::string path = (m_path / pName).string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << config();
        return path;
    }

private:
    std::filesystem::path m_path;
};

BenchFolder &folder()
{
    static BenchFolder instance;
    return instance;
}

// The reference: the whole file replaced the plain durable way.
bool writeDurably(const std::string &pPath, const std::string &pBytes)
{
    const std::string temporary = pPath + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < pBytes.size()) {
        const ssize_t count = ::write(fd, pBytes.data() + done, pBytes.size() - done);
        if (count <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(count);
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced && ::rename(temporary.c_str(), pPath.c_str()) == 0;
}

void BM_getLeerValor(benchmark::State &state)
{
    txini::clsIni ini;
    ini.File(folder().freshConfig("read-value.ini"));
    const auto pairs = spreadKeys();
    size_t next = 0;
    for (auto _ : state) {
        const auto &[section, key] = pairs[next];
        benchmark::DoNotOptimize(ini.getLeerValor(section, key));
        next = (next + 1) % pairs.size();
    }
    if (ini.getLeerValor("GRAL", "CANTBOT") != std::to_string(kDrawers))
        state.SkipWithError("the store did not read the file");
    state.SetItemsProcessed(state.iterations());
}

void BM_statReference(benchmark::State &state)
{
    const std::string path = folder().freshConfig("read-value.ini");
    struct stat info = {};
    for (auto _ : state) {
        benchmark::DoNotOptimize(::stat(path.c_str(), &info));
        benchmark::ClobberMemory();
    }
    if (info.st_size == 0)
        state.SkipWithError("cannot stat the file");
    state.SetItemsProcessed(state.iterations());
}

// The ratio itself, measured so that a machine busy with other work slows both sides alike:
// blocks of bare stat() calls and of getLeerValor calls alternate, and the ratio of the two
// medians of the blocks is reported (counter "ratio").
void BM_getLeerValorOverStat(benchmark::State &state)
{
    constexpr int kCallsPerBlock = 2000;
    txini::clsIni ini;
    const std::string path = folder().freshConfig("ratio.ini");
    ini.File(path);
    const auto pairs = spreadKeys();
    // Until the file has settled a read goes to the file itself; the ratio is of the reads
    // that follow.
    const auto settle = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < settle)
        benchmark::DoNotOptimize(ini.getLeerValor("GRAL", "CANTBOT"));
    std::vector<double> stats;
    std::vector<double> reads;
    struct stat info = {};
    size_t next = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int call = 0; call < kCallsPerBlock; ++call)
            benchmark::DoNotOptimize(::stat(path.c_str(), &info));
        const auto middle = std::chrono::steady_clock::now();
        for (int call = 0; call < kCallsPerBlock; ++call) {
            const auto &[section, key] = pairs[next];
            benchmark::DoNotOptimize(ini.getLeerValor(section, key));
            next = (next + 1) % pairs.size();
        }
        const auto end = std::chrono::steady_clock::now();
        stats.push_back(std::chrono::duration<double>(middle - start).count());
        reads.push_back(std::chrono::duration<double>(end - middle).count());
    }
    const auto median = [](std::vector<double> pValues) {
        std::nth_element(pValues.begin(), pValues.begin() + pValues.size() / 2, pValues.end());
        return pValues[pValues.size() / 2];
    };
    if (stats.empty() || ini.getLeerValor("GRAL", "CANTBOT") != std::to_string(kDrawers)) {
        state.SkipWithError("the store did not read the file");
        return;
    }
    state.counters["stat_ns"] = median(stats) / kCallsPerBlock * 1e9;
    state.counters["read_ns"] = median(reads) / kCallsPerBlock * 1e9;
    state.counters["ratio"] = median(reads) / median(stats);
}

void BM_getExisteValor(benchmark::State &state)
{
    txini::clsIni ini;
    ini.File(folder().freshConfig("exists.ini"));
    const auto pairs = spreadKeys();
    size_t next = 0;
    for (auto _ : state) {
        const auto &[section, key] = pairs[next];
        benchmark::DoNotOptimize(ini.getExisteValor(section, key));
        next = (next + 1) % pairs.size();
    }
    if (!ini.getExisteValor("PROGRAM20", "PATH"))
        state.SkipWithError("the store did not read the file");
    state.SetItemsProcessed(state.iterations());
}

void BM_doAdd(benchmark::State &state)
{
    txini::clsIni ini;
    ini.File(folder().freshConfig("write.ini"));
    // Two values of the same length, so that every call changes the file and its size stays.
    static const std::string values[] = {"6855", "6870"};
    size_t next = 0;
    for (auto _ : state) {
        ini.doAdd("BUTTON50", "WIDTH", values[next]);
        next ^= 1;
    }
    if (ini.getLeerValor("BUTTON50", "WIDTH") != values[next ^ 1])
        state.SkipWithError("doAdd did not write the file");
}

void BM_writeWholeFileReference(benchmark::State &state)
{
    const std::string path = folder().freshConfig("reference.ini");
    for (auto _ : state) {
        if (!writeDurably(path, config())) {
            state.SkipWithError("cannot write the reference file");
            break;
        }
    }
}

BENCHMARK(BM_getLeerValor)->MinWarmUpTime(0.2)->Repetitions(kRepetitions);
BENCHMARK(BM_statReference)->MinWarmUpTime(0.2)->Repetitions(kRepetitions);
BENCHMARK(BM_getLeerValorOverStat)->Iterations(200);
BENCHMARK(BM_getExisteValor)->MinWarmUpTime(0.2)->Repetitions(kRepetitions);
BENCHMARK(BM_doAdd)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
BENCHMARK(BM_writeWholeFileReference)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions);

// The console report, plus the medians kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    // A reporter of our own does not get the library's colour detection: colour on terminals.
    SummaryReporter()
        : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular)
    { }

    void ReportRuns(const std::vector<Run> &pRuns) override
    {
        for (const Run &run : pRuns) {
            if (run.error_occurred)
                continue;
            if (const auto ratio = run.counters.find("ratio"); ratio != run.counters.end())
                m_readOverStat = ratio->second.value;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (median || single) {
                m_nanoseconds[run.run_name.function_name] = run.GetAdjustedRealTime() * 1e9
                    / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(pRuns);
    }

    void printSummary() const
    {
        std::printf("\nSummary (medians), config.ini of %.1f KB:\n",
                    static_cast<double>(config().size()) / 1024.0);
        for (const char *name : {"BM_getLeerValor", "BM_getExisteValor"}) {
            if (const double ns = find(name); ns > 0) {
                std::printf("  %-28s %8.3f us/call   goal <= 2 us   %s\n", name + 3, ns / 1000.0,
                            ns <= 2000.0 ? "met" : "MISSED");
            }
        }
        if (const double stat = find("BM_statReference"); stat > 0)
            std::printf("  %-28s %8.3f us/call\n", "stat (ref)", stat / 1000.0);
        if (m_readOverStat > 0) {
            std::printf("  %-28s %8.2f           goal <= 1.3    %s\n", "ratio getLeerValor / stat",
                        m_readOverStat, m_readOverStat <= 1.3 ? "met" : "MISSED");
        }
        const double add = find("BM_doAdd");
        const double reference = find("BM_writeWholeFileReference");
        if (add > 0)
            std::printf("  %-28s %8.1f us/call\n", "doAdd", add / 1000.0);
        if (reference > 0)
            std::printf("  %-28s %8.1f us/call\n", "write+fsync+rename (ref)", reference / 1000.0);
        if (add > 0 && reference > 0) {
            const double ratio = add / reference;
            std::printf("  %-28s %8.2f           goal <= 1.5    %s\n", "ratio doAdd / reference",
                        ratio, ratio <= 1.5 ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }

private:
    double find(const std::string &pName) const
    {
        const auto it = m_nanoseconds.find(pName);
        return it == m_nanoseconds.end() ? 0.0 : it->second;
    }

    std::map<std::string, double> m_nanoseconds;
    double m_readOverStat = 0.0; // from the interleaved measurement
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
