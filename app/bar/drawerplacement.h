#pragma once

// Where a drawer window may open: the last step of placing it, after the stored LEFT, TOP,
// WIDTH and HEIGHT have been applied as they stand. The stored values are kept wherever the
// result can be used; otherwise:
//   - a width or height that was not stored is kUnstoredDrawerSize's; the window is never
//     smaller than kMinimumDrawerSize, nor larger than its monitor's room;
//   - it opens on the monitor it mostly lies on, and on the nearest one when its place is on
//     none any more (a monitor was removed, or the file was written on another desktop);
//   - its frame stays within that monitor's available area and off the bar: with the bar at
//     the top a drawer never hides its title bar under it;
//   - a drawer placed at its button (LEFT negative or missing) with the bar at the bottom
//     opens above the button, its frame's bottom on the bar's top.
// All rectangles are in Qt's device-independent pixels, global coordinates.

#include <QMargins>
#include <QRect>
#include <QSize>

#include <vector>

namespace pindrel {

// The smallest client area a drawer opens with: room for its toolbar and a few files.
inline constexpr QSize kMinimumDrawerSize(240, 160);
// The size of a drawer whose WIDTH or HEIGHT is not stored (0 or less, as an empty value
// gives): the window's own design size (6630 x 5505 twips under its toolbar), wide enough for
// all of its tools.
inline constexpr QSize kUnstoredDrawerSize(442, 400);

struct DrawerPlace
{
    QPoint framePosition; // where the frame's top-left corner goes (QWidget::move)
    QSize size; // the client area (QWidget::resize)
    QMargins frame; // what the window manager puts around the client area
    bool atButton = false; // LEFT was negative or missing
};

struct DrawerSurroundings
{
    std::vector<QRect> monitors; // each monitor's available area
    QRect bar; // empty when there is no bar
    bool barAtBottom = false;
};

DrawerPlace placeDrawer(DrawerPlace pWanted, const DrawerSurroundings &pAround);

} // namespace pindrel
