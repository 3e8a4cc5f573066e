#pragma once

// An icon engine whose pictures are painted at the size asked for: its pixmaps are made by
// painting into them at their device pixel ratio, so that they are as sharp as the painting.

#include <QtGui/QIconEngine>

namespace vexlo {

class PaintedIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QPixmap scaledPixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState,
                         qreal pScale) override;
};

} // namespace vexlo
