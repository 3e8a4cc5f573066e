// OLE colours to QColor: plain colours, system colours through the palette, invalid values.

#include <string>

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include "startup/olecolor.h"

namespace pindrel {
namespace {

// A palette in which every role of every group has a colour of its own, so that a wrong role
// or group shows.
QPalette distinctPalette()
{
    QPalette palette;
    int seed = 1;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            palette.setColor(group, static_cast<QPalette::ColorRole>(role),
                             QColor(seed % 256, (seed * 7) % 256, (seed * 13) % 256));
            ++seed;
        }
    }
    return palette;
}

struct SystemRow
{
    const char *name;
    uint32_t oleColor;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

class SystemColorTest : public ::testing::TestWithParam<SystemRow>
{
};

TEST_P(SystemColorTest, TakesThePaletteRole)
{
    const QPalette palette = distinctPalette();
    const QColor color = colorFromOle(static_cast<int32_t>(GetParam().oleColor), palette);
    EXPECT_EQ(color, palette.color(GetParam().group, GetParam().role))
        << color.name().toStdString();
}

const SystemRow kSystemRows[] = {
    {"ButtonFace", 0x8000000F, QPalette::Active, QPalette::Button},
    {"ButtonText", 0x80000012, QPalette::Active, QPalette::ButtonText},
    {"Window", 0x80000005, QPalette::Active, QPalette::Base},
    {"WindowText", 0x80000008, QPalette::Active, QPalette::Text},
    {"Highlight", 0x8000000D, QPalette::Active, QPalette::Highlight},
    {"HighlightText", 0x8000000E, QPalette::Active, QPalette::HighlightedText},
    {"ButtonShadow", 0x80000010, QPalette::Active, QPalette::Dark},
    {"ButtonHighlight", 0x80000014, QPalette::Active, QPalette::Light},
    {"GrayText", 0x80000011, QPalette::Disabled, QPalette::Text},
    {"DarkShadow", 0x80000015, QPalette::Active, QPalette::Shadow},
    {"TooltipBackground", 0x80000018, QPalette::Active, QPalette::ToolTipBase},
    {"MenuBar", 0x8000001E, QPalette::Active, QPalette::Window},
    {"UnusedNumber", 0x80000019, QPalette::Active, QPalette::Button},
    {"NumberBeyondTable", 0x8000001F, QPalette::Active, QPalette::Button},
    {"LargestNumber", 0x800000FF, QPalette::Active, QPalette::Button},
    {"MiddleBytesIgnored", 0x80FF000F, QPalette::Active, QPalette::Button},
};
INSTANTIATE_TEST_SUITE_P(Rows, SystemColorTest, ::testing::ValuesIn(kSystemRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

struct PlainRow
{
    const char *name;
    uint32_t oleColor;
    QColor expected; // invalid: not a colour
};

class PlainColorTest : public ::testing::TestWithParam<PlainRow>
{
};

TEST_P(PlainColorTest, Converts)
{
    const QColor color = colorFromOle(static_cast<int32_t>(GetParam().oleColor), distinctPalette());
    EXPECT_EQ(color.isValid(), GetParam().expected.isValid());
    if (GetParam().expected.isValid()) {
        EXPECT_EQ(color, GetParam().expected) << color.name().toStdString();
    }
}

const PlainRow kPlainRows[] = {
    {"Black", 0x00000000, QColor(0, 0, 0)},
    {"RedInLowByte", 0x000000FF, QColor(255, 0, 0)},
    {"Green", 0x0000FF00, QColor(0, 255, 0)},
    {"BlueInHighByte", 0x00FF0000, QColor(0, 0, 255)},
    {"Mixed", 0x00123456, QColor(0x56, 0x34, 0x12)},
    {"PaletteRelative", 0x02123456, QColor(0x56, 0x34, 0x12)},
    {"PaletteIndex", 0x01000005, QColor()},
    {"UnknownKind", 0x7F000000, QColor()},
    {"AllOnes", 0xFFFFFFFF, QColor()},
};
INSTANTIATE_TEST_SUITE_P(Rows, PlainColorTest, ::testing::ValuesIn(kPlainRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(OleColor, ApplicationPaletteIsUsedWithoutOne)
{
    const QPalette saved = QGuiApplication::palette();
    QGuiApplication::setPalette(distinctPalette());
    const QColor buttonText = colorFromOle(kOleButtonText);
    const QColor expected =
        QGuiApplication::palette().color(QPalette::Active, QPalette::ButtonText);
    QGuiApplication::setPalette(saved);
    EXPECT_EQ(buttonText, expected);
    EXPECT_EQ(colorFromOle(0x000000FF), QColor(255, 0, 0));
}

TEST(OleColor, FromQColorRoundTrips)
{
    EXPECT_EQ(oleFromColor(QColor(1, 2, 3)), 0x00030201);
    EXPECT_EQ(oleFromColor(QColor()), 0);
    const QColor colour(200, 100, 50);
    EXPECT_EQ(colorFromOle(oleFromColor(colour), QPalette()), colour);
}

} // namespace
} // namespace pindrel
