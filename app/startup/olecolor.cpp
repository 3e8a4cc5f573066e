#include "startup/olecolor.h"

#include <array>

#include <QGuiApplication>

namespace pindrel {

namespace {

constexpr uint32_t kSystemColorFlag = 0x80U;
constexpr uint32_t kPaletteRelativeFlag = 0x02U;

constexpr SystemColorRole active(QPalette::ColorRole pRole)
{
    return {QPalette::Active, pRole};
}

// Indexed by system colour number, 0x00 to 0x1E.
constexpr std::array<SystemColorRole, 0x1F> kSystemColors = {{
    active(QPalette::Button), // scroll bar
    active(QPalette::Dark), // desktop
    active(QPalette::Highlight), // active caption
    active(QPalette::Mid), // inactive caption
    active(QPalette::Window), // menu
    active(QPalette::Base), // window
    active(QPalette::Shadow), // window frame
    active(QPalette::WindowText), // menu text
    active(QPalette::Text), // window text
    active(QPalette::HighlightedText), // caption text
    active(QPalette::Button), // active border
    active(QPalette::Button), // inactive border
    active(QPalette::Mid), // application workspace
    active(QPalette::Highlight), // highlight
    active(QPalette::HighlightedText), // highlighted text
    active(QPalette::Button), // button face
    active(QPalette::Dark), // button shadow
    {QPalette::Disabled, QPalette::Text}, // gray text
    active(QPalette::ButtonText), // button text
    {QPalette::Disabled, QPalette::Text}, // inactive caption text
    active(QPalette::Light), // button highlight
    active(QPalette::Shadow), // 3-D dark shadow
    active(QPalette::Midlight), // 3-D light
    active(QPalette::ToolTipText), // tooltip text
    active(QPalette::ToolTipBase), // tooltip background
    active(QPalette::Button), // no colour of its own
    active(QPalette::Link), // hot-tracked item
    active(QPalette::Highlight), // active caption gradient
    active(QPalette::Mid), // inactive caption gradient
    active(QPalette::Highlight), // menu highlight
    active(QPalette::Window), // menu bar
}};

QColor plainColor(uint32_t pValue)
{
    return QColor(static_cast<int>(pValue & 0xFFU), static_cast<int>((pValue >> 8) & 0xFFU),
                  static_cast<int>((pValue >> 16) & 0xFFU));
}

} // namespace

SystemColorRole systemColorRole(int pIndex)
{
    const auto index = static_cast<size_t>(static_cast<uint32_t>(pIndex) & 0xFFU);
    if (index >= kSystemColors.size())
        return active(QPalette::Button);
    return kSystemColors[index];
}

QColor colorFromOle(int32_t pOleColor, const QPalette &pPalette)
{
    const auto value = static_cast<uint32_t>(pOleColor);
    const uint32_t kind = value >> 24;
    if (kind == 0 || kind == kPaletteRelativeFlag)
        return plainColor(value);
    if (kind == kSystemColorFlag) {
        const SystemColorRole colorRole = systemColorRole(static_cast<int>(value & 0xFFU));
        return pPalette.color(colorRole.group, colorRole.role);
    }
    return {};
}

QColor colorFromOle(int32_t pOleColor)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return colorFromOle(pOleColor, QPalette());
    return colorFromOle(pOleColor, QGuiApplication::palette());
}

int32_t oleFromColor(const QColor &pColor)
{
    if (!pColor.isValid())
        return 0;
    const QColor rgb = pColor.toRgb();
    const auto value = static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8)
        | (static_cast<uint32_t>(rgb.blue()) << 16);
    return static_cast<int32_t>(value);
}

} // namespace pindrel
