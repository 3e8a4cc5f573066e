#pragma once

// The colours of a drawer window painted in its FORM colour. Any colour may be chosen there (the
// stored default is the button-text colour, black in most desktop themes), so the window's own
// texts cannot keep the theme's: the toolbar's captions, the filter frame's title and the
// combo's text take black or white, whichever stands out more against the FORM colour (at
// least 4.5 : 1 for every colour); a disabled tool's caption a foreground faded towards the
// background that still stands out (at least 3 : 1); tools, pressed or under the mouse, a
// shade of the background with their own readable text. The list's and the filter box's
// white-on-black roles (Base, Text, Highlight) stay the theme's.

#include <QColor>
#include <QPalette>

namespace pindrel {

// pBase with the roles above set for the background pBackground, in every colour group.
QPalette drawerPalette(const QPalette &pBase, const QColor &pBackground);

// The contrast ratio of two colours as accessibility guidelines measure it: from 1 (the same)
// to 21 (black and white), whichever comes first.
double contrastRatio(const QColor &pFirst, const QColor &pSecond);

} // namespace pindrel
