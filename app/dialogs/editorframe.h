#pragma once

// What the two editor dialogs (drawers and programs) share around their fields: the heading
// with its two pictures (imgAdd for adding, imgMod for configuring) and its label lbltitulo,
// and the Ok (default) and Cancel buttons below the fields, right-aligned.

#include <QString>

class QLabel;
class QLayout;
class QPushButton;
class QWidget;

namespace pindrel {

class EditorFrame
{
public:
    // Makes the heading and the two buttons as children of pDialog, captioned pCaption.
    EditorFrame(QWidget *pDialog, const QString &pCaption);

    // Lays pDialog out: the heading, pFields, the buttons; the dialog keeps the size that
    // fits them.
    void place(QLayout *pFields) const;

    // A named push button that does not become the default when it has the focus.
    static QPushButton *button(QWidget *pParent, const char *pName, const QString &pCaption);

    // The heading of a mode: imgMod in front for configuring, imgAdd for adding, and the
    // caption in the label.
    static void showMode(QLabel *pImgAdd, QLabel *pImgMod, QLabel *pLbltitulo, bool pConfigure,
                         const QString &pCaption);

    QWidget *dialog;
    QLabel *imgAdd;
    QLabel *imgMod;
    QLabel *lbltitulo;
    QPushButton *cmdAceptar;
    QPushButton *cmdCancelar;
};

} // namespace pindrel
