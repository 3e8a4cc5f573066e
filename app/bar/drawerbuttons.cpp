#include "bar/drawerbuttons.h"

#include "bar/barbutton.h"
#include "bar/buttonarray.h"
#include "bar/captionwidths.h"
#include "bar/dragtargets.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/draweroverflow.h"
#include "bar/imagelist.h"
#include "bar/picturefile.h"
#include "startup/appstate.h"
#include "startup/registry.h"
#include "startup/settings.h"
#include "startup/twips.h"

#include "txini/clsini.h"

#include <QDir>
#include <QHash>

#include <utility>
#include <vector>

namespace pindrel {

DrawerButtons::DrawerButtons(AppState &pState, ButtonArray &pCmdB, ImageList &pImg,
                             BarButton &pCmdAdd, BarButton &pCmdProg)
    : m_state(pState)
    , m_cmdB(pCmdB)
    , m_img(pImg)
    , m_cmdAdd(pCmdAdd)
    , m_cmdProg(pCmdProg)
    , m_overflow(std::make_unique<DrawerOverflow>(*pCmdAdd.parentWidget(), pCmdB, pImg))
{
    setPictureLoader({});
}

void DrawerButtons::arrange(int pBarWidth)
{
    m_overflow->arrange(pBarWidth);
}

DrawerButtons::~DrawerButtons() = default;

void DrawerButtons::setPictureLoader(PictureLoader pLoader)
{
    if (pLoader) {
        m_loadPicture = std::move(pLoader);
        return;
    }
    // At the size the list keeps for the bar's screen, read when the picture is loaded.
    m_loadPicture = [&img = m_img](const QString &pPath) {
        return loadPictureFile(pPath, img.deviceSide());
    };
}

QString DrawerButtons::iconKey(int pDrawer)
{
    return QStringLiteral("icon") + QString::number(pDrawer);
}

QString DrawerButtons::iconPath(const QString &pIcon) const
{
    if (pIcon.isEmpty() || QDir::isAbsolutePath(pIcon) || m_state.programFolder().isEmpty())
        return pIcon;
    return QDir(m_state.programFolder()).filePath(pIcon);
}

QString DrawerButtons::readValue(int pDrawer, const char *pKey) const
{
    return QString::fromStdString(
        m_state.ini().getLeerValor(Registry::drawerSection(pDrawer), pKey));
}

void DrawerButtons::rebuild(float pInnerHeight)
{
    m_state.setDrawerCount(readCount(m_state.ini(), kKeyDrawerCount, m_state.drawerCount()));
    const int count = m_state.drawerCount();

    removeButtons();
    m_cmdB.templateButton().hide();
    m_img.clear();
    m_img.setDevicePixelRatio(m_cmdAdd.devicePixelRatioF());
    loadIcons(count);
    const float firstLeft = placeFixedButtons(pInnerHeight);
    createButtons(count, firstLeft);
}

void DrawerButtons::removeButtons()
{
    for (int i = m_cmdB.ubound(); i >= 1; --i) {
        BarButton *button = m_cmdB.item(i);
        if (button == nullptr)
            continue;
        if (m_dragTargets != nullptr)
            m_dragTargets->TerminateDrag(button->hWnd());
        m_cmdB.unload(i);
    }
}

void DrawerButtons::loadIcons(int pCount)
{
    // Positions count only the pictures that loaded, so a broken icon leaves no gap and the
    // drawers after it still get theirs.
    // A picture several drawers use (one of the program's own icons, say) is read once per
    // rebuild; the next rebuild reads it again.
    int position = 1;
    QHash<QString, QPixmap> read;
    for (int n = 1; n <= pCount; ++n) {
        const QString icon = trimSpaces(readValue(n, "ICON"));
        if (icon.isEmpty())
            continue;
        const QString path = iconPath(icon);
        auto found = read.constFind(path);
        if (found == read.constEnd())
            found = read.insert(path, m_loadPicture(path));
        if (m_img.add(position, iconKey(n), *found))
            ++position;
    }
}

float DrawerButtons::placeFixedButtons(float pInnerHeight)
{
    // The choice is made on the design sizes, whatever the last rebuild made of them.
    m_cmdAdd.setTopTwips(0);
    for (BarButton *fixed : {&m_cmdAdd, &m_cmdProg}) {
        fixed->setWidthTwips(kFixedButtonSize);
        fixed->setHeightTwips(kFixedButtonSize);
    }
    const TwipsRect add{m_cmdAdd.leftTwips(), m_cmdAdd.topTwips(), m_cmdAdd.widthTwips(),
                        m_cmdAdd.heightTwips()};
    const TwipsRect prog{m_cmdProg.leftTwips(), m_cmdProg.topTwips(), m_cmdProg.widthTwips(),
                         m_cmdProg.heightTwips()};
    const FixedButtonsPlacement placement = pindrel::placeFixedButtons(add, prog, pInnerHeight);
    m_cmdProg.setLeftTwips(placement.progLeft);
    m_cmdProg.setTopTwips(placement.progTop);
    if (!placement.stacked) {
        // In one row with the drawer buttons, as high as they are; the widths stay.
        const BarButton &first = m_cmdB.templateButton();
        for (BarButton *fixed : {&m_cmdAdd, &m_cmdProg}) {
            fixed->move(fixed->x(), first.y());
            fixed->resize(fixed->width(), first.height());
        }
    }
    // The first drawer goes right of what the programs button really occupies now.
    if (placement.stacked)
        return m_cmdAdd.leftTwips() + m_cmdAdd.widthTwips() + kButtonGap;
    return m_cmdProg.leftTwips() + m_cmdProg.widthTwips() + kButtonGap;
}

QString DrawerButtons::shownCaption(int32_t pStyle, const QString &pCaption,
                                    const QString &pTemplateCaption)
{
    switch (static_cast<ButtonStyle>(pStyle)) {
    case ButtonStyle::TextOnly:
    case ButtonStyle::TextAndIcon:
        return pCaption;
    case ButtonStyle::IconOnly:
        return QString();
    }
    return pTemplateCaption; // a style the bar does not know leaves what the template had
}

void DrawerButtons::createButtons(int pCount, float pFirstLeft)
{
    const BarButton &first = m_cmdB.templateButton();
    const float tpp = twipsPerPixel(m_cmdAdd.screen());
    const int32_t style = m_state.settings().buttonStyle;
    float left = pFirstLeft;
    float width = 0; // kept from one button to the next for styles the bar does not know

    // The captions are read first and measured (in the template's font, which every button
    // copies) while the buttons are made.
    std::vector<QString> captions(static_cast<size_t>(std::max(pCount, 0)) + 1);
    std::vector<QString> shown(captions.size());
    for (int n = 1; n <= pCount; ++n) {
        const auto index = static_cast<size_t>(n);
        captions[index] = readValue(n, "CAPTION");
        shown[index] = shownCaption(style, captions[index], first.caption());
    }
    // Kept until the next rebuild, so that nobody waits here for the thread to wind down.
    m_captionWidths = std::make_unique<CaptionWidths>(first.font(), shown, tpp);
    CaptionWidths &widths = *m_captionWidths;

    // First every button with its look, then (the widths measured) their places, left to right.
    std::vector<std::pair<size_t, BarButton *>> made;
    made.reserve(captions.size());
    for (int n = 1; n <= pCount; ++n) {
        BarButton *button = m_cmdB.load(n);
        if (button == nullptr)
            continue;
        const auto index = static_cast<size_t>(n);
        switch (static_cast<ButtonStyle>(style)) {
        case ButtonStyle::TextOnly:
            button->setCaption(captions[index]);
            button->setToolTip(captions[index]);
            button->setPicture({});
            break;
        case ButtonStyle::TextAndIcon:
        case ButtonStyle::IconOnly:
            button->setCaption(shown[index]);
            button->setToolTip(captions[index]);
            // The images were loaded just before under each drawer's key; a drawer without an
            // icon, or whose icon did not load, has none there: no picture.
            button->setPicture(m_img.picture(iconKey(n)));
            break;
        }
        button->setTopTwips(first.topTwips());
        button->setHeightTwips(first.heightTwips());
        made.emplace_back(index, button);
    }

    for (const auto &[index, button] : made) {
        const std::optional<float> styled = drawerButtonWidth(
            style, widths.at(index), button->pictureWidthHimetric(), first.heightTwips());
        if (styled)
            width = *styled;
        button->setLeftTwips(left);
        button->setWidthTwips(width);
        button->show();
        if (m_dragTargets != nullptr)
            m_dragTargets->InitDrag(button->hWnd());
        left += button->widthTwips() + kButtonGap;
    }
    m_overflow->takeWidths();
}

} // namespace pindrel
