#pragma once

// Watches the X server for the moment a program's first top-level window becomes viewable: the
// MapNotify that the root window reports for the window itself or for the frame the window
// manager has put it in, matched to the program by _NET_WM_PID. With the DAMAGE extension it also
// tells when the program first drew into that window: its first paint.

#include <sys/types.h>

#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

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

    // Whether the server has the DAMAGE extension, without which waitForPaint fails.
    bool canSeePaint() const { return m_damageEvent != 0; }

    // Drops the events received so far and what was watched for an earlier program; call
    // before starting the program to be watched.
    void discardPending();

    // The time the first window of pPid was reported mapped; nullopt when pTimeout passes
    // first or pAlive says the program has ended.
    std::optional<Clock::time_point> waitForMap(pid_t pPid, std::chrono::milliseconds pTimeout,
                                                const std::function<bool()> &pAlive);

    struct Shown
    {
        Clock::time_point mapped;
        Clock::time_point painted; // the first drawing into the mapped window
    };
    // Both moments for the first window of pPid; nullopt as for waitForMap, or without DAMAGE.
    std::optional<Shown> waitForPaint(pid_t pPid, std::chrono::milliseconds pTimeout,
                                      const std::function<bool()> &pAlive);

private:
    // The window of pPid at pWindow or up to pDepth - 1 levels below it; XCB_WINDOW_NONE if none.
    xcb_window_t ownWindow(xcb_window_t pWindow, pid_t pPid, int pDepth);
    // Waits for pPid's first map and, when pPaint, for its first drawing after it.
    std::optional<Shown> wait(pid_t pPid, std::chrono::milliseconds pTimeout,
                              const std::function<bool()> &pAlive, bool pPaint);
    void watchDamage(xcb_window_t pWindow);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    uint8_t m_damageEvent = 0; // the extension's first event code; 0 without it
    std::vector<uint32_t> m_damages; // one per top-level window created since discardPending
};
