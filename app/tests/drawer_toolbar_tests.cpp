// The drawer window's toolbar: its one band, the ten tools in order, and the click event as the
// window relies on it (two-state tools already toggled, disabled tools silent); its colours on any
// FORM colour.

#include "drawer/drawerpalette.h"
#include "drawer/drawertoolbar.h"
#include "drawer/tool.h"
#include "drawer/toolband.h"

#include <QAbstractButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

QAbstractButton *buttonOf(const ToolBand &pBand, Tool *pTool)
{
    return qobject_cast<QAbstractButton *>(pBand.widgetForAction(pTool));
}

TEST(DrawerToolbar, HoldsTheTenToolsInOrderWithTheirSeparators)
{
    DrawerToolbar toolbar;
    ASSERT_EQ(toolbar.bands().size(), 1);
    const ToolBand *band = toolbar.bands().first();
    EXPECT_EQ(band->Name(), QStringLiteral("Options"));

    QStringList layout;
    for (const QAction *action : band->actions()) {
        if (action->isSeparator())
            layout.append(QStringLiteral("|"));
        else if (const auto *tool = qobject_cast<const Tool *>(action))
            layout.append(tool->ID());
    }
    EXPECT_EQ(layout.join(u' '),
              QStringLiteral("ID_Back ID_Up ID_Filter | ID_Home ID_NewHome | "
                             "ID_Add | ID_Explorer ID_View ID_Top | ID_Close"));

    struct Row
    {
        const char *id;
        const char *caption;
        const char *tip;
        Tool::Kind kind;
    };
    const Row rows[] = {
        {"ID_Back", "Back", "Go back to last opened folder", Tool::Kind::Button},
        {"ID_Up", "Up", "", Tool::Kind::Button},
        {"ID_Filter", "Filter", "Show/Hide File Filter", Tool::Kind::StateButton},
        {"ID_Home", "Home", "Go to Home folder", Tool::Kind::Button},
        {"ID_NewHome", "NewHome", "Set this folder as New Home", Tool::Kind::Button},
        {"ID_Add", "Add", "Add this folder to Pindrel", Tool::Kind::Button},
        {"ID_Explorer", "Open in Explorer", "Open in Explorer", Tool::Kind::Button},
        {"ID_View", "View", "", Tool::Kind::Button},
        {"ID_Top", "Top", "Toogle always on Top", Tool::Kind::StateButton},
        {"ID_Close", "Close", "Close this Drawer", Tool::Kind::Button},
    };
    ASSERT_EQ(band->tools().size(), std::size(rows));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.id);
        const Tool *tool = band->Tools(QString::fromLatin1(row.id));
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->Caption(), QString::fromLatin1(row.caption));
        EXPECT_EQ(tool->Tip(), QString::fromLatin1(row.tip));
        EXPECT_EQ(tool->kind(), row.kind);
        EXPECT_EQ(tool->State(), 0);
        EXPECT_TRUE(tool->Enabled());
        EXPECT_FALSE(tool->icon().isNull());
    }
}

TEST(DrawerToolbar, FindsTheBandInAnyCaseAndToolsExactly)
{
    DrawerToolbar toolbar;
    ToolBand *band = toolbar.Bands(QStringLiteral("Options"));
    ASSERT_NE(band, nullptr);
    for (const char *name : {"options", "OPTIONS", "oPtIoNs"})
        EXPECT_EQ(toolbar.Bands(QString::fromLatin1(name)), band) << name;
    EXPECT_EQ(toolbar.Bands(QStringLiteral("Option")), nullptr);
    EXPECT_EQ(toolbar.Bands(QString()), nullptr);

    EXPECT_EQ(band->Tools(QStringLiteral("id_top")), nullptr);
    EXPECT_EQ(band->Tools(QStringLiteral("ID_Nothing")), nullptr);
    EXPECT_EQ(toolbar.tool(QStringLiteral("options"), QStringLiteral("ID_Top")),
              band->Tools(QStringLiteral("ID_Top")));
    EXPECT_EQ(toolbar.tool(QStringLiteral("Other"), QStringLiteral("ID_Top")), nullptr);
}

TEST(DrawerToolbar, ToggleToolsBeforeReportingTheClick)
{
    DrawerToolbar toolbar;
    ToolBand &band = *toolbar.Bands(QStringLiteral("Options"));
    QStringList seen;
    QObject::connect(&toolbar, &DrawerToolbar::toolClick, &toolbar, [&](Tool *pTool) {
        seen.append(pTool->ID() + QLatin1Char('=') + QString::number(pTool->State()));
    });

    for (const char *id : {"ID_Top", "ID_Filter"}) {
        Tool *tool = band.Tools(QString::fromLatin1(id));
        buttonOf(band, tool)->click();
        buttonOf(band, tool)->click();
    }
    buttonOf(band, band.Tools(QStringLiteral("ID_View")))->click();
    EXPECT_EQ(seen,
              (QStringList{"ID_Top=1", "ID_Top=0", "ID_Filter=1", "ID_Filter=0", "ID_View=0"}));
}

TEST(DrawerToolbar, StateSetByTheProgramRaisesNoClick)
{
    DrawerToolbar toolbar;
    QSignalSpy clicks(&toolbar, &DrawerToolbar::toolClick);
    Tool *top = toolbar.tool(QStringLiteral("Options"), QStringLiteral("ID_Top"));
    Tool *back = toolbar.tool(QStringLiteral("Options"), QStringLiteral("ID_Back"));

    struct Row
    {
        const char *name;
        Tool *tool;
        int written;
        int read;
    };
    const Row rows[] = {
        {"press", top, 1, 1},   {"other_value_releases", top, 5, 0},   {"press_again", top, 1, 1},
        {"release", top, 0, 0}, {"plain_button_stays_up", back, 1, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.tool->setState(row.written);
        toolbar.Refresh();
        EXPECT_EQ(row.tool->State(), row.read);
    }
    top->setState(1);
    ToolBand &band = *toolbar.Bands(QStringLiteral("Options"));
    EXPECT_TRUE(buttonOf(band, top)->isChecked()) << "the button shows the state";
    EXPECT_EQ(clicks.count(), 0);
}

TEST(DrawerToolbar, DisabledToolsStaySilent)
{
    DrawerToolbar toolbar;
    ToolBand &band = *toolbar.Bands(QStringLiteral("Options"));
    QSignalSpy clicks(&toolbar, &DrawerToolbar::toolClick);
    for (const char *id : {"ID_Back", "ID_Home", "ID_NewHome", "ID_Add"}) {
        SCOPED_TRACE(id);
        Tool *tool = band.Tools(QString::fromLatin1(id));
        tool->setEnabled(false);
        EXPECT_FALSE(tool->Enabled());
        EXPECT_FALSE(buttonOf(band, tool)->isEnabled());
        buttonOf(band, tool)->click();
        tool->setEnabled(true);
        EXPECT_TRUE(tool->Enabled());
    }
    EXPECT_EQ(clicks.count(), 0);
    buttonOf(band, band.Tools(QStringLiteral("ID_Add")))->click();
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<Tool *>()->ID(), QStringLiteral("ID_Add"));
}

} // namespace
} // namespace pindrel

namespace pindrel {
namespace {

// Whatever FORM colour the drawer is painted in, its captions, disabled captions and pressed
// tools stay readable; the list's own colours stay the theme's.
TEST(DrawerPalette, ReadableOnEveryFormColour)
{
    struct Row
    {
        const char *name;
        QColor background;
    };
    const Row rows[] = {
        {"default_button_text_black", QColor(Qt::black)},
        {"white", QColor(Qt::white)},
        {"button_face", QColor(0xef, 0xef, 0xef)},
        {"middle_grey_worst_case", QColor(0x76, 0x76, 0x76)},
        {"navy", QColor(0x00, 0x00, 0x80)},
        {"yellow", QColor(0xff, 0xff, 0x00)},
        {"red", QColor(0xff, 0x00, 0x00)},
        {"dark_green", QColor(0x00, 0x40, 0x00)},
    };
    QPalette base;
    base.setColor(QPalette::Base, Qt::white);
    base.setColor(QPalette::Text, Qt::black);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QPalette palette = drawerPalette(base, row.background);
        const auto color = [&palette](QPalette::ColorGroup pGroup, QPalette::ColorRole pRole) {
            return palette.color(pGroup, pRole);
        };
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            EXPECT_EQ(color(group, QPalette::Window), row.background);
            EXPECT_GE(contrastRatio(color(group, QPalette::WindowText), row.background), 4.5);
            EXPECT_GE(
                contrastRatio(color(group, QPalette::ButtonText), color(group, QPalette::Button)),
                4.5);
        }
        const QColor disabled = color(QPalette::Disabled, QPalette::WindowText);
        EXPECT_GE(contrastRatio(disabled, row.background), 3.0);
        EXPECT_NE(disabled, color(QPalette::Active, QPalette::WindowText));
        EXPECT_GE(contrastRatio(color(QPalette::Disabled, QPalette::ButtonText),
                                color(QPalette::Disabled, QPalette::Button)),
                  3.0);
        // A pressed or hovered tool stands out from the band.
        EXPECT_NE(color(QPalette::Active, QPalette::Button), row.background);
        EXPECT_EQ(color(QPalette::Active, QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(color(QPalette::Active, QPalette::Text), QColor(Qt::black));
    }
}

} // namespace
} // namespace pindrel
