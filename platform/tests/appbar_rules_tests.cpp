// The app-bar rules on a bare X server, where the test itself plays the window manager and the
// docks: what counts as a window manager that reserves space, how reserved bands are read, how
// a proposed rectangle is moved clear of them, and which struts setPos writes.

#include "platform/x11appbarservice.h"

#include "appbarprinter.h"
#include "x11testenvironment.h"
#include "xprops.h"
#include "xsession.h"

#include <gtest/gtest.h>

#include <memory>

using namespace pindrel::platform;

namespace {

constexpr int screenWidth = 1280;
constexpr int screenHeight = 800;

struct Disconnect
{
    void operator()(xcb_connection_t *pConnection) const { xcb_disconnect(pConnection); }
};

class BareDisplay : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        session = std::make_unique<XSession>(XSession::Kind::BareServer);
        if (session->isRunning()) {
            connection.reset(xcb_connect(session->display().toLocal8Bit().constData(), nullptr));
        }
    }

    static void TearDownTestSuite()
    {
        connection.reset();
        session.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(session->isRunning()) << session->error().toStdString();
        ASSERT_TRUE(connection && xcb_connection_has_error(connection.get()) == 0);
        c = connection.get();
        root = xprops::rootOf(c);
        bar = window(0, 0, screenWidth, 26);
        service = std::make_unique<X11AppBarService>(c, 0);
    }

    void TearDown() override
    {
        if (c == nullptr)
            return;
        for (const char *property :
             {"_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_WORKAREA", "_NET_CLIENT_LIST"})
            xprops::remove(c, root, property);
        for (const xcb_window_t created : windows)
            xcb_destroy_window(c, created);
        xcb_flush(c);
    }

    xcb_window_t window(int pX, int pY, int pWidth, int pHeight)
    {
        const xcb_window_t created = xprops::createWindow(c, pX, pY, pWidth, pHeight);
        windows.push_back(created);
        return created;
    }

    // What a window manager that reserves space leaves on the root.
    void pretendWindowManager(const std::vector<const char *> &pSupported)
    {
        const xcb_window_t check = window(-10, -10, 1, 1);
        xprops::setCardinals(c, check, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        xprops::setCardinals(c, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        xprops::setAtoms(c, root, "_NET_SUPPORTED", pSupported);
    }

    // A mapped window reserving space. Without a window manager it is a child of the root.
    xcb_window_t dock(const char *pProperty, const std::vector<uint32_t> &pStrut,
                      bool pMapped = true)
    {
        const xcb_window_t created = window(0, 0, 10, 10);
        xprops::setCardinals(c, created, pProperty, XCB_ATOM_CARDINAL, pStrut);
        if (pMapped)
            xcb_map_window(c, created);
        xcb_flush(c);
        return created;
    }

    AppBarData record(xcb_window_t pWindow, uint32_t pEdge, AppBarRect pRect) const
    {
        AppBarData data;
        data.hWnd = pWindow;
        data.uCallbackMessage = 0x400;
        data.uEdge = pEdge;
        data.rc = pRect;
        return data;
    }

    static std::unique_ptr<XSession> session;
    static std::unique_ptr<xcb_connection_t, Disconnect> connection;

    xcb_connection_t *c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_window_t bar = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> windows;
    std::unique_ptr<X11AppBarService> service;
};

std::unique_ptr<XSession> BareDisplay::session;
std::unique_ptr<xcb_connection_t, Disconnect> BareDisplay::connection;

// --- Who may register -------------------------------------------------------------------------

enum class Check { None, Valid, WindowGone, NotNamingItself };

struct ManagerCase
{
    const char *name;
    Check check;
    std::vector<const char *> supported;
    bool accepted;
};

class WindowManagerSupport : public BareDisplay, public ::testing::WithParamInterface<ManagerCase>
{
};

TEST_P(WindowManagerSupport, DecidesWhetherRegistrationIsAccepted)
{
    const ManagerCase &row = GetParam();
    switch (row.check) {
    case Check::None:
        xprops::setAtoms(c, root, "_NET_SUPPORTED", row.supported);
        break;
    case Check::Valid:
        pretendWindowManager(row.supported);
        break;
    case Check::WindowGone: {
        const xcb_window_t gone = xprops::createWindow(c, 0, 0, 1, 1);
        xcb_destroy_window(c, gone);
        xprops::setCardinals(c, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {gone});
        xprops::setAtoms(c, root, "_NET_SUPPORTED", row.supported);
        break;
    }
    case Check::NotNamingItself: {
        const xcb_window_t check = window(-10, -10, 1, 1);
        xprops::setCardinals(c, root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        xprops::setAtoms(c, root, "_NET_SUPPORTED", row.supported);
        break;
    }
    }
    AppBarData data = record(bar, ABE_TOP, {});
    EXPECT_EQ(service->windowManagerReservesSpace(), row.accepted);
    EXPECT_EQ(service->newBar(data), row.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowManagerSupport,
    ::testing::Values(
        ManagerCase{"NoWindowManagerAtAll", Check::None, {}, false},
        ManagerCase{
            "SupportedListWithoutAWindowManager", Check::None, {"_NET_WM_STRUT_PARTIAL"}, false},
        ManagerCase{"WindowManagerThatHasGone",
                    Check::WindowGone,
                    {"_NET_WM_STRUT_PARTIAL", "_NET_WM_STRUT"},
                    false},
        ManagerCase{
            "CheckWindowNotNamingItself", Check::NotNamingItself, {"_NET_WM_STRUT_PARTIAL"}, false},
        ManagerCase{"WindowManagerWithoutStruts",
                    Check::Valid,
                    {"_NET_WM_STATE", "_NET_WORKAREA", "_NET_WM_WINDOW_TYPE_DOCK"},
                    false},
        ManagerCase{"LegacyStrutOnly", Check::Valid, {"_NET_WORKAREA", "_NET_WM_STRUT"}, true},
        ManagerCase{"PartialStrut", Check::Valid, {"_NET_WM_STRUT_PARTIAL"}, true}),
    [](const ::testing::TestParamInfo<ManagerCase> &pInfo) {
        return std::string(pInfo.param.name);
    });

TEST_F(BareDisplay, RegistrationNeedsAnExistingWindowNotYetRegistered)
{
    pretendWindowManager({"_NET_WM_STRUT_PARTIAL"});
    AppBarData none = record(0, ABE_TOP, {});
    EXPECT_FALSE(service->newBar(none));

    const xcb_window_t gone = xprops::createWindow(c, 0, 0, 1, 1);
    xcb_destroy_window(c, gone);
    AppBarData destroyed = record(gone, ABE_TOP, {});
    EXPECT_FALSE(service->newBar(destroyed));

    AppBarData data = record(bar, ABE_TOP, {});
    EXPECT_TRUE(service->newBar(data));
    EXPECT_FALSE(service->newBar(data)) << "registered twice";
    service->remove(data);
    EXPECT_TRUE(service->newBar(data)) << "registers again after removal";
}

// --- Reserved bands ---------------------------------------------------------------------------

TEST_F(BareDisplay, WithoutOtherDocksThereIsNoTaskbar)
{
    const xcb_window_t hidden = dock("_NET_WM_STRUT", {0, 0, 0, 40}, false);
    (void)hidden;
    AppBarData data = record(bar, ABE_TOP, {7, 8, 9, 10});
    EXPECT_FALSE(service->getTaskbarPos(data)) << "an unmapped window reserves nothing";
    EXPECT_EQ(data.rc, (AppBarRect{7, 8, 9, 10}));
}

TEST_F(BareDisplay, TheTaskbarIsTheLargestBandOfAnotherWindow)
{
    dock("_NET_WM_STRUT_PARTIAL", {0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0, 639}); // bottom, half width
    dock("_NET_WM_STRUT", {50, 0, 0, 0}); // left, full height
    // The bar's own band is larger than both and must not count.
    xprops::setCardinals(c, bar, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL,
                         {0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 1279, 0});
    xcb_map_window(c, bar);
    xcb_flush(c);

    AppBarData data = record(bar, ABE_TOP, {});
    ASSERT_TRUE(service->getTaskbarPos(data));
    EXPECT_EQ(data.rc, (AppBarRect{0, 0, 50, screenHeight}));
}

struct QueryCase
{
    const char *name;
    uint32_t edge;
    AppBarRect proposed;
    AppBarRect expected;
};

class QueryPosition : public BareDisplay, public ::testing::WithParamInterface<QueryCase>
{
};

TEST_P(QueryPosition, MovesTheRectangleClearOfOtherDocks)
{
    // A full-width top dock 40 high, a full-height left dock 50 wide (legacy strut), a bottom
    // dock 30 high over the left half of the screen.
    dock("_NET_WM_STRUT_PARTIAL", {0, 0, 40, 0, 0, 0, 0, 0, 0, 1279, 0, 0});
    dock("_NET_WM_STRUT", {50, 0, 0, 0});
    dock("_NET_WM_STRUT_PARTIAL", {0, 0, 0, 30, 0, 0, 0, 0, 0, 0, 0, 639});

    const QueryCase &row = GetParam();
    AppBarData data = record(bar, row.edge, row.proposed);
    service->queryPos(data);
    EXPECT_EQ(data.rc, row.expected);
    EXPECT_EQ(data.uEdge, row.edge);
    EXPECT_FALSE(xprops::cardinals(c, bar, "_NET_WM_STRUT_PARTIAL")) << "a query writes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Table, QueryPosition,
    ::testing::Values(
        QueryCase{"TopBarGoesUnderTheTopDockAndBesideTheLeftOne",
                  ABE_TOP,
                  {0, 0, screenWidth, 26},
                  {50, 40, screenWidth, 66}},
        QueryCase{"BottomBarOverTheHalfDockMovesUp",
                  ABE_BOTTOM,
                  {0, screenHeight - 26, screenWidth, screenHeight},
                  {50, screenHeight - 56, screenWidth, screenHeight - 30}},
        QueryCase{"BottomBarBesideTheHalfDockStays",
                  ABE_BOTTOM,
                  {800, screenHeight - 26, screenWidth, screenHeight},
                  {800, screenHeight - 26, screenWidth, screenHeight}},
        QueryCase{"LeftBarStacksBesideTheLeftDock",
                  ABE_LEFT,
                  {0, 0, 40, screenHeight},
                  {50, 40, 90, screenHeight - 30}},
        QueryCase{"RightBarIsCutByTopAndBottomDocksItMeets",
                  ABE_RIGHT,
                  {screenWidth - 40, 0, screenWidth, screenHeight},
                  {screenWidth - 40, 40, screenWidth, screenHeight}},
        // A taskbar at the top and a bar asked for the top edge: the rectangle the program
        // computes is upside down; it is taken as empty and kept below the dock.
        QueryCase{"InvertedRectangleBecomesEmpty",
                  ABE_TOP,
                  {0, 30, screenWidth, 26},
                  {0, 40, screenWidth, 40}},
        QueryCase{"UnknownEdgeIsLeftAlone", 7, {0, 0, 10, 10}, {0, 0, 10, 10}}),
    [](const ::testing::TestParamInfo<QueryCase> &pInfo) { return std::string(pInfo.param.name); });

// --- Struts written -----------------------------------------------------------------------------

struct StrutCase
{
    const char *name;
    uint32_t edge;
    AppBarRect rect;
    std::vector<uint32_t> partial;
    std::vector<uint32_t> legacy;
};

class StrutsWritten : public BareDisplay, public ::testing::WithParamInterface<StrutCase>
{
};

TEST_P(StrutsWritten, CountFromTheRootEdgesAndGoAwayOnRemoval)
{
    pretendWindowManager({"_NET_WM_STRUT_PARTIAL"});
    const StrutCase &row = GetParam();
    AppBarData data = record(bar, row.edge, row.rect);
    ASSERT_TRUE(service->newBar(data));
    service->setPos(data);
    EXPECT_EQ(data.rc, row.rect);
    EXPECT_EQ(xprops::cardinals(c, bar, "_NET_WM_STRUT_PARTIAL"), row.partial);
    EXPECT_EQ(xprops::cardinals(c, bar, "_NET_WM_STRUT"), row.legacy);

    service->remove(data);
    EXPECT_FALSE(xprops::cardinals(c, bar, "_NET_WM_STRUT_PARTIAL"));
    EXPECT_FALSE(xprops::cardinals(c, bar, "_NET_WM_STRUT"));
}

INSTANTIATE_TEST_SUITE_P(Table, StrutsWritten,
                         ::testing::Values(StrutCase{"BottomPart",
                                                     ABE_BOTTOM,
                                                     {100, 760, 1100, screenHeight},
                                                     {0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 100, 1099},
                                                     {0, 0, 0, 40}},
                                           StrutCase{"BottomAboveAPanel",
                                                     ABE_BOTTOM,
                                                     {0, 744, screenWidth, 770},
                                                     {0, 0, 0, 56, 0, 0, 0, 0, 0, 0, 0, 1279},
                                                     {0, 0, 0, 56}},
                                           StrutCase{"Left",
                                                     ABE_LEFT,
                                                     {0, 50, 30, 750},
                                                     {30, 0, 0, 0, 50, 749, 0, 0, 0, 0, 0, 0},
                                                     {30, 0, 0, 0}}),
                         [](const ::testing::TestParamInfo<StrutCase> &pInfo) {
                             return std::string(pInfo.param.name);
                         });

TEST_F(BareDisplay, SetPosOfAnUnregisteredWindowWritesNothing)
{
    pretendWindowManager({"_NET_WM_STRUT_PARTIAL"});
    AppBarData data = record(bar, ABE_TOP, {0, 0, screenWidth, 26});
    service->setPos(data);
    EXPECT_FALSE(xprops::cardinals(c, bar, "_NET_WM_STRUT_PARTIAL"));
    EXPECT_FALSE(xprops::cardinals(c, bar, "_NET_WM_STRUT"));
}

// --- Screen and work area
// -------------------------------------------------------------------------

TEST_F(BareDisplay, WithoutAPublishedWorkAreaTheWorkAreaIsTheScreen)
{
    const AppBarRect screen{0, 0, screenWidth, screenHeight};
    EXPECT_EQ(service->screenRect(), screen);
    EXPECT_EQ(service->workArea(), screen);
}

TEST_F(BareDisplay, WorkAreaIsThatOfDesktopZeroAndCannotBeSet)
{
    xprops::setCardinals(c, root, "_NET_WORKAREA", XCB_ATOM_CARDINAL,
                         {10, 20, 300, 400, 0, 0, 5, 5});
    EXPECT_EQ(service->workArea(), (AppBarRect{10, 20, 310, 420}));
    EXPECT_FALSE(service->setWorkArea(AppBarRect{0, 0, screenWidth, screenHeight}));
    EXPECT_EQ(service->workArea(), (AppBarRect{10, 20, 310, 420}));
}

} // namespace
