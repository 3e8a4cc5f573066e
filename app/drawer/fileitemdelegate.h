#pragma once

// How one entry of the file list is drawn in the list views: the icon above the name (the icon
// and thumbnail views) or beside it, and in the thumbnail view the picture itself once the
// loader has it. Thumbnails are asked for only while painting, so only the entries on screen
// are ever decoded.

#include <QPointer>
#include <QStyledItemDelegate>

namespace pindrel {

class ThumbnailLoader;

class FileItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FileItemDelegate(QObject *pParent = nullptr);

    void setIconAboveName(bool pAbove) { m_iconAboveName = pAbove; }
    bool iconAboveName() const { return m_iconAboveName; }
    // Not owned; nullptr draws the model's icons.
    void setThumbnails(ThumbnailLoader *pLoader) { m_thumbnails = pLoader; }
    // The size of every entry (a cell of the view's grid); empty: measured from the entry.
    void setCellSize(const QSize &pSize) { m_cellSize = pSize; }

    void paint(QPainter *pPainter, const QStyleOptionViewItem &pOption,
               const QModelIndex &pIndex) const override;
    QSize sizeHint(const QStyleOptionViewItem &pOption, const QModelIndex &pIndex) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *pOption, const QModelIndex &pIndex) const override;

private:
    bool m_iconAboveName = false;
    QSize m_cellSize;
    QPointer<ThumbnailLoader> m_thumbnails;
};

} // namespace pindrel
