// Drawer windows of the real program on the shared desktop: a click on a drawer button opens the
// drawer at its stored place, the window manager's close stores the window's geometry, view and
// pin, and quitting from the bar menu stores only the drawer count.

#include "pindrelondesktop.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// Icon-only buttons are 24-pixel squares 4 pixels apart from x = 50, whatever the font: the
// centre of drawer n is known without measuring captions.
constexpr int kFirstDrawerLeft = 50;
constexpr int kIconButtonStep = 28;
constexpr int kTwipsPerPixel = 15;

// A drawer's stored window: LEFT, TOP, WIDTH, HEIGHT in twips.
struct StoredGeometry
{
    int left;
    int top;
    int width;
    int height;

    // The window's client area as the window manager should give it: the frame's corner at the
    // stored place, the client inside the frame at the stored size.
    QRect clientRect(const std::vector<uint32_t> &pFrameExtents) const
    {
        const int frameLeft = pFrameExtents.size() == 4 ? static_cast<int>(pFrameExtents[0]) : 0;
        const int frameTop = pFrameExtents.size() == 4 ? static_cast<int>(pFrameExtents[2]) : 0;
        return QRect(left / kTwipsPerPixel + frameLeft, top / kTwipsPerPixel + frameTop,
                     width / kTwipsPerPixel, height / kTwipsPerPixel);
    }
};

struct Drawer
{
    QString caption;
    QString path;
    StoredGeometry geometry;
    // As stored before the run: written back they read "1" and "3", so a write shows.
    QString visible = QStringLiteral("7");
    QString view = QStringLiteral("03");
};

// The six keys of a drawer's window, with their values.
IniEntries windowKeys(int pNumber, const StoredGeometry &pGeometry, const QString &pVisible,
                      const QString &pView)
{
    const QString section = QStringLiteral("BUTTON%1").arg(pNumber);
    return {{section, QStringLiteral("WIDTH"), QString::number(pGeometry.width)},
            {section, QStringLiteral("HEIGHT"), QString::number(pGeometry.height)},
            {section, QStringLiteral("LEFT"), QString::number(pGeometry.left)},
            {section, QStringLiteral("TOP"), QString::number(pGeometry.top)},
            {section, QStringLiteral("VISIBLE"), pVisible},
            {section, QStringLiteral("VIEW"), pView}};
}

// A docked bar of icon-only buttons holding pDrawers; the drawer count written with a leading
// zero, so that a rewrite of it shows in the file.
IniEntries barWith(const std::vector<Drawer> &pDrawers)
{
    IniEntries entries{
        position("TOP"),
        {QStringLiteral("MAIN"), QStringLiteral("BUTTONTYPE"), QStringLiteral("2")},
        {QStringLiteral("GRAL"), QStringLiteral("CANTBOT"),
         QStringLiteral("0%1").arg(pDrawers.size())},
    };
    int number = 1;
    for (const Drawer &drawer : pDrawers) {
        const QString section = QStringLiteral("BUTTON%1").arg(number);
        entries.push_back({section, QStringLiteral("CAPTION"), drawer.caption});
        entries.push_back({section, QStringLiteral("PATH"), drawer.path});
        entries.push_back({section, QStringLiteral("ICON"), QString()});
        const IniEntries keys = windowKeys(number, drawer.geometry, drawer.visible, drawer.view);
        entries.insert(entries.end(), keys.begin(), keys.end());
        ++number;
    }
    return entries;
}

// pEntries has every entry of pExpected.
::testing::AssertionResult holdsAll(const IniEntries &pEntries, const IniEntries &pExpected)
{
    for (const IniEntry &entry : pExpected) {
        if (std::find(pEntries.begin(), pEntries.end(), entry) == pEntries.end()) {
            return ::testing::AssertionFailure()
                << "no " << qPrintable(entry.section) << " " << qPrintable(entry.key) << "="
                << qPrintable(entry.value);
        }
    }
    return ::testing::AssertionSuccess();
}

class DrawerOnDesktop : public PindrelOnDesktop
{
protected:
    // Starts the program on pDrawers; the process, or null when the configuration could not
    // be written.
    QProcess *startOn(const std::vector<Drawer> &pDrawers)
    {
        if (!writeConfig(barWith(pDrawers)))
            return nullptr;
        return &start();
    }

    // The bar of pProcess mapped and docked at the top edge.
    bool waitForDockedBar(QProcess &pProcess)
    {
        const auto bar = waitForBar(pProcess);
        return bar && settledGeometry(*bar, dockedAtTop()) == dockedAtTop();
    }

    // A plain left click in the middle of drawer button pNumber. No --sync: it waits for the
    // pointer to move, which never comes when the pointer is already there (a second click on
    // the same button); the server handles the move before the click all the same.
    void clickDrawerButton(int pNumber)
    {
        const int x = kFirstDrawerLeft + (pNumber - 1) * kIconButtonStep + 12;
        runXdotool({QStringLiteral("mousemove"), QString::number(x),
                    QString::number(kBarHeight / 2), QStringLiteral("click"), QStringLiteral("1")});
    }

    // Clicks drawer button pNumber; its window titled pCaption once mapped, nullopt when the
    // click failed or no such window came.
    std::optional<xcb_window_t> openDrawer(QProcess &pProcess, int pNumber, const QString &pCaption)
    {
        clickDrawerButton(pNumber);
        if (HasFatalFailure())
            return std::nullopt;
        return waitForDrawer(pProcess, pCaption);
    }

    // The drawer window titled pCaption, once mapped.
    std::optional<xcb_window_t> waitForDrawer(QProcess &pProcess, const QString &pCaption)
    {
        return waitForWindow(pProcess, [&](xcb_window_t pWindow) {
            return !isDock(pWindow) && x().title(pWindow) == pCaption;
        });
    }

    // The client rectangle once it is where pGeometry puts it, or as it is when the time is up.
    QRect settledDrawerGeometry(xcb_window_t pWindow, const StoredGeometry &pGeometry)
    {
        QRect expected;
        waitUntil([&] {
            const auto extents = x().cardinals(pWindow, "_NET_FRAME_EXTENTS");
            expected = pGeometry.clientRect(extents.value_or(std::vector<uint32_t>{}));
            return x().geometry(pWindow) == expected;
        });
        return x().geometry(pWindow).value_or(QRect());
    }

    QRect expectedDrawerGeometry(xcb_window_t pWindow, const StoredGeometry &pGeometry)
    {
        const auto extents = x().cardinals(pWindow, "_NET_FRAME_EXTENTS");
        return pGeometry.clientRect(extents.value_or(std::vector<uint32_t>{}));
    }

    QTemporaryDir folder;
};

constexpr StoredGeometry kFirstPlace{3000, 3000, 6000, 4500};
constexpr StoredGeometry kSecondPlace{10500, 4500, 5250, 3750};

TEST_F(DrawerOnDesktop, ClickOpensTheDrawerTitledWithItsCaptionAtItsStoredPlace)
{
    ASSERT_TRUE(folder.isValid());
    QProcess *started = startOn({{QStringLiteral("Projects"), folder.path(), kFirstPlace}});
    ASSERT_NE(started, nullptr);
    QProcess &pindrel = *started;
    ASSERT_TRUE(waitForDockedBar(pindrel)) << describe(pindrel);

    const auto drawer = openDrawer(pindrel, 1, QStringLiteral("Projects"));
    ASSERT_TRUE(drawer) << describe(pindrel);
    EXPECT_EQ(settledDrawerGeometry(*drawer, kFirstPlace),
              expectedDrawerGeometry(*drawer, kFirstPlace));
    EXPECT_TRUE(x().cardinals(*drawer, "_NET_FRAME_EXTENTS").has_value())
        << "the window manager did not frame the drawer";
}

TEST_F(DrawerOnDesktop, WindowManagersCloseWritesTheSixKeys)
{
    ASSERT_TRUE(folder.isValid());
    QProcess *started = startOn({{QStringLiteral("Projects"), folder.path(), kFirstPlace}});
    ASSERT_NE(started, nullptr);
    QProcess &pindrel = *started;
    ASSERT_TRUE(waitForDockedBar(pindrel)) << describe(pindrel);
    const auto drawer = openDrawer(pindrel, 1, QStringLiteral("Projects"));
    ASSERT_TRUE(drawer) << describe(pindrel);
    ASSERT_EQ(settledDrawerGeometry(*drawer, kFirstPlace),
              expectedDrawerGeometry(*drawer, kFirstPlace));

    x().requestClose(*drawer);
    ASSERT_TRUE(waitUntil([&] { return !x().isViewable(*drawer); })) << "the drawer stayed open";
    // Unmoved, the window stores the place it was given; the pin (stored "7") and the view
    // (stored "03") are written as the window had them.
    const IniEntries expected =
        windowKeys(1, kFirstPlace, QStringLiteral("1"), QStringLiteral("3"));
    IniEntries written;
    EXPECT_TRUE(waitUntil([&] {
        written = parseIni(copy.readConfig());
        return static_cast<bool>(holdsAll(written, expected));
    })) << holdsAll(written, expected).message()
        << "\n"
        << copy.readConfig().toStdString();
    EXPECT_TRUE(isRunning(pindrel)) << describe(pindrel);
}

TEST_F(DrawerOnDesktop, TwoDrawersOpenAtOnceAndCloseProgramStoresOnlyTheCount)
{
    QTemporaryDir second;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(second.isValid());
    const std::vector<Drawer> drawers{{QStringLiteral("Alpha"), folder.path(), kFirstPlace},
                                      {QStringLiteral("Beta"), second.path(), kSecondPlace}};
    QProcess *started = startOn(drawers);
    ASSERT_NE(started, nullptr);
    QProcess &pindrel = *started;
    ASSERT_TRUE(waitForDockedBar(pindrel)) << describe(pindrel);

    const auto alpha = openDrawer(pindrel, 1, QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha) << describe(pindrel);
    const auto beta = openDrawer(pindrel, 2, QStringLiteral("Beta"));
    ASSERT_TRUE(beta) << describe(pindrel);

    EXPECT_NE(*alpha, *beta);
    EXPECT_TRUE(x().isViewable(*alpha)) << "opening the second closed the first";
    EXPECT_EQ(settledDrawerGeometry(*beta, kSecondPlace),
              expectedDrawerGeometry(*beta, kSecondPlace));
    const QByteArray before = copy.readConfig();

    // "Close Pindrel", the last entry of the menu of the bar's free area.
    ASSERT_NO_FATAL_FAILURE(
        runXdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(screen.width() - 10), QString::number(kBarHeight / 2),
                    QStringLiteral("click"), QStringLiteral("3")}));
    const auto menu = waitForWindow(
        pindrel, [&](xcb_window_t pWindow) { return x().isOverrideRedirect(pWindow); });
    ASSERT_TRUE(menu) << "no menu: " << describe(pindrel);
    ASSERT_NO_FATAL_FAILURE(
        runXdotool({QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Return")}));
    ASSERT_TRUE(waitForExit(pindrel)) << describe(pindrel);
    EXPECT_EQ(pindrel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pindrel.exitCode(), 0) << describe(pindrel);

    const IniEntries written = parseIni(copy.readConfig());
    const IniEntry count{QStringLiteral("GRAL"), QStringLiteral("CANTBOT"), QStringLiteral("2")};
    EXPECT_TRUE(holdsAll(written, {count})) << copy.readConfig().toStdString();
    // The windows' keys keep what was stored before the run (a closing step would have
    // rewritten "7" and "03").
    for (int number = 1; number <= 2; ++number) {
        const Drawer &drawer = drawers[static_cast<std::size_t>(number - 1)];
        EXPECT_TRUE(
            holdsAll(written, windowKeys(number, drawer.geometry, drawer.visible, drawer.view)))
            << "drawer " << number << ":\n"
            << copy.readConfig().toStdString();
    }
    EXPECT_TRUE(holdsAll(parseIni(before),
                         windowKeys(1, kFirstPlace, QStringLiteral("7"), QStringLiteral("03"))))
        << "the drawers were stored while open";
}

// Whenever a drawer becomes the active window it takes its pin again: above the other windows
// when pinned, in the normal band when not, whatever was done to it in between.
TEST_F(DrawerOnDesktop, ActivationPutsADrawerInTheBandItsPinSays)
{
    QTemporaryDir second;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(second.isValid());
    Drawer pinned{QStringLiteral("Pinned"), folder.path(), kFirstPlace};
    pinned.visible = QStringLiteral("1");
    Drawer loose{QStringLiteral("Loose"), second.path(), kSecondPlace};
    loose.visible = QStringLiteral("0");
    QProcess *started = startOn({pinned, loose});
    ASSERT_NE(started, nullptr);
    QProcess &pindrel = *started;
    ASSERT_TRUE(waitForDockedBar(pindrel)) << describe(pindrel);

    const auto isAbove = [this](xcb_window_t pWindow) {
        return x()
            .atomNames(pWindow, "_NET_WM_STATE")
            .contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
    };
    const auto activateAndWait = [this](xcb_window_t pWindow) {
        x().requestActivate(pWindow);
        return waitUntil([&] { return x().activeWindow() == pWindow; });
    };

    const auto first = openDrawer(pindrel, 1, QStringLiteral("Pinned"));
    ASSERT_TRUE(first) << describe(pindrel);
    const auto other = openDrawer(pindrel, 2, QStringLiteral("Loose"));
    ASSERT_TRUE(other) << describe(pindrel);

    ASSERT_TRUE(activateAndWait(*first)) << "the window manager did not activate the drawer";
    EXPECT_TRUE(waitUntil([&] { return isAbove(*first); })) << "the pinned drawer is not above";
    ASSERT_TRUE(activateAndWait(*other));
    EXPECT_TRUE(isAbove(*first)) << "losing the focus unpinned the drawer";
    EXPECT_FALSE(isAbove(*other));

    // Raised above everything by someone else; activated again, it goes back to its band.
    // The drawer may still be answering its activation (an unpinned one asks to leave the
    // top-most band when it gets the focus), which would undo a raise made before it: the
    // raise is asked again until it holds for a moment.
    const auto raiseUntilItHolds = [&](xcb_window_t pWindow) {
        return waitUntil([&] {
            x().requestAbove(pWindow, true);
            if (!waitUntil([&] { return isAbove(pWindow); }, 2000))
                return false;
            const QDeadlineTimer moment(300);
            while (!moment.hasExpired()) {
                QCoreApplication::processEvents();
                x().waitForActivity(20);
            }
            return isAbove(pWindow);
        });
    };
    ASSERT_TRUE(raiseUntilItHolds(*other));
    ASSERT_TRUE(activateAndWait(*first));
    ASSERT_TRUE(activateAndWait(*other));
    EXPECT_TRUE(waitUntil([&] { return !isAbove(*other); }))
        << "an unpinned drawer stayed above after it was activated";

    // And a pinned drawer taken out of the band gets back into it.
    x().requestAbove(*first, false);
    ASSERT_TRUE(waitUntil([&] { return !isAbove(*first); }));
    ASSERT_TRUE(activateAndWait(*first));
    EXPECT_TRUE(waitUntil([&] { return isAbove(*first); }))
        << "a pinned drawer did not go back above when activated";
}

TEST_F(DrawerOnDesktop, DrawerWhoseFolderIsMissingStillOpens)
{
    ASSERT_TRUE(folder.isValid());
    const QString missing = folder.filePath(QStringLiteral("gone/away"));
    QProcess *started = startOn({{QStringLiteral("Missing"), missing, kFirstPlace}});
    ASSERT_NE(started, nullptr);
    QProcess &pindrel = *started;
    ASSERT_TRUE(waitForDockedBar(pindrel)) << describe(pindrel);

    const auto drawer = openDrawer(pindrel, 1, QStringLiteral("Missing"));
    ASSERT_TRUE(drawer) << describe(pindrel);
    EXPECT_EQ(settledDrawerGeometry(*drawer, kFirstPlace),
              expectedDrawerGeometry(*drawer, kFirstPlace));
    // The bar still answers: a second click on the button closes the drawer.
    ASSERT_NO_FATAL_FAILURE(clickDrawerButton(1));
    EXPECT_TRUE(waitUntil([&] { return !x().isViewable(*drawer); })) << describe(pindrel);
    EXPECT_TRUE(isRunning(pindrel)) << describe(pindrel);
}

} // namespace
