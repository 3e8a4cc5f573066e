#pragma once

// The arithmetic of the drawer buttons' layout, in twips, apart from the widgets.

#include <QString>

#include <cstdint>
#include <optional>

class QFont;

namespace pindrel {

// The space between neighbouring buttons, and the margin on either side of a caption.
inline constexpr float kButtonGap = 60.0F;

// The add and programs buttons as the bar is designed: squares of this side, the add button at
// the top-left corner.
inline constexpr float kFixedButtonSize = 315.0F;

// Button styles (MAIN BUTTONTYPE).
enum class ButtonStyle : int32_t { TextOnly = 0, TextAndIcon = 1, IconOnly = 2 };

struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Where the programs button goes and where the first drawer button starts.
struct FixedButtonsPlacement
{
    bool stacked = false;
    float progLeft = 0;
    float progTop = 0;
    float firstDrawerLeft = 0;
};

// The add and programs buttons at the bar's left end: cmdProg under cmdAdd when cmdAdd's top
// + height + the gap + cmdProg's height fit in the bar's inner height, else beside it. The
// first drawer button starts one gap right of the rightmost of the two.
FixedButtonsPlacement placeFixedButtons(const TwipsRect &pAdd, const TwipsRect &pProg,
                                        float pInnerHeight);

// The width of a drawer button in style pStyle: the caption's width + 2 gaps, plus the
// picture's width in hundredths of a millimetre (added to the twips as it is) in style 1;
// the template's height (a square) in style 2. Empty for any other style: the button keeps
// the width of the one before it.
std::optional<float> drawerButtonWidth(int32_t pStyle, float pCaptionWidth,
                                       int32_t pPictureWidthHimetric, float pTemplateHeight);

// The width of pCaption in pFont, in twips at pTwipsPerPixel: the widest of its lines (a
// caption may hold line breaks), text laid out in its own direction.
float captionWidthTwips(const QFont &pFont, const QString &pCaption, float pTwipsPerPixel);

// The text with only spaces cut from both ends; tabs and other blanks stay.
QString trimSpaces(const QString &pText);

} // namespace pindrel
