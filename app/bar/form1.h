#pragma once

// The bar: a frameless, top-most window as wide as the screen, docked at the top or bottom edge
// as an app bar. It runs the program's start sequence and its unload step, owns the shared
// state for the whole run, and hosts the drawer buttons and the bar's menus.

#include "startup/registryhost.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QPushButton;

namespace pindrel {

class AppState;
class QuestionAsker;
class Registry;

namespace platform {
class AppBarService;
class Shell;
class SingleInstance;
struct AppBarData;
} // namespace platform

class Form1 : public QWidget, public RegistryHost
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

    // Placement and appearance.
    void RegistrarBarra(int32_t pEdge);
    void QuitarBarra();
    void RestaurarAreaTrabajo();
    void AplicarTransparenciaMain();
    void AplicarColoresMain();
    void SetTheme();

    // RegistryHost
    void MostrarBotones() override;
    void MostrarProgramas() override;
    float barHeightTwips() const override;
    void showExclamation(const QString &pText) override;
    void processPendingMessages() override;

    // "Close Pindrel": unloads the bar and ends the program at once.
    void mCCerrar_Click();

    QMenu *mC() const { return m_mC; }
    QPushButton *cmdAdd() const { return m_cmdAdd; }
    QPushButton *cmdProg() const { return m_cmdProg; }
    QPushButton *cmdBTemplate() const { return m_cmdB0; }
    const QPixmap &bgPic() const { return m_bgPic; }
    bool isRegistered() const { return m_registered; }
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

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;

private:
    void buildMenus();
    void applyBarGeometryTwips(float pLeft, float pTop, float pWidth, float pHeight);
    void PintarMosaico();
    void bringToFront();
    void startUpdater(const QString &pArgument);

    AppState &m_state;
    std::unique_ptr<Registry> m_registry;
    std::unique_ptr<platform::AppBarService> m_appBar;
    std::unique_ptr<platform::AppBarData> m_appBarData;
    std::unique_ptr<platform::SingleInstance> m_instance;
    std::function<QString()> m_configLocator;
    QuestionAsker *m_questionAsker = nullptr;
    std::function<QString(int)> m_specialFolderLookup;
    bool m_registered = false;
    std::optional<uint8_t> m_opacityByte;

    QPixmap m_bgPic;
    QPushButton *m_cmdAdd = nullptr;
    QPushButton *m_cmdProg = nullptr;
    QPushButton *m_cmdB0 = nullptr;
    QMenu *m_mC = nullptr;
};

} // namespace pindrel
