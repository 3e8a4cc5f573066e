#include "fileitemdelegate.h"

#include "drawer/foldermodel.h"
#include "drawer/thumbnailloader.h"

#include <QApplication>
#include <QPainter>

namespace pindrel {

FileItemDelegate::FileItemDelegate(QObject *pParent)
    : QStyledItemDelegate(pParent)
{ }

void FileItemDelegate::initStyleOption(QStyleOptionViewItem *pOption,
                                       const QModelIndex &pIndex) const
{
    QStyledItemDelegate::initStyleOption(pOption, pIndex);
    if (m_iconAboveName) {
        pOption->decorationPosition = QStyleOptionViewItem::Top;
        pOption->decorationAlignment = Qt::AlignHCenter | Qt::AlignBottom;
        pOption->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        pOption->features |= QStyleOptionViewItem::WrapText;
        pOption->textElideMode = Qt::ElideMiddle;
    }
}

void FileItemDelegate::paint(QPainter *pPainter, const QStyleOptionViewItem &pOption,
                             const QModelIndex &pIndex) const
{
    QStyleOptionViewItem option = pOption;
    initStyleOption(&option, pIndex);
    // Not in initStyleOption: that one also serves size hints, which must not start decodes.
    if (m_thumbnails) {
        const QString path = pIndex.data(FolderModel::FilePathRole).toString();
        if (ThumbnailLoader::isImageFile(path)) {
            const QIcon picture = m_thumbnails->thumbnail(path);
            if (!picture.isNull())
                option.icon = picture;
        }
    }
    const QWidget *widget = option.widget;
    QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &option, pPainter, widget);
}

QSize FileItemDelegate::sizeHint(const QStyleOptionViewItem &pOption,
                                 const QModelIndex &pIndex) const
{
    // A fixed cell: long names wrap or shorten inside it instead of widening the whole grid.
    if (!m_cellSize.isEmpty())
        return m_cellSize;
    return QStyledItemDelegate::sizeHint(pOption, pIndex);
}

} // namespace pindrel
