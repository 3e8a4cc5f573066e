#include "drawertoolbar.h"

#include "drawer/tintedicon.h"
#include "drawer/tool.h"
#include "drawer/toolband.h"

#include "platform/themeiconcache.h"

#include <QHash>
#include <QStyle>
#include <QVBoxLayout>

namespace pindrel {

namespace {

struct ToolDefinition
{
    const char *id;
    const char *caption;
    const char *tip;
    Tool::Kind kind;
    bool beginsGroup;
    const char *symbolicIcon; // the theme's one-colour shape, tinted to the window's text
    const char *themeIcon;
    QStyle::StandardPixmap fallbackIcon;
};

// The band's tools, left to right. Captions and tips are the window's own texts, typing slips
// included.
constexpr ToolDefinition kOptionsTools[] = {
    {"ID_Back", "Back", "Go back to last opened folder", Tool::Kind::Button, false,
     "go-previous-symbolic", "go-previous", QStyle::SP_ArrowBack},
    {"ID_Up", "Up", "", Tool::Kind::Button, false, "go-up-symbolic", "go-up",
     QStyle::SP_FileDialogToParent},
    {"ID_Filter", "Filter", "Show/Hide File Filter", Tool::Kind::StateButton, false,
     "edit-find-symbolic", "edit-find", QStyle::SP_FileDialogContentsView},
    {"ID_Home", "Home", "Go to Home folder", Tool::Kind::Button, true, "go-home-symbolic",
     "go-home", QStyle::SP_DirHomeIcon},
    {"ID_NewHome", "NewHome", "Set this folder as New Home", Tool::Kind::Button, false,
     "bookmark-new-symbolic", "bookmark-new", QStyle::SP_DirLinkIcon},
    {"ID_Add", "Add", "Add this folder to Pindrel", Tool::Kind::Button, true, "list-add-symbolic",
     "list-add", QStyle::SP_FileDialogNewFolder},
    {"ID_Explorer", "Open in Explorer", "Open in Explorer", Tool::Kind::Button, true,
     "system-file-manager-symbolic", "system-file-manager", QStyle::SP_DirOpenIcon},
    {"ID_View", "View", "", Tool::Kind::Button, false, "view-grid-symbolic", "view-list-icons",
     QStyle::SP_FileDialogListView},
    {"ID_Top", "Top", "Toogle always on Top", Tool::Kind::StateButton, false, "go-top-symbolic",
     "go-top", QStyle::SP_TitleBarShadeButton},
    {"ID_Close", "Close", "Close this Drawer", Tool::Kind::Button, true, "window-close-symbolic",
     "window-close", QStyle::SP_DialogCloseButton},
};

// The theme's icon of a tool, else the style's. The style's icons are asked of the theme too,
// on every call, so both answers are kept for the windows opened later.
QIcon toolIcon(const ToolDefinition &pDefinition, const QStyle *pStyle)
{
    QIcon icon = platform::ThemeIconCache::themed(QString::fromLatin1(pDefinition.themeIcon));
    if (!icon.isNull())
        return icon;
    static QHash<int, QIcon> styleIcons;
    const auto known = styleIcons.constFind(pDefinition.fallbackIcon);
    if (known != styleIcons.constEnd())
        return *known;
    icon = pStyle->standardIcon(pDefinition.fallbackIcon);
    styleIcons.insert(pDefinition.fallbackIcon, icon);
    return icon;
}

} // namespace

DrawerToolbar::DrawerToolbar(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("iTool"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *band = new ToolBand(QStringLiteral("Options"), this);
    m_bands.append(band);
    layout->addWidget(band);
    for (const ToolDefinition &definition : kOptionsTools) {
        const QIcon icon = toolIcon(definition, style());
        const QIcon shape =
            platform::ThemeIconCache::themed(QString::fromLatin1(definition.symbolicIcon));
        Tool *tool = band->addTool(
            QString::fromLatin1(definition.id), QString::fromLatin1(definition.caption),
            QString::fromLatin1(definition.tip), definition.kind, definition.beginsGroup, icon);
        // triggered comes after Qt has toggled a checkable action and never for a disabled
        // one, nor for a state set by the program.
        connect(tool, &QAction::triggered, this, [this, tool] { emit toolClick(tool); });
        // Only a shape that can be drawn here is tinted (a symbolic icon is an SVG).
        m_shapes.insert(tool, !shape.isNull() && !shape.pixmap(16, 16).isNull() ? shape : icon);
    }
}

void DrawerToolbar::setGlyphColors(const QPalette &pPalette)
{
    const QColor normal = pPalette.color(QPalette::Active, QPalette::ButtonText);
    const QColor disabled = pPalette.color(QPalette::Disabled, QPalette::ButtonText);
    for (auto it = m_shapes.cbegin(); it != m_shapes.cend(); ++it)
        it.key()->setIcon(TintedIcon::make(it.value(), normal, disabled));
}

ToolBand *DrawerToolbar::Bands(const QString &pName) const
{
    for (ToolBand *band : m_bands) {
        if (band->hasName(pName))
            return band;
    }
    return nullptr;
}

Tool *DrawerToolbar::tool(const QString &pBand, const QString &pId) const
{
    const ToolBand *band = Bands(pBand);
    return band != nullptr ? band->Tools(pId) : nullptr;
}

void DrawerToolbar::Refresh()
{
    for (ToolBand *band : std::as_const(m_bands)) {
        const QList<QAction *> actions = band->actions();
        for (QAction *action : actions) {
            if (QWidget *button = band->widgetForAction(action))
                button->update();
        }
        band->update();
    }
    update();
}

} // namespace pindrel
