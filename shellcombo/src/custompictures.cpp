#include "custompictures.h"

#include <QtGui/QBitmap>
#include <QtGui/QImage>
#include <QtGui/QImageReader>
#include <QtGui/QPixmap>

namespace vexlo::custompictures {

namespace {

std::vector<QIcon> fromBitmap(const QImage &pImage)
{
    if (pImage.isNull())
        return {};
    const int side = pImage.height();
    const int cells = side > 0 && pImage.width() % side == 0 ? pImage.width() / side : 1;
    if (cells < 2)
        return {QIcon(QPixmap::fromImage(pImage))};
    std::vector<QIcon> icons;
    icons.reserve(static_cast<size_t>(cells));
    for (int cell = 0; cell < cells; ++cell)
        icons.emplace_back(QPixmap::fromImage(pImage.copy(cell * side, 0, side, side)));
    return icons;
}

// A file Qt can read as a picture: the name's own format, checked on its first bytes.
bool readable(const QString &pPath)
{
    QImageReader reader(pPath);
    return reader.canRead();
}

} // namespace

std::vector<QIcon> fromPicture(const QVariant &pPicture)
{
    switch (pPicture.typeId()) {
    case QMetaType::QIcon: {
        const QIcon icon = pPicture.value<QIcon>();
        if (icon.isNull())
            return {};
        return {icon};
    }
    case QMetaType::QPixmap:
        return fromBitmap(pPicture.value<QPixmap>().toImage());
    case QMetaType::QBitmap:
        return fromBitmap(pPicture.value<QBitmap>().toImage());
    case QMetaType::QImage:
        return fromBitmap(pPicture.value<QImage>());
    default:
        return {};
    }
}

std::vector<QIcon> fromFile(const QString &pPath)
{
    const bool icon = pPath.contains(QLatin1String(".ico"));
    const bool bitmap = !icon && pPath.contains(QLatin1String(".bmp"));
    const bool picture = !icon && !bitmap
        && (pPath.contains(QLatin1String(".png")) || pPath.contains(QLatin1String(".svg")));
    if (!(icon || bitmap || picture) || !readable(pPath))
        return {};
    if (bitmap)
        return fromBitmap(QImage(pPath));
    // An icon file may hold several sizes; the icon keeps them all and draws the best fit.
    QIcon loaded(pPath);
    if (loaded.isNull() || loaded.pixmap(QSize(16, 16)).isNull())
        return {};
    return {loaded};
}

} // namespace vexlo::custompictures
