#include "overlaidiconengine.h"

#include <QtGui/QPainter>
#include <QtGui/QPixmap>

#include <cmath>

namespace vexlo {

OverlaidIconEngine::OverlaidIconEngine(QIcon pBase, QIcon pOverlay)
    : m_base(std::move(pBase))
    , m_overlay(std::move(pOverlay))
{ }

void OverlaidIconEngine::paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
                               QIcon::State pState)
{
    m_base.paint(pPainter, pRect, Qt::AlignCenter, pMode, pState);
    m_overlay.paint(pPainter, pRect, Qt::AlignCenter, pMode, pState);
}

QSize OverlaidIconEngine::actualSize(const QSize &pSize, QIcon::Mode, QIcon::State)
{
    // The overlay is drawn over the whole cell, whatever size the base icon has.
    return pSize;
}

QPixmap OverlaidIconEngine::pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState)
{
    return scaledPixmap(pSize, pMode, pState, 1.0);
}

QPixmap OverlaidIconEngine::scaledPixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState,
                                         qreal pScale)
{
    // pSize is in device pixels already (QIcon multiplies before it asks). Both parts come at
    // the device pixel ratio asked for and are drawn in device pixels, so neither is scaled a
    // second time.
    QPixmap result(pSize);
    result.fill(Qt::transparent);
    const QSize logical(static_cast<int>(std::lround(pSize.width() / pScale)),
                        static_cast<int>(std::lround(pSize.height() / pScale)));
    {
        QPainter painter(&result);
        const QRect cell(QPoint(0, 0), result.size());
        for (const QIcon *part : {&m_base, &m_overlay}) {
            QPixmap layer = part->pixmap(logical, pScale, pMode, pState);
            layer.setDevicePixelRatio(1.0);
            const QSize drawn = layer.size().scaled(cell.size(), Qt::KeepAspectRatio);
            const QRect target(cell.x() + (cell.width() - drawn.width()) / 2,
                               cell.y() + (cell.height() - drawn.height()) / 2, drawn.width(),
                               drawn.height());
            painter.drawPixmap(target, layer);
        }
    }
    result.setDevicePixelRatio(pScale);
    return result;
}

QIconEngine *OverlaidIconEngine::clone() const
{
    return new OverlaidIconEngine(m_base, m_overlay);
}

QString OverlaidIconEngine::key() const
{
    return QStringLiteral("vexlo-overlaid");
}

QList<QSize> OverlaidIconEngine::availableSizes(QIcon::Mode pMode, QIcon::State pState)
{
    return m_base.availableSizes(pMode, pState);
}

bool OverlaidIconEngine::isNull()
{
    return m_base.isNull() && m_overlay.isNull();
}

} // namespace vexlo
