#include "drawer/tintedicon.h"

#include <QPainter>

#include <cmath>
#include <utility>

namespace pindrel {

TintedIcon::TintedIcon(QIcon pSource, QColor pNormal, QColor pDisabled)
    : m_source(std::move(pSource))
    , m_normal(std::move(pNormal))
    , m_disabled(std::move(pDisabled))
{ }

QIcon TintedIcon::make(const QIcon &pSource, const QColor &pNormal, const QColor &pDisabled)
{
    return QIcon(new TintedIcon(pSource, pNormal, pDisabled)); // the icon owns its engine
}

QPixmap TintedIcon::pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState)
{
    if (pSize.isEmpty() || m_source.isNull())
        return {};
    // The source's own pixels at ratio 1: a scalable icon is drawn at the size asked for, a
    // bitmap one at its nearest size.
    QPixmap shape = m_source.pixmap(pSize, 1.0, QIcon::Normal, pState);
    if (shape.isNull())
        return {};
    shape.setDevicePixelRatio(1.0);
    if (shape.size() != pSize)
        shape = shape.scaled(pSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap tinted(pSize);
    tinted.fill(Qt::transparent);
    QPainter painter(&tinted);
    painter.drawPixmap((pSize.width() - shape.width()) / 2, (pSize.height() - shape.height()) / 2,
                       shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(tinted.rect(), pMode == QIcon::Disabled ? m_disabled : m_normal);
    painter.end();
    return tinted;
}

void TintedIcon::paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
                       QIcon::State pState)
{
    const qreal ratio = pPainter->device() != nullptr ? pPainter->device()->devicePixelRatioF() : 1;
    const QSize device(static_cast<int>(std::lround(pRect.width() * ratio)),
                       static_cast<int>(std::lround(pRect.height() * ratio)));
    QPixmap picture = pixmap(device, pMode, pState);
    picture.setDevicePixelRatio(ratio);
    pPainter->drawPixmap(pRect.topLeft(), picture);
}

QSize TintedIcon::actualSize(const QSize &pSize, QIcon::Mode, QIcon::State)
{
    return pSize;
}

QIconEngine *TintedIcon::clone() const
{
    return new TintedIcon(*this); // ownership passes to the QIcon that asked for it
}

QString TintedIcon::key() const
{
    return QStringLiteral("TintedIcon");
}

} // namespace pindrel
