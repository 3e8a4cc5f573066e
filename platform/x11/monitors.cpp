#include "platform/monitors.h"

#include "ewmhconnection.h"
#include "randrmonitors.h"
#include "xcbreply.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <xcb/randr.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pindrel::platform {

std::vector<Monitor> randrMonitors(EwmhConnection &pEwmh)
{
    std::vector<Monitor> monitors;
    xcb_connection_t *connection = pEwmh.connection();
    const xcb_query_extension_reply_t *extension =
        xcb_get_extension_data(connection, &xcb_randr_id);
    if (extension == nullptr || extension->present == 0)
        return monitors;
    const Reply<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
        connection, xcb_randr_query_version(connection, 1, 5), nullptr));
    if (!version || (version->major_version == 1 && version->minor_version < 5))
        return monitors;
    const Reply<xcb_randr_get_monitors_reply_t> reply(xcb_randr_get_monitors_reply(
        connection, xcb_randr_get_monitors(connection, pEwmh.root(), 1), nullptr));
    if (!reply)
        return monitors;
    // The names are atoms; asked all at once, answered in one round trip.
    std::vector<xcb_get_atom_name_cookie_t> names;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem != 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t &info = *it.data;
        if (info.width == 0 || info.height == 0)
            continue;
        monitors.push_back(
            Monitor{AppBarRect{info.x, info.y, info.x + info.width, info.y + info.height},
                    info.primary != 0,
                    {}});
        names.push_back(xcb_get_atom_name(connection, info.name));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const Reply<xcb_get_atom_name_reply_t> name(
            xcb_get_atom_name_reply(connection, names[i], nullptr));
        if (name)
            monitors[i].name = QString::fromLatin1(xcb_get_atom_name_name(name.get()),
                                                   xcb_get_atom_name_name_length(name.get()));
    }
    return monitors;
}

namespace {

// Qt's screens in device pixels (Qt keeps each screen's origin and scales its size).
std::vector<Monitor> qtMonitors()
{
    std::vector<Monitor> monitors;
    if (qGuiApp == nullptr)
        return monitors;
    const QScreen *primary = QGuiApplication::primaryScreen();
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        const auto device = [ratio](int pValue) {
            return static_cast<int>(std::lround(pValue * ratio));
        };
        monitors.push_back(
            Monitor{AppBarRect{geometry.x(), geometry.y(), geometry.x() + device(geometry.width()),
                               geometry.y() + device(geometry.height())},
                    screen == primary, screen->name()});
    }
    return monitors;
}

long long overlap(const AppBarRect &pA, const AppBarRect &pB)
{
    const long long width = std::min(pA.right, pB.right) - std::max(pA.left, pB.left);
    const long long height = std::min(pA.bottom, pB.bottom) - std::max(pA.top, pB.top);
    return width > 0 && height > 0 ? width * height : 0;
}

} // namespace

std::vector<Monitor> currentMonitors()
{
    if (EwmhConnection *ewmh = EwmhConnection::forQt()) {
        std::vector<Monitor> monitors = randrMonitors(*ewmh);
        if (monitors.empty() && ewmh->rootWidth() > 0) {
            monitors.push_back(
                Monitor{AppBarRect{0, 0, ewmh->rootWidth(), ewmh->rootHeight()}, true, {}});
        }
        return monitors;
    }
    return qtMonitors();
}

const Monitor *primaryMonitor(const std::vector<Monitor> &pMonitors)
{
    if (pMonitors.empty())
        return nullptr;
    const auto marked = std::ranges::find_if(pMonitors, &Monitor::primary);
    if (marked != pMonitors.end())
        return &*marked;
    const auto atOrigin = std::ranges::find_if(pMonitors, [](const Monitor &pMonitor) {
        return pMonitor.rect.left <= 0 && pMonitor.rect.top <= 0 && pMonitor.rect.right > 0
            && pMonitor.rect.bottom > 0;
    });
    return atOrigin != pMonitors.end() ? &*atOrigin : &pMonitors.front();
}

const Monitor *nearestMonitor(const std::vector<Monitor> &pMonitors, const AppBarRect &pRect)
{
    const Monitor *best = nullptr;
    long long bestOverlap = 0;
    for (const Monitor &monitor : pMonitors) {
        const long long shared = overlap(monitor.rect, pRect);
        if (shared > bestOverlap) {
            best = &monitor;
            bestOverlap = shared;
        }
    }
    if (best != nullptr)
        return best;
    // Nowhere on a monitor: the one whose centre is nearest.
    const double x = (pRect.left + pRect.right) / 2.0;
    const double y = (pRect.top + pRect.bottom) / 2.0;
    double bestDistance = std::numeric_limits<double>::max();
    for (const Monitor &monitor : pMonitors) {
        const double dx = std::clamp(x, double(monitor.rect.left), double(monitor.rect.right)) - x;
        const double dy = std::clamp(y, double(monitor.rect.top), double(monitor.rect.bottom)) - y;
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            best = &monitor;
            bestDistance = distance;
        }
    }
    return best;
}

MonitorWatcher::MonitorWatcher(QObject *pParent)
    : QObject(pParent)
    , m_monitors(currentMonitors())
{
    if (EwmhConnection *ewmh = EwmhConnection::forQt()) {
        // Qt asks the server for the RandR notifications on the root window itself; the
        // filter sees them on their way to Qt.
        const xcb_query_extension_reply_t *extension =
            xcb_get_extension_data(ewmh->connection(), &xcb_randr_id);
        if (extension != nullptr && extension->present != 0)
            m_randrFirstEvent = extension->first_event;
        m_root = ewmh->root();
        if (qApp != nullptr)
            qApp->installNativeEventFilter(this);
    }
    if (qGuiApp != nullptr) {
        const auto follow = [this](QScreen *pScreen) {
            connect(pScreen, &QScreen::geometryChanged, this, &MonitorWatcher::refresh);
            refresh();
        };
        for (QScreen *screen : QGuiApplication::screens())
            connect(screen, &QScreen::geometryChanged, this, &MonitorWatcher::refresh);
        connect(qGuiApp, &QGuiApplication::screenAdded, this, follow);
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, &MonitorWatcher::refresh);
        connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &MonitorWatcher::refresh);
    }
}

MonitorWatcher::~MonitorWatcher()
{
    if (qApp != nullptr)
        qApp->removeNativeEventFilter(this);
}

void MonitorWatcher::refresh()
{
    std::vector<Monitor> monitors = currentMonitors();
    if (monitors.empty() || monitors == m_monitors)
        return;
    m_monitors = std::move(monitors);
    emit changed();
}

bool MonitorWatcher::nativeEventFilter(const QByteArray &pEventType, void *pMessage, qintptr *)
{
    if (m_randrFirstEvent < 0 || pEventType != "xcb_generic_event_t" || pMessage == nullptr)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(pMessage);
    const int type = event->response_type & 0x7f;
    if (type == m_randrFirstEvent + XCB_RANDR_SCREEN_CHANGE_NOTIFY
        || type == m_randrFirstEvent + XCB_RANDR_NOTIFY) {
        refresh();
    } else if (type == XCB_CONFIGURE_NOTIFY
               && reinterpret_cast<const xcb_configure_notify_event_t *>(event)->window == m_root) {
        // A monitor added, removed or changed with --setmonitor is announced by nothing but a
        // ConfigureNotify of the root. Qt reads its screens anew on that event too; the list is
        // read once Qt has, so that the scale of every monitor is known by then.
        QMetaObject::invokeMethod(this, &MonitorWatcher::refresh, Qt::QueuedConnection);
    }
    return false; // Qt needs them as well
}

} // namespace pindrel::platform
