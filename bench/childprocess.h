#pragma once

// One started program for the start-up benchmark: started without a shell, asked to end with
// SIGTERM (killed when it does not), its resident memory read from /proc.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

class ChildProcess
{
public:
    // Starts pProgram with pArguments and the environment of this process; the start time is
    // taken just before the process is created. isRunning() is false when it could not be
    // started.
    // pOutput says whether its standard output and error go where this process's go or are
    // discarded (a chatty program would bury the figures).
    enum class Output { Shared, Discarded };
    ChildProcess(const std::string &pProgram, const std::vector<std::string> &pArguments,
                 Output pOutput = Output::Shared);
    // Stops the process (see stop()).
    ~ChildProcess();

    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    pid_t pid() const { return m_pid; }
    std::chrono::steady_clock::time_point startTime() const { return m_start; }
    // False once the process has ended (it is reaped here).
    bool isRunning();

    // VmRSS in KiB; nullopt when the process is gone or /proc does not say.
    std::optional<long> residentKiB() const;
    // Processor time used so far by all threads of the process (the kernel's scheduler
    // statistics, in nanoseconds); nullopt when /proc does not say. Less disturbed by other
    // work on the machine than the elapsed time.
    std::optional<double> cpuMilliseconds() const;

    // SIGTERM, then up to pGraceMs for the process to end, then SIGKILL. Returns the exit status
    // as waitpid gives it; nullopt when nothing was running.
    std::optional<int> stop(int pGraceMs = 10000);

private:
    pid_t m_pid = -1;
    std::chrono::steady_clock::time_point m_start;
};
