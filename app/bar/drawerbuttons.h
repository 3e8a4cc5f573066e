#pragma once

// The rebuild of the drawer buttons (the work of MostrarBotones after its pass of the message
// pump): reloads the drawer count from GRAL CANTBOT, removes every drawer button, refills the
// image list img with the drawers' icons under "icon"<n>, places the add and programs buttons
// and creates one button per drawer in the button style of the settings in memory, left to
// right from the fixed buttons, 60 twips apart, at the template's Top and Height. The add and
// programs buttons side by side take the drawer buttons' Top and Height, so that the row lines
// up. Buttons that do not fit the bar's width go into the overflow button (see
// DrawerOverflow, arrange()).
//
// By style: 0 caption only (tooltip the caption), width caption + 120; 1 caption and the
// drawer's icon, width caption + 120 + the picture's width in hundredths of a millimetre;
// 2 the icon alone (tooltip the caption), a square as wide as the template is high. Any other
// style leaves the button with what it copied from the template and the previous button's
// width (0 for the first). A drawer whose icon is missing, not a picture or unreadable has no
// picture; the drawers after it still get theirs. Nothing is reported.

#include <QPixmap>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace pindrel {

class AppState;
class BarButton;
class CaptionWidths;
class ButtonArray;
class DragTargets;
class DrawerOverflow;
class ImageList;

class DrawerButtons
{
public:
    // Loads the picture a drawer's ICON names (already resolved to a path); a null pixmap when
    // there is none.
    using PictureLoader = std::function<QPixmap(const QString &pPath)>;

    DrawerButtons(AppState &pState, ButtonArray &pCmdB, ImageList &pImg, BarButton &pCmdAdd,
                  BarButton &pCmdProg);
    ~DrawerButtons();

    DrawerButtons(const DrawerButtons &) = delete;
    DrawerButtons &operator=(const DrawerButtons &) = delete;

    // The drop receiver the buttons are registered with; null (the default) for none.
    void setDragTargets(DragTargets *pTargets) { m_dragTargets = pTargets; }
    // Replaces the picture loader (loadPictureFile at the image list's size by default).
    void setPictureLoader(PictureLoader pLoader);

    // Rebuilds the buttons on a bar pInnerHeight twips high inside.
    void rebuild(float pInnerHeight);
    // Fits the buttons of the last rebuild into a bar pBarWidth pixels wide.
    void arrange(int pBarWidth);
    DrawerOverflow &overflow() const { return *m_overflow; }

    // The path an ICON value names: a relative one is taken in the program's folder, where
    // the icons the program ships with live, whatever the current folder is.
    QString iconPath(const QString &pIcon) const;

    static QString iconKey(int pDrawer);

private:
    void removeButtons();
    void loadIcons(int pCount);
    float placeFixedButtons(float pInnerHeight);
    void createButtons(int pCount, float pFirstLeft);
    // The text a drawer's button shows in pStyle.
    static QString shownCaption(int32_t pStyle, const QString &pCaption,
                                const QString &pTemplateCaption);
    QString readValue(int pDrawer, const char *pKey) const;

    AppState &m_state;
    ButtonArray &m_cmdB;
    ImageList &m_img;
    BarButton &m_cmdAdd;
    BarButton &m_cmdProg;
    DragTargets *m_dragTargets = nullptr;
    PictureLoader m_loadPicture;
    std::unique_ptr<CaptionWidths> m_captionWidths; // of the last rebuild
    std::unique_ptr<DrawerOverflow> m_overflow;
};

} // namespace pindrel
