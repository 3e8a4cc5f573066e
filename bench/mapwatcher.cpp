#include "mapwatcher.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(void *pPointer) const { std::free(pPointer); }
};

template<typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// A reparenting window manager maps its frame, which holds the program's window one or two
// levels down.
constexpr int kFrameDepth = 3;

} // namespace

MapWatcher::MapWatcher()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    m_connection = connection;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    const char name[] = "_NET_WM_PID";
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr));
    if (atom)
        m_pidAtom = atom->atom;
}

MapWatcher::~MapWatcher()
{
    if (m_connection != nullptr)
        xcb_disconnect(m_connection);
}

void MapWatcher::discardPending()
{
    // A round trip makes sure that everything the server sent so far has arrived.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
}

bool MapWatcher::belongsTo(xcb_window_t pWindow, pid_t pPid, int pDepth)
{
    const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, pWindow, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (property && property->type == XCB_ATOM_CARDINAL && property->format == 32
        && xcb_get_property_value_length(property.get()) == 4) {
        uint32_t value = 0;
        std::memcpy(&value, xcb_get_property_value(property.get()), sizeof value);
        return value == static_cast<uint32_t>(pPid);
    }
    if (pDepth <= 1)
        return false;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, pWindow), nullptr));
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (belongsTo(children[i], pPid, pDepth - 1))
            return true;
    }
    return false;
}

std::optional<MapWatcher::Clock::time_point>
MapWatcher::waitForMap(pid_t pPid, std::chrono::milliseconds pTimeout,
                       const std::function<bool()> &pAlive)
{
    const Clock::time_point deadline = Clock::now() + pTimeout;
    pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        xcb_generic_event_t *event = xcb_poll_for_event(m_connection);
        if (event == nullptr) {
            if (xcb_connection_has_error(m_connection) != 0 || !pAlive())
                return std::nullopt;
            // Wakes up for the next event; the slice only lets the liveness check run.
            poll(&descriptor, 1, 50);
            continue;
        }
        // The time the event arrived, before any further round trip to identify its window.
        const Clock::time_point seen = Clock::now();
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window = mapped
            ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window
            : xcb_window_t{XCB_WINDOW_NONE};
        std::free(event);
        if (mapped && belongsTo(window, pPid, kFrameDepth))
            return seen;
    }
    return std::nullopt;
}
