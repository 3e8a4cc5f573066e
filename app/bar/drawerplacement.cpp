#include "bar/drawerplacement.h"

#include <algorithm>
#include <limits>

namespace pindrel {

namespace {

long long sharedArea(const QRect &pA, const QRect &pB)
{
    const QRect shared = pA.intersected(pB);
    return shared.isEmpty() ? 0 : static_cast<long long>(shared.width()) * shared.height();
}

long long distanceSquared(const QRect &pArea, const QPoint &pPoint)
{
    const long long dx = std::clamp(pPoint.x(), pArea.left(), pArea.right()) - pPoint.x();
    const long long dy = std::clamp(pPoint.y(), pArea.top(), pArea.bottom()) - pPoint.y();
    return dx * dx + dy * dy;
}

// The monitor the frame mostly lies on, else the one nearest to its centre.
QRect monitorFor(const QRect &pFrame, const std::vector<QRect> &pMonitors)
{
    const QRect *best = nullptr;
    long long bestArea = 0;
    for (const QRect &monitor : pMonitors) {
        const long long shared = sharedArea(monitor, pFrame);
        if (shared > bestArea) {
            best = &monitor;
            bestArea = shared;
        }
    }
    if (best != nullptr)
        return *best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect &monitor : pMonitors) {
        const long long distance = distanceSquared(monitor, pFrame.center());
        if (distance < bestDistance) {
            best = &monitor;
            bestDistance = distance;
        }
    }
    return best != nullptr ? *best : QRect();
}

} // namespace

DrawerPlace placeDrawer(DrawerPlace pWanted, const DrawerSurroundings &pAround)
{
    DrawerPlace place = pWanted;
    // An empty WIDTH or HEIGHT gives 0: the drawer was never sized, not made tiny on purpose.
    if (place.size.width() <= 0)
        place.size.setWidth(kUnstoredDrawerSize.width());
    if (place.size.height() <= 0)
        place.size.setHeight(kUnstoredDrawerSize.height());
    place.size = place.size.expandedTo(kMinimumDrawerSize);
    const QMargins &frame = place.frame;
    const auto frameOf = [&frame](const QPoint &pPosition, const QSize &pSize) {
        return QRect(pPosition, pSize.grownBy(frame));
    };

    QRect area = monitorFor(frameOf(place.framePosition, place.size), pAround.monitors);
    if (area.isEmpty())
        return place;
    // The bar's band is no room for a drawer, wherever the work area left it.
    if (!pAround.bar.isEmpty() && area.intersects(pAround.bar)) {
        if (pAround.barAtBottom)
            area.setBottom(std::min(area.bottom(), pAround.bar.top() - 1));
        else
            area.setTop(std::max(area.top(), pAround.bar.bottom() + 1));
    }
    const QSize room = area.size().shrunkBy(frame);
    place.size = place.size.boundedTo(room.expandedTo(QSize(1, 1)));

    QPoint position = place.framePosition;
    const QSize outer = place.size.grownBy(frame);
    // Under the button means above it when the bar is at the bottom.
    if (place.atButton && pAround.barAtBottom && !pAround.bar.isEmpty())
        position.setY(pAround.bar.top() - outer.height());
    position.setX(std::clamp(position.x(), area.left(),
                             std::max(area.left(), area.right() + 1 - outer.width())));
    position.setY(std::clamp(position.y(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - outer.height())));
    place.framePosition = position;
    return place;
}

} // namespace pindrel
