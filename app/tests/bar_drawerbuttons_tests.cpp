// The drawer buttons as a started bar builds them from config.ini: layout by style and bar
// height, icons, rebuilds, drop registration and captions that are no ordinary text.
// Offscreen at 96 DPI: 15 twips a pixel, the default bar 390 twips = 26 pixels high.

#include "bar/barbutton.h"
#include "bar/barmenus.h"
#include "bar/buttonarray.h"
#include "bar/dragtargets.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/drawerbuttons.h"
#include "bar/draweroverflow.h"
#include "bar/form1.h"
#include "bar/imagelist.h"
#include "bar_testsupport.h"
#include "startup/registry.h"
#include "startup/twips.h"

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace pindrel {
namespace {

using test::BarOnFolder;
using test::drawersConfig;

constexpr float kTpp = 15.0F;

// The pixel geometry of drawer buttons 1..count.
std::vector<QRect> drawerGeometry(Form1 &pBar)
{
    std::vector<QRect> result;
    for (int n = 1; n <= pBar.cmdB().ubound(); ++n) {
        BarButton *button = pBar.cmdB().item(n);
        result.push_back(button != nullptr ? button->geometry() : QRect());
    }
    return result;
}

int captionPixels(const BarButton &pButton, const QString &pCaption)
{
    return QFontMetrics(pButton.font()).horizontalAdvance(pCaption);
}

QString savePng(const QString &pPath, int pSide)
{
    QImage image(pSide, pSide, QImage::Format_ARGB32);
    image.fill(QColor(20, 120, 220));
    EXPECT_TRUE(image.save(pPath, "PNG"));
    return pPath;
}

TEST(DrawerButtons, NoDrawersShowsOnlyTheFixedButtons)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(0, 0, 390));
    Form1 &bar = folder.start();
    EXPECT_EQ(bar.cmdB().count(), 1);
    QStringList visible;
    for (BarButton *button : bar.findChildren<BarButton *>())
        if (button->isVisibleTo(&bar))
            visible << button->objectName();
    visible.sort();
    EXPECT_EQ(visible, QStringList({QStringLiteral("cmdAdd"), QStringLiteral("cmdProg")}));
    EXPECT_FALSE(bar.cmdBTemplate()->isVisibleTo(&bar));
}

TEST(DrawerButtons, IconOnlyButtonsAreSquaresSixtyTwipsApart)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(5, 2, 390));
    Form1 &bar = folder.start();
    // Side by side at 390: cmdProg at 375, the first drawer at 750 twips; both fixed buttons
    // as high as the drawer buttons and level with them.
    EXPECT_EQ(bar.cmdProg()->geometry(), QRect(25, 1, 21, 24));
    const std::vector<QRect> buttons = drawerGeometry(bar);
    ASSERT_EQ(buttons.size(), 5U);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // 360 × 360 twips, the template's Top of 15 twips, 750 + i × (360 + 60) twips.
        EXPECT_EQ(buttons[i], QRect(50 + 28 * static_cast<int>(i), 1, 24, 24))
            << "drawer " << i + 1;
        BarButton *button = bar.cmdB().item(static_cast<int>(i) + 1);
        EXPECT_TRUE(button->caption().isEmpty());
        EXPECT_EQ(button->toolTip(), QStringLiteral("Drawer %1").arg(i + 1));
        EXPECT_TRUE(button->isVisibleTo(&bar));
    }
}

TEST(DrawerButtons, TextButtonsAreCaptionPlusTwoGapsWide)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(3, 0, 390));
    Form1 &bar = folder.start();
    float left = 750;
    for (int n = 1; n <= 3; ++n) {
        BarButton *button = bar.cmdB().item(n);
        ASSERT_NE(button, nullptr);
        const QString caption = QStringLiteral("Drawer %1").arg(n);
        EXPECT_EQ(button->caption(), caption);
        EXPECT_EQ(button->toolTip(), caption);
        EXPECT_TRUE(button->picture().isNull());
        EXPECT_EQ(button->width(), captionPixels(*button, caption) + 8) << n;
        EXPECT_EQ(button->x(), toPixels(left, kTpp)) << n;
        left += button->widthTwips() + 60;
    }
}

struct StyleCase
{
    const char *name;
    int style;
};

// Style 1 without an icon is style 0; any style the bar does not know keeps the template's
// empty caption and the previous button's width, 0 for the first.
TEST(DrawerButtons, TextAndIconWithoutIconIsTextOnly)
{
    std::vector<QRect> byStyle[2];
    for (int style : {0, 1}) {
        BarOnFolder folder;
        folder.writeConfig(drawersConfig(4, style, 390));
        byStyle[style] = drawerGeometry(folder.start());
    }
    EXPECT_EQ(byStyle[0], byStyle[1]);
}

class UnknownStyle : public ::testing::TestWithParam<StyleCase>
{
};

TEST_P(UnknownStyle, KeepsTheTemplateAndThePreviousWidth)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(3, 0, 390));
    Form1 &bar = folder.start();
    // As the settings dialog leaves it with no style selected (-1), or a hand-edited file.
    bar.state().settings().buttonStyle = GetParam().style;
    bar.MostrarBotones();
    const std::vector<QRect> buttons = drawerGeometry(bar);
    ASSERT_EQ(buttons.size(), 3U);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i], QRect(50 + 4 * static_cast<int>(i), 1, 0, 24));
        EXPECT_TRUE(bar.cmdB().item(static_cast<int>(i) + 1)->caption().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(DrawerButtons, UnknownStyle,
                         ::testing::Values(StyleCase{"minus_one", -1}, StyleCase{"three", 3},
                                           StyleCase{"large", 70000}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(DrawerButtons, IconWidensATextButtonBy847)
{
    BarOnFolder folder;
    const QString icon = savePng(folder.filePath(QStringLiteral("icons/blue.png")), 32);
    folder.writeConfig(drawersConfig(2, 1, 390, icon.toStdString()));
    Form1 &bar = folder.start();
    BarButton *first = bar.cmdB().item(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->picture().size(), QSize(32, 32));
    EXPECT_EQ(first->pictureWidthHimetric(), 847);
    const float expected =
        static_cast<float>(captionPixels(*first, QStringLiteral("Drawer 1"))) * kTpp + 120 + 847;
    EXPECT_EQ(first->width(), toPixels(expected, kTpp));
    EXPECT_EQ(bar.img().count(), 2);
    EXPECT_EQ(bar.img().indexOf(QStringLiteral("icon2")), 2);
}

TEST(DrawerButtons, RelativeIconIsTakenInTheProgramFolder)
{
    BarOnFolder folder;
    savePng(folder.filePath(QStringLiteral("icons/rel.png")), 32);
    folder.writeConfig(drawersConfig(1, 2, 390, "icons/rel.png"));
    Form1 &bar = folder.start();
    EXPECT_FALSE(bar.cmdB().item(1)->picture().isNull());
}

TEST(DrawerButtons, BarHighEnoughStacksTheFixedButtons)
{
    struct Row
    {
        int height;
        bool stacked;
    };
    for (const Row row : {Row{690, true}, Row{1200, true}, Row{675, false}}) {
        BarOnFolder folder;
        folder.writeConfig(drawersConfig(2, 2, row.height));
        Form1 &bar = folder.start();
        const QRect first = bar.cmdB().item(1)->geometry();
        if (row.stacked) {
            EXPECT_EQ(bar.cmdProg()->pos(), QPoint(0, 25)) << row.height;
            EXPECT_EQ(first.x(), 25) << "first drawer at 375 twips, height " << row.height;
        } else {
            // In one row with the drawer buttons, as high as they are.
            EXPECT_EQ(bar.cmdProg()->pos(), QPoint(25, 1)) << row.height;
            EXPECT_EQ(bar.cmdAdd()->geometry(), QRect(0, 1, 21, first.height())) << row.height;
            EXPECT_EQ(first.x(), 50) << row.height;
        }
        // Every drawer button is as high as the bar inside, less the template's margins.
        EXPECT_EQ(first.height(), toPixels(static_cast<float>(row.height), kTpp) - 2);
    }
}

TEST(DrawerButtons, RebuildAfterDeletingLeavesNoStaleButton)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(3, 0, 390));
    Form1 &bar = folder.start();
    QPointer<BarButton> last = bar.cmdB().item(3);
    bar.registry().EliminarBoton(2, 1);
    test::flushDeletions();
    EXPECT_EQ(bar.cmdB().ubound(), 2);
    EXPECT_EQ(bar.cmdB().item(1)->caption(), QStringLiteral("Drawer 1"));
    EXPECT_EQ(bar.cmdB().item(2)->caption(), QStringLiteral("Drawer 3"));
    EXPECT_TRUE(last.isNull()) << "the old last button still exists";
    EXPECT_EQ(bar.findChildren<BarButton *>(QStringLiteral("cmdB")).size(), 3);
}

// The drop receiver sees every old button withdrawn and every new one registered.
class RecordingTargets : public DragTargets
{
public:
    void InitDrag(quintptr pHWnd) override { registered.insert(pHWnd); }
    void TerminateDrag(quintptr pHWnd) override
    {
        if (registered.erase(pHWnd) == 0)
            ++unknownWithdrawals;
    }
    std::set<quintptr> registered;
    int unknownWithdrawals = 0;
};

TEST(DrawerButtons, DropTargetsFollowTheButtons)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(3, 0, 390));
    Form1 &bar = folder.start();
    RecordingTargets targets;
    bar.setDragTargets(&targets);
    bar.MostrarBotones();
    folder.writeConfig(drawersConfig(2, 0, 390));
    // The withdrawals of the first rebuild's buttons were never registered here.
    targets.unknownWithdrawals = 0;
    bar.MostrarBotones();
    EXPECT_EQ(targets.unknownWithdrawals, 0);
    std::set<quintptr> live;
    for (int n = 1; n <= bar.cmdB().ubound(); ++n)
        live.insert(bar.cmdB().item(n)->hWnd());
    EXPECT_EQ(targets.registered, live);
    EXPECT_EQ(live.size(), 2U);
    bar.setDragTargets(nullptr);
}

TEST(DrawerButtons, BrokenIconsGiveNoPictureAndSpareTheOthers)
{
    BarOnFolder folder;
    const QString good = savePng(folder.filePath(QStringLiteral("good.png")), 32);
    QFile text(folder.filePath(QStringLiteral("text.ico")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an icon");
    text.close();
    QFile whole(good);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(folder.filePath(QStringLiteral("cut.png")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    std::string config = drawersConfig(0, 2, 390);
    config.replace(config.find("CANTBOT=0"), 9, "CANTBOT=5");
    const char *icons[] = {"missing.png", "text.ico", "good.png", "cut.png", "good.png"};
    for (int n = 1; n <= 5; ++n) {
        config += "[BUTTON" + std::to_string(n) + "]\nCAPTION=D" + std::to_string(n)
            + "\nPATH=/tmp\nICON="
            + folder.filePath(QString::fromLatin1(icons[n - 1])).toStdString() + "\n";
    }
    folder.writeConfig(config);
    Form1 &bar = folder.start();
    const bool expected[] = {false, false, true, false, true};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(!bar.cmdB().item(n)->picture().isNull(), expected[n - 1]) << "drawer " << n;
    // Only the pictures that loaded take positions, in drawer order.
    EXPECT_EQ(bar.img().count(), 2);
    EXPECT_EQ(bar.img().indexOf(QStringLiteral("icon3")), 1);
    EXPECT_EQ(bar.img().indexOf(QStringLiteral("icon5")), 2);
    // Style 2 without a picture is an empty square with its tooltip.
    EXPECT_EQ(bar.cmdB().item(1)->size(), QSize(24, 24));
    EXPECT_EQ(bar.cmdB().item(1)->toolTip(), QStringLiteral("D1"));
}

TEST(DrawerButtons, DrawersSharingAnIconAllShowItAndARebuildReadsItAgain)
{
    const auto save = [](const QString &pPath, const QColor &pColour) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(pColour);
        EXPECT_TRUE(image.save(pPath, "PNG"));
        return pPath;
    };
    const auto colourOf = [](const BarButton *pButton) {
        return pButton->picture().toImage().pixelColor(16, 16);
    };
    BarOnFolder folder;
    const QString shared = save(folder.filePath(QStringLiteral("shared.png")), Qt::red);
    const QString other = save(folder.filePath(QStringLiteral("other.png")), Qt::green);
    std::string config = drawersConfig(0, 1, 390);
    config.replace(config.find("CANTBOT=0"), 9, "CANTBOT=4");
    const QString icons[] = {shared, other, shared, shared};
    for (int n = 1; n <= 4; ++n) {
        config += "[BUTTON" + std::to_string(n) + "]\nCAPTION=D" + std::to_string(n)
            + "\nPATH=/tmp\nICON=" + icons[n - 1].toStdString() + "\n";
    }
    folder.writeConfig(config);
    Form1 &bar = folder.start();
    const QColor colours[] = {Qt::red, Qt::green, Qt::red, Qt::red};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(colourOf(bar.cmdB().item(n)), colours[n - 1]) << "drawer " << n;
    EXPECT_EQ(bar.img().count(), 4); // one position per drawer, shared or not

    // The shared file changes: the next rebuild shows the new picture on every drawer using it.
    QFile::remove(shared);
    save(shared, Qt::blue);
    bar.MostrarBotones();
    for (int n : {1, 3, 4})
        EXPECT_EQ(colourOf(bar.cmdB().item(n)), QColor(Qt::blue)) << "drawer " << n;
    EXPECT_EQ(colourOf(bar.cmdB().item(2)), QColor(Qt::green));
}

TEST(DrawerButtons, NewButtonsTakeTheColoursAppliedToTheTemplate)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(2, 0, 390));
    Form1 &bar = folder.start();
    bar.state().settings().buttonColor = 0x0000FFFF; // yellow
    bar.state().settings().buttonTextColor = 0x00FF0000; // blue
    bar.AplicarColoresMain();
    folder.writeConfig(drawersConfig(3, 0, 390));
    bar.MostrarBotones();
    BarButton *third = bar.cmdB().item(3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->backColor(), 0x0000FFFF);
    EXPECT_EQ(third->foreColor(), 0x00FF0000);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(third->geometry().left() + 2, third->geometry().center().y()),
              QColor(255, 255, 0));
}

struct CaptionCase
{
    const char *name;
    QString caption;
};

class OddCaption : public ::testing::TestWithParam<CaptionCase>
{
};

TEST_P(OddCaption, MeasuresAndPaintsWithoutTrouble)
{
    BarOnFolder folder;
    std::string config = drawersConfig(2, 0, 390);
    const std::string first = "CAPTION=Drawer 1";
    config.replace(config.find(first), first.size(), "CAPTION=" + GetParam().caption.toStdString());
    folder.writeConfig(config);
    Form1 &bar = folder.start();
    BarButton *button = bar.cmdB().item(1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->caption(), GetParam().caption);
    // A caption wider than the bar leaves room for the overflow button (and is elided).
    const int room = bar.width() - button->x() - 4 - button->height();
    EXPECT_EQ(button->width(), std::min(captionPixels(*button, GetParam().caption) + 8, room));
    EXPECT_EQ(bar.cmdB().item(2)->x(), button->x() + button->width() + 4);
    EXPECT_FALSE(button->grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(
    DrawerButtons, OddCaption,
    ::testing::Values(CaptionCase{"empty", QString()}, CaptionCase{"one", QStringLiteral("x")},
                      CaptionCase{"long", QString(2000, QLatin1Char('w'))},
                      CaptionCase{"right_to_left",
                                  QStringLiteral("\u05EA\u05D9\u05E7\u05D9\u05D9\u05D4 1")},
                      CaptionCase{"ampersand", QStringLiteral("Tom & Jerry")}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(DrawerButtons, HundredDrawersRunPastTheBarWithoutWrapping)
{
    BarOnFolder folder;
    folder.writeConfig(drawersConfig(100, 0, 390));
    Form1 &bar = folder.start();
    ASSERT_EQ(bar.cmdB().ubound(), 100);
    int previousRight = -1;
    for (int n = 1; n <= 100; ++n) {
        const QRect geometry = bar.cmdB().item(n)->geometry();
        EXPECT_EQ(geometry.top(), 1) << n;
        EXPECT_GT(geometry.left(), previousRight) << n;
        previousRight = geometry.right();
    }
    EXPECT_GT(previousRight, bar.width());
    EXPECT_FALSE(bar.grab().isNull());
}

} // namespace
} // namespace pindrel

namespace pindrel::test {
namespace {

// More drawers than the bar's width holds: the last place is the overflow button, and every
// drawer that did not fit is reached through its list, left click and right click alike.
TEST(DrawerButtons, HundredDrawersReachTheLastThroughTheOverflow)
{
    struct Row
    {
        const char *name;
        int count;
        int style;
        bool overflows;
    };
    const Row rows[] = {
        {"a few fit", 5, 0, false},
        {"a hundred with captions", 100, 0, true},
        {"a hundred squares", 100, 2, true},
    };
    for (const Row &row : rows) {
        BarOnFolder folder;
        folder.writeConfig(drawersConfig(row.count, row.style, 390));
        Form1 &bar = folder.start();
        DrawerOverflow &overflow = bar.drawerButtons().overflow();
        ASSERT_EQ(overflow.button().isVisibleTo(&bar), row.overflows) << row.name;
        if (!row.overflows) {
            EXPECT_TRUE(overflow.hidden().empty()) << row.name;
            continue;
        }
        // Nothing visible reaches past the bar, and the overflow button comes right after the
        // last visible drawer button.
        const QRect more = overflow.button().geometry();
        EXPECT_LE(more.right(), bar.width() - 1) << row.name;
        int lastVisible = 0;
        for (int n = 1; n <= row.count; ++n) {
            const BarButton *button = bar.cmdB().item(n);
            if (button->isVisibleTo(&bar)) {
                EXPECT_LT(button->geometry().right(), more.left()) << row.name << " " << n;
                lastVisible = n;
            }
        }
        ASSERT_GT(lastVisible, 1) << row.name;
        ASSERT_FALSE(overflow.hidden().empty());
        EXPECT_EQ(overflow.hidden().front(), lastVisible + 1) << row.name;
        EXPECT_EQ(overflow.hidden().back(), 100) << row.name;

        overflow.showList();
        QMenu &list = overflow.menu();
        ASSERT_EQ(list.actions().size(), static_cast<qsizetype>(overflow.hidden().size()));
        QAction *last = list.actions().back();
        EXPECT_EQ(last->text(), QStringLiteral("Drawer 100")) << row.name;
        // A right click asks for the drawer menu of that drawer...
        const QPoint at = list.actionGeometry(last).center();
        QTest::mouseClick(&list, Qt::RightButton, {}, at);
        EXPECT_EQ(bar.menus().tag(), QStringLiteral("100")) << row.name;
        bar.menus().m()->close();
        // ...a left click opens it and a second one closes it again.
        last->trigger();
        EXPECT_FALSE(folder.state().openDrawers()[100].isNull()) << row.name;
        last->trigger();
        flushDeletions();
        EXPECT_TRUE(folder.state().openDrawers()[100].isNull()) << row.name;
        list.close();
    }
}

} // namespace
} // namespace pindrel::test
