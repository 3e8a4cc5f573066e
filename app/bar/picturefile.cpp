#include "bar/picturefile.h"

#include <QFile>
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

// The format a picture file's first bytes announce, among bmp, png, ico and cur, gif and jpeg;
// empty for any other.
QByteArray announcedFormat(const QByteArray &pHead)
{
    static const QByteArray png("\x89PNG\r\n\x1a\n", 8);
    static const QByteArray icon("\0\0\1\0", 4);
    static const QByteArray cursor("\0\0\2\0", 4);
    if (pHead.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    if (pHead.startsWith(png))
        return QByteArrayLiteral("png");
    if (pHead.startsWith(icon))
        return QByteArrayLiteral("ico");
    if (pHead.startsWith(cursor))
        return QByteArrayLiteral("cur");
    if (pHead.startsWith("GIF87a") || pHead.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    if (pHead.startsWith("\xFF\xD8\xFF"))
        return QByteArrayLiteral("jpeg");
    return {};
}

// One attempt at the picture in pFile, read from its start: in pFormat alone, or with an empty
// pFormat in whichever format the name or the content says.
QPixmap decode(QFile &pFile, int pMaxSide, const QByteArray &pFormat)
{
    if (!pFile.seek(0))
        return {};
    QImageReader reader(&pFile, pFormat);
    reader.setAutoDetectImageFormat(pFormat.isEmpty());
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
    // A paletted picture is decoded at its size and scaled in colour below: scaled while
    // decoding it would stay paletted, or be scaled as a mask.
    const bool paletted = isPaletted(reader.imageFormat());
    if (declared.isValid()) {
        if (absurd(declared))
            return {};
        if (!paletted && (declared.width() > pMaxSide || declared.height() > pMaxSide)) {
            // Decoded straight at the small size by formats that can (jpeg, svg); the others
            // are scaled by the reader after decoding, within the allocation limit.
            const QSize target = declared.scaled(pMaxSide, pMaxSide, Qt::KeepAspectRatio);
            reader.setScaledSize(target.expandedTo(QSize(1, 1)));
        }
    }

    const QImage picture = inTrueColour(reader.read());
    if (picture.isNull())
        return {};
    if (picture.width() > pMaxSide || picture.height() > pMaxSide) {
        // A format that declared no size up front.
        return QPixmap::fromImage(
            picture.scaled(pMaxSide, pMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return QPixmap::fromImage(picture);
}

} // namespace

bool isPaletted(QImage::Format pFormat)
{
    return pFormat == QImage::Format_Mono || pFormat == QImage::Format_MonoLSB
        || pFormat == QImage::Format_Indexed8;
}

QImage inTrueColour(const QImage &pImage)
{
    if (pImage.isNull() || !isPaletted(pImage.format()))
        return pImage;
    return pImage.convertToFormat(pImage.hasAlphaChannel() ? QImage::Format_ARGB32
                                                           : QImage::Format_RGB32);
}

QPixmap loadPictureFile(const QString &pPath, int pMaxSide)
{
    if (pPath.isEmpty() || pMaxSide <= 0 || !QFileInfo(pPath).isFile())
        return {};
    QFile file(pPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The formats pictures here mostly come in are told by their first bytes and read by their
    // own reader only. Asked for a picture without a format, Qt loads every image plugin to ask
    // each whether it reads it (at the bar's start, that is most of what the first picture
    // costs). Anything else, and a file that is not what its first bytes say, is read as before.
    const QByteArray format = announcedFormat(file.peek(8));
    if (!format.isEmpty()) {
        if (QPixmap picture = decode(file, pMaxSide, format); !picture.isNull())
            return picture;
    }
    return decode(file, pMaxSide, {});
}

} // namespace pindrel
