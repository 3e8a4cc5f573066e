// The app bar against a real window manager (openbox) and a real taskbar (tint2, 30 pixels at
// the bottom): the window manager must keep the band free (the work area shrinks) while the bar
// is registered and give it back when it is removed.

#include "platform/appbar.h"
#include "platform/x11window.h"

#include "appbarprinter.h"
#include "x11testenvironment.h"
#include "xprops.h"

#include <QtGui/QWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace pindrel::platform;

namespace {

constexpr int timeoutMs = 5000;
constexpr int panelHeight = 30;

QRect toQRect(const AppBarRect &pRect)
{
    return QRect(pRect.left, pRect.top, pRect.width(), pRect.height());
}

class AppBarSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_OWN_SESSION();
        service = createAppBarService();
        screen = service->screenRect();
        AppBarData probe;
        ASSERT_TRUE(service->getTaskbarPos(probe));
        taskbar = probe.rc;
        baseline = service->workArea();
    }

    // A frameless dock window, not shown yet.
    std::unique_ptr<QWindow> makeBar(const AppBarRect &pRect)
    {
        auto bar = std::make_unique<QWindow>();
        bar->setFlags(Qt::FramelessWindowHint);
        bar->setGeometry(toQRect(pRect));
        bar->winId();
        EXPECT_TRUE(X11Window::setDockType(bar.get()));
        return bar;
    }

    bool workAreaBecomes(const AppBarRect &pExpected)
    {
        return QTest::qWaitFor([&] { return service->workArea() == pExpected; }, timeoutMs);
    }

    std::unique_ptr<AppBarService> service;
    AppBarRect screen;
    AppBarRect taskbar;
    AppBarRect baseline;
};

TEST_F(AppBarSession, TheTaskbarIsThePanelAndTheWorkAreaLeavesItOut)
{
    EXPECT_EQ(screen, (AppBarRect{0, 0, 1280, 800}));
    EXPECT_EQ(taskbar, (AppBarRect{0, screen.bottom - panelHeight, screen.right, screen.bottom}));
    EXPECT_EQ(baseline, (AppBarRect{0, 0, screen.right, taskbar.top}));
}

// Rectangles of a row are worked out from the screen (W x H) and the taskbar's top T.
struct DockCase
{
    const char *name;
    uint32_t edge;
    std::function<AppBarRect(int pW, int pH, int pT)> proposed;
    std::function<AppBarRect(int pW, int pH, int pT)> placed;
    std::function<AppBarRect(int pW, int pH, int pT)> workArea;
};

class Docking : public AppBarSession, public ::testing::WithParamInterface<DockCase>
{
};

TEST_P(Docking, ReservesTheBandAndGivesItBack)
{
    const DockCase &row = GetParam();
    const int w = screen.right;
    const int h = screen.bottom;
    const int t = taskbar.top;
    const auto bar = makeBar(row.proposed(w, h, t));

    AppBarData data;
    data.hWnd = bar->winId();
    data.uCallbackMessage = 0x400;
    ASSERT_TRUE(service->newBar(data));
    data.uEdge = row.edge;
    data.rc = row.proposed(w, h, t);
    service->queryPos(data);
    EXPECT_EQ(data.rc, row.placed(w, h, t));
    service->setPos(data);
    EXPECT_EQ(data.rc, row.placed(w, h, t));

    bar->setGeometry(toQRect(data.rc));
    bar->show();
    EXPECT_TRUE(workAreaBecomes(row.workArea(w, h, t)))
        << ::testing::PrintToString(service->workArea());

    service->remove(data);
    EXPECT_TRUE(workAreaBecomes(baseline)) << ::testing::PrintToString(service->workArea());
    EXPECT_FALSE(xprops::cardinals(xprops::qtConnection(), static_cast<xcb_window_t>(data.hWnd),
                                   "_NET_WM_STRUT_PARTIAL"));
}

INSTANTIATE_TEST_SUITE_P(Table, Docking,
                         ::testing::Values(DockCase{"Top", ABE_TOP,
                                                    [](int pW, int, int) {
                                                        return AppBarRect{0, 0, pW, 26};
                                                    },
                                                    [](int pW, int, int) {
                                                        return AppBarRect{0, 0, pW, 26};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, 26, pW, pT};
                                                    }},
                                           DockCase{"BottomDirectlyAboveTheTaskbar", ABE_BOTTOM,
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, pT - 26, pW, pT};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, pT - 26, pW, pT};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, 0, pW, pT - 26};
                                                    }},
                                           DockCase{"BottomAskedOverTheTaskbar", ABE_BOTTOM,
                                                    [](int pW, int pH, int) {
                                                        return AppBarRect{0, pH - 26, pW, pH};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, pT - 26, pW, pT};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, 0, pW, pT - 26};
                                                    }},
                                           DockCase{"Left", ABE_LEFT,
                                                    [](int, int pH, int) {
                                                        return AppBarRect{0, 0, 40, pH};
                                                    },
                                                    [](int, int, int pT) {
                                                        return AppBarRect{0, 0, 40, pT};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{40, 0, pW, pT};
                                                    }},
                                           DockCase{"Right", ABE_RIGHT,
                                                    [](int pW, int pH, int) {
                                                        return AppBarRect{pW - 40, 0, pW, pH};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{pW - 40, 0, pW, pT};
                                                    },
                                                    [](int pW, int, int pT) {
                                                        return AppBarRect{0, 0, pW - 40, pT};
                                                    }}),
                         [](const ::testing::TestParamInfo<DockCase> &pInfo) {
                             return std::string(pInfo.param.name);
                         });

TEST_F(AppBarSession, TheBarsOwnBandIsNeverTheTaskbar)
{
    // A top bar larger than the panel: with its own band counted, it would be "the taskbar".
    const AppBarRect rect{0, 0, screen.right, 60};
    const auto bar = makeBar(rect);
    AppBarData data;
    data.hWnd = bar->winId();
    ASSERT_TRUE(service->newBar(data));
    data.uEdge = ABE_TOP;
    data.rc = rect;
    service->setPos(data);
    bar->show();
    ASSERT_TRUE(workAreaBecomes(AppBarRect{0, 60, screen.right, taskbar.top}));

    AppBarData query;
    query.hWnd = data.hWnd;
    ASSERT_TRUE(service->getTaskbarPos(query));
    EXPECT_EQ(query.rc, taskbar);

    // Another window asking sees the bar's band, the largest.
    AppBarData other;
    ASSERT_TRUE(service->getTaskbarPos(other));
    EXPECT_EQ(other.rc, rect);

    service->remove(data);
    EXPECT_TRUE(workAreaBecomes(baseline));
}

TEST_F(AppBarSession, ASequenceSeesTheDocksAsTheyWereAtItsFirstLook)
{
    const AppBarRect wanted{0, 0, screen.right, 26};
    AppBarData asking;
    asking.uEdge = ABE_TOP;

    // Another bar takes the top edge while the sequence runs.
    const auto other = makeBar(AppBarRect{0, 0, screen.right, 40});
    AppBarData otherData;
    otherData.hWnd = other->winId();
    otherData.uEdge = ABE_TOP;
    otherData.rc = AppBarRect{0, 0, screen.right, 40};
    {
        const AppBarSequence sequence(*service);
        asking.rc = wanted;
        service->queryPos(asking);
        EXPECT_EQ(asking.rc, wanted);

        ASSERT_TRUE(service->newBar(otherData));
        service->setPos(otherData);
        other->show();
        ASSERT_TRUE(workAreaBecomes(AppBarRect{0, 40, screen.right, taskbar.top}));

        asking.rc = wanted;
        service->queryPos(asking);
        EXPECT_EQ(asking.rc, wanted) << "the sequence looked again";
        AppBarData taskbarNow;
        ASSERT_TRUE(service->getTaskbarPos(taskbarNow));
        EXPECT_EQ(taskbarNow.rc, taskbar);
    }
    // Once it has ended, the next call looks afresh: below the other bar.
    asking.rc = wanted;
    service->queryPos(asking);
    EXPECT_EQ(asking.rc, (AppBarRect{0, 40, screen.right, 66}));

    service->remove(otherData);
    EXPECT_TRUE(workAreaBecomes(baseline));
}

} // namespace
