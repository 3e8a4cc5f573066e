#pragma once

// The drawer editor: a small fixed dialog in which the user enters or changes a drawer's title,
// folder and icon file.
//
// Two modes: add (edit index 0, the mode it loads in) and configure drawer n (Inicializar(n)).
// Inicializar shows the matching heading picture, sets heading and window caption to
// "Add drawer" or "Configure drawer" and fills the three fields from CAPTION, PATH and ICON of
// section BUTTON<n> (for 0 that section does not exist: the fields stay empty). Without
// Inicializar the dialog keeps its design captions ("Add Drawer") and empty fields.
//
// Ok checks that title and folder are not empty once trimmed of spaces, and otherwise shows
// "Please complete drawer's title." or "Please complete the path." and puts the focus in that
// field, staying open. Then it hands the three texts exactly as typed to ModificarBoton(n, ...)
// or AgregarBoton(...), without a rebuild (its opener rebuilds after it closes), and closes,
// also when AgregarBoton refused at the drawer limit. Neither the folder's existence nor the
// icon is checked. Cancel and the close box write nothing.
//
// "Change" browses for a folder ("Select a folder", folders only): the chosen path, cut at a
// NUL and to 255 characters, replaces the folder; cancelling empties it. "Select" opens a file
// ("Select an Icon file", starting in icons/ of the program's folder, filters in the order of
// iconFilters()): the chosen path trimmed of spaces replaces the icon; cancelling, or a path
// longer than the 255 characters the field takes, empties it.

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

class Form3 : public EditorDialog
{
    Q_OBJECT

public:
    static constexpr int kMaximumPathLength = 255;

    Form3(AppState &pState, Registry &pRegistry, QWidget *pParent = nullptr);
    ~Form3() override;

    void Inicializar(int16_t pIndex);

    // The icon chooser's filters: ico, bmp, gif, jpg, all files.
    static QList<FileFilter> iconFilters();

    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void cmdRuta_Click();
    void cmdIcon_Click();

    QLineEdit *TextTitulo() const { return m_textTitulo; }
    QLineEdit *TextRuta() const { return m_textRuta; }
    QLineEdit *TextIcon() const { return m_textIcon; }
    QPushButton *cmdRuta() const { return m_cmdRuta; }
    QPushButton *cmdIcon() const { return m_cmdIcon; }

private:
    void buildControls();
    QString iconsFolder() const;

    QLineEdit *m_textTitulo = nullptr;
    QLineEdit *m_textRuta = nullptr;
    QLineEdit *m_textIcon = nullptr;
    QPushButton *m_cmdRuta = nullptr;
    QPushButton *m_cmdIcon = nullptr;
};

} // namespace pindrel
