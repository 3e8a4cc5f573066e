#include "filemanagerprobe.h"

#include "childprocess.h"
#include "mapwatcher.h"

#include <chrono>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kTimeout{30000};

double millisecondsBetween(std::chrono::steady_clock::time_point pFrom,
                           std::chrono::steady_clock::time_point pTo)
{
    return std::chrono::duration<double, std::milli>(pTo - pFrom).count();
}

} // namespace

FileManagerTiming timeFileManager(const QString &pProgram, const QString &pFolder,
                                  const QString &pSmallFolder)
{
    FileManagerTiming timing;
    MapWatcher watcher;
    if (!watcher.isConnected())
        return timing;
    const std::string program = pProgram.toStdString();

    {
        watcher.discardPending();
        ChildProcess manager(program, {"--new-win", pFolder.toStdString()},
                             ChildProcess::Output::Discarded);
        if (!manager.isRunning())
            return timing;
        const auto mapped =
            watcher.waitForMap(manager.pid(), kTimeout, [&manager] { return manager.isRunning(); });
        if (mapped)
            timing.coldMs = millisecondsBetween(manager.startTime(), *mapped);
        manager.stop();
    }

    // The running program opens the folder in a new window of its own process: the command
    // started for it hands the folder over and ends.
    watcher.discardPending();
    ChildProcess running(program, {"--new-win", pSmallFolder.toStdString()},
                         ChildProcess::Output::Discarded);
    if (!running.isRunning())
        return timing;
    if (!watcher.waitForMap(running.pid(), kTimeout, [&running] { return running.isRunning(); }))
        return timing;
    // Let the first window settle before the second is asked for.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    watcher.discardPending();
    const auto asked = std::chrono::steady_clock::now();
    ChildProcess request(program, {"--new-win", pFolder.toStdString()},
                         ChildProcess::Output::Discarded);
    const auto mapped =
        watcher.waitForMap(running.pid(), kTimeout, [&running] { return running.isRunning(); });
    if (mapped)
        timing.warmMs = millisecondsBetween(asked, *mapped);
    // The listing goes on after the window is up; its memory is read once it has had time.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    if (const std::optional<long> resident = running.residentKiB())
        timing.residentMiB = static_cast<double>(*resident) / 1024;
    request.stop();
    running.stop();
    return timing;
}
