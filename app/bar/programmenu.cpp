#include "bar/programmenu.h"

#include "bar/barbutton.h"
#include "bar/barmenus.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/hookmenu.h"
#include "bar/imagelist.h"
#include "startup/appstate.h"
#include "startup/numberconversion.h"
#include "startup/registry.h"
#include "startup/registryhost.h"
#include "startup/settings.h"

#include "platform/filenamecodec.h"
#include "platform/programicon.h"
#include "platform/shell.h"

#include "txini/clsini.h"

#include <QAction>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace pindrel {

Q_LOGGING_CATEGORY(lcPrograms, "pindrel.programs")

namespace {

constexpr int kPictureSide = HookMenu::kPictureSize;

// A path as the file stores it: bytes that need not be UTF-8 (see filenamecodec.h).
QString storedPath(txini::_clsIni &pIni, int pProgram)
{
    return platform::decodeFileName(
        QByteArray::fromStdString(pIni.getLeerValor(Registry::programSection(pProgram), "PATH")));
}

// A menu caption shows "&" as it stands: a program's name is not a design caption.
QString literalCaption(const QString &pCaption)
{
    QString caption = pCaption;
    return caption.replace(u'&', QStringLiteral("&&"));
}

} // namespace

ProgramMenu::ProgramMenu(AppState &pState, BarMenus &pMenus, HookMenu &pHMenu, ImageList &pImgP,
                         RegistryHost &pHost, QObject *pParent)
    : QObject(pParent)
    , m_state(pState)
    , m_menus(pMenus)
    , m_hMenu(pHMenu)
    , m_imgP(pImgP)
    , m_host(pHost)
    , m_iconLookup(&platform::ProgramIcon::forFile)
{ }

ProgramMenu::~ProgramMenu() = default;

void ProgramMenu::setIconLookup(IconLookup pLookup)
{
    if (pLookup)
        m_iconLookup = std::move(pLookup);
}

QString ProgramMenu::imageKey(int pIndex)
{
    return QStringLiteral("imgProg") + QString::number(pIndex);
}

QAction *ProgramMenu::mProg(int pIndex) const
{
    if (pIndex < 1 || pIndex > entryCount())
        return nullptr;
    return m_entries[static_cast<std::size_t>(pIndex - 1)];
}

void ProgramMenu::removeEntries()
{
    QMenu *mP = m_menus.mP();
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (QAction *action = *entry) {
            mP->removeAction(action);
            // Deleted once control is back in the event loop: a menu may be showing it.
            action->deleteLater();
        }
    }
    m_entries.clear();
}

void ProgramMenu::MostrarProgramas()
{
    const uint64_t rebuild = ++m_rebuild;
    m_host.processPendingMessages();
    if (rebuild != m_rebuild)
        return;
    QAction *anchor = m_menus.entry(QStringLiteral("mProg0"));
    QAction *below = m_menus.entry(QStringLiteral("mPadd"));
    if (anchor == nullptr || below == nullptr)
        return;
    anchor->setVisible(true);

    txini::_clsIni &ini = m_state.ini();
    if (ini.getExisteValor(kSectionGeneral, kKeyProgramCount)) {
        const std::optional<int16_t> count =
            toInteger(ini.getLeerValor(kSectionGeneral, kKeyProgramCount));
        if (!count) {
            // The menu stays as the last rebuild left it, which matches the count kept.
            anchor->setVisible(false);
            return;
        }
        m_state.setProgramCount(*count);
    } else {
        m_state.setProgramCount(0);
    }

    removeEntries();
    const int count = m_state.programCount();
    for (int i = 1; i <= count; ++i) {
        m_host.processPendingMessages();
        if (rebuild != m_rebuild)
            return; // a newer rebuild has made the menu meanwhile
        auto *action = new QAction(literalCaption(QString::fromStdString(
                                       ini.getLeerValor(Registry::programSection(i), "CAPTION"))),
                                   m_menus.mP());
        action->setObjectName(QStringLiteral("mProg") + QString::number(i));
        m_menus.mP()->insertAction(below, action);
        connect(action, &QAction::triggered, this, [this, i] { mProg_Click(i); });
        m_entries.emplace_back(action);

        int16_t index = 0;
        AgregarIconoPrograma(storedPath(ini, i), index);
        if (rebuild != m_rebuild)
            return;
        if (index > 0)
            m_hMenu.setPicture(action, m_imgP.picture(imageKey(index)));
    }
    anchor->setVisible(false);
}

void ProgramMenu::AgregarIconoPrograma(const QString &pPath, int16_t &pIndex)
{
    m_host.processPendingMessages();
    pIndex = 0;
    // The drawing surface starts blank each time: a file without an icon leaves it so.
    QPixmap surface(kPictureSide, kPictureSide);
    surface.fill(Qt::transparent);
    if (trimSpaces(pPath).isEmpty())
        return;
    m_host.processPendingMessages();
    const QIcon icon = m_iconLookup(pPath);
    if (!icon.isNull()) {
        QPainter painter(&surface);
        icon.paint(&painter, QRect(0, 0, kPictureSide, kPictureSide));
    }
    const int position = m_imgP.count() + 1;
    if (position > INT16_MAX || !m_imgP.add(position, imageKey(position), surface))
        return;
    pIndex = static_cast<int16_t>(position);
}

void ProgramMenu::mProg_Click(int pIndex)
{
    m_host.processPendingMessages();
    if (pIndex <= 0)
        return;
    // Read now, not when the menu was built: a path changed in the file starts the new file.
    const QString path = storedPath(m_state.ini(), pIndex);
    platform::Shell *shell = m_state.shell();
    if (shell == nullptr)
        return;
    if (!shell->open(path))
        qCWarning(lcPrograms) << "program" << pIndex << "did not start:" << path;
}

void ProgramMenu::cmdProg_MouseUp(const BarButton &pCmdProg, int pButton)
{
    m_host.processPendingMessages();
    const float left = pCmdProg.leftTwips();
    const float top = m_host.barHeightTwips();
    if (pButton == 1) {
        if (m_state.programCount() > 0)
            m_menus.popup(m_menus.mP(), left, top);
        return;
    }
    m_menus.popup(m_menus.mPadd(), left, top);
}

} // namespace pindrel
