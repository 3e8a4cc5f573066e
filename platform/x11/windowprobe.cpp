#include "platform/windowprobe.h"

#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <limits>

namespace pindrel::platform {

bool isWindowOnDisplay(quintptr pWindow)
{
    if (pWindow == 0 || pWindow > std::numeric_limits<uint32_t>::max())
        return false;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    const xcb_get_window_attributes_cookie_t cookie =
        xcb_get_window_attributes(connection, static_cast<xcb_window_t>(pWindow));
    xcb_generic_error_t *error = nullptr;
    xcb_get_window_attributes_reply_t *reply =
        xcb_get_window_attributes_reply(connection, cookie, &error);
    std::free(error);
    const bool exists = reply != nullptr;
    std::free(reply);
    return exists;
}

} // namespace pindrel::platform
