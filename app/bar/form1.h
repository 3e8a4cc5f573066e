#pragma once

// The bar: a frameless, top-most window as wide as the screen, docked at the top or bottom edge
// as an app bar. It runs the program's start sequence and its unload step, owns the shared
// state for the whole run, and hosts the drawer buttons and the bar's menus.

#include "bar/barmenuhost.h"
#include "bar/imagelist.h"
#include "dialogs/settingshost.h"

#include "platform/appbar.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace pindrel {

class AppState;
class BarButton;
class BarDrops;
class BarDock;
class BarMenus;
class ButtonArray;
class DragTargets;
class DrawerButtons;
class DrawerOpener;
class HookMenu;
class ProgramMenu;
class QuestionAsker;
class Registry;

namespace platform {
class AppBarService;
class MonitorWatcher;
class Shell;
class SingleInstance;
} // namespace platform

class Form1 : public QWidget, public BarMenuHost, public SettingsHost
{
    Q_OBJECT

public:
    explicit Form1(AppState &pState, QWidget *pParent = nullptr);
    ~Form1() override;

    // The start sequence. False when another copy already runs: this copy must end at once,
    // having written nothing.
    bool Form_Load();
    // The unload step: work area back, drawer count written, app bar removed.
    void Form_Unload();

    // Placement and appearance. The bar sits on the primary monitor, as wide as it and as high
    // as the bar height setting bounded to what can be used (see boundedBarHeight; the stored
    // value is left as it is).
    void RegistrarBarra(int32_t pEdge);
    void QuitarBarra();
    void RestaurarAreaTrabajo();
    void AplicarTransparenciaMain() override;
    void AplicarColoresMain() override;
    void SetTheme() override;
    // Docks the bar again from the settings in memory: gives the old band back, sizes the bar
    // for the primary monitor and the bar height, and registers it at the position's edge.
    // Runs by itself whenever the monitors change.
    // Also after the settings dialog changed the position or the height.
    void redock() override;

    // RegistryHost, BarMenuHost and SettingsHost
    // Rebuilds the drawer buttons (see DrawerButtons) after one pass of the message pump.
    void MostrarBotones() override;
    // Rebuilds the program menu (see ProgramMenu).
    void MostrarProgramas() override;
    float barHeightTwips() const override;
    void showExclamation(const QString &pText) override;
    void processPendingMessages() override;
    // Opens drawer pIndex's window at its place, or closes it when open (see DrawerOpener).
    void AlternarCajon(int16_t pIndex) override;
    void startUpdater(const QString &pArgument) override;
    // "Close Pindrel": unloads the bar and ends the program at once.
    void mCCerrar_Click() override;

    // The drawer buttons' mouse events (pIndex the drawer number): Shift + left press opens
    // the drawer's folder in the file manager, a right press shows the drawer menu, a left
    // release without Shift, Ctrl or Alt opens or closes the drawer. Everything else does
    // nothing.
    void cmdB_MouseDown(int pIndex, int pButton, int pShift, float pX, float pY);
    void cmdB_MouseUp(int pIndex, int pButton, int pShift, float pX, float pY);

    QMenu *mC() const;
    BarMenus &menus() const { return *m_menus; }
    BarButton *cmdAdd() const { return m_cmdAdd; }
    BarButton *cmdProg() const { return m_cmdProg; }
    ButtonArray &cmdB() const { return *m_cmdB; }
    BarButton *cmdBTemplate() const;
    ImageList &img() { return m_img; }
    ImageList &imgP() { return m_imgP; }
    HookMenu &hMenu() const { return *m_hMenu; }
    DrawerButtons &drawerButtons() const { return *m_drawerButtons; }
    DrawerOpener &drawerOpener() const { return *m_drawerOpener; }
    // Files dropped on the bar (cDrag and its handler); null before Form_Load's step 5.
    BarDrops *drops() const { return m_drops; }
    ProgramMenu &programMenu() const { return *m_programMenu; }
    const QPixmap &bgPic() const { return m_bgPic; }
    bool isRegistered() const;
    // The bar's rectangle in device pixels, as it was last placed.
    platform::AppBarRect deviceGeometry() const { return m_deviceGeometry; }
    // The opacity byte last applied; nullopt while the bar is not translucent.
    std::optional<uint8_t> opacityByte() const { return m_opacityByte; }
    Registry &registry() { return *m_registry; }
    AppState &state() { return m_state; }

    // What the start sequence asks of the outside world, replaceable before Form_Load (tests
    // and other hosts): the app-bar service, where config.ini lives (asked only after the
    // single-instance check, since finding out may probe the program's folder), who answers
    // the first-run question (not owned) and the special folders for its drawers.
    void setAppBarService(std::unique_ptr<platform::AppBarService> pService);
    void setConfigLocator(std::function<QString()> pLocator);
    void setQuestionAsker(QuestionAsker *pAsker);
    void setSpecialFolderLookup(std::function<QString(int)> pLookup);
    // How the exclamation message boxes are shown (the drawer limit); by default a message
    // box titled "Pindrel" with an exclamation icon.
    void setExclamationHandler(std::function<void(const QString &)> pShow);
    // The drop receiver the drawer buttons register with (not owned); none by default.
    void setDragTargets(DragTargets *pTargets);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;

private:
    // Steps 9 and 10 of the start: the bar across the primary monitor's top, the template
    // button as high as the bar allows.
    void sizeBar();
    void placeDevice(const platform::AppBarRect &pRect);
    void correctDeviceGeometry();
    void dockAtPosition();
    void PintarMosaico();
    void bringToFront();

    AppState &m_state;
    std::unique_ptr<Registry> m_registry;
    std::unique_ptr<BarDock> m_dock;
    std::unique_ptr<platform::MonitorWatcher> m_monitorWatcher;
    platform::AppBarRect m_deviceGeometry;
    platform::AppBarRect m_sizedForMonitor; // the monitor the last sizeBar() measured
    std::unique_ptr<platform::SingleInstance> m_instance;
    std::function<QString()> m_configLocator;
    QuestionAsker *m_questionAsker = nullptr;
    std::function<QString(int)> m_specialFolderLookup;
    std::optional<uint8_t> m_opacityByte;

    std::function<void(const QString &)> m_showExclamation;

    QPixmap m_bgPic;
    BarButton *m_cmdAdd = nullptr;
    BarButton *m_cmdProg = nullptr;
    ButtonArray *m_cmdB = nullptr;
    ImageList m_img;
    ImageList m_imgP;
    HookMenu *m_hMenu = nullptr;
    BarMenus *m_menus = nullptr;
    ProgramMenu *m_programMenu = nullptr;
    std::unique_ptr<DrawerButtons> m_drawerButtons;
    std::unique_ptr<DrawerOpener> m_drawerOpener;
    BarDrops *m_drops = nullptr;
};

} // namespace pindrel
