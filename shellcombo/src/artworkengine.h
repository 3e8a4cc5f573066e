#pragma once

// The control's own pictures, drawn as vectors so that they are crisp at 16 pixels and at any
// device pixel ratio: the share and link overlays that go over an entry's icon, and the
// control's toolbox picture.

#include "paintediconengine.h"

namespace vexlo {

class ArtworkEngine : public PaintedIconEngine
{
public:
    enum class Picture {
        ShareOverlay, // a shared folder: a hand holding it out, in the icon's lower left
        LinkOverlay, // a symbolic link: a bent arrow in a white box, in the lower left
        Toolbox, // the control itself: a path field with a folder and a drop-down button
    };

    explicit ArtworkEngine(Picture pPicture);

    static QIcon icon(Picture pPicture);

    void paint(QPainter *pPainter, const QRect &pRect, QIcon::Mode pMode,
               QIcon::State pState) override;
    QIconEngine *clone() const override;
    QString key() const override;
    QList<QSize> availableSizes(QIcon::Mode pMode, QIcon::State pState) override;

private:
    Picture m_picture;
};

} // namespace vexlo
