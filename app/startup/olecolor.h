#pragma once

// OLE colours: the 32-bit colour values of config.ini and of the program's colour settings.
//
//   0x00BBGGRR  a plain colour: red in the low byte, then green, then blue;
//   0x02BBGGRR  a palette-relative colour, which on a true-colour display is the plain colour;
//   0x80xxxxnn  a system colour: the low byte nn is the system colour number, here a role of
//               the application's palette (button face 0x0F is QPalette::Button, and so on).
//
// System colour numbers and the palette colours that stand for them:
//   0x00 scroll bar          → Button               0x10 button shadow      → Dark
//   0x01 desktop             → Dark                 0x11 gray text          → Text (Disabled)
//   0x02 active caption      → Highlight            0x12 button text        → ButtonText
//   0x03 inactive caption    → Mid                  0x13 inactive caption text → Text (Disabled)
//   0x04 menu                → Window               0x14 button highlight   → Light
//   0x05 window              → Base                 0x15 3-D dark shadow    → Shadow
//   0x06 window frame        → Shadow               0x16 3-D light          → Midlight
//   0x07 menu text           → WindowText           0x17 tooltip text       → ToolTipText
//   0x08 window text         → Text                 0x18 tooltip background → ToolTipBase
//   0x09 caption text        → HighlightedText      0x19 (none)             → Button
//   0x0A active border       → Button               0x1A hot-tracked item   → Link
//   0x0B inactive border     → Button               0x1B active caption gradient → Highlight
//   0x0C application workspace → Mid               0x1C inactive caption gradient → Mid
//   0x0D highlight           → Highlight            0x1D menu highlight     → Highlight
//   0x0E highlighted text    → HighlightedText      0x1E menu bar           → Window
//   0x0F button face         → Button
// Roles are taken from the Active colour group unless noted. A number above 0x1E has no
// system colour; it is shown as button face, the colour the program's settings default to.
//
// Any other high byte (0x01 palette index, 0x03–0x7F, 0x81–0xFF) is not a colour: the
// conversion gives an invalid QColor, and the caller keeps the colour the control had, as a
// property assignment of such a value fails and leaves the property unchanged.

#include <cstdint>

#include <QColor>
#include <QPalette>

namespace pindrel {

// The OLE colour as a QColor, system colours taken from pPalette.
QColor colorFromOle(int32_t pOleColor, const QPalette &pPalette);

// The same with the application's palette (QGuiApplication::palette()); without a GUI
// application, a default-constructed palette.
QColor colorFromOle(int32_t pOleColor);

// The palette colour that stands for a system colour number (only the low byte is used).
struct SystemColorRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
SystemColorRole systemColorRole(int pIndex);

// A QColor as a plain OLE colour 0x00BBGGRR; an invalid colour gives 0 (black).
int32_t oleFromColor(const QColor &pColor);

// The two system colours config.ini uses as defaults.
inline constexpr int32_t kOleButtonFace = static_cast<int32_t>(0x8000000FU);
inline constexpr int32_t kOleButtonText = static_cast<int32_t>(0x80000012U);

} // namespace pindrel
