#include "startup/startupwarmup.h"

#include "platform/x11window.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

#include <sys/resource.h>
#include <unistd.h>

namespace pindrel {

namespace {

constexpr int kLowerPriority = 10; // a nice value

// Whether the session has a bus to connect to. Without one, the bus library tries to start one:
// it forks the program, and a fork while other threads of it run is best left to the moment
// Qt itself asks (the first show, when this thread would gain nothing anyway).
bool sessionBusKnown()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

StartupWarmup::StartupWarmup()
    // The atoms of the window-manager properties the bar sets first (a round trip to the X
    // server). Then the session bus: the accessibility bridge, made when the bar's window is
    // first shown, connects to it; the connection is made once per process and the thread that
    // asks first waits for it. A thread of their own, so that the rest need not wait behind
    // them.
    : m_bus([] {
        platform::X11Window::prepareConnection();
        if (sessionBusKnown())
            QDBusConnection::sessionBus();
    })
    , m_caches([] {
        // Below the user-interface thread and the X server, which the bar's start waits for:
        // the warm-up takes what they leave of the processors (on two cores, a lot). Failing
        // that, it runs at the normal priority.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowerPriority);
        // Fills the database and the fallback lists of the default face, as the first caption
        // measured will need them. (Each thread loads its own font engines.)
        QFontDatabase::families();
        QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("Pindrel"));
    })
{ }

StartupWarmup::~StartupWarmup()
{
    for (std::thread *thread : {&m_bus, &m_caches}) {
        if (thread->joinable())
            thread->join();
    }
}

} // namespace pindrel
