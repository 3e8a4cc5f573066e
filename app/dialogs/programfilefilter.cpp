#include "dialogs/programfilefilter.h"

#include <QFileInfo>
#include <QFileSystemModel>

namespace pindrel {

ProgramFileFilter::ProgramFileFilter(QObject *pParent)
    : QSortFilterProxyModel(pParent)
{ }

void ProgramFileFilter::setActive(bool pActive)
{
    if (pActive == m_active)
        return;
    m_active = pActive;
    invalidateFilter();
}

bool ProgramFileFilter::filterAcceptsRow(int pSourceRow, const QModelIndex &pSourceParent) const
{
    if (!m_active)
        return true;
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (files == nullptr)
        return true;
    // The permission is already in the model's file information: no file is opened here,
    // so a folder of thousands of programs lists as fast as any other.
    const QFileInfo info = files->fileInfo(files->index(pSourceRow, 0, pSourceParent));
    if (info.isDir())
        return true;
    return info.suffix() == QLatin1String("desktop") || (info.isFile() && info.isExecutable());
}

} // namespace pindrel
