#pragma once

// The entries of one folder as a flat table of four columns: name, size, type, date modified.
// The folder is read and sorted on a background thread and the entries arrive in chunks, so that
// the user-interface thread never works on more than a few thousand entries at a time, whatever
// the size of the folder; it then follows changes on disk (a watch on the folder, a fresh read
// on a background thread, and only the differences applied). Entries coming, going, being
// renamed or replaced are seen at once; a file written in place shows its new size and date
// with the next change of the folder.
//
// Every entry is listed, also those whose names are not valid UTF-8 (their text escapes the
// invalid bytes, see platform/filenamecodec.h; they show with replacement characters, open by
// their exact bytes through UrlRole, and cannot be renamed). Hidden entries (a leading dot) are
// left out.
//
// While a folder is being read, its first entries come sorted and later ones are appended; the
// whole table takes its order when the reading ends. sort() reorders off the user-interface
// thread too; folders always come first (FolderReader has the order).

#include "drawer/folderentry.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QList>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

class QFileSystemWatcher;

namespace pindrel {

class FolderModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        FilePathRole = Qt::UserRole + 1, // QString: the entry's path (escaped as its name)
        FileNameRole = Qt::UserRole + 2, // QString: the entry's name (escaped)
        IsFolderRole = Qt::UserRole + 0x100, // bool: a folder, or a link to one
        IsRawNameRole, // bool: the name is not valid UTF-8
        UrlRole, // QUrl: a file URL carrying the path's exact bytes
    };
    static constexpr int kColumns = 4;

    explicit FolderModel(QObject *pParent = nullptr);
    // Waits for the background work that is running.
    ~FolderModel() override;

    // Shows the entries of pFolder (an absolute, clean path) and starts reading it; an empty
    // path empties the table. Reading a folder again that is already shown starts afresh.
    void setFolder(const QString &pFolder);
    QString folder() const { return m_folder; }
    bool isLoading() const { return m_loading; }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    const FolderEntry &entry(int pRow) const { return m_entries.at(pRow); }

    int rowCount(const QModelIndex &pParent = {}) const override;
    int columnCount(const QModelIndex &pParent = {}) const override;
    QVariant data(const QModelIndex &pIndex, int pRole = Qt::DisplayRole) const override;
    QVariant headerData(int pSection, Qt::Orientation pOrientation,
                        int pRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &pIndex) const override;
    // Renames the entry on disk (EditRole of the name column); false, with renameFailed, when
    // the system refuses or the name is not acceptable.
    bool setData(const QModelIndex &pIndex, const QVariant &pValue,
                 int pRole = Qt::EditRole) override;
    void sort(int pColumn, Qt::SortOrder pOrder = Qt::AscendingOrder) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &pIndexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The shown folder has been read to the end; its entries are all in the table.
    void folderLoaded(const QString &pFolder);
    // The shown folder could not be read (it went away, or access to it was lost).
    void folderUnreadable(const QString &pFolder);
    void renameFailed(const QString &pName, const QString &pReason);

private:
    struct Diff;
    struct Ordering;

    // Runs on any thread.
    static Ordering reordered(const QList<FolderEntry> &pEntries, const QList<int> &pOrder);

    QString pathOf(const FolderEntry &pEntry) const;
    QByteArray nativePathOf(const QByteArray &pName) const;
    bool isCurrent(quint64 pGeneration) const { return pGeneration == m_generation->load(); }

    void startLoading();
    void onChunk(quint64 pGeneration, QList<FolderEntry> pEntries);
    void onLoaded(quint64 pGeneration, bool pReadable, QList<FolderEntry> pRest,
                  const std::shared_ptr<Ordering> &pOrdering, int pColumn,
                  Qt::SortOrder pSortOrder);
    void startSorting();
    void onSorted(quint64 pGeneration, quint64 pRevision, int pColumn, Qt::SortOrder pOrder,
                  const std::shared_ptr<Ordering> &pOrdering);
    void applyOrdering(Ordering &&pOrdering);
    void onDirectoryChanged();
    void startRefreshing();
    void onRefreshed(quint64 pGeneration, quint64 pRevision, const std::shared_ptr<Diff> &pDiff);
    void appendEntries(QList<FolderEntry> &&pEntries);
    void discard(QList<FolderEntry> &&pEntries);
    int sortedPosition(const FolderEntry &pEntry) const;

    QString m_folder;
    QByteArray m_nativeFolder;
    QList<FolderEntry> m_entries;

    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    // What the rows are ordered by now; false while rows wait for their place.
    bool m_ordered = true;
    bool m_sorting = false;
    bool m_loading = false;
    bool m_refreshPending = false;
    bool m_refreshing = false;
    // Counts every change of the table other than a load's own chunks, so that background
    // results computed on an older table are recognised and redone.
    quint64 m_revision = 0;
    // Bumped on every change of folder; background work of an older folder is dropped.
    std::shared_ptr<std::atomic<quint64>> m_generation = std::make_shared<std::atomic<quint64>>(0);

    QCollator m_collator;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer m_refreshTimer;
    QThreadPool m_pool;
};

} // namespace pindrel
