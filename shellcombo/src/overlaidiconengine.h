#pragma once

// An entry's icon with an overlay image drawn over it, both at the size and device pixel ratio
// asked for, so that the combination is as sharp as its two parts.

#include "paintediconengine.h"

#include <QtGui/QIcon>

namespace vexlo {

class OverlaidIconEngine : public PaintedIconEngine
{
public:
    OverlaidIconEngine(QIcon pBase, QIcon pOverlay);

    void paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
               QIcon::State pState) override;
    QSize actualSize(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QIconEngine *clone() const override;
    QString key() const override;
    QList<QSize> availableSizes(QIcon::Mode pMode, QIcon::State pState) override;
    bool isNull() override;

private:
    QIcon m_base;
    QIcon m_overlay;
};

} // namespace vexlo
