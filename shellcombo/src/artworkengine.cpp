#include "artworkengine.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <algorithm>

namespace vexlo {

namespace {

// Every picture is drawn on a grid of 16 x 16 units, which the painter scales to the rectangle;
// lines sit on half units so that they fall on whole pixels at 16 and 32 pixels.
constexpr qreal kGrid = 16.0;

void drawShare(QPainter &pPainter)
{
    // An open hand, palm up, coming from a sleeve under the folder's corner: the usual mark of
    // a shared object. Warm and dark-edged, so that it stands out on the blues of folders.
    const QPen edge(QColor(0x3a, 0x24, 0x10), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pPainter.setPen(edge);
    pPainter.setBrush(QColor(0x1f, 0x5f, 0xbf));
    pPainter.drawRect(QRectF(0.5, 11.0, 2.5, 4.5));
    pPainter.setBrush(QColor(0xf8, 0xd3, 0x9a));
    QPainterPath hand;
    hand.moveTo(3.0, 11.5);
    hand.cubicTo(4.5, 10.8, 6.0, 11.0, 7.5, 11.8);
    hand.lineTo(10.0, 11.8);
    hand.cubicTo(11.2, 11.8, 11.2, 13.2, 10.0, 13.2);
    hand.lineTo(8.0, 13.2);
    hand.lineTo(11.0, 13.2);
    hand.lineTo(13.6, 11.4);
    hand.cubicTo(14.8, 10.8, 15.6, 12.2, 14.6, 13.0);
    hand.lineTo(11.2, 15.5);
    hand.lineTo(3.0, 15.5);
    hand.closeSubpath();
    pPainter.drawPath(hand);
}

void drawLink(QPainter &pPainter)
{
    // The white box keeps the arrow readable over any icon.
    pPainter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
    pPainter.setBrush(Qt::white);
    pPainter.drawRect(QRectF(0.5, 8.5, 7.0, 7.0));
    pPainter.setPen(
        QPen(QColor(0x10, 0x10, 0x10), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    pPainter.setBrush(Qt::NoBrush);
    QPainterPath shaft;
    shaft.moveTo(2.5, 14.0);
    shaft.cubicTo(2.5, 12.0, 3.5, 11.0, 5.5, 11.0);
    pPainter.drawPath(shaft);
    pPainter.setPen(Qt::NoPen);
    pPainter.setBrush(QColor(0x10, 0x10, 0x10));
    const QPointF head[] = {{6.8, 11.0}, {4.6, 9.2}, {4.6, 12.8}};
    pPainter.drawPolygon(head, 3);
}

void drawToolbox(QPainter &pPainter)
{
    // The field.
    pPainter.setPen(QPen(QColor(0x55, 0x5d, 0x66), 1.0));
    pPainter.setBrush(Qt::white);
    pPainter.drawRect(QRectF(0.5, 3.5, 15.0, 9.0));
    // The folder in it.
    pPainter.setPen(QPen(QColor(0x9a, 0x6a, 0x10), 0.8));
    pPainter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    QPainterPath folder;
    folder.moveTo(2.0, 6.0);
    folder.lineTo(4.0, 6.0);
    folder.lineTo(4.8, 6.8);
    folder.lineTo(7.0, 6.8);
    folder.lineTo(7.0, 10.5);
    folder.lineTo(2.0, 10.5);
    folder.closeSubpath();
    pPainter.drawPath(folder);
    // The drop-down button and its arrow.
    pPainter.setPen(QPen(QColor(0x55, 0x5d, 0x66), 1.0));
    pPainter.setBrush(QColor(0xdd, 0xe3, 0xea));
    pPainter.drawRect(QRectF(10.5, 3.5, 5.0, 9.0));
    pPainter.setPen(Qt::NoPen);
    pPainter.setBrush(QColor(0x20, 0x20, 0x20));
    const QPointF arrow[] = {{11.5, 7.0}, {14.5, 7.0}, {13.0, 9.0}};
    pPainter.drawPolygon(arrow, 3);
}

} // namespace

ArtworkEngine::ArtworkEngine(Picture pPicture)
    : m_picture(pPicture)
{ }

QIcon ArtworkEngine::icon(Picture pPicture)
{
    return QIcon(new ArtworkEngine(pPicture));
}

void ArtworkEngine::paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode, QIcon::State)
{
    const qreal side = std::min(pRect.width(), pRect.height());
    pPainter->save();
    pPainter->setRenderHint(QPainter::Antialiasing);
    pPainter->translate(pRect.x() + (pRect.width() - side) / 2.0,
                        pRect.y() + (pRect.height() - side) / 2.0);
    pPainter->scale(side / kGrid, side / kGrid);
    if (pMode == QIcon::Disabled)
        pPainter->setOpacity(0.45);
    switch (m_picture) {
    case Picture::ShareOverlay:
        drawShare(*pPainter);
        break;
    case Picture::LinkOverlay:
        drawLink(*pPainter);
        break;
    case Picture::Toolbox:
        drawToolbox(*pPainter);
        break;
    }
    pPainter->restore();
}

QIconEngine *ArtworkEngine::clone() const
{
    return new ArtworkEngine(m_picture);
}

QString ArtworkEngine::key() const
{
    return QStringLiteral("vexlo-artwork");
}

QList<QSize> ArtworkEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return {QSize(16, 16), QSize(22, 22), QSize(32, 32)};
}

} // namespace vexlo
