#pragma once

// Whether a number names a window on the display at all, for telling the windows of other
// programs from handles that are no window.

#include "platform/platformexport.h"

#include <QtCore/QtGlobal>

namespace pindrel::platform {

// True when the X server of this application's display has a window with the id pWindow.
// False without an X11 display (the offscreen platform, for one).
PINDREL_PLATFORM_EXPORT bool isWindowOnDisplay(quintptr pWindow);

} // namespace pindrel::platform
