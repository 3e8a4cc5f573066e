#include "bar/barbutton.h"

#include "bar/barbuttonaccessible.h"
#include "dragfiles/windowhandles.h"
#include "startup/olecolor.h"
#include "startup/twips.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace pindrel {

namespace {

constexpr float kHimetricPerInch = 2540.0F;
constexpr float kTwipsPerInch = 1440.0F;
// Space between the bevel and the content, and between the picture and the caption, pixels.
constexpr int kContentMargin = 2;
constexpr int kPictureSpacing = 4;

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextDontClip;

} // namespace

BarButton::BarButton(QWidget *pParent)
    : QAbstractButton(pParent)
    , m_backColor(kOleButtonFace)
    , m_foreColor(kOleButtonText)
    , m_hWnd(WindowHandles::assign(this))
{
    BarButtonAccessible::install();
    // The bar never takes the keyboard focus; neither do its buttons.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Repainted as the pointer comes and goes, for the hover highlight.
    setAttribute(Qt::WA_Hover);
}

BarButton::~BarButton() = default;

void BarButton::setCaption(const QString &pCaption)
{
    if (pCaption == m_caption)
        return;
    m_caption = pCaption;
    // Told only to assistive technology that listens, and only of a button on the screen (one
    // that is shown later is announced then, with its name): the event would make Qt build the
    // button's accessible interface even when nobody listens.
    if (isVisible() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void BarButton::setPicture(const QPixmap &pPicture)
{
    m_picture = pPicture;
    update();
}

int32_t BarButton::pictureWidthHimetric() const
{
    if (m_picture.isNull())
        return 0;
    // Pixels × twips per pixel gives twips; twips × 2540 / 1440 gives hundredths of a
    // millimetre. Rounded as the picture object's own conversion rounds, halves away from 0.
    const float himetric = static_cast<float>(pictureSize().width()) * twipsPerPixel()
        * kHimetricPerInch / kTwipsPerInch;
    return static_cast<int32_t>(std::lround(himetric));
}

QSize BarButton::pictureSize() const
{
    return m_picture.deviceIndependentSize().toSize();
}

bool BarButton::setBackColor(int32_t pOleColor)
{
    if (!colorFromOle(pOleColor).isValid())
        return false;
    m_backColor = pOleColor;
    update();
    return true;
}

bool BarButton::setForeColor(int32_t pOleColor)
{
    if (!colorFromOle(pOleColor).isValid())
        return false;
    m_foreColor = pOleColor;
    update();
    return true;
}

float BarButton::twipsPerPixel() const
{
    return pindrel::twipsPerPixel(screen());
}

float BarButton::leftTwips() const
{
    return toTwips(x(), twipsPerPixel());
}

float BarButton::topTwips() const
{
    return toTwips(y(), twipsPerPixel());
}

float BarButton::widthTwips() const
{
    return toTwips(width(), twipsPerPixel());
}

float BarButton::heightTwips() const
{
    return toTwips(height(), twipsPerPixel());
}

void BarButton::setLeftTwips(float pLeft)
{
    move(toPixels(pLeft, twipsPerPixel()), y());
}

void BarButton::setTopTwips(float pTop)
{
    move(x(), toPixels(pTop, twipsPerPixel()));
}

void BarButton::setWidthTwips(float pWidth)
{
    // A negative width is not a size: the button keeps a width of 0 pixels.
    resize(std::max(0, toPixels(pWidth, twipsPerPixel())), height());
}

void BarButton::setHeightTwips(float pHeight)
{
    resize(width(), std::max(0, toPixels(pHeight, twipsPerPixel())));
}

void BarButton::copyLook(const BarButton &pTemplate)
{
    setGeometry(pTemplate.geometry());
    setFont(pTemplate.font());
    m_backColor = pTemplate.m_backColor;
    m_foreColor = pTemplate.m_foreColor;
    setCaption(pTemplate.m_caption);
    setPicture(pTemplate.m_picture);
    setToolTip(pTemplate.toolTip());
}

int BarButton::shiftState(Qt::KeyboardModifiers pModifiers)
{
    int state = 0;
    if (pModifiers.testFlag(Qt::ShiftModifier))
        state += 1;
    if (pModifiers.testFlag(Qt::ControlModifier))
        state += 2;
    if (pModifiers.testFlag(Qt::AltModifier))
        state += 4;
    return state;
}

int BarButton::buttonNumber(Qt::MouseButton pButton)
{
    switch (pButton) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

QSize BarButton::sizeHint() const
{
    const QSize text = fontMetrics().size(0, m_caption);
    const QSize picture = pictureSize();
    return {text.width() + 2 * kPictureSpacing + picture.width(),
            std::max(text.height(), picture.height()) + 2 * kContentMargin};
}

void BarButton::mousePressEvent(QMouseEvent *pEvent)
{
    const float tpp = twipsPerPixel();
    emit mouseDown(buttonNumber(pEvent->button()), shiftState(pEvent->modifiers()),
                   static_cast<float>(pEvent->position().x()) * tpp,
                   static_cast<float>(pEvent->position().y()) * tpp);
    // QAbstractButton handles the left button only and passes the others on to the parent,
    // where a right press would open the bar menu as well.
    if (pEvent->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(pEvent);
    pEvent->accept();
}

void BarButton::mouseReleaseEvent(QMouseEvent *pEvent)
{
    const float tpp = twipsPerPixel();
    // The handler of mouseUp may rebuild the bar and schedule this button for deletion; the
    // button itself stays valid until control returns to the event loop.
    emit mouseUp(buttonNumber(pEvent->button()), shiftState(pEvent->modifiers()),
                 static_cast<float>(pEvent->position().x()) * tpp,
                 static_cast<float>(pEvent->position().y()) * tpp);
    if (pEvent->button() == Qt::LeftButton)
        QAbstractButton::mouseReleaseEvent(pEvent);
    pEvent->accept();
}

void BarButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    QColor back = colorFromOle(m_backColor, palette());
    if (!back.isValid())
        back = palette().color(QPalette::Button);
    // Under the pointer the face takes a quarter of the highlight colour; the bevel and the
    // caption keep working from the button's own colour.
    QColor face = back;
    if (underMouse() && isEnabled() && !isDown()) {
        const QColor highlight = palette().color(QPalette::Highlight);
        face = QColor::fromRgbF(back.redF() * 0.75F + highlight.redF() * 0.25F,
                                back.greenF() * 0.75F + highlight.greenF() * 0.25F,
                                back.blueF() * 0.75F + highlight.blueF() * 0.25F);
    }
    painter.fillRect(area, face);

    // A one-pixel bevel, sunken while the button is held down.
    const bool sunken = isDown();
    const QColor light = back.lighter(150);
    const QColor dark = back.darker(170);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());

    QRect content = area.adjusted(kContentMargin, kContentMargin, -kContentMargin, -kContentMargin);
    if (sunken)
        content.translate(1, 1);
    if (content.width() <= 0 || content.height() <= 0)
        return;
    painter.setClipRect(content);

    // A picture larger than the button is scaled down to its height, keeping its shape, in the
    // screen's own pixels.
    QPixmap picture = m_picture;
    QSize shown = pictureSize();
    if (!picture.isNull() && shown.height() > content.height()) {
        const qreal ratio = devicePixelRatioF();
        picture = m_picture.scaledToHeight(static_cast<int>(std::lround(content.height() * ratio)),
                                           Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
        shown = picture.deviceIndependentSize().toSize();
    }

    const int spacing = (!picture.isNull() && !m_caption.isEmpty()) ? kPictureSpacing : 0;
    // A caption too long for what the picture leaves of the button ends in "…"; the tooltip
    // holds all of it.
    QString caption = m_caption;
    QRect textBounds = caption.isEmpty()
        ? QRect()
        : painter.fontMetrics().boundingRect(QRect(0, 0, 0, 0), kTextFlags, caption);
    const int textRoom = content.width() - shown.width() - spacing;
    if (textBounds.width() > textRoom && !caption.contains(u'\n')) {
        caption = painter.fontMetrics().elidedText(caption, Qt::ElideRight, std::max(textRoom, 0));
        textBounds = painter.fontMetrics().boundingRect(QRect(0, 0, 0, 0), kTextFlags, caption);
    }
    const int blockWidth = shown.width() + spacing + textBounds.width();
    int left = content.left() + (content.width() - blockWidth) / 2;

    if (!picture.isNull()) {
        const int top = content.top() + (content.height() - shown.height()) / 2;
        painter.drawPixmap(left, top, picture);
        left += shown.width() + spacing;
    }
    if (!caption.isEmpty()) {
        // The stored default text colour is the button face itself (COLORS FORE): a caption
        // in the colour of its background would be invisible, so it takes the button-text
        // colour instead.
        QColor fore = colorFromOle(m_foreColor, palette());
        if (!fore.isValid() || fore.rgb() == back.rgb())
            fore = palette().color(QPalette::ButtonText);
        painter.setPen(fore);
        const QRect textArea(left, content.top(), textBounds.width(), content.height());
        painter.drawText(textArea, kTextFlags, caption);
    }
}

} // namespace pindrel
