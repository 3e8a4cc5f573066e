#pragma once

// The program editor: a small fixed dialog in which the user enters or changes a program of
// the program menu, its name and the file to start.
//
// Two modes: add (edit index 0, the mode it loads in) and configure program n (Inicializar(n)).
// Inicializar shows the matching heading picture, sets heading and window caption to
// "Add program" or "Configure program" and fills the two fields from CAPTION and PATH of
// section PROGRAM<n> (for 0 that section does not exist: the fields stay empty). Without
// Inicializar the dialog keeps its design caption ("Add program") and empty fields.
//
// Ok checks, in this order, that the name is not empty once trimmed of spaces ("Please
// complete program's name."), that the path is not ("Please complete the path.") and that the
// trimmed path names an existing regular file that config.ini can hold (no line break in its
// name) ("Can't find the file." and "Please, check the path is correct." on two lines); each
// message puts the focus in its field and keeps the dialog open. Then it hands the two texts
// exactly as typed to ModificarPrograma(n, ...) or AgregarPrograma(...) with a rebuild of the
// program menu, and closes. Cancel and the close box write nothing.
//
// "Change" opens a file ("Select a Program", filters in the order of programFilters(), the
// first selected) in the folder of the file the path names, or in the program's own folder
// when it names none. The chosen path trimmed of spaces replaces the path; cancelling keeps
// what the user had typed.

#include "dialogs/editordialog.h"

#include <QList>
#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pindrel {

class AppState;
class Registry;
struct FileFilter;

class Form4 : public EditorDialog
{
    Q_OBJECT

public:
    Form4(AppState &pState, Registry &pRegistry, QWidget *pParent = nullptr);
    ~Form4() override;

    void Inicializar(int16_t pIndex);

    // The program chooser's filters: programs (executables and launchers), exe, bat, all files.
    static QList<FileFilter> programFilters();
    // True for a path that names an existing regular file (symbolic links followed).
    static bool fileExists(const QString &pPath);

    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void cmdRuta_Click();

    QLineEdit *TextTitulo() const { return m_textTitulo; }
    QLineEdit *TextRuta() const { return m_textRuta; }
    QPushButton *cmdRuta() const { return m_cmdRuta; }

private:
    void buildControls();
    QString startFolder() const;

    QLineEdit *m_textTitulo = nullptr;
    QLineEdit *m_textRuta = nullptr;
    QPushButton *m_cmdRuta = nullptr;
};

} // namespace pindrel
