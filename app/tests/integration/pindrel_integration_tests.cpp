// The program as a user meets it: a portable copy started on a desktop with openbox and a tint2
// taskbar across the bottom of a 1280 x 800 screen, watched from outside through X (window
// geometry, properties, the work area) and driven with xdotool.

#include "pindrelondesktop.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>

#include <algorithm>

namespace {

TEST_F(PindrelOnDesktop, TopDocksAtTheTopEdgeAndTakesItsBandFromTheWorkArea)
{
    ASSERT_TRUE(writeConfig(withOneDrawer({position("TOP")})));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);

    EXPECT_EQ(settledGeometry(*bar, dockedAtTop()), dockedAtTop());
    EXPECT_EQ(settledWorkArea(workAreaBelowBar()), workAreaBelowBar());
}

TEST_F(PindrelOnDesktop, BottomSitsDirectlyAboveTheTaskbar)
{
    ASSERT_TRUE(writeConfig(withOneDrawer({position("BOTTOM")})));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);

    const QRect expected(0, panel.top() - kBarHeight, screen.width(), kBarHeight);
    const QRect placed = settledGeometry(*bar, expected);
    EXPECT_EQ(placed, expected);
    EXPECT_EQ(placed.y() + placed.height(), panel.top()) << "the bar's bottom meets the taskbar";
    const QRect shrunk(0, 0, baseline.width(), baseline.height() - kBarHeight);
    EXPECT_EQ(settledWorkArea(shrunk), shrunk);
}

// Positions other than exactly "TOP" and "BOTTOM": no app bar, the bar where start-up put it.
struct UndockedRow
{
    const char *name;
    const char *position;
};

void PrintTo(const UndockedRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class UndockedPosition : public PindrelOnDesktop, public ::testing::WithParamInterface<UndockedRow>
{
};

TEST_P(UndockedPosition, ReservesNothingAndSitsAtTheTopLeftCorner)
{
    ASSERT_TRUE(writeConfig(withOneDrawer({position(GetParam().position)})));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);

    EXPECT_EQ(settledGeometry(*bar, dockedAtTop()), dockedAtTop());
    EXPECT_FALSE(x().cardinals(*bar, "_NET_WM_STRUT_PARTIAL").has_value());
    EXPECT_FALSE(x().cardinals(*bar, "_NET_WM_STRUT").has_value());
    EXPECT_EQ(x().workArea(), baseline);
}

INSTANTIATE_TEST_SUITE_P(Positions, UndockedPosition,
                         ::testing::Values(UndockedRow{"Left", "LEFT"},
                                           UndockedRow{"LowerCaseTop", "top"}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// "Close Pindrel" from the bar menu, and the termination signal that takes the same way out.
enum class CloseBy { BarMenu, TerminationSignal };

struct CloseRow
{
    const char *name;
    CloseBy how;
};

void PrintTo(const CloseRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class Closing : public PindrelOnDesktop, public ::testing::WithParamInterface<CloseRow>
{
};

TEST_P(Closing, EndsTheProgramGivesTheEdgeBackAndWritesTheDrawerCount)
{
    // "01" reads as 1 and is written back as "1": the file shows that the unload step wrote.
    ASSERT_TRUE(writeConfig(withOneDrawer({position("TOP")}, QStringLiteral("01"))));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);
    ASSERT_EQ(settledWorkArea(workAreaBelowBar()), workAreaBelowBar());

    if (GetParam().how == CloseBy::BarMenu) {
        // A right press on the free middle of the bar opens the bar menu at the pointer;
        // "Close Pindrel" is its last entry, which Up reaches from a menu with no entry active.
        ASSERT_NO_FATAL_FAILURE(
            runXdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                        QString::number(screen.width() / 2), QString::number(kBarHeight / 2),
                        QStringLiteral("click"), QStringLiteral("3")}));
        const auto menu = waitForWindow(
            pindrel, [&](xcb_window_t pWindow) { return x().isOverrideRedirect(pWindow); });
        ASSERT_TRUE(menu) << "no menu: " << describe(pindrel);
        ASSERT_NO_FATAL_FAILURE(
            runXdotool({QStringLiteral("key"), QStringLiteral("Up"), QStringLiteral("Return")}));
    } else {
        pindrel.terminate();
    }

    ASSERT_TRUE(waitForExit(pindrel)) << describe(pindrel);
    EXPECT_EQ(pindrel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pindrel.exitCode(), 0) << describe(pindrel);
    EXPECT_EQ(settledWorkArea(baseline), baseline);

    const IniEntries written = parseIni(copy.readConfig());
    const IniEntry count{QStringLiteral("GRAL"), QStringLiteral("CANTBOT"), QStringLiteral("1")};
    EXPECT_NE(std::find(written.begin(), written.end(), count), written.end())
        << copy.readConfig().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing,
                         ::testing::Values(CloseRow{"BarMenu", CloseBy::BarMenu},
                                           CloseRow{"TerminationSignal",
                                                    CloseBy::TerminationSignal}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(PindrelOnDesktop, SecondStartEndsAtOnceAndTouchesNothing)
{
    ASSERT_TRUE(writeConfig(withOneDrawer({position("TOP")})));
    QProcess &first = start();
    const auto bar = waitForBar(first);
    ASSERT_TRUE(bar) << describe(first);
    ASSERT_EQ(settledWorkArea(workAreaBelowBar()), workAreaBelowBar());
    // The first run has written its defaults by now; this is what must stay.
    const QByteArray config = copy.readConfig();
    const QStringList files = copy.programFolderListing();

    QProcess &second = start();
    const qint64 secondPid = second.processId();
    bool secondShowedAWindow = false;
    ASSERT_TRUE(waitUntil([&] {
        if (!x().viewableWindowsOf(secondPid).empty())
            secondShowedAWindow = true;
        return !isRunning(second);
    })) << "the second copy keeps running";
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << describe(second);

    EXPECT_EQ(copy.readConfig(), config);
    EXPECT_EQ(copy.programFolderListing(), files);
    EXPECT_TRUE(isRunning(first)) << describe(first);
    EXPECT_TRUE(x().isViewable(*bar));
    EXPECT_EQ(x().workArea(), workAreaBelowBar());
}

// TRANSPARENCIA MAIN and the byte on the bar's window, repeated in all four bytes of
// _NET_WM_WINDOW_OPACITY; below 1 the property is absent.
struct OpacityRow
{
    const char *name;
    const char *percent;
    std::optional<uint32_t> byte;
};

void PrintTo(const OpacityRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class BarOpacity : public PindrelOnDesktop, public ::testing::WithParamInterface<OpacityRow>
{
};

TEST_P(BarOpacity, PropertyHoldsTheComputedByte)
{
    ASSERT_TRUE(writeConfig(withOneDrawer({{QStringLiteral("TRANSPARENCIA"), QStringLiteral("MAIN"),
                                            QString::fromLatin1(GetParam().percent)},
                                           position("TOP")})));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);

    const auto property = x().cardinals(*bar, "_NET_WM_WINDOW_OPACITY");
    if (!GetParam().byte) {
        EXPECT_FALSE(property.has_value());
        return;
    }
    ASSERT_TRUE(property.has_value());
    ASSERT_EQ(property->size(), 1u);
    EXPECT_EQ(property->front(), *GetParam().byte * 0x01010101u);
}

INSTANTIATE_TEST_SUITE_P(Percentages, BarOpacity,
                         ::testing::Values(OpacityRow{"Half", "50", 128},
                                           OpacityRow{"Full", "100", 255},
                                           OpacityRow{"AboveHundredIsSeventy", "150", 178},
                                           OpacityRow{"Zero", "0", std::nullopt}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST_F(PindrelOnDesktop, FirstRunAsksBeforeTheBarShowsAndCancelWritesOnlyTheDefaults)
{
    ASSERT_FALSE(QFileInfo::exists(copy.configFile()));
    QProcess &pindrel = start();
    const auto question = waitForQuestion(pindrel);
    ASSERT_TRUE(question) << describe(pindrel);

    // The question belongs to the bar, which is not on the screen yet.
    const auto owner = x().transientFor(*question);
    ASSERT_TRUE(owner.has_value());
    const auto barWindows = x().windowsOf(pindrel.processId());
    EXPECT_NE(std::find(barWindows.begin(), barWindows.end(), *owner), barWindows.end());
    EXPECT_TRUE(isDock(*owner));
    EXPECT_FALSE(x().isViewable(*owner));

    ASSERT_NO_FATAL_FAILURE(cancelQuestion(*question));
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);
    EXPECT_EQ(*bar, *owner);

    const auto entry = [](const char *pSection, const char *pKey, const char *pValue) {
        return IniEntry{QString::fromLatin1(pSection), QString::fromLatin1(pKey),
                        QString::fromLatin1(pValue)};
    };
    const IniEntries defaults{
        entry("TRANSPARENCIA", "MAIN", "100"),    entry("TRANSPARENCIA", "FORM", "100"),
        entry("MAIN", "POSITION", "TOP"),         entry("MAIN", "HEIGHT", "390"),
        entry("MAIN", "BUTTONTYPE", "0"),         entry("COLORS", "MAIN", "-2147483633"),
        entry("COLORS", "BUTTON", "-2147483633"), entry("COLORS", "FORE", "-2147483633"),
        entry("COLORS", "FORM", "-2147483630"),   entry("COLORS", "THEME", "0"),
    };
    EXPECT_EQ(parseIni(copy.readConfig()), defaults) << copy.readConfig().toStdString();
}

// A program folder the user cannot write to cannot be made as root, who writes everywhere; a
// config.ini that is a folder fails every read and write the same way.
TEST_F(PindrelOnDesktop, ConfigIniThatIsAFolderStillGivesTheDefaultBar)
{
    ASSERT_TRUE(QDir().mkpath(copy.configFile()));
    const QStringList files = copy.programFolderListing();
    QProcess &pindrel = start();
    // Nothing can be read, so there are no drawers and the first-run question comes.
    const auto question = waitForQuestion(pindrel);
    ASSERT_TRUE(question) << describe(pindrel);
    ASSERT_NO_FATAL_FAILURE(cancelQuestion(*question));

    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);
    EXPECT_EQ(settledGeometry(*bar, dockedAtTop()), dockedAtTop());
    EXPECT_EQ(settledWorkArea(workAreaBelowBar()), workAreaBelowBar());
    EXPECT_TRUE(QFileInfo(copy.configFile()).isDir());
    EXPECT_EQ(copy.programFolderListing(), files);
}

} // namespace

// The bar as it appears on the screen: five drawers in each button style over theme 4, taken
// from a screenshot of the root window and checked by sampling pixels, so that a broken layout
// or a theme that is not painted fails. The pictures are written to the test's output folder.
struct StyleRow
{
    const char *name;
    int style;
};

void PrintTo(const StyleRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class ScreenshotOfTheBar : public PindrelOnDesktop, public ::testing::WithParamInterface<StyleRow>
{
protected:
    // The whole screen as the X server holds it.
    QImage screenshot()
    {
        QProcess import;
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        if (!import.waitForFinished(kTimeoutMs) || import.exitCode() != 0)
            return {};
        return QImage::fromData(import.readAllStandardOutput(), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

    // Five drawers, the first three with a 32x32 picture of a single colour.
    IniEntries fiveDrawers(int pStyle)
    {
        IniEntries entries = {
            position("TOP"),
            {QStringLiteral("MAIN"), QStringLiteral("BUTTONTYPE"), QString::number(pStyle)},
            {QStringLiteral("COLORS"), QStringLiteral("THEME"), QStringLiteral("4")},
            {QStringLiteral("GRAL"), QStringLiteral("CANTBOT"), QStringLiteral("5")},
        };
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(QColor(200, 30, 30));
        const QString icon = copy.programFolder() + QStringLiteral("/drawer.png");
        picture.save(icon);
        for (int n = 1; n <= 5; ++n) {
            const QString section = QStringLiteral("BUTTON%1").arg(n);
            entries.push_back(
                {section, QStringLiteral("CAPTION"), QStringLiteral("Drawer %1").arg(n)});
            entries.push_back({section, QStringLiteral("PATH"), QDir::tempPath()});
            entries.push_back({section, QStringLiteral("ICON"), n <= 3 ? icon : QString()});
        }
        return entries;
    }

    // Where the theme shows at (x, y): the tile at its own size from the top-left corner.
    QColor tileAt(const QImage &pTile, int pX, int pY) const
    {
        return pTile.pixelColor(pX % pTile.width(), pY % pTile.height());
    }

    // The first column right of pFrom, along row pY, where the theme shows again: the right
    // edge of the button that covers pFrom.
    int buttonEnd(const QImage &pShot, const QImage &pTile, int pFrom, int pY) const
    {
        int x = pFrom;
        while (x < pShot.width() && pShot.pixelColor(x, pY) != tileAt(pTile, x, pY))
            ++x;
        return x;
    }
};

TEST_P(ScreenshotOfTheBar, ShowsTheButtonsInFrontOfTheTheme)
{
    const StyleRow &row = GetParam();
    ASSERT_TRUE(writeConfig(fiveDrawers(row.style)));
    QProcess &pindrel = start();
    const auto bar = waitForBar(pindrel);
    ASSERT_TRUE(bar) << describe(pindrel);
    ASSERT_EQ(settledGeometry(*bar, dockedAtTop()), dockedAtTop());

    const QImage tile(copy.programFolder() + QStringLiteral("/background/theme4.bmp"));
    ASSERT_FALSE(tile.isNull());
    const int y = kBarHeight / 2;
    // The bar is painted once it is mapped; wait for the theme at its far end.
    QImage shot;
    ASSERT_TRUE(waitUntil([&] {
        shot = screenshot();
        return !shot.isNull()
            && shot.pixelColor(screen.width() - 3, y) == tileAt(tile, screen.width() - 3, y);
    })) << "the theme never showed at the bar's right end";
    // The picture goes to the test's output folder (its working folder under CTest).
    const QString output =
        QDir::current().filePath(QStringLiteral("bar-style-%1.png").arg(row.style));
    shot.copy(0, 0, screen.width(), kBarHeight).save(output);

    // Layout in pixels at 96 DPI: the add and program buttons side by side (21 px each, 4 px
    // apart), the first drawer button at 750 twips = 50 px, 60 twips = 4 px between buttons,
    // drawer buttons 1 px below the top and 24 px high.
    constexpr int kFirst = 50;
    constexpr int kGap = 4;
    EXPECT_EQ(shot.pixelColor(21 + 1, y), tileAt(tile, 21 + 1, y)) << "theme between + and >";
    int left = kFirst;
    for (int n = 1; n <= 5; ++n) {
        EXPECT_NE(shot.pixelColor(left + 2, y), tileAt(tile, left + 2, y))
            << "no button " << n << " at x " << left;
        const int end = buttonEnd(shot, tile, left + 2, y);
        const int width = end - left;
        if (row.style == 2) {
            EXPECT_EQ(width, 24) << "button " << n << " is a 24-pixel square";
        } else {
            EXPECT_GT(width, 40) << "button " << n << " holds its caption";
        }
        // The theme shows in the gap after the button.
        EXPECT_EQ(shot.pixelColor(end + 1, y), tileAt(tile, end + 1, y)) << "gap after " << n;
        left = end + kGap;
    }
    if (row.style != 0) {
        // Drawers 1-3 carry the red picture; drawer 5 has none.
        bool red = false;
        for (int x = kFirst; x < kFirst + 60 && !red; ++x) {
            for (int yy = 4; yy < kBarHeight - 4 && !red; ++yy)
                red = shot.pixelColor(x, yy) == QColor(200, 30, 30);
        }
        EXPECT_TRUE(red) << "drawer 1's picture is not on its button";
    }
}

const StyleRow kStyles[] = {{"text_only", 0}, {"text_and_icon", 1}, {"icon_only", 2}};

INSTANTIATE_TEST_SUITE_P(Bar, ScreenshotOfTheBar, ::testing::ValuesIn(kStyles),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });
