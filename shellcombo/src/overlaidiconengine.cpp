#include "overlaidiconengine.h"

#include <QtGui/QPainter>

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
