#pragma once

// Test helper (Linux): runs a program as a child process with its standard output and error on
// pipes, so that a test can read what it prints, wait for it with a deadline, or kill it.
// Header-only because both the command-line and the stress tests use it.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace txini::test {

using Clock = std::chrono::steady_clock;

// A pipe whose ends are closed on exec, so that no child keeps another child's pipe open.
class Pipe
{
public:
    Pipe()
    {
        if (::pipe2(m_fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe &) = delete;
    Pipe &operator=(const Pipe &) = delete;

    int readEnd() const { return m_fds[0]; }
    int writeEnd() const { return m_fds[1]; }
    void closeRead() { closeFd(m_fds[0]); }
    void closeWrite() { closeFd(m_fds[1]); }

private:
    static void closeFd(int &pFd)
    {
        if (pFd >= 0)
            ::close(pFd);
        pFd = -1;
    }
    int m_fds[2] = {-1, -1};
};

// Holds children back until release(): each child waits for one byte on the gate before it
// runs its program, so that several children start their work together.
class StartGate
{
public:
    int fd() const { return m_pipe.readEnd(); }
    void release(int pChildren)
    {
        const std::string bytes(static_cast<std::size_t>(pChildren), 'g');
        if (::write(m_pipe.writeEnd(), bytes.data(), bytes.size())
            != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("cannot open the start gate");
    }

private:
    Pipe m_pipe;
};

// One child process. The destructor kills and reaps a child that is still running.
class ChildProcess
{
public:
    // Starts pArguments[0] (a path) with pArguments. With a gate, the child waits for it before
    // it executes the program.
    explicit ChildProcess(const std::vector<std::string> &pArguments,
                          const StartGate *pGate = nullptr)
    {
        // Everything the child needs is prepared before fork: between fork and exec only
        // async-signal-safe calls are allowed.
        std::vector<char *> argv;
        for (const auto &argument : pArguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        const int gate = pGate ? pGate->fd() : -1;
        static constexpr char kExecFailed[] = "exec failed\n";

        m_pid = ::fork();
        if (m_pid < 0)
            throw std::runtime_error("fork failed");
        if (m_pid == 0) {
            ::dup2(m_out.writeEnd(), STDOUT_FILENO);
            ::dup2(m_err.writeEnd(), STDERR_FILENO);
            char byte = 0;
            if (gate >= 0 && ::read(gate, &byte, 1) != 1)
                ::_exit(126);
            ::execv(argv[0], argv.data());
            [[maybe_unused]] auto ignored =
                ::write(STDERR_FILENO, kExecFailed, sizeof kExecFailed - 1);
            ::_exit(127);
        }
        m_out.closeWrite();
        m_err.closeWrite();
    }

    ~ChildProcess()
    {
        if (!m_reaped)
            kill();
    }

    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The next complete line of standard output, without its line end; nothing when the
    // deadline passes or the output ends first.
    std::optional<std::string> readLine(Clock::time_point pDeadline)
    {
        for (;;) {
            const auto end = m_outText.find('\n', m_lineStart);
            if (end != std::string::npos) {
                std::string line = m_outText.substr(m_lineStart, end - m_lineStart);
                m_lineStart = end + 1;
                return line;
            }
            if (!pumpOnce(pDeadline))
                return std::nullopt;
        }
    }

    // Collects output until pUntil or until both streams end; true when they have ended (the
    // child has ended, or at least closed them).
    bool pumpUntil(Clock::time_point pUntil)
    {
        while (pumpOnce(pUntil)) { }
        return !m_outOpen && !m_errOpen;
    }

    // Kills the child at once (SIGKILL), reaps it and collects what it had printed.
    void kill()
    {
        if (m_reaped)
            return;
        ::kill(m_pid, SIGKILL);
        reap();
        // The child is gone, so the pipes end as soon as their content is read.
        pumpUntil(Clock::now() + std::chrono::seconds(10));
    }

    // Waits for the child to end by itself: true when it did before the deadline (its output
    // then complete); false after killing it when it did not.
    bool waitFor(Clock::time_point pDeadline)
    {
        if (!pumpUntil(pDeadline)) {
            kill();
            return false;
        }
        reap();
        return true;
    }

    // After the child has ended: its exit code, or minus the signal that ended it.
    int exitStatus() const
    {
        if (WIFEXITED(m_status))
            return WEXITSTATUS(m_status);
        if (WIFSIGNALED(m_status))
            return -WTERMSIG(m_status);
        return -1000;
    }

    const std::string &output() const { return m_outText; }
    const std::string &errors() const { return m_errText; }

    // The lines of standard output that readLine() has not returned yet.
    std::vector<std::string> unreadLines()
    {
        std::vector<std::string> lines;
        while (auto line = readLine(Clock::now()))
            lines.push_back(*line);
        return lines;
    }

private:
    void reap()
    {
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) { }
        m_reaped = true;
    }

    // Waits up to pDeadline for output on either stream and appends it. False when the deadline
    // has passed or both streams have ended.
    bool pumpOnce(Clock::time_point pDeadline)
    {
        if (!m_outOpen && !m_errOpen)
            return false;
        const auto now = Clock::now();
        const auto left = pDeadline > now ? pDeadline - now : Clock::duration::zero();
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left);
        timespec timeout{};
        timeout.tv_sec = static_cast<time_t>(nanoseconds.count() / 1000000000);
        timeout.tv_nsec = static_cast<long>(nanoseconds.count() % 1000000000);

        pollfd fds[2] = {{m_outOpen ? m_out.readEnd() : -1, POLLIN, 0},
                         {m_errOpen ? m_err.readEnd() : -1, POLLIN, 0}};
        const int ready = ::ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0 && errno == EINTR)
            return true;
        if (ready <= 0)
            return false;
        readInto(fds[0], m_out, m_outOpen, m_outText);
        readInto(fds[1], m_err, m_errOpen, m_errText);
        return true;
    }

    static void readInto(const pollfd &pFd, Pipe &pPipe, bool &pOpen, std::string &pText)
    {
        if (pFd.fd < 0 || pFd.revents == 0)
            return;
        char buffer[4096];
        const ssize_t count = ::read(pFd.fd, buffer, sizeof buffer);
        if (count > 0) {
            pText.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            pOpen = false;
            pPipe.closeRead();
        }
    }

    Pipe m_out;
    Pipe m_err;
    pid_t m_pid = -1;
    bool m_reaped = false;
    int m_status = 0;
    bool m_outOpen = true;
    bool m_errOpen = true;
    std::string m_outText;
    std::string m_errText;
    std::size_t m_lineStart = 0;
};

} // namespace txini::test
