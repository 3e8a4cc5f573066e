#pragma once

// The bar's push button: the drawer buttons cmdB, the add button cmdAdd and the programs button
// cmdProg.
//
// What the bar relies on:
//   Caption      the text drawn on the button, taken literally ("&" is not a mnemonic); also
//                the accessible name (see barbuttonaccessible.h).
//   Picture      a picture drawn beside the caption (or alone when there is no caption),
//                scaled down to fit the button's height. pictureWidthHimetric() is its width in
//                hundredths of a millimetre, the unit of picture objects: pixels × 2540 / the
//                screen's logical DPI, rounded (a 32-pixel picture at 96 DPI reports 847); 0
//                without a picture.
//   BackColor, ForeColor
//                OLE colours (see startup/olecolor.h), resolved when the button paints, so a
//                system colour follows the palette. A value that is not a colour leaves the
//                colour as it was. A caption whose colour is the back colour (the stored
//                default makes both button face) is drawn in the palette's button-text colour
//                so that it stays readable.
//   Left, Top, Width, Height
//                twips in the parent's coordinates, converted at the screen's twips per pixel;
//                a value read back is the whole-pixel geometry the button really has.
//   hWnd         the handle under which the drop receiver registers and recognises the
//                button (dragfiles/windowhandles.h): unique for the whole run, never reused,
//                0 for none. It is not a native window (the buttons stay alien widgets; Qt
//                delivers drops to them as it is).
//
// Events: mouseDown and mouseUp for every mouse button, with the button (1 left, 2 right,
// 4 middle), the shift state (1 Shift, 2 Ctrl, 4 Alt, summed) and the position in twips within
// the button. clicked() (from QAbstractButton) follows a left press and release inside the
// button. A press of any button is taken by the button: it never reaches the bar behind it.

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

#include <cstdint>

namespace pindrel {

class BarButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit BarButton(QWidget *pParent = nullptr);
    ~BarButton() override;

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &pCaption);

    const QPixmap &picture() const { return m_picture; }
    void setPicture(const QPixmap &pPicture);
    // The picture's size in device-independent pixels (a picture made for a higher device
    // pixel ratio holds more pixels than it covers).
    QSize pictureSize() const;
    int32_t pictureWidthHimetric() const;

    int32_t backColor() const { return m_backColor; }
    int32_t foreColor() const { return m_foreColor; }
    // False (and nothing changes) when pOleColor is not a colour.
    bool setBackColor(int32_t pOleColor);
    bool setForeColor(int32_t pOleColor);

    float leftTwips() const;
    float topTwips() const;
    float widthTwips() const;
    float heightTwips() const;
    void setLeftTwips(float pLeft);
    void setTopTwips(float pTop);
    void setWidthTwips(float pWidth);
    void setHeightTwips(float pHeight);

    quintptr hWnd() const { return m_hWnd; }

    // Takes the look of pTemplate: size, position, font, colours, caption, picture and
    // tooltip. Visibility is not copied.
    void copyLook(const BarButton &pTemplate);

    // The shift state of a set of keyboard modifiers: Shift 1, Ctrl 2, Alt 4, summed.
    static int shiftState(Qt::KeyboardModifiers pModifiers);
    // The number of a mouse button: left 1, right 2, middle 4, any other 0.
    static int buttonNumber(Qt::MouseButton pButton);

    QSize sizeHint() const override;

signals:
    void mouseDown(int pButton, int pShift, float pX, float pY);
    void mouseUp(int pButton, int pShift, float pX, float pY);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    float twipsPerPixel() const;

    QString m_caption;
    QPixmap m_picture;
    int32_t m_backColor;
    int32_t m_foreColor;
    quintptr m_hWnd;
};

} // namespace pindrel
