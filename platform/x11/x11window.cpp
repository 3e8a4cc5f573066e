#include "platform/x11window.h"

#include "ewmhconnection.h"

#include <QtCore/QVariant>
#include <QtGui/QWindow>

#include <algorithm>

namespace pindrel::platform {

namespace {

// The xcb plugin rewrites _NET_WM_WINDOW_TYPE whenever the window's flags change, from this
// dynamic property of the QWindow (a mask of its window types, 0x4 = dock) plus the flags.
// Setting it keeps the dock type in the plugin's own rewrites.
constexpr const char *xcbWindowTypeProperty = "_q_xcb_wm_window_type";
constexpr int xcbDockTypeBit = 0x4;

constexpr uint32_t allDesktops = 0xFFFFFFFFu;
constexpr uint32_t opacityByteSpread = 0x01010101u;
constexpr const char *opacityAtomName = "_NET_WM_WINDOW_OPACITY";

// The native window, created if it does not exist yet, and the connection to reach it; nullopt
// off X11.
struct Target
{
    EwmhConnection *connection;
    xcb_window_t window;
};

std::optional<Target> targetOf(QWindow *pWindow)
{
    if (pWindow == nullptr)
        return std::nullopt;
    EwmhConnection *connection = EwmhConnection::forQt();
    if (connection == nullptr)
        return std::nullopt;
    const WId id = pWindow->winId();
    if (id == 0)
        return std::nullopt;
    return Target{connection, static_cast<xcb_window_t>(id)};
}

// A window that Qt has shown is (or is about to be) managed by the window manager, which then
// owns its desktop and state properties: changes go to it as requests. Before, the client
// writes the properties and the window manager reads them when it maps the window.
bool isShown(const QWindow *pWindow)
{
    return pWindow->isVisible();
}

} // namespace

bool X11Window::setDeviceGeometry(QWindow *pWindow, int pLeft, int pTop, int pRight, int pBottom)
{
    const auto target = targetOf(pWindow);
    if (!target || pRight <= pLeft || pBottom <= pTop)
        return false;
    xcb_connection_t *connection = target->connection->connection();
    // WM_SIZE_HINTS: flags first; resize increments and base size are flags 64 and 256.
    constexpr uint32_t resizeIncrements = 64;
    constexpr uint32_t baseSize = 256;
    if (auto hints = target->connection->cardinals(target->window, XCB_ATOM_WM_NORMAL_HINTS,
                                                   XCB_ATOM_WM_SIZE_HINTS);
        hints && !hints->empty() && ((*hints)[0] & (resizeIncrements | baseSize)) != 0) {
        (*hints)[0] &= ~(resizeIncrements | baseSize);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, target->window,
                            XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                            static_cast<uint32_t>(hints->size()), hints->data());
    }
    const uint32_t values[] = {static_cast<uint32_t>(pLeft), static_cast<uint32_t>(pTop),
                               static_cast<uint32_t>(pRight - pLeft),
                               static_cast<uint32_t>(pBottom - pTop)};
    xcb_configure_window(connection, target->window,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH
                             | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(connection);
    return true;
}

void X11Window::prepareConnection()
{
    EwmhConnection::forQt();
}

bool X11Window::setDockType(QWindow *pWindow)
{
    const auto target = targetOf(pWindow);
    if (!target)
        return false;
    xcb_atom_t dock = target->connection->ewmh()->_NET_WM_WINDOW_TYPE_DOCK;
    xcb_ewmh_set_wm_window_type(target->connection->ewmh(), target->window, 1, &dock);
    const int types = pWindow->property(xcbWindowTypeProperty).toInt();
    pWindow->setProperty(xcbWindowTypeProperty, types | xcbDockTypeBit);
    xcb_flush(target->connection->connection());
    return true;
}

bool X11Window::setOnAllDesktops(QWindow *pWindow)
{
    const auto target = targetOf(pWindow);
    if (!target)
        return false;
    xcb_ewmh_connection_t *ewmh = target->connection->ewmh();
    if (isShown(pWindow)) {
        xcb_ewmh_request_change_wm_desktop(ewmh, target->connection->screenNumber(), target->window,
                                           allDesktops, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    } else {
        xcb_ewmh_set_wm_desktop(ewmh, target->window, allDesktops);
    }
    xcb_flush(target->connection->connection());
    return true;
}

bool X11Window::setAbove(QWindow *pWindow, bool pAbove)
{
    const auto target = targetOf(pWindow);
    if (!target)
        return false;
    xcb_ewmh_connection_t *ewmh = target->connection->ewmh();
    const xcb_atom_t above = ewmh->_NET_WM_STATE_ABOVE;
    if (isShown(pWindow)) {
        xcb_ewmh_request_change_wm_state(ewmh, target->connection->screenNumber(), target->window,
                                         pAbove ? XCB_EWMH_WM_STATE_ADD : XCB_EWMH_WM_STATE_REMOVE,
                                         above, XCB_ATOM_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    } else {
        // Keep whatever else the state holds; Qt merges its own states into it at show().
        std::vector<xcb_atom_t> states =
            target->connection->atoms(target->window, ewmh->_NET_WM_STATE)
                .value_or(std::vector<xcb_atom_t>{});
        std::erase(states, above);
        if (pAbove)
            states.push_back(above);
        if (states.empty()) {
            xcb_delete_property(target->connection->connection(), target->window,
                                ewmh->_NET_WM_STATE);
        } else {
            xcb_ewmh_set_wm_state(ewmh, target->window, static_cast<uint32_t>(states.size()),
                                  states.data());
        }
    }
    xcb_flush(target->connection->connection());
    return true;
}

bool X11Window::setOpacityByte(QWindow *pWindow, std::optional<uint8_t> pByte)
{
    const auto target = targetOf(pWindow);
    if (!target)
        return false;
    const xcb_atom_t opacity = target->connection->atom(opacityAtomName);
    if (opacity == XCB_ATOM_NONE)
        return false;
    if (pByte) {
        const uint32_t value = static_cast<uint32_t>(*pByte) * opacityByteSpread;
        xcb_change_property(target->connection->connection(), XCB_PROP_MODE_REPLACE, target->window,
                            opacity, XCB_ATOM_CARDINAL, 32, 1, &value);
    } else {
        xcb_delete_property(target->connection->connection(), target->window, opacity);
    }
    xcb_flush(target->connection->connection());
    return true;
}

bool X11Window::activate(QWindow *pWindow)
{
    if (pWindow == nullptr)
        return false;
    pWindow->raise();
    const auto target = targetOf(pWindow);
    if (!target) {
        pWindow->requestActivate();
        return false;
    }
    // The request comes from the user starting the program again: a direct user action, which
    // focus-stealing prevention lets through.
    xcb_ewmh_request_change_active_window(
        target->connection->ewmh(), target->connection->screenNumber(), target->window,
        XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME, XCB_WINDOW_NONE);
    xcb_flush(target->connection->connection());
    return true;
}

std::optional<uint32_t> X11Window::opacityProperty(WId pWindow)
{
    EwmhConnection *connection = EwmhConnection::forQt();
    if (connection == nullptr || pWindow == 0)
        return std::nullopt;
    const xcb_atom_t opacity = connection->atom(opacityAtomName);
    const auto values = connection->cardinals(static_cast<xcb_window_t>(pWindow), opacity);
    if (!values || values->empty())
        return std::nullopt;
    return values->front();
}

} // namespace pindrel::platform
