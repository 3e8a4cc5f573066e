#include "entrydelegate.h"

#include "entrymodel.h"
#include "vexlo/namespacecombobox.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

#include <algorithm>

namespace vexlo {

namespace {

int indentPixels(const QModelIndex &pIndex)
{
    return std::max(0, pIndex.data(EntryModel::IndentRole).toInt())
        * CNamespaceComboBox::kIndentUnit;
}

} // namespace

EntryDelegate::EntryDelegate(QObject *pParent)
    : QStyledItemDelegate(pParent)
{ }

void EntryDelegate::initStyleOption(QStyleOptionViewItem *pOption, const QModelIndex &pIndex) const
{
    QStyledItemDelegate::initStyleOption(pOption, pIndex);
    // The highlighted entry shows its selected image (a folder's open icon), the others their
    // image.
    const bool highlighted = pOption->state.testFlag(QStyle::State_Selected);
    pOption->icon = highlighted ? pIndex.data(Qt::DecorationRole).value<QIcon>()
                                : pIndex.data(EntryModel::ImageIconRole).value<QIcon>();
    pOption->features |= QStyleOptionViewItem::HasDecoration;
    pOption->decorationSize = QSize(kIconSize, kIconSize);
}

void EntryDelegate::paint(QPainter *pPainter, const QStyleOptionViewItem &pOption,
                          const QModelIndex &pIndex) const
{
    QStyleOptionViewItem option(pOption);
    initStyleOption(&option, pIndex);
    // The indentation is blank: icon, text and highlight all start after it.
    option.rect.setLeft(option.rect.left() + indentPixels(pIndex));
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, pPainter, widget);
}

QSize EntryDelegate::sizeHint(const QStyleOptionViewItem &pOption, const QModelIndex &pIndex) const
{
    QSize size = QStyledItemDelegate::sizeHint(pOption, pIndex);
    size.rwidth() += indentPixels(pIndex);
    size.setHeight(std::max(size.height(), kIconSize + 2));
    return size;
}

} // namespace vexlo
