#pragma once

// Form2: the drawer window, the pop-up that shows one drawer's folder.
//
// The opener creates it, then calls Inicializar (folder, title, drawer number, view) and
// Mostrar, then sets its place and size in twips (setLeftTwips...) and the state of ID_Top, and
// shows it. The window holds the toolbar iTool, the path combo `combo`, the file list fV and the
// hidden "File Filter" frame with the filter box TextFiltro. Its controls are placed in twips in
// the client area under the toolbar, again on every resize: margins of 120 left and right, 60
// under the list, and with the filter shown the frame 60 above the bottom and 60 under the list;
// a window too small for that keeps the previous widths or heights.
//
// Tool commands (one click each, the toolbar has already toggled a two-state tool):
//   ID_Back     back to the folder shown before (history, newest last); disabled below 2 entries
//   ID_Up       the parent folder              ID_Home      the drawer's home folder
//   ID_NewHome  the shown folder becomes the drawer's folder and title (the registry rebuilds
//               the buttons); the window's home stays until the drawer is opened again
//   ID_Add      a new drawer for the shown folder        ID_Explorer  the home folder in the
//   file manager        ID_View  the next view, 4 wraps to 0        ID_Top  always on top or not
//   ID_Filter   shows or hides the filter frame and clears the filter (Pattern "*")
//   ID_Close    closes the window
// After every folder change the folder is appended to the history, ID_Back is enabled from two
// entries on, and ID_Home, ID_NewHome and ID_Add are disabled while the home folder is shown
// (compared trimmed and lower-cased). Typing in the filter sets Pattern to "*" + text + "*.*".
//
// Closing writes WIDTH, HEIGHT, LEFT, TOP (twips), VISIBLE (ID_Top's state) and VIEW, in that
// order, to the drawer's BUTTON<n> section, stores the shown folder as the drawer's last folder
// and empties the drawer's open-window slot; a number outside 0..100 leaves both tables alone.
// The window deletes itself once closed.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QGroupBox;
class QLineEdit;

namespace vexlo {
class CVexloCtrl;
}

namespace pindrel {

namespace platform {
class Shell;
}

class AppState;
class DrawerToolbar;
class FileList;
class Registry;
class Tool;

class Form2 : public QWidget
{
    Q_OBJECT

public:
    // A rectangle in twips, relative to the client area.
    struct TwipsRect
    {
        float left = 0;
        float top = 0;
        float width = 0;
        float height = 0;
    };

    explicit Form2(AppState &pState, QWidget *pParent = nullptr);
    ~Form2() override;

    void Inicializar(const QString &pRuta, const QString &pNombre, int16_t pNro, int16_t pVista);
    void Mostrar();
    // Opacity from the drawer-window setting: below 1 opaque, above 100 taken as 70.
    void AplicarTransparenciaForms();

    // The registry used by ID_NewHome and ID_Add; without one both do nothing.
    void setRegistry(Registry *pRegistry) { m_registry = pRegistry; }
    // The shell object used by ID_Explorer; without one Inicializar creates its own.
    void setShell(platform::Shell *pShell) { m_shell = pShell; }

    // The window's place and size in twips (the opener's Left, Top, Width, Height). A value
    // set here reads back unchanged while the window keeps the pixel value it gave; after a
    // move or resize the pixels are converted.
    float leftTwips() const;
    float topTwips() const;
    float widthTwips() const;
    float heightTwips() const;
    void setLeftTwips(float pValue);
    void setTopTwips(float pValue);
    void setWidthTwips(float pValue);
    void setHeightTwips(float pValue);

    DrawerToolbar *iTool() const { return m_iTool; }
    vexlo::CVexloCtrl *combo() const { return m_combo; }
    FileList *fV() const { return m_fV; }
    QGroupBox *FrameFilter() const { return m_frameFilter; }
    QLineEdit *TextFiltro() const { return m_textFiltro; }
    // The client area the controls are placed in, under the toolbar.
    QWidget *clientArea() const { return m_client; }
    Tool *tool(const QString &pId) const;

    int16_t drawerNumber() const { return m_nro; }
    const QString &homeFolder() const { return m_home; }
    const QStringList &history() const { return m_history; }
    std::optional<uint8_t> opacityByte() const { return m_opacityByte; }

    // Current placements in twips, as the layout left them.
    TwipsRect fVRect() const { return m_fVRect; }
    TwipsRect comboRect() const { return m_comboRect; }
    TwipsRect frameRect() const { return m_frameRect; }
    TwipsRect textRect() const { return m_textRect; }

    // The layout for the client area's current size.
    void Form_Resize();

protected:
    void closeEvent(QCloseEvent *pEvent) override;
    void changeEvent(QEvent *pEvent) override;
    void showEvent(QShowEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void pump();
    void applyColors();
    void applyPlacements();
    void placeFilterFrame(float pClientHeight);
    float clientWidthTwips() const;
    float clientHeightTwips() const;
    enum class Edge { Left, Top, Width, Height };
    float reportedTwips(Edge pEdge, int pPixels, float pTwipsPerPixel) const;
    void setAbove(bool pAbove);
    void Form_Unload();

    void iTool_ToolClick(Tool *pTool);
    void fV_FolderChanged();
    void TextFiltro_Change(const QString &pText);

    AppState &m_state;
    Registry *m_registry = nullptr;
    platform::Shell *m_shell = nullptr;
    std::unique_ptr<platform::Shell> m_ownShell;

    DrawerToolbar *m_iTool = nullptr;
    QWidget *m_client = nullptr;
    vexlo::CVexloCtrl *m_combo = nullptr;
    FileList *m_fV = nullptr;
    QGroupBox *m_frameFilter = nullptr;
    QLineEdit *m_textFiltro = nullptr;

    TwipsRect m_fVRect{120, 480, 6375, 4095};
    TwipsRect m_comboRect{120, 120, 6375, 315};
    TwipsRect m_frameRect{120, 4680, 6375, 735};
    TwipsRect m_textRect{240, 255, 5895, 315};

    int16_t m_nro = 0;
    QString m_home;
    QStringList m_history;
    std::optional<uint8_t> m_opacityByte;
    std::array<std::optional<float>, 4> m_setTwips;
    bool m_comboTied = false;
    bool m_unloaded = false;
};

} // namespace pindrel
