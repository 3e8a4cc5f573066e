#pragma once

// What the two editor dialogs (drawers and programs) share: a fixed dialog with a design
// caption that adds an entry (edit index 0, the mode it loads in) or configures entry n, the
// heading and buttons of EditorFrame, one-line fields, the choosers they browse
// with, and how their validation messages are shown.

#include "dialogs/editorframe.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class QLineEdit;

namespace pindrel {

class AppState;
class FileChooser;
class Registry;

class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    ~EditorDialog() override;

    int16_t editIndex() const { return m_editIndex; }

    // The choosers the dialog's buttons use (not owned); null brings back the system's.
    void setFileChooser(FileChooser *pChooser);
    // How the validation messages are shown; by default a message box with an exclamation
    // icon titled "Pindrel".
    void setExclamation(std::function<void(const QString &)> pShow);

    QPushButton *cmdAceptar() const { return m_frame.cmdAceptar; }
    QPushButton *cmdCancelar() const { return m_frame.cmdCancelar; }
    QLabel *lbltitulo() const { return m_frame.lbltitulo; }
    QLabel *imgAdd() const { return m_frame.imgAdd; }
    QLabel *imgMod() const { return m_frame.imgMod; }

protected:
    EditorDialog(AppState &pState, Registry &pRegistry, const QString &pDesignCaption,
                 QWidget *pParent);

    // A one-line field named pName, wide enough for a path.
    QLineEdit *field(const char *pName);
    // One row of the fields: a label, its field and the button beside it (none for the
    // first row, whose field is then as wide as field and button).
    struct FieldRow
    {
        const char *label;
        QLineEdit *field;
        QPushButton *button;
    };
    // Lays the dialog out around pRows.
    void place(std::initializer_list<FieldRow> pRows);
    // The heading picture, heading and window caption of adding or configuring.
    void showMode(bool pConfigure, const QString &pCaption);

    FileChooser &chooser();
    void exclaim(const QString &pText) { m_showExclamation(pText); }

    AppState &m_state;
    Registry &m_registry;
    int16_t m_editIndex = 0;

private:
    EditorFrame m_frame;
    FileChooser *m_chooser = nullptr;
    std::unique_ptr<FileChooser> m_systemChooser;
    std::function<void(const QString &)> m_showExclamation;
};

} // namespace pindrel
