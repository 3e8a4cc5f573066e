// Window properties of the bar under openbox: the dock type written before mapping and kept,
// the opacity byte, the stay-on-top state and the desktops without moving the window, and
// activation.

#include "platform/x11window.h"

#include "x11testenvironment.h"
#include "xprops.h"

#include <QtGui/QWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using pindrel::platform::X11Window;

namespace {

constexpr int timeoutMs = 5000;
constexpr uint32_t allDesktops = 0xFFFFFFFFu;

class X11WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        c = xprops::qtConnection();
        ASSERT_NE(c, nullptr);
    }

    std::unique_ptr<QWindow> makeWindow(Qt::WindowFlags pFlags, const QRect &pGeometry)
    {
        auto window = std::make_unique<QWindow>();
        window->setFlags(pFlags);
        window->setGeometry(pGeometry);
        window->winId();
        return window;
    }

    static xcb_window_t id(const QWindow &pWindow)
    {
        return static_cast<xcb_window_t>(pWindow.winId());
    }

    bool showAndWaitMapped(QWindow &pWindow)
    {
        pWindow.show();
        return QTest::qWaitFor([&] { return xprops::isViewable(c, id(pWindow)); }, timeoutMs);
    }

    std::optional<uint32_t> desktopOf(const QWindow &pWindow) const
    {
        const auto values = xprops::cardinals(c, id(pWindow), "_NET_WM_DESKTOP");
        return values && !values->empty() ? std::optional<uint32_t>(values->front()) : std::nullopt;
    }

    bool hasState(const QWindow &pWindow, const char *pState) const
    {
        return xprops::atomNames(c, id(pWindow), "_NET_WM_STATE")
            .contains(QString::fromLatin1(pState));
    }

    xcb_connection_t *c = nullptr;
};

TEST_F(X11WindowTest, DockTypeIsThereBeforeMappingAndStaysAfterwards)
{
    const auto bar = makeWindow(Qt::FramelessWindowHint | Qt::Tool, QRect(0, 100, 300, 26));
    ASSERT_TRUE(X11Window::setDockType(bar.get()));
    const QString dockOnly = QStringLiteral("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DOCK");
    EXPECT_EQ(xprops::xprop(id(*bar), "_NET_WM_WINDOW_TYPE"), dockOnly);

    ASSERT_TRUE(showAndWaitMapped(*bar));
    EXPECT_EQ(xprops::xprop(id(*bar), "_NET_WM_WINDOW_TYPE"), dockOnly)
        << "Qt must not rewrite the type when it maps the window";

    // A change of flags makes Qt rewrite the type list; the dock type must stay first.
    bar->setFlags(bar->flags() | Qt::WindowStaysOnTopHint);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return xprops::atomNames(c, id(*bar), "_NET_WM_WINDOW_TYPE").size() > 1; },
        timeoutMs));
    EXPECT_EQ(xprops::atomNames(c, id(*bar), "_NET_WM_WINDOW_TYPE").value(0),
              QStringLiteral("_NET_WM_WINDOW_TYPE_DOCK"));
}

struct OpacityCase
{
    const char *name;
    uint8_t byte;
};

class OpacityByte : public X11WindowTest, public ::testing::WithParamInterface<OpacityCase>
{
};

TEST_P(OpacityByte, ReadsBackExactlyAndCanBeRemoved)
{
    const OpacityCase &row = GetParam();
    const auto bar = makeWindow(Qt::FramelessWindowHint, QRect(0, 0, 100, 20));
    ASSERT_TRUE(X11Window::setOpacityByte(bar.get(), row.byte));
    const auto value = X11Window::opacityProperty(bar->winId());
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, uint32_t{row.byte} * 0x01010101u);
    EXPECT_EQ(*value >> 24, row.byte);
    EXPECT_EQ(xprops::cardinals(c, id(*bar), "_NET_WM_WINDOW_OPACITY"),
              std::vector<uint32_t>{*value});

    ASSERT_TRUE(X11Window::setOpacityByte(bar.get(), std::nullopt));
    EXPECT_EQ(X11Window::opacityProperty(bar->winId()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Table, OpacityByte,
                         ::testing::Values(OpacityCase{"Opaque", 255}, OpacityCase{"Seventy", 178},
                                           OpacityCase{"Half", 128}, OpacityCase{"One", 3}),
                         [](const ::testing::TestParamInfo<OpacityCase> &pInfo) {
                             return std::string(pInfo.param.name);
                         });

TEST_F(X11WindowTest, AboveBeforeAndAfterMappingWithoutMovingTheWindow)
{
    const QRect geometry(10, 300, 200, 40);
    const auto window = makeWindow(Qt::FramelessWindowHint, geometry);
    const WId before = window->winId();
    ASSERT_TRUE(X11Window::setAbove(window.get(), true));
    EXPECT_TRUE(hasState(*window, "_NET_WM_STATE_ABOVE"));

    ASSERT_TRUE(showAndWaitMapped(*window));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return hasState(*window, "_NET_WM_STATE_ABOVE"); }, timeoutMs))
        << "the window manager took the state over";

    ASSERT_TRUE(X11Window::setAbove(window.get(), false));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !hasState(*window, "_NET_WM_STATE_ABOVE"); }, timeoutMs));
    ASSERT_TRUE(X11Window::setAbove(window.get(), true));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return hasState(*window, "_NET_WM_STATE_ABOVE"); }, timeoutMs));
    EXPECT_EQ(window->winId(), before) << "not recreated";
    EXPECT_EQ(window->geometry(), geometry);
}

TEST_F(X11WindowTest, OnAllDesktopsBeforeAndAfterMapping)
{
    const auto early = makeWindow(Qt::FramelessWindowHint, QRect(0, 400, 100, 20));
    ASSERT_TRUE(X11Window::setOnAllDesktops(early.get()));
    EXPECT_EQ(desktopOf(*early), allDesktops);
    ASSERT_TRUE(showAndWaitMapped(*early));
    EXPECT_EQ(desktopOf(*early), allDesktops);

    const auto late = makeWindow(Qt::FramelessWindowHint, QRect(0, 450, 100, 20));
    ASSERT_TRUE(showAndWaitMapped(*late));
    ASSERT_TRUE(QTest::qWaitFor([&] { return desktopOf(*late) == 0u; }, timeoutMs));
    ASSERT_TRUE(X11Window::setOnAllDesktops(late.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktopOf(*late) == allDesktops; }, timeoutMs));
}

TEST_F(X11WindowTest, ActivateBringsTheWindowForward)
{
    const auto activeWindow = [&] {
        const auto values =
            xprops::cardinals(c, xprops::rootOf(c), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
        return values && !values->empty() ? values->front() : 0u;
    };
    const auto first = makeWindow(Qt::Window, QRect(100, 100, 200, 150));
    const auto second = makeWindow(Qt::Window, QRect(150, 150, 200, 150));
    ASSERT_TRUE(showAndWaitMapped(*first));
    ASSERT_TRUE(showAndWaitMapped(*second));
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == id(*second); }, timeoutMs));

    ASSERT_TRUE(X11Window::activate(first.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindow() == id(*first); }, timeoutMs));
}

} // namespace
