#pragma once

// Window properties that Qt does not set the way a docked bar needs them on X11. Each helper
// returns false, and does nothing, when the window has no native X window or the Qt platform is
// not xcb (offscreen tests, Wayland); activate() then still asks Qt to raise the window.
// GUI thread only: they use Qt's own X connection (prepareConnection() excepted).

#include "platform/platformexport.h"

#include <QtGui/qwindowdefs.h>

#include <cstdint>
#include <optional>

class QWindow;

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT X11Window
{
public:
    X11Window() = delete;

    // Interns the atoms the helpers use on Qt's X connection, which the first of them would
    // otherwise do (a round trip to the X server): a start can have it done on another thread
    // while it makes its window. Any thread, once the application object exists.
    static void prepareConnection();

    // Makes the window a dock (_NET_WM_WINDOW_TYPE = _NET_WM_WINDOW_TYPE_DOCK only). Call after
    // winId() and before the first show: the window manager reads the type when it maps the
    // window. The type survives show() and later QWindow::setFlags() (Qt rewrites the property
    // then and keeps the dock type first). QWidget::setWindowFlags() may recreate the native
    // window: call this again after it.
    static bool setDockType(QWindow *pWindow);

    // Shows the window on every virtual desktop (_NET_WM_DESKTOP = 0xFFFFFFFF): the property
    // before the window is shown, a request to the window manager once it is.
    static bool setOnAllDesktops(QWindow *pWindow);

    // Keeps the window above normal windows (_NET_WM_STATE_ABOVE) or stops doing so, without
    // moving, resizing or recreating it: the property before the window is shown, a request to
    // the window manager once it is.
    static bool setAbove(QWindow *pWindow, bool pAbove);

    // Window opacity as a byte: _NET_WM_WINDOW_OPACITY = pByte * 0x01010101, so that a
    // compositor reading either the top byte or the whole value gets pByte exactly. nullopt
    // removes the property (a fully opaque window that costs the compositor nothing).
    static bool setOpacityByte(QWindow *pWindow, std::optional<uint8_t> pByte);

    // Brings the window to the front and asks the window manager to give it the focus
    // (_NET_ACTIVE_WINDOW, as a direct user action).
    static bool activate(QWindow *pWindow);

    // Places a shown window at exactly these device pixels (left, top, right, bottom). At a
    // fractional device pixel ratio Qt asks the window manager to size the window in steps of
    // the rounded ratio (WM_NORMAL_HINTS resize increments), so a bar of 39 pixels becomes 38
    // under a window manager that keeps to them: the steps are taken out of the hints first.
    // The window manager's answer brings Qt's own idea of the geometry in line.
    static bool setDeviceGeometry(QWindow *pWindow, int pLeft, int pTop, int pRight, int pBottom);

    // The window's _NET_WM_WINDOW_OPACITY, nullopt when it has none or is not an X window.
    static std::optional<uint32_t> opacityProperty(WId pWindow);
};

} // namespace pindrel::platform
