#include "startup/quitsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pindrel {

namespace {

// The write end of the pipe, for the signal handler: only async-signal-safe calls there.
volatile std::sig_atomic_t g_writeEnd = -1;

void onSignal(int pSignal)
{
    const unsigned char number = static_cast<unsigned char>(pSignal);
    if (g_writeEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &number, 1);
    }
}

} // namespace

QuitSignals::QuitSignals(QObject *pParent)
    : QObject(pParent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_pipe) != 0)
        return;
    g_writeEnd = m_pipe[0];
    m_notifier = new QSocketNotifier(m_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
    g_writeEnd = -1;
    for (const int end : m_pipe) {
        if (end >= 0)
            ::close(end);
    }
}

void QuitSignals::readSignal()
{
    unsigned char number = 0;
    while (::read(m_pipe[1], &number, 1) == 1)
        Q_EMIT received(number);
}

} // namespace pindrel
