#include "dragfiles/filedropacceptor.h"

#include "dragfiles/subclassengine.h"
#include "dragfiles/windowhandles.h"

#include "platform/filenamecodec.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSysInfo>
#include <QWidget>

#include <memory>

namespace pindrel {

namespace {

const QString &uriListType()
{
    static const QString type = QStringLiteral("text/uri-list");
    return type;
}

// The path bytes of a "file:" URI of this machine; empty for anything else.
QByteArray localPathOf(QByteArray pUri)
{
    if (!pUri.toLower().startsWith("file:"))
        return {};
    pUri = pUri.mid(5);
    if (pUri.startsWith("//")) {
        const qsizetype slash = pUri.indexOf('/', 2);
        if (slash < 0)
            return {};
        const QByteArray host = pUri.mid(2, slash - 2).toLower();
        static const QByteArray ownHost = QSysInfo::machineHostName().toUtf8().toLower();
        if (!host.isEmpty() && host != "localhost" && host != ownHost)
            return {};
        pUri = pUri.mid(slash);
    }
    if (!pUri.startsWith('/'))
        return {};
    return QByteArray::fromPercentEncoding(pUri);
}

} // namespace

int DragQueryFileCount(quintptr hDrop)
{
    const auto *drop = reinterpret_cast<const DropFiles *>(hDrop);
    return drop == nullptr ? 0 : static_cast<int>(drop->paths.size());
}

QString DragQueryFile(quintptr hDrop, int pIndex)
{
    const auto *drop = reinterpret_cast<const DropFiles *>(hDrop);
    if (drop == nullptr || pIndex < 0 || pIndex >= drop->paths.size())
        return {};
    return drop->paths.at(pIndex);
}

FileDropAcceptor::FileDropAcceptor(QObject *pParent)
    : QObject(pParent)
{ }

FileDropAcceptor::~FileDropAcceptor()
{
    for (const auto &[handle, widget] : m_windows) {
        if (widget)
            widget->removeEventFilter(this);
    }
}

QStringList FileDropAcceptor::localPaths(const QMimeData *pData)
{
    QStringList paths;
    if (pData == nullptr || !pData->hasFormat(uriListType()))
        return paths;
    // The raw list, not QUrl: QUrl would turn bytes that are not UTF-8 into U+FFFD.
    for (QByteArray line : pData->data(uriListType()).split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QByteArray path = localPathOf(line);
        if (!path.isEmpty())
            paths << platform::decodeFileName(path);
    }
    return paths;
}

bool FileDropAcceptor::acceptFileDrag(QDropEvent *pDrag)
{
    const bool move =
        pDrag->proposedAction() == Qt::MoveAction || pDrag->modifiers().testFlag(Qt::ShiftModifier);
    // The source hears "copied" even for a move, so that it never deletes the originals
    // itself.
    pDrag->setDropAction((pDrag->possibleActions() & Qt::CopyAction) != 0
                             ? Qt::CopyAction
                             : pDrag->proposedAction());
    pDrag->accept();
    return move;
}

void FileDropAcceptor::DragAcceptFiles(quintptr pHandle, bool pAccept)
{
    QWidget *widget = WindowHandles::find(pHandle);
    for (auto entry = m_windows.begin(); entry != m_windows.end();) {
        if (!entry->second || entry->first == pHandle) {
            if (entry->second)
                entry->second->removeEventFilter(this);
            entry = m_windows.erase(entry);
        } else {
            ++entry;
        }
    }
    if (widget == nullptr)
        return;
    widget->setAcceptDrops(pAccept);
    if (pAccept) {
        widget->installEventFilter(this);
        m_windows.emplace_back(pHandle, widget);
    }
}

bool FileDropAcceptor::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    const QEvent::Type type = pEvent->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(pEvent);
    const QStringList paths = localPaths(drag->mimeData());
    if (paths.isEmpty()) {
        drag->ignore();
        return true;
    }
    const bool move = acceptFileDrag(drag);
    if (type != QEvent::Drop)
        return true;

    quintptr handle = 0;
    for (const auto &[known, widget] : m_windows) {
        if (widget == pWatched)
            handle = known;
    }
    auto drop = std::make_shared<DropFiles>();
    drop->paths = paths;
    drop->move = move;
    const auto hDrop = reinterpret_cast<quintptr>(drop.get());
    SubclassEngine::postMessage(handle, SubclassEngine::WM_DROPFILES, hDrop, 0, std::move(drop));
    return true;
}

} // namespace pindrel
