#include "mapwatcher.h"

#include <poll.h>

#include <xcb/damage.h>

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

    const xcb_query_extension_reply_t *damage =
        xcb_get_extension_data(m_connection, &xcb_damage_id);
    if (damage != nullptr && damage->present != 0) {
        const Reply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
            m_connection,
            xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION,
                                     XCB_DAMAGE_MINOR_VERSION),
            nullptr));
        if (version)
            m_damageEvent = damage->first_event;
    }
}

MapWatcher::~MapWatcher()
{
    if (m_connection != nullptr)
        xcb_disconnect(m_connection);
}

void MapWatcher::discardPending()
{
    // Windows already gone took their damage objects with them; the errors are ignored.
    for (const uint32_t damage : m_damages)
        xcb_damage_destroy(m_connection, damage);
    m_damages.clear();
    // A round trip makes sure that everything the server sent so far has arrived.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
}

xcb_window_t MapWatcher::ownWindow(xcb_window_t pWindow, pid_t pPid, int pDepth)
{
    const Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, pWindow, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (property && property->type == XCB_ATOM_CARDINAL && property->format == 32
        && xcb_get_property_value_length(property.get()) == 4) {
        uint32_t value = 0;
        std::memcpy(&value, xcb_get_property_value(property.get()), sizeof value);
        return value == static_cast<uint32_t>(pPid) ? pWindow : xcb_window_t{XCB_WINDOW_NONE};
    }
    if (pDepth <= 1)
        return XCB_WINDOW_NONE;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, pWindow), nullptr));
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (const xcb_window_t own = ownWindow(children[i], pPid, pDepth - 1))
            return own;
    }
    return XCB_WINDOW_NONE;
}

void MapWatcher::watchDamage(xcb_window_t pWindow)
{
    const uint32_t damage = xcb_generate_id(m_connection);
    xcb_damage_create(m_connection, damage, pWindow, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(m_connection);
    m_damages.push_back(damage);
}

std::optional<MapWatcher::Clock::time_point>
MapWatcher::waitForMap(pid_t pPid, std::chrono::milliseconds pTimeout,
                       const std::function<bool()> &pAlive)
{
    const std::optional<Shown> shown = wait(pPid, pTimeout, pAlive, false);
    if (!shown)
        return std::nullopt;
    return shown->mapped;
}

std::optional<MapWatcher::Shown> MapWatcher::waitForPaint(pid_t pPid,
                                                          std::chrono::milliseconds pTimeout,
                                                          const std::function<bool()> &pAlive)
{
    if (!canSeePaint())
        return std::nullopt;
    return wait(pPid, pTimeout, pAlive, true);
}

std::optional<MapWatcher::Shown> MapWatcher::wait(pid_t pPid, std::chrono::milliseconds pTimeout,
                                                  const std::function<bool()> &pAlive, bool pPaint)
{
    const Clock::time_point deadline = Clock::now() + pTimeout;
    pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    std::optional<Clock::time_point> mapped;
    std::optional<Clock::time_point> painted;
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
        const uint8_t type = event->response_type & 0x7f;
        xcb_window_t created = XCB_WINDOW_NONE;
        xcb_window_t mappedWindow = XCB_WINDOW_NONE;
        xcb_drawable_t drawnOn = XCB_WINDOW_NONE;
        if (type == XCB_CREATE_NOTIFY)
            created = reinterpret_cast<xcb_create_notify_event_t *>(event)->window;
        else if (type == XCB_MAP_NOTIFY)
            mappedWindow = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
        else if (m_damageEvent != 0 && type == m_damageEvent + XCB_DAMAGE_NOTIFY)
            drawnOn = reinterpret_cast<xcb_damage_notify_event_t *>(event)->drawable;
        std::free(event);

        // Every new top-level window is watched from its creation on, before anything can be
        // drawn in it: which program made it is asked only once it is drawn into.
        if (pPaint && created != XCB_WINDOW_NONE)
            watchDamage(created);
        if (!mapped && mappedWindow != XCB_WINDOW_NONE
            && ownWindow(mappedWindow, pPid, kFrameDepth) != XCB_WINDOW_NONE)
            mapped = seen;
        if (!painted && drawnOn != XCB_WINDOW_NONE && ownWindow(drawnOn, pPid, 1) == drawnOn)
            painted = seen;
        if (mapped && (!pPaint || painted))
            return Shown{*mapped, painted.value_or(*mapped)};
    }
    return std::nullopt;
}
