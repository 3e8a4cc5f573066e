#pragma once

// What AddCustomIcon takes: the images a picture object or a picture file gives, ready to be
// appended to the private image list. Empty when the picture is refused or cannot be read.
//
// A picture object is a QVariant holding a QIcon (one image), or a QPixmap, QBitmap or QImage
// (a bitmap). A file is chosen by its name, case-sensitively, in this order: ".ico" (an icon
// file), ".bmp" (a bitmap file), ".png" or ".svg" (one image each; SVG stays sharp at any
// size). A bitmap whose width is a whole multiple (two or more) of its height is a strip of
// square images, one per cell, as image lists take bitmaps; any other bitmap is one image.

#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtGui/QIcon>

#include <vector>

namespace vexlo::custompictures {

std::vector<QIcon> fromPicture(const QVariant &pPicture);
std::vector<QIcon> fromFile(const QString &pPath);

} // namespace vexlo::custompictures
