#include "bar/imagelist.h"

#include <QPainter>

#include <cmath>

namespace pindrel {

ImageList::ImageList(int pImageSize)
    : m_imageSize(std::max(1, pImageSize))
{ }

bool ImageList::add(int pIndex, const QString &pKey, const QPixmap &pPicture)
{
    if (pIndex < 1 || pIndex > count() + 1 || pPicture.isNull())
        return false;
    if (!pKey.isEmpty() && indexOf(pKey) != 0)
        return false;
    m_images.insert(m_images.begin() + (pIndex - 1), Entry{pKey, fitted(pPicture)});
    return true;
}

bool ImageList::add(const QString &pKey, const QPixmap &pPicture)
{
    return add(count() + 1, pKey, pPicture);
}

QPixmap ImageList::picture(const QString &pKey) const
{
    const int index = indexOf(pKey);
    return index == 0 ? QPixmap() : m_images[static_cast<std::size_t>(index - 1)].picture;
}

QPixmap ImageList::picture(int pIndex) const
{
    if (pIndex < 1 || pIndex > count())
        return {};
    return m_images[static_cast<std::size_t>(pIndex - 1)].picture;
}

int ImageList::indexOf(const QString &pKey) const
{
    if (pKey.isEmpty())
        return 0;
    for (std::size_t i = 0; i < m_images.size(); ++i) {
        if (m_images[i].key == pKey)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void ImageList::setDevicePixelRatio(qreal pRatio)
{
    m_ratio = pRatio >= 1.0 ? pRatio : 1.0;
}

int ImageList::deviceSide() const
{
    return static_cast<int>(std::ceil(m_imageSize * m_ratio - 0.01));
}

QPixmap ImageList::fitted(const QPixmap &pPicture) const
{
    const int side = deviceSide();
    QPixmap picture = pPicture;
    // Measured in its own pixels, whatever ratio it came tagged with.
    picture.setDevicePixelRatio(1.0);
    picture = squared(picture, side);
    picture.setDevicePixelRatio(m_ratio);
    return picture;
}

QPixmap ImageList::squared(const QPixmap &pPicture, int pSide)
{
    if (pPicture.width() == pSide && pPicture.height() == pSide)
        return pPicture;
    const QPixmap scaled =
        pPicture.scaled(pSide, pSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap square(pSide, pSide);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawPixmap((pSide - scaled.width()) / 2, (pSide - scaled.height()) / 2, scaled);
    return square;
}

} // namespace pindrel
