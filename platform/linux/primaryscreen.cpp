#include "primaryscreen.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <cmath>

namespace pindrel::platform {

std::optional<AppBarRect> primaryScreenRect()
{
    if (qGuiApp == nullptr)
        return std::nullopt;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return std::nullopt;
    // Qt reports device-independent pixels; the desktop's rectangles are in device pixels.
    const QRect geometry = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    const auto device = [ratio](int pValue) {
        return static_cast<int>(std::lround(pValue * ratio));
    };
    return AppBarRect{device(geometry.x()), device(geometry.y()),
                      device(geometry.x() + geometry.width()),
                      device(geometry.y() + geometry.height())};
}

} // namespace pindrel::platform
