#pragma once

// The application-desktop-toolbar service: a window claims a band along one screen edge and the
// desktop keeps other windows out of it. The operations mirror the shell's app-bar messages
// (ABM_NEW, ABM_GETTASKBARPOS, ABM_QUERYPOS, ABM_SETPOS, ABM_REMOVE) and the set-work-area call,
// with the same record passed to each of them.

#include "platform/platformexport.h"

#include <QtCore/qglobal.h>

#include <cstdint>
#include <memory>

namespace pindrel::platform {

// A rectangle in device pixels; right and bottom are exclusive (width = right - left).
struct AppBarRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const AppBarRect &) const = default;
};

// Screen edges, in the shell's numbering.
inline constexpr uint32_t ABE_LEFT = 0;
inline constexpr uint32_t ABE_TOP = 1;
inline constexpr uint32_t ABE_RIGHT = 2;
inline constexpr uint32_t ABE_BOTTOM = 3;

// The record every app-bar call takes. hWnd is the native window id (an X window on X11).
struct AppBarData
{
    uint32_t cbSize = 36;
    quintptr hWnd = 0;
    uint32_t uCallbackMessage = 0;
    uint32_t uEdge = 0;
    AppBarRect rc{};
    int32_t lParam = 0;
};

class PINDREL_PLATFORM_EXPORT AppBarService
{
public:
    virtual ~AppBarService();

    // ABM_NEW: registers pData.hWnd as an app bar. False when the desktop refuses: there is no
    // window, the window is registered already, or the window manager cannot reserve screen
    // space (it does not list _NET_WM_STRUT_PARTIAL nor _NET_WM_STRUT in _NET_SUPPORTED).
    virtual bool newBar(AppBarData &pData) = 0;

    // ABM_GETTASKBARPOS: pData.rc becomes the band that something else reserves on the bar's
    // monitor (screenRect), in root-window pixels, cut to that monitor: a strut of any other
    // window, whatever its type, or a band the window manager's work area leaves out that no
    // strut explains (a panel the window manager draws itself). With several, the largest band
    // counts. False, with pData.rc untouched, when nothing reserves space there.
    virtual bool getTaskbarPos(AppBarData &pData) = 0;

    // ABM_QUERYPOS: adjusts the proposed pData.rc for the edge pData.uEdge so that it leaves the
    // bands of other docks (as getTaskbarPos finds them, on any monitor) free. A band on the same
    // edge pushes the rectangle away from the edge, keeping its size; a band on a side edge cuts
    // the rectangle's matching side. An inverted rectangle is taken as empty. Nothing is written
    // anywhere.
    virtual void queryPos(AppBarData &pData) = 0;

    // ABM_SETPOS: runs queryPos, then reserves pData.rc along pData.uEdge for pData.hWnd
    // (_NET_WM_STRUT_PARTIAL and _NET_WM_STRUT, measured from the edges of the whole root
    // window). The window itself is not moved: the caller places it at pData.rc. Does nothing
    // for a window that newBar has not registered.
    virtual void setPos(AppBarData &pData) = 0;

    // ABM_REMOVE: gives the band back (the struts are deleted, so the window manager recomputes
    // the work area) and forgets the registration. Nothing happens for an unregistered window.
    virtual void remove(AppBarData &pData) = 0;

    // SPI_SETWORKAREA. Under an EWMH window manager the work area belongs to the window manager
    // and follows the struts, so the request cannot be carried out: returns false and changes
    // nothing. Removing the bar (remove) is what gives its band back.
    virtual bool setWorkArea(const AppBarRect &pRect) = 0;

    // The desktop window's rectangle: the primary monitor in device pixels (see monitors.h).
    virtual AppBarRect screenRect() const = 0;

    // The work area of desktop 0 as the window manager publishes it (_NET_WORKAREA); the whole
    // screen when nobody publishes one.
    virtual AppBarRect workArea() const = 0;

    // A run of calls that one registration makes back to back (new, taskbar, query, set): within
    // it the service may answer every call from one look at the other docks, taken at the first
    // call that needs it, as if the calls were made at one instant. Nested runs count as one;
    // the look is forgotten when the outermost one ends. Through AppBarSequence.
    virtual void beginSequence() { }
    virtual void endSequence() { }
};

// A scope for AppBarService::beginSequence/endSequence.
class AppBarSequence
{
public:
    explicit AppBarSequence(AppBarService &pService)
        : m_service(pService)
    {
        m_service.beginSequence();
    }
    ~AppBarSequence() { m_service.endSequence(); }

    AppBarSequence(const AppBarSequence &) = delete;
    AppBarSequence &operator=(const AppBarSequence &) = delete;

private:
    AppBarService &m_service;
};

// The service for the running application: the X11/EWMH one when the Qt platform is xcb,
// otherwise one that refuses every registration (offscreen, Wayland without XWayland...).
PINDREL_PLATFORM_EXPORT std::unique_ptr<AppBarService> createAppBarService();

} // namespace pindrel::platform
