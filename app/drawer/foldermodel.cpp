#include "foldermodel.h"

#include "drawer/filekinds.h"
#include "drawer/folderreader.h"

#include "platform/filenamecodec.h"

#include <QDateTime>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHash>
#include <QLocale>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pindrel {

namespace {

// Changes on disk often come in bursts (a copy of many files); one read follows a burst.
constexpr int kRefreshDelayMs = 150;
// Up to this many new entries are put in their places one by one; more are appended and the
// whole table sorted again off the user-interface thread.
constexpr qsizetype kPlacedOneByOne = 256;

QUrl urlForBytes(const QByteArray &pNativePath)
{
    return QUrl::fromEncoded(QByteArrayLiteral("file://")
                                 + pNativePath.toPercentEncoding(QByteArrayLiteral("/")),
                             QUrl::StrictMode);
}

bool sameListing(const FolderEntry &pLeft, const FolderEntry &pRight)
{
    return pLeft.folder == pRight.folder && pLeft.link == pRight.link && pLeft.size == pRight.size
        && pLeft.modifiedMs == pRight.modifiedMs;
}

} // namespace

// The table in a new order, made off the user-interface thread so that there only a swap is left
// to do: the entries in their new order, and for each old row its new one.
struct FolderModel::Ordering
{
    QList<FolderEntry> entries;
    QList<int> newRowOf;
};

FolderModel::Ordering FolderModel::reordered(const QList<FolderEntry> &pEntries,
                                             const QList<int> &pOrder)
{
    Ordering ordering;
    ordering.entries.reserve(pEntries.size());
    ordering.newRowOf.resize(pEntries.size());
    for (int row = 0; row < pOrder.size(); ++row) {
        ordering.entries.append(pEntries.at(pOrder.at(row)));
        ordering.newRowOf[pOrder.at(row)] = row;
    }
    return ordering;
}

// What a fresh read of the folder found different from the table it was compared with.
struct FolderModel::Diff
{
    bool readable = true;
    QList<int> removedRows; // ascending
    QList<QPair<int, FolderEntry>> changed;
    QList<FolderEntry> added;
};

FolderModel::FolderModel(QObject *pParent)
    : QAbstractTableModel(pParent)
    , m_collator(FolderReader::makeCollator())
    , m_watcher(new QFileSystemWatcher(this))
{
    // One reader and one sorter may overlap (a sort asked for while the next read runs).
    m_pool.setMaxThreadCount(2);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &FolderModel::startRefreshing);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &FolderModel::onDirectoryChanged);
}

FolderModel::~FolderModel()
{
    m_generation->fetch_add(1);
    m_pool.clear();
    m_pool.waitForDone();
}

void FolderModel::setFolder(const QString &pFolder)
{
    m_generation->fetch_add(1);
    m_pool.clear();
    m_refreshTimer.stop();
    const QStringList watched = m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);

    beginResetModel();
    m_folder = pFolder;
    m_nativeFolder = platform::encodeFileName(pFolder);
    QList<FolderEntry> previous;
    previous.swap(m_entries);
    m_loading = false;
    m_sorting = false;
    m_refreshing = false;
    m_refreshPending = false;
    m_ordered = true;
    ++m_revision;
    endResetModel();
    discard(std::move(previous));

    if (m_folder.isEmpty())
        return;
    // The watch goes through Qt's file names, which cannot reach a folder whose path is not all
    // text; such a folder is read once and not followed.
    if (QFile::encodeName(m_folder) == m_nativeFolder)
        m_watcher->addPath(m_folder);
    startLoading();
}

void FolderModel::discard(QList<FolderEntry> &&pEntries)
{
    if (pEntries.isEmpty())
        return;
    // Letting go of a hundred thousand entries is work too; a background thread does it.
    m_pool.start([discarded = std::move(pEntries)]() mutable { discarded.clear(); });
}

QString FolderModel::pathOf(const FolderEntry &pEntry) const
{
    if (m_folder.endsWith(QLatin1Char('/')))
        return m_folder + pEntry.name;
    return m_folder + QLatin1Char('/') + pEntry.name;
}

QByteArray FolderModel::nativePathOf(const QByteArray &pName) const
{
    if (m_nativeFolder.endsWith('/'))
        return m_nativeFolder + pName;
    return m_nativeFolder + '/' + pName;
}

void FolderModel::startLoading()
{
    m_loading = true;
    const quint64 generation = m_generation->load();
    const std::shared_ptr<std::atomic<quint64>> current = m_generation;
    const QByteArray folder = m_nativeFolder;
    const int column = m_sortColumn;
    const Qt::SortOrder order = m_sortOrder;
    // The destructor waits for the pool, so the model outlives every call queued here.
    m_pool.start([this, current, generation, folder, column, order] {
        const auto cancelled = [&] { return current->load() != generation; };
        QList<FolderEntry> delivered; // what the table holds, in its order
        const auto deliver = [&](QList<FolderEntry> &&pChunk) {
            QList<FolderEntry> chunk = std::move(pChunk);
            // The first screenful comes in order; later chunks wait for the final sort.
            if (delivered.isEmpty())
                chunk = reordered(chunk, FolderReader::sortedOrder(chunk, column, order)).entries;
            delivered.append(chunk);
            QMetaObject::invokeMethod(
                this, [this, generation, chunk] { onChunk(generation, chunk); },
                Qt::QueuedConnection);
        };
        QList<FolderEntry> rest;
        int error = 0;
        const bool readable =
            FolderReader::read(folder, FolderReader::Pace{}, cancelled, deliver, rest, error);
        if (cancelled())
            return;
        auto ordering = std::make_shared<Ordering>();
        if (delivered.isEmpty()) {
            // A small folder: one sorted delivery, nothing to reorder afterwards.
            rest = reordered(rest, FolderReader::sortedOrder(rest, column, order)).entries;
        } else {
            delivered.append(rest);
            *ordering = reordered(delivered, FolderReader::sortedOrder(delivered, column, order));
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, readable, rest = std::move(rest), ordering, column,
             order]() mutable {
                onLoaded(generation, readable, std::move(rest), ordering, column, order);
            },
            Qt::QueuedConnection);
    });
}

void FolderModel::appendEntries(QList<FolderEntry> &&pEntries)
{
    if (pEntries.isEmpty())
        return;
    const int first = static_cast<int>(m_entries.size());
    beginInsertRows({}, first, first + static_cast<int>(pEntries.size()) - 1);
    m_entries.append(std::move(pEntries));
    endInsertRows();
}

void FolderModel::onChunk(quint64 pGeneration, QList<FolderEntry> pEntries)
{
    if (!isCurrent(pGeneration))
        return;
    // Rows from a later chunk are out of order until the load ends.
    if (!m_entries.isEmpty())
        m_ordered = false;
    appendEntries(std::move(pEntries));
}

void FolderModel::onLoaded(quint64 pGeneration, bool pReadable, QList<FolderEntry> pRest,
                           const std::shared_ptr<Ordering> &pOrdering, int pColumn,
                           Qt::SortOrder pSortOrder)
{
    if (!isCurrent(pGeneration))
        return;
    m_loading = false;
    if (!pReadable) {
        emit folderUnreadable(m_folder);
        return;
    }
    if (!m_entries.isEmpty() && !pRest.isEmpty())
        m_ordered = false;
    const quint64 revisionBefore = m_revision;
    appendEntries(std::move(pRest));
    const bool reorder = !pOrdering->entries.isEmpty();
    // The order was worked out on exactly these rows unless something else changed the table
    // meanwhile (a rename while reading); then, as after a change of column, sort again.
    const bool orderFits = pOrdering->entries.size() == m_entries.size()
        && revisionBefore == m_revision && pColumn == m_sortColumn && pSortOrder == m_sortOrder;
    if (reorder && orderFits) {
        applyOrdering(std::move(*pOrdering));
        m_ordered = true;
    } else if (reorder || pColumn != m_sortColumn || pSortOrder != m_sortOrder) {
        m_ordered = false;
        startSorting();
    }
    emit folderLoaded(m_folder);
    if (m_refreshPending) {
        m_refreshPending = false;
        m_refreshTimer.start();
    }
}

void FolderModel::applyOrdering(Ordering &&pOrdering)
{
    if (pOrdering.entries.size() != m_entries.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_entries.swap(pOrdering.entries);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(index.isValid()
                         ? createIndex(pOrdering.newRowOf.at(index.row()), index.column())
                         : QModelIndex());
    changePersistentIndexList(before, after);
    ++m_revision;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    discard(std::move(pOrdering.entries));
}

void FolderModel::sort(int pColumn, Qt::SortOrder pOrder)
{
    if (pColumn < 0 || pColumn >= kColumns)
        return;
    if (pColumn == m_sortColumn && pOrder == m_sortOrder && m_ordered && !m_sorting)
        return;
    m_sortColumn = pColumn;
    m_sortOrder = pOrder;
    m_ordered = false;
    // A load in progress sorts at its end by whatever is asked for then.
    if (!m_loading)
        startSorting();
}

void FolderModel::startSorting()
{
    m_sorting = true;
    const quint64 generation = m_generation->load();
    const quint64 revision = m_revision;
    const int column = m_sortColumn;
    const Qt::SortOrder order = m_sortOrder;
    const QList<FolderEntry> snapshot = m_entries; // shared, not copied
    const std::shared_ptr<std::atomic<quint64>> current = m_generation;
    m_pool.start([this, current, generation, revision, column, order, snapshot] {
        if (current->load() != generation)
            return;
        auto ordering = std::make_shared<Ordering>(
            reordered(snapshot, FolderReader::sortedOrder(snapshot, column, order)));
        QMetaObject::invokeMethod(
            this,
            [this, generation, revision, column, order, ordering] {
                onSorted(generation, revision, column, order, ordering);
            },
            Qt::QueuedConnection);
    });
}

void FolderModel::onSorted(quint64 pGeneration, quint64 pRevision, int pColumn,
                           Qt::SortOrder pOrder, const std::shared_ptr<Ordering> &pOrdering)
{
    if (!isCurrent(pGeneration))
        return;
    m_sorting = false;
    if (pRevision != m_revision || pColumn != m_sortColumn || pOrder != m_sortOrder) {
        // Worked out on a table that has changed since; once more on the current one.
        if (!m_loading)
            startSorting();
        return;
    }
    applyOrdering(std::move(*pOrdering));
    m_ordered = true;
}

void FolderModel::onDirectoryChanged()
{
    if (m_loading || m_refreshing) {
        m_refreshPending = true;
        return;
    }
    // Not restarted by further changes: under a steady stream of changes the list still follows.
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void FolderModel::startRefreshing()
{
    if (m_folder.isEmpty() || m_loading)
        return;
    m_refreshing = true;
    const quint64 generation = m_generation->load();
    const quint64 revision = m_revision;
    const QByteArray folder = m_nativeFolder;
    const QList<FolderEntry> snapshot = m_entries;
    const std::shared_ptr<std::atomic<quint64>> current = m_generation;
    m_pool.start([this, current, generation, revision, folder, snapshot] {
        const auto cancelled = [&] { return current->load() != generation; };
        auto diff = std::make_shared<Diff>();
        QList<FolderEntry> now;
        int error = 0;
        diff->readable =
            FolderReader::read(folder, FolderReader::Pace{}, cancelled, {}, now, error);
        if (cancelled())
            return;
        if (diff->readable) {
            QHash<QByteArray, int> rowOf;
            rowOf.reserve(snapshot.size());
            for (int row = 0; row < snapshot.size(); ++row)
                rowOf.insert(snapshot.at(row).nativeName, row);
            QList<bool> seen(snapshot.size(), false);
            for (FolderEntry &entry : now) {
                const auto known = rowOf.constFind(entry.nativeName);
                if (known == rowOf.constEnd()) {
                    diff->added.append(std::move(entry));
                    continue;
                }
                seen[*known] = true;
                if (!sameListing(snapshot.at(*known), entry))
                    diff->changed.append({*known, std::move(entry)});
            }
            for (int row = 0; row < seen.size(); ++row) {
                if (!seen.at(row))
                    diff->removedRows.append(row);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, generation, revision, diff] { onRefreshed(generation, revision, diff); },
            Qt::QueuedConnection);
    });
}

int FolderModel::sortedPosition(const FolderEntry &pEntry) const
{
    const auto place = std::upper_bound(
        m_entries.cbegin(), m_entries.cend(), pEntry,
        [this](const FolderEntry &pLeft, const FolderEntry &pRight) {
            return FolderReader::lessThan(pLeft, pRight, m_sortColumn, m_sortOrder, m_collator);
        });
    return static_cast<int>(place - m_entries.cbegin());
}

void FolderModel::onRefreshed(quint64 pGeneration, quint64 pRevision,
                              const std::shared_ptr<Diff> &pDiff)
{
    if (!isCurrent(pGeneration))
        return;
    m_refreshing = false;
    if (!pDiff->readable) {
        emit folderUnreadable(m_folder);
        return;
    }
    if (pRevision != m_revision) {
        // The rows the comparison refers to have moved; compare again.
        m_refreshTimer.start();
        return;
    }
    const bool anything =
        !pDiff->removedRows.isEmpty() || !pDiff->changed.isEmpty() || !pDiff->added.isEmpty();

    for (const auto &[row, entry] : std::as_const(pDiff->changed)) {
        m_entries[row] = entry;
        emit dataChanged(index(row, 0), index(row, kColumns - 1));
    }
    // Removals from the bottom up, a run of neighbouring rows at a time, so that the rows
    // still to be removed keep their numbers.
    const QList<int> &removed = pDiff->removedRows;
    for (qsizetype last = removed.size() - 1; last >= 0;) {
        qsizetype first = last;
        while (first > 0 && removed.at(first - 1) == removed.at(first) - 1)
            --first;
        beginRemoveRows({}, removed.at(first), removed.at(last));
        m_entries.remove(removed.at(first), removed.at(last) - removed.at(first) + 1);
        endRemoveRows();
        last = first - 1;
    }
    if (pDiff->added.size() <= kPlacedOneByOne && m_ordered) {
        for (const FolderEntry &entry : std::as_const(pDiff->added)) {
            const int row = sortedPosition(entry);
            beginInsertRows({}, row, row);
            m_entries.insert(row, entry);
            endInsertRows();
        }
    } else if (!pDiff->added.isEmpty()) {
        QList<FolderEntry> added = pDiff->added;
        appendEntries(std::move(added));
        m_ordered = false;
    }
    if (anything)
        ++m_revision;
    // A changed size or date can move an entry when the table is sorted by it.
    if (!m_ordered || (!pDiff->changed.isEmpty() && m_sortColumn != FolderReader::NameColumn)) {
        m_ordered = false;
        startSorting();
    }
    if (m_refreshPending) {
        m_refreshPending = false;
        m_refreshTimer.start();
    }
}

int FolderModel::rowCount(const QModelIndex &pParent) const
{
    return pParent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int FolderModel::columnCount(const QModelIndex &pParent) const
{
    return pParent.isValid() ? 0 : kColumns;
}

QVariant FolderModel::data(const QModelIndex &pIndex, int pRole) const
{
    if (!pIndex.isValid() || pIndex.row() >= m_entries.size())
        return {};
    const FolderEntry &entry = m_entries.at(pIndex.row());
    switch (pRole) {
    case Qt::DisplayRole:
        switch (pIndex.column()) {
        case FolderReader::NameColumn:
            // The bytes that are not text show as replacement characters.
            return entry.rawName ? platform::displayFileName(entry.name) : entry.name;
        case FolderReader::SizeColumn:
            return entry.folder ? QString() : QLocale().formattedDataSize(entry.size);
        case FolderReader::TypeColumn:
            return FileKinds::shared().typeName(entry.name, entry.folder);
        case FolderReader::ModifiedColumn:
            return QLocale().toString(QDateTime::fromMSecsSinceEpoch(entry.modifiedMs),
                                      QLocale::ShortFormat);
        default:
            return {};
        }
    case Qt::EditRole:
        return pIndex.column() == FolderReader::NameColumn ? QVariant(entry.name) : QVariant();
    case Qt::DecorationRole:
        if (pIndex.column() != FolderReader::NameColumn)
            return {};
        return FileKinds::shared().icon(entry.name, entry.folder);
    case Qt::TextAlignmentRole:
        if (pIndex.column() == FolderReader::SizeColumn)
            return QVariant::fromValue(Qt::AlignTrailing | Qt::AlignVCenter);
        return {};
    case FilePathRole:
        return pathOf(entry);
    case FileNameRole:
        return entry.name;
    case IsFolderRole:
        return entry.folder;
    case IsRawNameRole:
        return entry.rawName;
    case UrlRole:
        return urlForBytes(nativePathOf(entry.nativeName));
    default:
        return {};
    }
}

QVariant FolderModel::headerData(int pSection, Qt::Orientation pOrientation, int pRole) const
{
    if (pOrientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(pSection, pOrientation, pRole);
    if (pRole == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (pRole != Qt::DisplayRole)
        return {};
    switch (pSection) {
    case FolderReader::NameColumn:
        return tr("Name");
    case FolderReader::SizeColumn:
        return tr("Size");
    case FolderReader::TypeColumn:
        return tr("Type");
    case FolderReader::ModifiedColumn:
        return tr("Date Modified");
    default:
        return {};
    }
}

Qt::ItemFlags FolderModel::flags(const QModelIndex &pIndex) const
{
    if (!pIndex.isValid() || pIndex.row() >= m_entries.size())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    // A name that is not text cannot be edited as text without losing its bytes.
    if (pIndex.column() == FolderReader::NameColumn && !m_entries.at(pIndex.row()).rawName)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool FolderModel::setData(const QModelIndex &pIndex, const QVariant &pValue, int pRole)
{
    if (pRole != Qt::EditRole || !pIndex.isValid() || pIndex.row() >= m_entries.size()
        || !(flags(pIndex) & Qt::ItemIsEditable))
        return false;
    const int row = pIndex.row();
    const FolderEntry old = m_entries.at(row);
    const QString name = pValue.toString();
    if (name == old.name)
        return true;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral(".")
        || name == QStringLiteral("..")) {
        emit renameFailed(old.name, tr("\"%1\" cannot be used as a name.").arg(name));
        return false;
    }
    const QByteArray nativeName = platform::encodeFileName(name);
    const QByteArray target = nativePathOf(nativeName);
    struct stat existing
    {
    };
    if (::lstat(target.constData(), &existing) == 0) {
        emit renameFailed(old.name, tr("An item named \"%1\" is already here.").arg(name));
        return false;
    }
    if (::rename(nativePathOf(old.nativeName).constData(), target.constData()) != 0) {
        emit renameFailed(old.name, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    FolderEntry renamed = old;
    renamed.name = name;
    renamed.nativeName = nativeName;
    m_entries[row] = renamed;
    ++m_revision;
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
    if (!m_ordered)
        return true;
    // Its new name may belong elsewhere in the order.
    m_entries.removeAt(row);
    const int place = sortedPosition(renamed);
    m_entries.insert(row, renamed);
    if (place != row && beginMoveRows({}, row, row, {}, place > row ? place + 1 : place)) {
        m_entries.move(row, place);
        endMoveRows();
    }
    return true;
}

QStringList FolderModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *FolderModel::mimeData(const QModelIndexList &pIndexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex &index : pIndexes) {
        if (index.isValid() && index.column() == FolderReader::NameColumn
            && index.row() < m_entries.size())
            urls.append(urlForBytes(nativePathOf(m_entries.at(index.row()).nativeName)));
    }
    if (urls.isEmpty())
        return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls(urls);
    return mime.release(); // the caller owns it, as the model interface has it
}

Qt::DropActions FolderModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

} // namespace pindrel
