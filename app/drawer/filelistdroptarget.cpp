#include "drawer/filelistdroptarget.h"

#include "dragfiles/filedropacceptor.h"

#include <QDropEvent>
#include <QWidget>

namespace pindrel {

FileListDropTarget::FileListDropTarget(QWidget *pList, std::function<QString()> pFolder)
    : QObject(pList)
    , m_list(pList)
    , m_folder(std::move(pFolder))
{
    pList->setAcceptDrops(true);
    pList->installEventFilter(this);
}

FileListDropTarget::~FileListDropTarget() = default;

bool FileListDropTarget::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (pWatched != m_list
        || (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return false;
    auto *drag = static_cast<QDropEvent *>(pEvent);
    const auto *source = qobject_cast<const QWidget *>(drag->source());
    const bool fromHere = source != nullptr && (source == m_list || m_list->isAncestorOf(source));
    const QString folder = m_folder ? m_folder() : QString();
    const QStringList paths = FileDropAcceptor::localPaths(drag->mimeData());
    if (fromHere || folder.isEmpty() || paths.isEmpty()) {
        drag->ignore();
        return true;
    }
    const bool move = FileDropAcceptor::acceptFileDrag(drag);
    if (type == QEvent::Drop)
        emit filesDropped(paths, folder, move);
    return true;
}

} // namespace pindrel
