#include "entrymodel.h"

#include "imagelist.h"

#include <algorithm>

namespace vexlo {

EntryModel::EntryModel(std::shared_ptr<ImageList> pImages, QObject *pParent)
    : QAbstractListModel(pParent)
    , m_images(std::move(pImages))
{ }

int EntryModel::rowCount(const QModelIndex &pParent) const
{
    return pParent.isValid() ? 0 : count();
}

QVariant EntryModel::data(const QModelIndex &pIndex, int pRole) const
{
    if (!pIndex.isValid() || !contains(pIndex.row()))
        return {};
    const ComboEntry &entry = at(pIndex.row());
    switch (pRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.text;
    case Qt::DecorationRole:
        // The closed field shows the current entry, which is the selected one.
        return m_images->overlaid(entry.selectedImage, entry.overlay);
    case ImageIconRole:
        return m_images->overlaid(entry.image, entry.overlay);
    case IndentRole:
        return entry.indent;
    case OverlayRole:
        return entry.overlay;
    default:
        return {};
    }
}

Qt::ItemFlags EntryModel::flags(const QModelIndex &pIndex) const
{
    return pIndex.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void EntryModel::changed(int pRow)
{
    if (contains(pRow))
        emit dataChanged(index(pRow), index(pRow));
}

int EntryModel::insert(int pRow, ComboEntry pEntry)
{
    const int row = std::clamp(pRow, 0, count());
    pEntry.serial = m_nextSerial++;
    beginInsertRows({}, row, row);
    m_entries.insert(m_entries.begin() + row, std::move(pEntry));
    endInsertRows();
    return row;
}

void EntryModel::remove(int pRow)
{
    if (!contains(pRow))
        return;
    beginRemoveRows({}, pRow, pRow);
    m_entries.erase(m_entries.begin() + pRow);
    endRemoveRows();
}

int EntryModel::rowOf(uint64_t pSerial) const
{
    for (int row = 0; row < count(); ++row) {
        if (at(row).serial == pSerial)
            return row;
    }
    return -1;
}

} // namespace vexlo
