#pragma once

// The tests' own connection to the X server, independent of the program under test: reads
// window properties and geometry the way a window manager or a taskbar sees them.

#include <QRect>
#include <QString>
#include <QStringList>

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

class XDisplay
{
public:
    // Connects to pDisplay (":N") and listens to the root window's structure and property
    // changes, so that waitForActivity wakes up when windows come and go or the work area
    // changes. isConnected() tells whether it worked.
    explicit XDisplay(const QString &pDisplay);
    ~XDisplay();

    XDisplay(const XDisplay &) = delete;
    XDisplay &operator=(const XDisplay &) = delete;

    bool isConnected() const { return m_connection != nullptr; }
    xcb_window_t root() const { return m_root; }

    // Blocks until the server reports something or pTimeoutMs passes, then drops the events:
    // they only say that it is worth looking again.
    void waitForActivity(int pTimeoutMs);
    // Polls pCondition until it holds or pTimeoutMs passes; between two looks it lets this
    // process's events run and waits for news from the server, not for a fixed time.
    bool waitUntil(const std::function<bool()> &pCondition, int pTimeoutMs);

    xcb_atom_t atom(const char *pName);

    // A 32-bit property, nullopt when the window does not have it with type pType.
    std::optional<std::vector<uint32_t>> cardinals(xcb_window_t pWindow, const char *pProperty,
                                                   xcb_atom_t pType = XCB_ATOM_CARDINAL);
    // The names of an ATOM list property; empty when missing.
    QStringList atomNames(xcb_window_t pWindow, const char *pProperty);
    // _NET_WM_NAME, else WM_NAME; empty when neither is set.
    QString title(xcb_window_t pWindow);
    // The two strings of WM_CLASS (instance, class); empty when missing.
    QStringList windowClass(xcb_window_t pWindow);
    std::optional<xcb_window_t> transientFor(xcb_window_t pWindow);

    // The window's rectangle in root coordinates, nullopt when it does not exist.
    std::optional<QRect> geometry(xcb_window_t pWindow);
    bool isViewable(xcb_window_t pWindow);
    bool isOverrideRedirect(xcb_window_t pWindow);

    // Every viewable window whose _NET_WM_PID is pPid: top-level windows of the process,
    // wherever the window manager has put them (its frames are searched too).
    std::vector<xcb_window_t> viewableWindowsOf(qint64 pPid);
    // Every window whose _NET_WM_PID is pPid, viewable or not.
    std::vector<xcb_window_t> windowsOf(qint64 pPid);

    // Asks the window manager to close pWindow as its close button would (_NET_CLOSE_WINDOW to
    // the root): a window that takes part in WM_DELETE_WINDOW gets that message, not killed.
    void requestClose(xcb_window_t pWindow);

    // Asks the window manager to add or remove _NET_WM_STATE_ABOVE of pWindow, as a pager would.
    void requestAbove(xcb_window_t pWindow, bool pAbove);
    // Asks the window manager to activate (focus and raise) pWindow, as a pager would.
    void requestActivate(xcb_window_t pWindow);

    // _NET_WORKAREA of the first desktop; an empty rectangle when the root does not have it.
    QRect workArea();
    // _NET_ACTIVE_WINDOW; 0 when none.
    xcb_window_t activeWindow();
    // The taskbar: the tint2 window that reserves screen space. nullopt when there is none.
    std::optional<xcb_window_t> panel();

private:
    struct Found
    {
        xcb_window_t window;
        bool viewable;
    };
    void sendToRoot(xcb_window_t pWindow, const char *pType, std::initializer_list<uint32_t> pData);
    void collectWindowsOf(xcb_window_t pParent, uint32_t pPid, int pDepth,
                          std::vector<Found> &pFound);
    QByteArray rawProperty(xcb_window_t pWindow, xcb_atom_t pProperty, xcb_atom_t pType);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
