#pragma once

// DrawerOverflow: the bar's answer to more drawer buttons than its width holds. When the last
// drawer button would reach past the bar's right edge, the buttons from the first one that does
// not fit (with room for the overflow button after it) are hidden, and the overflow button "»"
// takes the place of that first one. It lists the hidden drawers with their icons and captions:
// a left click on an entry opens or closes that drawer, a right click shows the drawer menu for
// it, as the drawer's own button would. A button wider on its own than the room the bar has is
// narrowed to that room (its caption is then elided); the next arrangement starts again from
// the widths the buttons were given.

#include <QPointer>

#include <functional>
#include <vector>

class QMenu;
class QWidget;

namespace pindrel {

class BarButton;
class ButtonArray;
class ImageList;

class DrawerOverflow
{
public:
    // What an entry does: pDrawer is the drawer number; pAnchor the overflow button.
    using Toggle = std::function<void(int pDrawer)>;
    using ShowMenu = std::function<void(int pDrawer, const BarButton &pAnchor)>;

    // The overflow button is made as a hidden child of pBar.
    DrawerOverflow(QWidget &pBar, ButtonArray &pCmdB, ImageList &pImg);
    ~DrawerOverflow();

    DrawerOverflow(const DrawerOverflow &) = delete;
    DrawerOverflow &operator=(const DrawerOverflow &) = delete;

    void setToggle(Toggle pToggle) { m_toggle = std::move(pToggle); }
    void setShowMenu(ShowMenu pShow) { m_showMenu = std::move(pShow); }

    // Remembers the widths the drawer buttons have now (just after a rebuild).
    void takeWidths();
    // Shows the buttons that fit in a bar pBarWidth pixels wide and puts the overflow button
    // after them when some do not.
    void arrange(int pBarWidth);

    BarButton &button() const { return *m_button; }
    // The drawers the overflow button lists, in order; empty when all fit.
    const std::vector<int> &hidden() const { return m_hidden; }
    // The list as it pops up: one entry per hidden drawer, its data the drawer number.
    QMenu &menu() const { return *m_menu; }
    // Fills the list and pops it up beside the overflow button (above it when the bar is in
    // the lower half of its screen).
    void showList();

private:
    void fillMenu();

    QWidget &m_bar;
    ButtonArray &m_cmdB;
    ImageList &m_img;
    QPointer<BarButton> m_button;
    QPointer<QMenu> m_menu;
    std::vector<int> m_widths; // pixels, by drawer number
    std::vector<int> m_hidden;
    Toggle m_toggle;
    ShowMenu m_showMenu;
};

} // namespace pindrel
