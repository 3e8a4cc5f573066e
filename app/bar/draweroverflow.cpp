#include "bar/draweroverflow.h"

#include "bar/barbutton.h"
#include "bar/buttonarray.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/drawerbuttons.h"
#include "bar/imagelist.h"
#include "startup/twips.h"

#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace pindrel {

namespace {

// The list of hidden drawers. A right click on an entry is not a choice of it, as QMenu takes
// it: it asks for the drawer menu instead.
class OverflowMenu final : public QMenu
{
public:
    using RightClick = std::function<void(QAction *pAction)>;

    OverflowMenu(QWidget *pParent, RightClick pRightClick)
        : QMenu(pParent)
        , m_rightClick(std::move(pRightClick))
    { }

protected:
    void mouseReleaseEvent(QMouseEvent *pEvent) override
    {
        if (pEvent->button() == Qt::RightButton) {
            QAction *action = actionAt(pEvent->position().toPoint());
            if (action != nullptr) {
                close();
                m_rightClick(action);
                return;
            }
        }
        QMenu::mouseReleaseEvent(pEvent);
    }

private:
    RightClick m_rightClick;
};

} // namespace

DrawerOverflow::DrawerOverflow(QWidget &pBar, ButtonArray &pCmdB, ImageList &pImg)
    : m_bar(pBar)
    , m_cmdB(pCmdB)
    , m_img(pImg)
{
    m_button = new BarButton(&pBar);
    m_button->setObjectName(QStringLiteral("cmdMore"));
    m_button->setCaption(QStringLiteral("\u00BB"));
    m_button->hide();
    m_menu = new OverflowMenu(&pBar, [this](QAction *pAction) {
        const int drawer = pAction->data().toInt();
        // The drawer's own menu, as its button's right press shows it.
        if (m_showMenu && m_button)
            m_showMenu(drawer, *m_button);
    });
    m_menu->setObjectName(QStringLiteral("mMore"));
    QObject::connect(m_menu.data(), &QMenu::triggered, m_menu.data(), [this](QAction *pAction) {
        if (m_toggle)
            m_toggle(pAction->data().toInt());
    });
    QObject::connect(m_button.data(), &BarButton::clicked, m_button.data(), [this] { showList(); });
}

DrawerOverflow::~DrawerOverflow() = default;

void DrawerOverflow::takeWidths()
{
    m_widths.assign(static_cast<size_t>(m_cmdB.ubound()) + 1, 0);
    for (int n = 1; n <= m_cmdB.ubound(); ++n) {
        if (const BarButton *button = m_cmdB.item(n))
            m_widths[static_cast<size_t>(n)] = button->width();
    }
}

void DrawerOverflow::arrange(int pBarWidth)
{
    m_hidden.clear();
    const BarButton &first = m_cmdB.templateButton();
    const int gap = toPixels(kButtonGap, twipsPerPixel(m_bar.screen()));
    // As the drawer buttons are high, and square.
    const int moreWidth = std::max(first.height(), 1);
    m_button->setGeometry(0, first.y(), moreWidth, first.height());

    std::vector<BarButton *> buttons;
    for (int n = 1; n <= m_cmdB.ubound(); ++n) {
        BarButton *button = m_cmdB.item(n);
        if (button == nullptr)
            continue;
        if (static_cast<size_t>(n) < m_widths.size() && m_widths[static_cast<size_t>(n)] > 0)
            button->resize(m_widths[static_cast<size_t>(n)], button->height());
        buttons.push_back(button);
    }
    if (buttons.empty()) {
        m_button->hide();
        return;
    }
    const int start = buttons.front()->x();
    // Room for one button with the overflow button after it.
    const int room = std::max(1, pBarWidth - start - gap - moreWidth);
    for (BarButton *button : buttons) {
        if (button->width() > room)
            button->resize(room, button->height());
    }
    // Laid out again from the first, in case a button was narrowed.
    int x = start;
    for (BarButton *button : buttons) {
        button->move(x, button->y());
        x += button->width() + gap;
    }
    if (buttons.back()->x() + buttons.back()->width() <= pBarWidth) {
        for (BarButton *button : buttons)
            button->show();
        m_button->hide();
        return;
    }
    int place = start;
    for (size_t i = 0; i < buttons.size(); ++i) {
        BarButton *button = buttons[i];
        const bool fits =
            m_hidden.empty() && button->x() + button->width() + gap + moreWidth <= pBarWidth;
        if (fits) {
            button->show();
            place = button->x() + button->width() + gap;
        } else {
            button->hide();
            m_hidden.push_back(m_cmdB.indexOfHWnd(button->hWnd()));
        }
    }
    m_button->move(place, first.y());
    m_button->setBackColor(first.backColor());
    m_button->setForeColor(first.foreColor());
    m_button->setToolTip(QObject::tr("More drawers"));
    m_button->show();
    m_button->raise();
}

void DrawerOverflow::fillMenu()
{
    m_menu->clear();
    for (const int drawer : m_hidden) {
        const BarButton *button = m_cmdB.item(drawer);
        QAction *action = m_menu->addAction(button != nullptr ? button->toolTip() : QString());
        action->setData(drawer);
        const QPixmap picture = m_img.picture(DrawerButtons::iconKey(drawer));
        if (!picture.isNull())
            action->setIcon(QIcon(picture));
    }
}

void DrawerOverflow::showList()
{
    fillMenu();
    const QPoint below = m_button->mapToGlobal(QPoint(0, m_button->height()));
    const QScreen *screen = m_bar.screen();
    const bool barInLowerHalf =
        screen != nullptr && m_bar.geometry().center().y() > screen->geometry().center().y();
    if (barInLowerHalf) {
        const QPoint above = m_button->mapToGlobal(QPoint(0, 0));
        m_menu->popup(QPoint(above.x(), above.y() - m_menu->sizeHint().height()));
    } else {
        m_menu->popup(below);
    }
}

} // namespace pindrel
