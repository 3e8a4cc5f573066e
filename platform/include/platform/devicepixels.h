#pragma once

// Device pixels (what the X server, RandR and struts count) against Qt's device-independent
// pixels. Qt keeps each screen's top-left corner as it is and scales the rest by the screen's
// device pixel ratio; a rectangle is converted with the screen that holds its top-left corner
// (the primary screen when none does). With a ratio of 1 both are the same.

#include "platform/appbar.h"
#include "platform/platformexport.h"

#include <QtCore/QRect>

namespace pindrel::platform {

// The rectangle in Qt's coordinates that Qt maps back onto pRect (to the pixel where the
// ratio allows it).
PINDREL_PLATFORM_EXPORT QRect toLogical(const AppBarRect &pRect);

// The device pixels Qt gives a window placed at pRect.
PINDREL_PLATFORM_EXPORT AppBarRect toDevice(const QRect &pRect);

// The device pixel ratio where pRect (device pixels) lies; 1 without a screen.
PINDREL_PLATFORM_EXPORT qreal devicePixelRatioAt(const AppBarRect &pRect);

} // namespace pindrel::platform
