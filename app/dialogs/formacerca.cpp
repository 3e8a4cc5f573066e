#include "dialogs/formacerca.h"

#include "bar/embeddedresources.h"

#include "platform/shell.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace pindrel {

namespace {

QFont trebuchet(const QFont &pBase, qreal pScale, bool pBold)
{
    QFont font = pBase;
    font.setFamilies({QStringLiteral("Trebuchet MS"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans")});
    font.setPointSizeF(pBase.pointSizeF() * pScale);
    font.setBold(pBold);
    return font;
}

const QColor kLinkHighlight(255, 0, 0);

} // namespace

FormAcerca::FormAcerca(platform::Shell *pShell, const ProgramVersion &pVersion,
                       const QUrl &pWebsite, QWidget *pParent)
    : QDialog(pParent,
              Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , m_shell(pShell)
    , m_version(pVersion)
    , m_website(pWebsite)
{
    ensureEmbeddedResources();
    setWindowTitle(QString());
    setMouseTracking(true);
    buildControls();
    m_lblVersion->setText(versionText(pVersion));
    m_lblRev->setText(revisionText(pVersion));
    setLinkColor(palette().color(QPalette::ButtonText));
    m_linkNormal = false;
}

FormAcerca::~FormAcerca() = default;

QString FormAcerca::versionText(const ProgramVersion &pVersion)
{
    return QStringLiteral("Version %1.%2").arg(pVersion.major).arg(pVersion.minor);
}

QString FormAcerca::revisionText(const ProgramVersion &pVersion)
{
    if (pVersion.revision == 0)
        return QStringLiteral("Beta version");
    return QStringLiteral("Revision %1").arg(pVersion.revision);
}

QLabel *FormAcerca::addLabel(const QString &pName, const QString &pText)
{
    auto *label = new QLabel(pText, this);
    label->setObjectName(pName);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

void FormAcerca::buildControls()
{
    const QFont base = font();
    m_lblProductName = addLabel(QStringLiteral("lblProductName"), QStringLiteral("Pindrel"));
    m_lblProductName->setFont(trebuchet(base, 2.2, true));
    m_lblVersion = addLabel(QStringLiteral("lblVersion"), QString());
    m_lblVersion->setFont(trebuchet(base, 1.2, true));
    m_lblRev = addLabel(QStringLiteral("lblRev"), QString());
    m_lblRev->setFont(trebuchet(base, 1.0, false));
    m_lblPlatform = addLabel(QStringLiteral("lblPlatform"), platformLine());
    m_lblPlatform->setFont(trebuchet(base, 1.0, false));
    m_lblCopyright =
        addLabel(QStringLiteral("lblCopyright"),
                 QStringLiteral("Copyright \u00A9 2004\u20132025 The Pindrel Workshop. "
                                "All rights reserved."));
    m_lblCopyright->setFont(trebuchet(base, 0.9, false));
    m_label1 = addLabel(QStringLiteral("Label1"),
                        QStringLiteral("Made by the Pindrel Workshop, makers of small desktop "
                                       "tools."));
    m_label1->setFont(trebuchet(base, 0.9, false));
    m_label16 = addLabel(QStringLiteral("Label16"),
                         QStringLiteral("Pindrel Desktop Tools \u2014 your folders, one click "
                                        "away."));
    m_label16->setFont(trebuchet(base, 0.9, true));
    m_lblVersion2 = addLabel(QStringLiteral("lblVersion2"), QString());
    m_lblVersion2->setFont(trebuchet(base, 0.9, false));

    QString address = m_website.host() + m_website.path();
    if (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    m_link = addLabel(QStringLiteral("link"), QStringLiteral("Visit us at ") + address);
    QFont linkFont = base;
    linkFont.setUnderline(true);
    m_link->setFont(linkFont);
    m_link->setCursor(Qt::PointingHandCursor);

    m_imgLogo = addLabel(QStringLiteral("imgLogo"), QString());
    m_imgLogo->setPixmap(QPixmap(QStringLiteral(":/dialogs/imgLogo.png")));
    m_imageEmpresas = addLabel(QStringLiteral("ImageEmpresas"), QString());
    m_imageEmpresas->setPixmap(QPixmap(QStringLiteral(":/dialogs/ImageEmpresas.png")));

    // A raised frame stands in for the title bar's border; it lets every mouse event it does
    // not use through to the window.
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setLineWidth(2);
    frame->setMouseTracking(true);

    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->addWidget(m_imgLogo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(m_lblProductName, 0, 1);
    grid->addWidget(m_lblVersion, 1, 1);
    grid->addWidget(m_lblRev, 2, 1);
    grid->addWidget(m_lblPlatform, 3, 1);
    grid->addWidget(m_lblVersion2, 4, 1);
    grid->addWidget(m_lblCopyright, 5, 0, 1, 2);
    grid->addWidget(m_imageEmpresas, 6, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(m_label1, 6, 1);
    grid->addWidget(m_label16, 7, 1);
    grid->addWidget(m_link, 8, 0, 1, 2);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(frame);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

QColor FormAcerca::linkColor() const
{
    return m_link->palette().color(QPalette::WindowText);
}

void FormAcerca::setLinkColor(const QColor &pColor)
{
    QPalette palette = m_link->palette();
    palette.setColor(QPalette::WindowText, pColor);
    m_link->setPalette(palette);
}

void FormAcerca::pointerOverLink()
{
    if (!m_linkNormal)
        return;
    setLinkColor(kLinkHighlight);
    m_linkNormal = false;
}

void FormAcerca::pointerElsewhere()
{
    if (m_linkNormal)
        return;
    setLinkColor(palette().color(QPalette::ButtonText));
    m_linkNormal = true;
}

void FormAcerca::link_Click()
{
    if (m_shell != nullptr)
        m_shell->openUrl(m_website);
}

bool FormAcerca::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    auto *label = qobject_cast<QLabel *>(pWatched);
    if (label == nullptr || label->parent() == nullptr)
        return QDialog::eventFilter(pWatched, pEvent);

    // Labels and pictures take their own mouse events: a press on one is not a press on the
    // window, and its click is a click on it.
    switch (pEvent->type()) {
    case QEvent::MouseMove:
        if (label == m_link)
            pointerOverLink();
        else
            pointerElsewhere();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(pEvent);
        if (!label->rect().contains(mouse->position().toPoint()))
            return true; // released elsewhere: no click
        if (label == m_link)
            link_Click();
        else
            reject();
        return true;
    }
    default:
        return QDialog::eventFilter(pWatched, pEvent);
    }
}

void FormAcerca::showEvent(QShowEvent *pEvent)
{
    QDialog::showEvent(pEvent);
    if (const QScreen *where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->geometry().center());
        move(frame.topLeft());
    }
}

void FormAcerca::keyPressEvent(QKeyEvent *pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        pEvent->ignore();
        return;
    default:
        reject();
    }
}

void FormAcerca::mousePressEvent(QMouseEvent *)
{
    reject();
}

void FormAcerca::mouseReleaseEvent(QMouseEvent *)
{
    reject();
}

void FormAcerca::mouseMoveEvent(QMouseEvent *)
{
    pointerElsewhere();
}

} // namespace pindrel
