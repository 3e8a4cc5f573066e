#include "bar/picturefile.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace pindrel {

namespace {

bool absurd(const QSize &pDeclared)
{
    return pDeclared.width() > kMaxDeclaredSide || pDeclared.height() > kMaxDeclaredSide;
}

// The image of an icon file (16, 32 and 48 pixel versions, say) that scales best to pMaxSide:
// the smallest at least that wide, else the largest.
int bestImage(QImageReader &pReader, int pMaxSide)
{
    const int images = pReader.imageCount();
    int best = -1;
    int bestWidth = 0;
    for (int i = 0; i < images; ++i) {
        if (!pReader.jumpToImage(i))
            break;
        const int width = pReader.size().width();
        if (width <= 0)
            continue;
        const bool better = best < 0
            || (width >= pMaxSide && (bestWidth < pMaxSide || width < bestWidth))
            || (bestWidth < pMaxSide && width > bestWidth);
        if (better) {
            best = i;
            bestWidth = width;
        }
    }
    return std::max(best, 0);
}

} // namespace

QPixmap loadPictureFile(const QString &pPath, int pMaxSide)
{
    if (pPath.isEmpty() || pMaxSide <= 0 || !QFileInfo(pPath).isFile())
        return {};

    QImageReader reader(pPath);
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    if (!reader.canRead())
        return {};

    // Icon files hold one picture in several sizes; the other multi-image formats hold
    // animation frames, of which the first one is the picture.
    if (reader.format() == "ico" && reader.imageCount() > 1) {
        if (!reader.jumpToImage(bestImage(reader, pMaxSide)))
            return {};
    }

    const QSize declared = reader.size();
    if (declared.isValid()) {
        if (absurd(declared))
            return {};
        if (declared.width() > pMaxSide || declared.height() > pMaxSide) {
            // Decoded straight at the small size by formats that can (jpeg, svg); the others
            // are scaled by the reader after decoding, within the allocation limit.
            const QSize target = declared.scaled(pMaxSide, pMaxSide, Qt::KeepAspectRatio);
            reader.setScaledSize(target.expandedTo(QSize(1, 1)));
        }
    }

    const QImage picture = reader.read();
    if (picture.isNull())
        return {};
    if (picture.width() > pMaxSide || picture.height() > pMaxSide) {
        // A format that declared no size up front.
        return QPixmap::fromImage(
            picture.scaled(pMaxSide, pMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return QPixmap::fromImage(picture);
}

} // namespace pindrel
