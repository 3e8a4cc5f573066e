#pragma once

// Watches the X server for the moment a program's first top-level window becomes viewable: the
// MapNotify that the root window reports for the window itself or for the frame the window
// manager has put it in, matched to the program by _NET_WM_PID.

#include <sys/types.h>

#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <optional>

class MapWatcher
{
public:
    using Clock = std::chrono::steady_clock;

    // Connects to the display in DISPLAY and starts listening to the root window's
    // structure events. isConnected() tells whether it worked.
    MapWatcher();
    ~MapWatcher();

    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    bool isConnected() const { return m_connection != nullptr; }

    // Drops the events received so far; call before starting the program to be watched.
    void discardPending();

    // The time the first window of pPid was reported mapped; nullopt when pTimeout passes
    // first or pAlive says the program has ended.
    std::optional<Clock::time_point> waitForMap(pid_t pPid, std::chrono::milliseconds pTimeout,
                                                const std::function<bool()> &pAlive);

private:
    bool belongsTo(xcb_window_t pWindow, pid_t pPid, int pDepth);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};
