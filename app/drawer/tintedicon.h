#pragma once

// A toolbar glyph drawn in the colour of the text beside it: the shape of its source icon (its
// alpha) filled with one colour, another for a disabled tool, at whatever size and device
// pixel ratio it is asked for. So the drawer's tools stay as readable as their captions on any
// FORM colour; the desktop's symbolic icons, single-colour shapes, are what it is made for.

#include <QColor>
#include <QIcon>
#include <QIconEngine>

namespace pindrel {

class TintedIcon : public QIconEngine
{
public:
    TintedIcon(QIcon pSource, QColor pNormal, QColor pDisabled);

    // A QIcon owning a new engine of this kind.
    static QIcon make(const QIcon &pSource, const QColor &pNormal, const QColor &pDisabled);

    void paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
               QIcon::State pState) override;
    // Exactly pSize pixels (QIcon asks for the device pixels it needs).
    QPixmap pixmap(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QSize actualSize(const QSize &pSize, QIcon::Mode pMode, QIcon::State pState) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    QIcon m_source;
    QColor m_normal;
    QColor m_disabled;
};

} // namespace pindrel
