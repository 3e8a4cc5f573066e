#pragma once

// Draws the list window's entries: indented by the entry's units of 10 pixels, with the entry's
// image (its selected image while highlighted) before the text.

#include <QtWidgets/QStyledItemDelegate>

namespace vexlo {

class EntryDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kIconSize = 16;

    explicit EntryDelegate(QObject *pParent);

    void paint(QPainter *pPainter, const QStyleOptionViewItem &pOption,
               const QModelIndex &pIndex) const override;
    QSize sizeHint(const QStyleOptionViewItem &pOption, const QModelIndex &pIndex) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *pOption, const QModelIndex &pIndex) const override;
};

} // namespace vexlo
