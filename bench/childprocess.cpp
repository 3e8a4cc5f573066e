#include "childprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

ChildProcess::ChildProcess(const std::string &pProgram, const std::vector<std::string> &pArguments,
                           Output pOutput)
{
    std::vector<std::string> strings{pProgram};
    strings.insert(strings.end(), pArguments.begin(), pArguments.end());
    std::vector<char *> argv;
    for (std::string &text : strings)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pOutput == Output::Discarded) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    m_start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (::posix_spawn(&pid, pProgram.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        m_pid = pid;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::isRunning()
{
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

std::optional<long> ChildProcess::residentKiB() const
{
    if (m_pid <= 0)
        return std::nullopt;
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = 0;
            if (fields >> kib)
                return kib;
        }
    }
    return std::nullopt;
}

std::optional<double> ChildProcess::cpuMilliseconds() const
{
    if (m_pid <= 0)
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(m_pid) + "/task";
    double nanoseconds = 0;
    bool any = false;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) {
            nanoseconds += onCpu;
            any = true;
        }
    }
    if (!any)
        return std::nullopt;
    return nanoseconds / 1e6;
}

std::optional<int> ChildProcess::stop(int pGraceMs)
{
    if (m_pid <= 0)
        return std::nullopt;
    ::kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(pGraceMs);
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        // Only the end of a measured run waits here; the figures are taken before.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    return status;
}
