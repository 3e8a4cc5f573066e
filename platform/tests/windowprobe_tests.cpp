// The window probe on a real X server: the windows of other clients are known, ids that name
// no window are not.

#include "platform/windowprobe.h"

#include "xprops.h"

#include <QtGui/QWindow>

#include <gtest/gtest.h>

namespace {

TEST(WindowProbe, KnowsWindowsOfAnyClientAndNothingElse)
{
    xcb_connection_t *connection = xprops::qtConnection();
    ASSERT_NE(connection, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // A window another client made: the root, the server's own.
    EXPECT_TRUE(pindrel::platform::isWindowOnDisplay(root));
    QWindow own;
    own.winId();
    EXPECT_TRUE(pindrel::platform::isWindowOnDisplay(static_cast<quintptr>(own.winId())));
    // Resource ids have 29 bits; this one was never given out.
    EXPECT_FALSE(pindrel::platform::isWindowOnDisplay(0x1FFFFFF0U));
    EXPECT_FALSE(pindrel::platform::isWindowOnDisplay(0));
    EXPECT_FALSE(pindrel::platform::isWindowOnDisplay(0xE0000001U));
}

} // namespace
