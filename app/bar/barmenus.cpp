#include "bar/barmenus.h"

#include "bar/barbutton.h"
#include "bar/barmenuhost.h"
#include "bar/drawerbuttonlayout.h"
#include "dialogs/buildinfo.h"
#include "dialogs/form3.h"
#include "dialogs/form4.h"
#include "dialogs/formacerca.h"
#include "dialogs/formconfig.h"
#include "startup/appstate.h"
#include "startup/numberconversion.h"
#include "startup/registry.h"
#include "startup/twips.h"

#include "platform/shell.h"

#include "txini/clsini.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace pindrel {

BarMenus::BarMenus(AppState &pState, Registry &pRegistry, BarMenuHost &pHost, QWidget *pBar)
    : QObject(pBar)
    , m_state(pState)
    , m_registry(pRegistry)
    , m_host(pHost)
    , m_bar(pBar)
    , m_runDialog([](QDialog &pDialog) { pDialog.exec(); })
{
    buildMenus();
}

BarMenus::~BarMenus() = default;

QAction *BarMenus::addEntry(QMenu *pMenu, const char *pName, const QString &pCaption,
                            void (BarMenus::*pHandler)())
{
    QAction *action =
        pCaption == QLatin1String("-") ? pMenu->addSeparator() : pMenu->addAction(pCaption);
    action->setObjectName(QString::fromLatin1(pName));
    if (pHandler != nullptr)
        connect(action, &QAction::triggered, this, pHandler);
    return action;
}

void BarMenus::buildMenus()
{
    m_m = new QMenu(m_bar);
    m_m->setObjectName(QStringLiteral("m"));
    addEntry(m_m, "mAbrir", QStringLiteral("Open in Drawer"), &BarMenus::mAbrir_Click);
    addEntry(m_m, "mOcultar", QStringLiteral("Hide Drawer"), &BarMenus::mOcultar_Click)
        ->setVisible(false);
    addEntry(m_m, "mAbrirEx", QStringLiteral("Open in Explorer"), &BarMenus::mAbrirEx_Click);
    addEntry(m_m, "mL1", QStringLiteral("-"));
    addEntry(m_m, "mNombre", QStringLiteral("Configure..."), &BarMenus::mNombre_Click);
    addEntry(m_m, "mL2", QStringLiteral("-"));
    addEntry(m_m, "mCerrar", QStringLiteral("Delete"), &BarMenus::mCerrar_Click);

    m_mC = new QMenu(m_bar);
    m_mC->setObjectName(QStringLiteral("mC"));
    addEntry(m_mC, "mCAdd", QStringLiteral("Add Drawer..."), &BarMenus::mCAdd_Click);
    addEntry(m_mC, "mCL1", QStringLiteral("-"));
    addEntry(m_mC, "mCAbout", QStringLiteral("About Pindrel"), &BarMenus::mCAbout_Click);
    addEntry(m_mC, "mCWeb", QStringLiteral("Visit our website"), &BarMenus::mCWeb_Click);
    addEntry(m_mC, "mCUpdate", QStringLiteral("Check for updates now..."),
             &BarMenus::mCUpdate_Click);
    addEntry(m_mC, "mCL3", QStringLiteral("-"));
    addEntry(m_mC, "mCConf", QStringLiteral("Configure..."), &BarMenus::mCConf_Click);
    addEntry(m_mC, "mCL2", QStringLiteral("-"));
    addEntry(m_mC, "mCCerrar", QStringLiteral("Close Pindrel"), &BarMenus::mCCerrar_Click);

    // The program menu's structure; ProgramMenu puts the program entries below mProg0.
    m_mP = new QMenu(m_bar);
    m_mP->setObjectName(QStringLiteral("mP"));
    addEntry(m_mP, "mProg0", QString())->setVisible(false);
    m_mPadd = new QMenu(m_mP);
    m_mPadd->setObjectName(QStringLiteral("mPadd"));
    QAction *padd = m_mP->addMenu(m_mPadd);
    padd->setObjectName(QStringLiteral("mPadd"));
    padd->setVisible(false);
    addEntry(m_mPadd, "mPadd2", QStringLiteral("Add program..."), &BarMenus::mPadd2_Click);
    addEntry(m_mPadd, "mPlinea1", QStringLiteral("-"));
    addEntry(m_mPadd, "mPconfig", QStringLiteral("Configure..."), &BarMenus::mPconfig_Click);
}

QAction *BarMenus::entry(const QString &pName) const
{
    for (QMenu *menu : {m_m, m_mC, m_mP, m_mPadd}) {
        for (QAction *action : menu->actions()) {
            if (action->objectName() == pName)
                return action;
        }
    }
    return nullptr;
}

std::optional<int16_t> BarMenus::tagDrawer() const
{
    const QString trimmed = trimSpaces(m_tag);
    if (trimmed.isEmpty())
        return std::nullopt;
    const std::optional<int16_t> number = toInteger(trimmed.toStdString());
    if (!number || *number < 0)
        return std::nullopt;
    return number;
}

void BarMenus::setDialogRunner(std::function<void(QDialog &)> pRunner)
{
    if (pRunner)
        m_runDialog = std::move(pRunner);
}

// ---- pop-ups -------------------------------------------------------------------------------

void BarMenus::popup(QMenu *pMenu, float pX, float pY)
{
    // Twips of the bar to the screen; the window system moves a menu that would leave it.
    const float tpp = twipsPerPixel(m_bar->screen());
    pMenu->popup(m_bar->mapToGlobal(QPoint(toPixels(pX, tpp), toPixels(pY, tpp))));
}

void BarMenus::showDrawerMenu(int16_t pIndex, const BarButton &pButton)
{
    m_tag = QString::number(pIndex);
    const bool open = pIndex >= 0 && static_cast<std::size_t>(pIndex) < AppState::kTableSize
        && !m_state.openDrawers()[static_cast<std::size_t>(pIndex)].isNull();
    entry(QStringLiteral("mOcultar"))->setVisible(open);
    entry(QStringLiteral("mAbrir"))->setVisible(!open);
    popup(m_m, pButton.leftTwips(), pButton.topTwips() + pButton.heightTwips());
}

void BarMenus::showBarMenu(float pX, float pY)
{
    popup(m_mC, pX, pY);
}

void BarMenus::cmdAdd_Click(const BarButton &pCmdAdd)
{
    popup(m_mC, pCmdAdd.leftTwips(), m_host.barHeightTwips());
}

// ---- the drawer menu -----------------------------------------------------------------------

void BarMenus::mAbrir_Click()
{
    m_host.processPendingMessages();
    if (const std::optional<int16_t> drawer = tagDrawer())
        m_host.AlternarCajon(*drawer);
}

void BarMenus::mOcultar_Click()
{
    // Offered only while the drawer is open: the same toggle closes it.
    mAbrir_Click();
}

void BarMenus::mAbrirEx_Click()
{
    m_host.processPendingMessages();
    const std::optional<int16_t> drawer = tagDrawer();
    if (!drawer)
        return;
    const std::string path = m_state.ini().getLeerValor(Registry::drawerSection(*drawer), "PATH");
    if (platform::Shell *shell = m_state.shell())
        shell->open(QString::fromStdString(path));
}

void BarMenus::runDrawerEditor(std::optional<int16_t> pIndex)
{
    Form3 editor(m_state, m_registry, m_bar);
    editor.setFileChooser(m_fileChooser);
    if (pIndex)
        editor.Inicializar(*pIndex);
    m_runDialog(editor);
}

void BarMenus::mNombre_Click()
{
    m_host.processPendingMessages();
    const std::optional<int16_t> drawer = tagDrawer();
    if (!drawer)
        return;
    runDrawerEditor(*drawer);
    // Whatever the user chose, the drawer's next opening starts at its own folder again.
    if (static_cast<std::size_t>(*drawer) < AppState::kTableSize)
        m_state.lastFolders()[static_cast<std::size_t>(*drawer)] =
            QString::fromLatin1(AppState::kNoFolder);
    m_host.MostrarBotones();
}

void BarMenus::mCerrar_Click()
{
    m_host.processPendingMessages();
    const std::optional<int16_t> drawer = tagDrawer();
    if (!drawer || *drawer <= 0)
        return;
    m_registry.EliminarBoton(*drawer, 1);
}

// ---- the bar menu --------------------------------------------------------------------------

void BarMenus::mCAdd_Click()
{
    m_host.processPendingMessages();
    if (m_state.drawerCount() >= AppState::kMaximumDrawers) {
        m_host.showExclamation(Registry::drawerLimitMessage());
        return;
    }
    runDrawerEditor(std::nullopt);
    m_host.MostrarBotones();
}

void BarMenus::mCAbout_Click()
{
    m_host.processPendingMessages();
    FormAcerca about(m_state.shell(), programVersion(), websiteUrl(), m_bar);
    m_runDialog(about);
}

void BarMenus::mCWeb_Click()
{
    m_host.processPendingMessages();
    if (platform::Shell *shell = m_state.shell())
        shell->openUrl(websiteUrl());
}

void BarMenus::mCUpdate_Click()
{
    m_host.processPendingMessages();
    m_host.startUpdater(QStringLiteral("/CheckNow"));
}

void BarMenus::mCConf_Click()
{
    m_host.processPendingMessages();
    runSettingsDialog(QString());
}

void BarMenus::runSettingsDialog(const QString &pSolapa)
{
    if (m_settingsHost != nullptr) {
        FormConfig settings(m_state, m_registry, *m_settingsHost, m_bar);
        settings.setDialogRunner(m_runDialog);
        settings.setFileChooser(m_fileChooser);
        settings.Mostrar(pSolapa);
        m_runDialog(settings);
    }
    m_host.SetTheme();
    m_host.AplicarTransparenciaMain();
}

void BarMenus::mCCerrar_Click()
{
    m_host.processPendingMessages();
    m_host.mCCerrar_Click();
}

// ---- the companion of the program menu -----------------------------------------------------

void BarMenus::mPadd2_Click()
{
    m_host.processPendingMessages();
    Form4 editor(m_state, m_registry, m_bar);
    editor.setFileChooser(m_fileChooser);
    editor.Inicializar(0);
    m_runDialog(editor);
}

void BarMenus::mPconfig_Click()
{
    m_host.processPendingMessages();
    runSettingsDialog(QStringLiteral("programs"));
}

} // namespace pindrel
