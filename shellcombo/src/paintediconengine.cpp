#include "paintediconengine.h"

#include <QtGui/QPainter>
#include <QtGui/QPixmap>

#include <cmath>

namespace vexlo {

QPixmap PaintedIconEngine::pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState)
{
    return scaledPixmap(pSize, pMode, pState, 1.0);
}

QPixmap PaintedIconEngine::scaledPixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState,
                                        qreal pScale)
{
    // pSize is in device pixels already (QIcon multiplies before it asks); the painting is in
    // logical pixels on a pixmap of that ratio, so nothing is scaled after it is drawn.
    QPixmap result(pSize);
    result.setDevicePixelRatio(pScale);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    paint(&painter,
          QRect(0, 0, static_cast<int>(std::lround(pSize.width() / pScale)),
                static_cast<int>(std::lround(pSize.height() / pScale))),
          pMode, pState);
    return result;
}

} // namespace vexlo
