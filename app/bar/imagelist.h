#pragma once

// An image list of the bar: img (32×32, the drawer icons) and imgP (16×16, the program icons).
//
// Images sit at 1-based positions and may carry a text key, unique within the list (case
// matters). Every image is stored at the list's size: a picture of another size is scaled to fit
// inside it, keeping its shape, and centred on a transparent square. The size is in
// device-independent pixels; on a screen of a higher device pixel ratio the images hold that
// many more pixels (deviceSide() a side, tagged with the ratio), so that they stay sharp.

#include <QPixmap>
#include <QSize>
#include <QString>

#include <vector>

namespace pindrel {

class ImageList
{
public:
    explicit ImageList(int pImageSize);

    QSize imageSize() const { return {m_imageSize, m_imageSize}; }

    // The ratio the images are made for (1 unless set); pictures added later take it.
    qreal devicePixelRatio() const { return m_ratio; }
    void setDevicePixelRatio(qreal pRatio);
    // A side of an image in device pixels: what a picture is best loaded at.
    int deviceSide() const;

    // Inserts pPicture at position pIndex (1 to count + 1); the images from pIndex on move one
    // place up. False, and nothing added, for a position outside that range, a key already in
    // use or a null picture.
    bool add(int pIndex, const QString &pKey, const QPixmap &pPicture);
    // Appends pPicture: add(count() + 1, ...).
    bool add(const QString &pKey, const QPixmap &pPicture);

    void clear() { m_images.clear(); }
    int count() const { return static_cast<int>(m_images.size()); }

    // The picture under pKey, or at 1-based position pIndex; a null pixmap when there is none.
    QPixmap picture(const QString &pKey) const;
    QPixmap picture(int pIndex) const;
    // The position of pKey, 0 when no image has it.
    int indexOf(const QString &pKey) const;

    // pPicture scaled to fit a pSide × pSide square of its own pixels, keeping its shape, and
    // centred on a transparent one.
    static QPixmap squared(const QPixmap &pPicture, int pSide);

private:
    struct Entry
    {
        QString key;
        QPixmap picture;
    };

    QPixmap fitted(const QPixmap &pPicture) const;

    int m_imageSize;
    qreal m_ratio = 1.0;
    std::vector<Entry> m_images;
};

} // namespace pindrel
