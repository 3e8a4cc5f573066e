#include "bar/hookmenu.h"

#include "bar/embeddedresources.h"
#include "bar/imagelist.h"
#include "bar/themedpicture.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace pindrel {

namespace {

// The nine design-time pictures: the desktop's icon theme first (freedesktop names), so the
// menus look like the rest of the desktop; our own 16×16 pictures where the theme has none.
struct DesignPicture
{
    const char *entry;
    const char *themeName;
};

constexpr DesignPicture kDesignPictures[] = {
    {"mAbrir", "document-open"},
    {"mAbrirEx", "system-file-manager"},
    {"mNombre", "document-properties"},
    {"mCAdd", "list-add"},
    {"mCAbout", "help-about"},
    {"mCUpdate", "system-software-update"},
    {"mCConf", "preferences-system"},
    {"mCCerrar", "application-exit"},
    {"mPadd2", "list-add"},
};

} // namespace

HookMenu::HookMenu(QObject *pParent)
    : QObject(pParent)
    , m_font(menuFont())
{
    ensureEmbeddedResources();
    for (const DesignPicture &picture : kDesignPictures) {
        const QString entry = QString::fromLatin1(picture.entry);
        m_designPictures.emplace(
            QStringLiteral("#") + entry,
            QIcon(new ThemedPicture(QString::fromLatin1(picture.themeName),
                                    QStringLiteral(":/menu/") + entry + QStringLiteral(".png"))));
    }
}

HookMenu::~HookMenu() = default;

QFont HookMenu::menuFont()
{
    QFont font;
    // Faces of the same build and width, nearest first; fontconfig picks its own match after.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Noto Sans")});
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QIcon HookMenu::designPicture(const QString &pKey) const
{
    const auto found = m_designPictures.find(pKey);
    return found == m_designPictures.end() ? QIcon() : found->second;
}

void HookMenu::setDesignPicture(const QString &pKey, const QIcon &pPicture)
{
    m_designPictures[pKey] = pPicture;
}

void HookMenu::attach(QWidget *pWindow)
{
    m_window = pWindow;
    if (pWindow == nullptr)
        return;
    for (QMenu *menu : pWindow->findChildren<QMenu *>())
        styleMenu(menu);
}

void HookMenu::styleMenu(QMenu *pMenu)
{
    pMenu->setFont(m_font);
    for (QAction *entry : pMenu->actions()) {
        const QIcon picture = designPicture(QStringLiteral("#") + entry->objectName());
        if (!picture.isNull())
            entry->setIcon(picture);
    }
}

void HookMenu::setPicture(QAction *pEntry, const QPixmap &pPicture)
{
    if (pEntry == nullptr)
        return;
    if (pPicture.isNull()) {
        pEntry->setIcon(QIcon());
        return;
    }
    pEntry->setIcon(QIcon(ImageList::squared(pPicture, kPictureSize)));
}

} // namespace pindrel
