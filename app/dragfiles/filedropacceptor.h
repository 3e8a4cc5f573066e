#pragma once

// What the desktop does for a window that accepts dropped files (DragAcceptFiles): it takes the
// desktop's drag and drop of file URLs (text/uri-list) on that widget and, once the drop has
// ended, posts the drop message WM_DROPFILES to the window, whose wParam is the drop handle
// (DropFiles) that DragQueryFile reads.
//
// The drag source is told that the files were copied (never moved), whatever the drop does
// with them afterwards: a source told "moved" may delete the originals before they arrive.
//
// Only local files come through: "file:" URLs of this machine (no host, "localhost" or this
// host's name), their percent-escapes decoded to the exact bytes of the path (names that are
// not valid UTF-8 come as filenamecodec.h has them). Other URLs are skipped; a drag without any
// local file is refused.

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <vector>

class QDropEvent;
class QMimeData;
class QWidget;

namespace pindrel {

// The drop handle: the items of one drop, in the source's order.
struct DropFiles
{
    QStringList paths;
    // The user asked for a move: Shift held, or the source proposed one.
    bool move = false;
};

// DragQueryFile: the number of items (pIndex 0xFFFFFFFF) or item pIndex; "" past the end.
int DragQueryFileCount(quintptr hDrop);
QString DragQueryFile(quintptr hDrop, int pIndex);

class FileDropAcceptor : public QObject
{
    Q_OBJECT

public:
    explicit FileDropAcceptor(QObject *pParent = nullptr);
    ~FileDropAcceptor() override;

    // Makes the window pHandle accept dropped files, or stop accepting them.
    void DragAcceptFiles(quintptr pHandle, bool pAccept);

    // The local file paths of a drag's data, in order.
    static QStringList localPaths(const QMimeData *pData);
    // Accepts a drag of files, telling the source "copied" where it allows that; true when the
    // user asked for a move (Shift held, or the source proposed one).
    static bool acceptFileDrag(QDropEvent *pDrag);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    std::vector<std::pair<quintptr, QPointer<QWidget>>> m_windows;
};

} // namespace pindrel
