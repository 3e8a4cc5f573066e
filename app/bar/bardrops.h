#pragma once

// Files dropped on the bar: the drop receiver cDrag, the handler of its DragFiles event and the
// copy into a drawer's folder.
//
// cDrag_DragFiles, once per dropped item, after one pass of the message pump:
//   programs button  a program file becomes a program (AgregarPrograma, menu rebuilt): a
//                    display name ending in ".exe" or ".bat" (any case) is titled without those
//                    four characters; a ".desktop" launcher of an application by its Name; any
//                    other regular file with execute permission by its display name. Anything
//                    else is ignored.
//   a drawer button  the item goes into the drawer's folder (PATH, with a "/" appended when it
//                    does not end with one) through Copiar_Archivo; a drawer without a folder
//                    takes nothing.
//   add button       a folder (kind 1) becomes a drawer titled with its display name
//                    (AgregarBoton, which refuses the 101st drawer with its own message); files
//                    and roots are ignored.
// A path that is not valid UTF-8 cannot be written to config.ini as it is, so it is not made a
// program or a drawer: a message says so. Copies take every path.
//
// Copiar_Archivo queues the item for the copy controller; the items of one drop go in one job,
// started when the drop has been reported to the end
// (progress window, questions, undo). With Shift held, or when the drag source proposed a move,
// the items are moved instead.
//
// The bar menu mC gets "Undo Copy" (or "Undo Move", named mCUndo) after "Add Drawer...",
// enabled while the last copy can be undone.

#include "bar/dragtargets.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QAction;

namespace pindrel {

class AppState;
class clsDragFiles;
class CopyController;
class Form1;

class BarDrops : public QObject, public DragTargets
{
    Q_OBJECT

public:
    explicit BarDrops(Form1 &pBar);
    ~BarDrops() override;

    clsDragFiles &cDrag() const { return *m_cDrag; }
    CopyController &copies() const { return *m_copies; }
    QAction *mCUndo() const { return m_undo; }

    // DragTargets: the drawer buttons' registration with cDrag.
    void InitDrag(quintptr pHWnd) override;
    void TerminateDrag(quintptr pHWnd) override;

    void cDrag_DragFiles(const QString &strFile, quintptr lhWnd, int32_t TypePath);
    void Copiar_Archivo(const QString &Origen, const QString &destino);

    // The title a dropped program file gets; "" when the item is no program file.
    static QString programTitle(const QString &pPath, const QString &pDisplayName);

private:
    void addProgram(const QString &pPath);
    void addDrawer(const QString &pPath);
    void copyToDrawer(const QString &pPath, quintptr pHWnd);
    bool storable(const QString &pPath);
    void updateUndoEntry();

    Form1 &m_bar;
    std::unique_ptr<clsDragFiles> m_cDrag;
    CopyController *m_copies = nullptr;
    QAction *m_undo = nullptr;
};

} // namespace pindrel
