#pragma once

// The entries of the list window, as the combo box's model. The model owns the entries and with
// them their item records; removing a row frees the row's identifier list.

#include "comboentry.h"

#include <QtCore/QAbstractListModel>

#include <memory>
#include <vector>

namespace vexlo {

class ImageList;

class EntryModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IndentRole = Qt::UserRole + 1, // int, the entry's indentation units
        // QIcon of the entry's image (the decoration is its selected image); both carry the
        // entry's overlay drawn over them.
        ImageIconRole,
        OverlayRole, // int, the overlay number
    };

    EntryModel(std::shared_ptr<ImageList> pImages, QObject *pParent);

    int rowCount(const QModelIndex &pParent = {}) const override;
    QVariant data(const QModelIndex &pIndex, int pRole) const override;
    Qt::ItemFlags flags(const QModelIndex &pIndex) const override;

    int count() const { return static_cast<int>(m_entries.size()); }
    bool contains(int pRow) const { return pRow >= 0 && pRow < count(); }
    const ComboEntry &at(int pRow) const { return m_entries[static_cast<size_t>(pRow)]; }
    // For changes that should not repaint; changed() announces a change that should.
    ComboEntry &at(int pRow) { return m_entries[static_cast<size_t>(pRow)]; }
    void changed(int pRow);

    // Inserts at pRow (clamped to the end), gives the entry its serial and returns the row.
    int insert(int pRow, ComboEntry pEntry);
    void remove(int pRow);
    // The row of the entry with pSerial; -1 when it is gone.
    int rowOf(uint64_t pSerial) const;
    // The serial of the entry at pRow; 0 (no entry's) when out of range.
    uint64_t serialAt(int pRow) const { return contains(pRow) ? at(pRow).serial : 0; }

private:
    std::shared_ptr<ImageList> m_images;
    std::vector<ComboEntry> m_entries;
    uint64_t m_nextSerial = 1;
};

} // namespace vexlo
