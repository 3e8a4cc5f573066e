#pragma once

// Twips at the Qt boundary. The program's geometry is in twips (1/1440 inch), held as
// single-precision numbers; Qt and the window system take pixels. These are the only
// conversions between the two: twips per pixel = 1440 / the screen's logical DPI (15 at 96 DPI).

class QScreen;

namespace pindrel {

// Twips per pixel of the screen, horizontally and vertically. A null screen means the
// primary screen; without any screen (no application yet) the factor is 15, that of 96 DPI.
float twipsPerPixelX(const QScreen *pScreen = nullptr);
float twipsPerPixelY(const QScreen *pScreen = nullptr);

// The horizontal factor, the one the program uses where it does not say which.
float twipsPerPixel(const QScreen *pScreen = nullptr);

// Twips to whole pixels: divided by the factor and rounded halves to even, as the program's
// conversions to whole numbers round. A result beyond the int range is clamped to it; a
// factor of 0 or less, or a value that is not a number, gives 0.
int toPixels(float pTwips, float pTwipsPerPixel);

// Pixels to twips.
float toTwips(int pPixels, float pTwipsPerPixel);

} // namespace pindrel
