#pragma once

// Makes a drawer window's file list take files dragged onto it from other programs (or from
// another drawer): local file URLs dropped anywhere on the list are announced with the folder
// the list shows, to be copied there (moved with Shift held, or when the source proposes a
// move). Drags that start in the same list are refused, so a slip of the mouse never copies a
// folder's files into itself. The drag source is told "copied", never "moved".

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QWidget;

namespace pindrel {

class FileListDropTarget : public QObject
{
    Q_OBJECT

public:
    // pFolder gives the folder shown when the drop happens.
    FileListDropTarget(QWidget *pList, std::function<QString()> pFolder);
    ~FileListDropTarget() override;

signals:
    void filesDropped(const QStringList &pPaths, const QString &pFolder, bool pMove);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    QPointer<QWidget> m_list;
    std::function<QString()> m_folder;
};

} // namespace pindrel
