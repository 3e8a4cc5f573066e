#pragma once

// clsDragFiles: makes chosen windows accept files dragged from the desktop and reports every
// dropped item through DragFiles; also describes a path (GetFileInfo) and draws its icon
// (GetIconFile). Built on the message engine (subclassengine.h), whose errors it reports under
// its own name.
//
//   InitDrag(h)       takes window h over (user value 0, no owner, narrow), adds WM_DROPFILES to
//                     its before table and makes it accept dropped files. Always false.
//   TerminateDrag(h)  stops it accepting files, then releases it. Always false.
//   DragFiles         once per item of a drop, in the drop's order: the item's full path (every
//                     path whole, as the exact bytes of its name, see filedropacceptor.h), the
//                     window it was dropped on and its kind: 0 a file, 1 a folder, 2 a root (the
//                     file system's root or the mount point of a drive or share). The drop
//                     message then goes on to the window as well.
//   GetFileInfo       the display name of the shell namespace (a file's name, "File System" for
//                     "/", a drive's label), the MIME database's type name, and TypeFile
//                     "Directorio", "Archivo" or "Root Path". False, with both names empty, for
//                     a path that is not absolute.
//   GetIconFile       draws the item's icon at (0, 0) in the style's large icon size.
//
// The drop message is handled once the desktop's drop has ended, so the handlers of DragFiles
// may open windows without keeping the drag source waiting.

#include "dragfiles/filedropacceptor.h"
#include "dragfiles/subclassengine.h"

#include <QObject>
#include <QVariant>

#include <memory>

class QPainter;

namespace pindrel {

namespace platform {
class ShellNamespace;
}

class clsDragFiles : public QObject, public SubclassEngine, private SubclassCallback
{
    Q_OBJECT

public:
    explicit clsDragFiles(QObject *pParent = nullptr);
    ~clsDragFiles() override;

    bool InitDrag(quintptr lhWnd);
    bool TerminateDrag(quintptr lhWnd);

    bool GetFileInfo(QString &sPath, QString &DisplayName, QString &TypeName, QString &TypeFile);
    QVariant GetIconFile(QString &sPathFile, QPainter &lHdc);

    // The item kind of a path: 0, 1 or 2 as above.
    int32_t typeOfPath(const QString &pPath) const;

    // While DragFiles is raised: whether the drop asked for a move (Shift held, or the source
    // proposed one). False otherwise.
    bool dropMoves() const { return m_dropMoves; }

    // The namespace that names items and knows the drives; the system's by default.
    void setShellNamespace(std::shared_ptr<const platform::ShellNamespace> pNamespace);

signals:
    void DragFiles(const QString &strFile, quintptr lhWnd, int32_t TypePath);
    // After the last DragFiles of one drop.
    void dropEnded(quintptr lhWnd);

private:
    SubclassCallback *ownCallback() override { return this; }
    void zSubclass_Proc(bool bBefore, bool &bHandled, qintptr &lReturn, quintptr lhWnd,
                        uint32_t uMsg, quintptr wParam, quintptr lParam,
                        qintptr &lParamUser) override;
    const platform::ShellNamespace &shellNamespace() const;

    FileDropAcceptor m_acceptor;
    mutable std::shared_ptr<const platform::ShellNamespace> m_namespace;
    bool m_dropMoves = false;
};

} // namespace pindrel
