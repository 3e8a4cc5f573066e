#include "platform/devicepixels.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <cmath>

namespace pindrel::platform {

namespace {

struct Scale
{
    QPoint origin;
    qreal ratio = 1.0;
};

int rounded(qreal pValue)
{
    return static_cast<int>(std::lround(pValue));
}

// The screen whose device rectangle holds pPoint (a device point when pDevice, else a logical
// one); the primary screen when none does.
Scale scaleAt(const QPoint &pPoint, bool pDevice)
{
    if (qGuiApp == nullptr)
        return {};
    const QScreen *found = nullptr;
    for (const QScreen *screen : QGuiApplication::screens()) {
        QRect area = screen->geometry();
        if (pDevice) {
            const qreal ratio = screen->devicePixelRatio();
            area.setSize(QSize(rounded(area.width() * ratio), rounded(area.height() * ratio)));
        }
        if (area.contains(pPoint)) {
            found = screen;
            break;
        }
    }
    if (found == nullptr)
        found = QGuiApplication::primaryScreen();
    if (found == nullptr)
        return {};
    return Scale{found->geometry().topLeft(), found->devicePixelRatio()};
}

} // namespace

QRect toLogical(const AppBarRect &pRect)
{
    const Scale scale = scaleAt(QPoint(pRect.left, pRect.top), true);
    const QPoint origin = scale.origin;
    return QRect(origin.x() + rounded((pRect.left - origin.x()) / scale.ratio),
                 origin.y() + rounded((pRect.top - origin.y()) / scale.ratio),
                 rounded(pRect.width() / scale.ratio), rounded(pRect.height() / scale.ratio));
}

AppBarRect toDevice(const QRect &pRect)
{
    const Scale scale = scaleAt(pRect.topLeft(), false);
    const QPoint origin = scale.origin;
    const int left = origin.x() + rounded((pRect.x() - origin.x()) * scale.ratio);
    const int top = origin.y() + rounded((pRect.y() - origin.y()) * scale.ratio);
    return AppBarRect{left, top, left + rounded(pRect.width() * scale.ratio),
                      top + rounded(pRect.height() * scale.ratio)};
}

qreal devicePixelRatioAt(const AppBarRect &pRect)
{
    return scaleAt(QPoint(pRect.left, pRect.top), true).ratio;
}

} // namespace pindrel::platform
