#pragma once

// The bar's pop-up menus and the commands of the drawer menu m and the bar menu mC.
//
// Menus, in order ("-" a separator):
//   m      mAbrir "Open in Drawer", mOcultar "Hide Drawer" (hidden at first), mAbrirEx
//          "Open in Explorer", mL1 -, mNombre "Configure...", mL2 -, mCerrar "Delete"
//   mC     mCAdd "Add Drawer...", mCL1 -, mCAbout "About Pindrel", mCWeb "Visit our website",
//          mCUpdate "Check for updates now...", mCL3 -, mCConf "Configure...", mCL2 -,
//          mCCerrar "Close Pindrel"
//   mP     mProg(0) (empty caption, hidden; the program entries go below it), then mPadd, a
//          hidden entry whose own menu pops up by itself
//   mPadd  mPadd2 "Add program...", mPlinea1 -, mPconfig "Configure..."
// Each entry is a QAction named as listed; the pictures come from hMenu (HookMenu) when it is
// attached to the bar.
//
// mPadd's "Add program..." opens the program editor in add mode (it rebuilds the program menu
// itself when it saves); mPadd's and mC's "Configure..." open the settings dialog, on its
// "programs" page and on its first page, and then apply the theme and the opacity again.
//
// The drawer number of m is its tag, written when a drawer button opens the menu. Every
// command of m reads it back trimmed of spaces as a 16-bit number, and does nothing when it
// does not convert or is negative. Every command first lets pending messages run; failures are
// passed over in silence. Dialogs are shown modally through the dialog runner (exec() by
// default), which tests replace to drive the dialog instead.

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace pindrel {

class AppState;
class BarButton;
class BarMenuHost;
class FileChooser;
class Registry;
class SettingsHost;

class BarMenus : public QObject
{
    Q_OBJECT

public:
    // The menus belong to pBar, which is also where they pop up and the dialogs' owner.
    BarMenus(AppState &pState, Registry &pRegistry, BarMenuHost &pHost, QWidget *pBar);
    ~BarMenus() override;

    QMenu *m() const { return m_m; }
    QMenu *mC() const { return m_mC; }
    QMenu *mP() const { return m_mP; }
    QMenu *mPadd() const { return m_mPadd; }
    // The entry named pName ("mCAdd", "mProg0"), null when there is none.
    QAction *entry(const QString &pName) const;

    const QString &tag() const { return m_tag; }
    void setTag(const QString &pTag) { m_tag = pTag; }
    // The drawer number the tag names: empty when it does not convert or is negative.
    std::optional<int16_t> tagDrawer() const;

    // A right press on drawer button pIndex: the tag, "Open in Drawer" or "Hide Drawer" by the
    // drawer's state, and m at the button's bottom-left corner.
    void showDrawerMenu(int16_t pIndex, const BarButton &pButton);
    // mC at a point of the bar, in twips of the bar's own coordinates.
    void showBarMenu(float pX, float pY);
    // A click on the add button: mC at (the add button's Left, the bar's Height).
    void cmdAdd_Click(const BarButton &pCmdAdd);
    // Pops up pMenu at a point of the bar, in twips of the bar's own coordinates.
    void popup(QMenu *pMenu, float pX, float pY);

    // Commands of m.
    void mAbrir_Click();
    void mOcultar_Click();
    void mAbrirEx_Click();
    void mNombre_Click();
    void mCerrar_Click();
    // Commands of mC.
    void mCAdd_Click();
    void mCAbout_Click();
    void mCWeb_Click();
    void mCUpdate_Click();
    void mCConf_Click();
    void mCCerrar_Click();
    // Commands of mPadd.
    void mPadd2_Click();
    void mPconfig_Click();

    // How a dialog is shown modally; by default QDialog::exec.
    void setDialogRunner(std::function<void(QDialog &)> pRunner);
    void runDialog(QDialog &pDialog) { m_runDialog(pDialog); }
    // The choosers the drawer editor uses (not owned); null for the system's.
    void setFileChooser(FileChooser *pChooser) { m_fileChooser = pChooser; }
    // What the settings dialog applies its Ok to (not owned). Without one the "Configure..."
    // entries show no dialog and only apply the theme and the opacity again.
    void setSettingsHost(SettingsHost *pHost) { m_settingsHost = pHost; }
    // Shows the settings dialog modally on the page pSolapa names (see FormConfig::Mostrar),
    // then applies the theme and the opacity again.
    void runSettingsDialog(const QString &pSolapa);

private:
    void buildMenus();
    QAction *addEntry(QMenu *pMenu, const char *pName, const QString &pCaption,
                      void (BarMenus::*pHandler)() = nullptr);
    void runDrawerEditor(std::optional<int16_t> pIndex);

    AppState &m_state;
    Registry &m_registry;
    BarMenuHost &m_host;
    QWidget *m_bar;
    QString m_tag;
    std::function<void(QDialog &)> m_runDialog;
    SettingsHost *m_settingsHost = nullptr;
    FileChooser *m_fileChooser = nullptr;

    QMenu *m_m = nullptr;
    QMenu *m_mC = nullptr;
    QMenu *m_mP = nullptr;
    QMenu *m_mPadd = nullptr;
};

} // namespace pindrel
