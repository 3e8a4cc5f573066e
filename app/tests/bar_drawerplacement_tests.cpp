// Where a drawer may open, with the stored places that used to leave it unusable.

#include "bar/drawerplacement.h"

#include <gtest/gtest.h>

namespace pindrel {
namespace {

struct PlacementCase
{
    const char *name;
    QPoint position;
    QSize size;
    bool atButton;
    bool barAtBottom;
    QPoint expectedPosition;
    QSize expectedSize;
};

const QRect kMonitor(0, 0, 1280, 800);
const QRect kTopBar(0, 0, 1280, 26);
const QRect kBottomBar(0, 744, 1280, 26);
const QMargins kFrame(1, 20, 1, 1);

const PlacementCase kPlacements[] = {
    {"usable_place_kept", {300, 100}, {457, 383}, false, false, {300, 100}, {457, 383}},
    // WIDTH and HEIGHT empty used to give a 53 x 39 sliver.
    {"no_size_stored", {300, 100}, {0, 0}, false, false, {300, 100}, kUnstoredDrawerSize},
    {"stored_too_small", {300, 100}, {100, 50}, false, false, {300, 100}, kMinimumDrawerSize},
    // A negative TOP leaves the window's own top of 0: its title bar under the bar.
    {"title_bar_under_top_bar", {300, 0}, {457, 383}, false, false, {300, 26}, {457, 383}},
    // A new drawer stores TOP = the bar's height: with the bar at the bottom it used to open
    // at the top of the screen; it opens above its button instead.
    {"new_drawer_above_bottom_bar",
     {50, 26},
     {457, 383},
     true,
     true,
     {50, 744 - 383 - 21},
     {457, 383}},
    {"stored_place_over_bottom_bar",
     {300, 600},
     {457, 383},
     false,
     true,
     {300, 744 - 383 - 21},
     {457, 383}},
    // A monitor on the right that is gone: the nearest one, as far right as it goes.
    {"place_on_removed_monitor",
     {1600, 300},
     {457, 383},
     false,
     false,
     {1280 - 459, 300},
     {457, 383}},
    {"larger_than_the_monitor",
     {-4000, -4000},
     {20000, 20000},
     false,
     false,
     {0, 26},
     {1278, 800 - 26 - 21}},
};

class DrawerPlacement : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(DrawerPlacement, OpensWhereItCanBeUsed)
{
    const PlacementCase &row = GetParam();
    const DrawerSurroundings around{
        {kMonitor}, row.barAtBottom ? kBottomBar : kTopBar, row.barAtBottom};
    const DrawerPlace placed =
        placeDrawer(DrawerPlace{row.position, row.size, kFrame, row.atButton}, around);
    EXPECT_EQ(placed.framePosition, row.expectedPosition);
    EXPECT_EQ(placed.size, row.expectedSize);
    // Never over the bar: the whole frame stays on its side.
    const QRect frame(placed.framePosition, placed.size.grownBy(kFrame));
    EXPECT_FALSE(frame.intersects(around.bar));
}

INSTANTIATE_TEST_SUITE_P(Drawer, DrawerPlacement, ::testing::ValuesIn(kPlacements),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace
} // namespace pindrel
