#pragma once

// The settings dialog "Configure": the bar's appearance on three pages and the program list on
// a fourth (see ProgramListPage), in a tab control ssTab:
//
//   "Main Window"  frame "Visual options": "Height" pvAlto (0..9999 twips), "Visual theme"
//                  ComboTheme, "Position" ComboPos, "Set the opacity of the main window"
//                  slMain (0..100), "Background color" pvColMain; and "Start Pindrel when I
//                  log in" (see AutostartEntry)
//   "Buttons"      frame "Colors": "Type" ComboBut, "Background color" pvColBoton,
//                  "Fore color" pvColFore
//   "Drawers"      frame "Window's options": "Set the opacity of each drawer" slForm,
//                  "Background color" pvColForm
//   "Programs"     the program list, filled each time the page becomes the current one
//
// The controls show the settings in memory when the dialog is made: ComboPos "2.TOP" for a
// position of exactly "TOP", else "1.BOTTOM"; ComboBut ("1.Text only", "2.Text and Icon",
// "3.Icon only") and ComboTheme ("(Nothing)", "Gray scale 1", "Gray scale 2", "Black",
// "XP Style") at the stored number, without a selection for a number outside their rows; the
// sliders and the height box within their ranges.
//
// Ok first writes or removes the autostart entry when the check box changed (a failure is
// reported and keeps the dialog open, with nothing written), then takes the controls into the
// settings in memory and writes them in this order:
// TRANSPARENCIA MAIN, FORM; MAIN POSITION ("BOTTOM" for "1.BOTTOM", else "TOP"); MAIN HEIGHT;
// MAIN BUTTONTYPE and COLORS THEME (the row, -1 without one); COLORS MAIN, BUTTON, FORE, FORM;
// all decimal. Then it applies the colours, docks the bar again when the position or the
// height changed, rebuilds the drawer buttons and closes. Cancel and
// the close box write nothing (changes to the program list are made already).

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace pindrel {

class AppState;
class AutostartEntry;
class FileChooser;
class OleColorCombo;
class ProgramListPage;
class Registry;
class SettingsHost;

class FormConfig : public QDialog
{
    Q_OBJECT

public:
    FormConfig(AppState &pState, Registry &pRegistry, SettingsHost &pHost,
               QWidget *pParent = nullptr);
    ~FormConfig() override;

    // Selects the page pSolapa names, exactly and case-sensitively once trimmed: "main",
    // "buttons", "drawers" or "programs". Anything else, or nothing, leaves the page as it is.
    void Mostrar(const QString &pSolapa = QString());

    void cmdAceptar_Click();
    void cmdCancelar_Click();

    // How the program editor is shown modally; by default QDialog::exec.
    void setDialogRunner(std::function<void(QDialog &)> pRunner);
    // The chooser of the program editor (not owned); null for the system's.
    void setFileChooser(FileChooser *pChooser);
    // Where the autostart entry is; by default the user's, for the running program. The check
    // box takes the entry's state.
    void setAutostartEntry(const AutostartEntry &pEntry);
    // How a failure is reported; by default a message box with an exclamation icon titled
    // "Pindrel".
    void setExclamation(std::function<void(const QString &)> pShow);

    QTabWidget *ssTab() const { return m_ssTab; }
    QSpinBox *pvAlto() const { return m_pvAlto; }
    QComboBox *ComboTheme() const { return m_comboTheme; }
    QComboBox *ComboPos() const { return m_comboPos; }
    QComboBox *ComboBut() const { return m_comboBut; }
    QSlider *slMain() const { return m_slMain; }
    QSlider *slForm() const { return m_slForm; }
    OleColorCombo *pvColMain() const { return m_pvColMain; }
    OleColorCombo *pvColBoton() const { return m_pvColBoton; }
    OleColorCombo *pvColFore() const { return m_pvColFore; }
    OleColorCombo *pvColForm() const { return m_pvColForm; }
    QCheckBox *chkAutostart() const { return m_chkAutostart; }
    ProgramListPage &programs() const { return *m_programs; }
    QPushButton *cmdAceptar() const { return m_cmdAceptar; }
    QPushButton *cmdCancelar() const { return m_cmdCancelar; }
    QLabel *lbltitulo() const { return m_lbltitulo; }

    // "Could not change whether Pindrel starts when you log in."
    static QString autostartFailedMessage();

private:
    QWidget *buildMainPage();
    QWidget *buildButtonsPage();
    QWidget *buildDrawersPage();
    void loadSettings();
    void ssTab_TabChange(int pIndex);
    bool applyAutostart();

    AppState &m_state;
    Registry &m_registry;
    SettingsHost &m_host;
    std::unique_ptr<AutostartEntry> m_autostart;
    bool m_autostartLoaded = false;
    std::function<void(const QString &)> m_showExclamation;

    QTabWidget *m_ssTab = nullptr;
    QSpinBox *m_pvAlto = nullptr;
    QComboBox *m_comboTheme = nullptr;
    QComboBox *m_comboPos = nullptr;
    QComboBox *m_comboBut = nullptr;
    QSlider *m_slMain = nullptr;
    QSlider *m_slForm = nullptr;
    OleColorCombo *m_pvColMain = nullptr;
    OleColorCombo *m_pvColBoton = nullptr;
    OleColorCombo *m_pvColFore = nullptr;
    OleColorCombo *m_pvColForm = nullptr;
    QCheckBox *m_chkAutostart = nullptr;
    ProgramListPage *m_programs = nullptr;
    QPushButton *m_cmdAceptar = nullptr;
    QPushButton *m_cmdCancelar = nullptr;
    QLabel *m_lbltitulo = nullptr;
};

} // namespace pindrel
