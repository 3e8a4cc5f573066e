// Off X11 the platform layer refuses instead of failing: the bar then stays where the program
// put it.

#include "platform/appbar.h"
#include "platform/x11window.h"

#include "appbarprinter.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtGui/QWindow>

#include <gtest/gtest.h>

using namespace pindrel::platform;

TEST(AppBarOffscreen, RefusesRegistrationAndLeavesTheRecordAlone)
{
    const auto service = createAppBarService();
    ASSERT_NE(service, nullptr);

    QWindow window;
    AppBarData data;
    data.hWnd = window.winId();
    data.uCallbackMessage = 0x400;
    data.uEdge = ABE_TOP;
    data.rc = AppBarRect{1, 2, 3, 4};

    EXPECT_FALSE(service->newBar(data));
    EXPECT_FALSE(service->getTaskbarPos(data));
    service->queryPos(data);
    service->setPos(data);
    service->remove(data);
    EXPECT_EQ(data.rc, (AppBarRect{1, 2, 3, 4}));
    EXPECT_EQ(data.uEdge, ABE_TOP);
    EXPECT_FALSE(service->setWorkArea(AppBarRect{0, 0, 10, 10}));
}

TEST(AppBarOffscreen, ScreenAndWorkAreaAreTheWholePrimaryScreen)
{
    const auto service = createAppBarService();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const AppBarRect expected{screen.left(), screen.top(), screen.left() + screen.width(),
                              screen.top() + screen.height()};
    EXPECT_EQ(service->screenRect(), expected);
    EXPECT_EQ(service->workArea(), expected);
    EXPECT_GT(expected.width(), 0);
}

TEST(X11WindowOffscreen, EveryHelperRefuses)
{
    QWindow window;
    window.create();
    EXPECT_FALSE(X11Window::setDockType(&window));
    EXPECT_FALSE(X11Window::setOnAllDesktops(&window));
    EXPECT_FALSE(X11Window::setAbove(&window, true));
    EXPECT_FALSE(X11Window::setOpacityByte(&window, uint8_t{128}));
    EXPECT_FALSE(X11Window::activate(&window));
    EXPECT_EQ(X11Window::opacityProperty(window.winId()), std::nullopt);
    EXPECT_FALSE(X11Window::setDockType(nullptr));
    EXPECT_FALSE(X11Window::activate(nullptr));
}
