#pragma once

// Loading a picture file for a button or an image list, in any format Qt reads (ico, bmp, gif,
// jpg, png, and svg where the plugin is installed), from the content when the name's extension
// does not match it.
//
// A picture is never larger than pMaxSide × pMaxSide pixels: a larger one is scaled down,
// keeping its shape, while it is decoded where the format allows it. Of an icon file holding
// several images, the smallest one at least pMaxSide wide is taken (else the largest).
//
// Nothing is loaded (a null pixmap comes back) for a path that is not a regular file (a
// folder, a pipe, a device: reading those could block or never end), a file that is not a
// picture or is cut short, or a picture whose declared size is beyond any icon's (more than
// kMaxDeclaredSide pixels a side, or a decoding that would need more than the allocation
// limit), so that a hand-edited ICON can neither hang the bar nor exhaust its memory.

#include <QImage>
#include <QPixmap>
#include <QString>

namespace pindrel {

inline constexpr int kMaxDeclaredSide = 8192;
inline constexpr int kPictureAllocationLimitMb = 64;

// Paletted and monochrome pictures (a one-colour PNG with a 1-bit palette, a 256-colour GIF)
// come back in their own colours: they are turned into 32-bit colour before they are scaled
// or become a pixmap, which would otherwise draw a 1-bit picture as a black-and-white mask.
QPixmap loadPictureFile(const QString &pPath, int pMaxSide);

// Whether pictures of this format hold palette indexes or bits rather than colours.
bool isPaletted(QImage::Format pFormat);
// pImage in 32-bit colour (with alpha when it has any) when it is paletted; else as it is.
QImage inTrueColour(const QImage &pImage);

} // namespace pindrel
