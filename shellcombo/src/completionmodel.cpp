#include "completionmodel.h"

#include "platform/filenamecodec.h"
#include "platform/themeiconcache.h"

#include <algorithm>

namespace vexlo {

CompletionModel::CompletionModel(QObject *pParent)
    : QAbstractListModel(pParent)
{ }

QString CompletionModel::folderOf(const QString &pTyped)
{
    if (!pTyped.startsWith(u'/'))
        return {};
    return pTyped.left(pTyped.lastIndexOf(u'/') + 1);
}

void CompletionModel::setListing(std::shared_ptr<const CompletionListing> pListing)
{
    beginResetModel();
    m_listing = std::move(pListing);
    m_recent.clear();
    m_runs.clear();
    m_rows = 0;
    endResetModel();
}

void CompletionModel::filter(const QString &pTyped)
{
    beginResetModel();
    m_recent.clear();
    m_runs.clear();
    m_rows = 0;
    const QString folder = folderOf(pTyped);
    if (m_listing && !folder.isEmpty() && m_listing->folder == folder) {
        const QString prefix = pTyped.mid(folder.size()).toCaseFolded();
        const std::vector<QString> &keys = m_listing->keys;
        const auto runOf = [&keys](const QString &pPrefix) {
            const auto begin = std::lower_bound(keys.begin(), keys.end(), pPrefix);
            const auto end =
                std::partition_point(begin, keys.end(), [&pPrefix](const QString &pKey) {
                    return pKey.startsWith(pPrefix);
                });
            return std::pair(static_cast<size_t>(begin - keys.begin()),
                             static_cast<size_t>(end - keys.begin()));
        };
        if (!prefix.isEmpty()) {
            m_runs.push_back(runOf(prefix));
        } else {
            // Everything but the dot entries, which sit in one run of their own.
            const auto [dotBegin, dotEnd] = runOf(QStringLiteral("."));
            m_runs.emplace_back(0, dotBegin);
            m_runs.emplace_back(dotEnd, keys.size());
        }
        const QString typedKey = pTyped.toCaseFolded();
        for (const QString &recent : m_listing->recent) {
            // Those in the typed folder itself are among its entries already.
            if (recent.toCaseFolded().startsWith(typedKey) && folderOf(recent) != folder)
                m_recent << recent;
        }
    }
    m_rows = static_cast<int>(m_recent.size());
    for (const auto &[begin, end] : m_runs)
        m_rows += static_cast<int>(end - begin);
    endResetModel();
}

int CompletionModel::rowCount(const QModelIndex &pParent) const
{
    return pParent.isValid() ? 0 : m_rows;
}

QString CompletionModel::completionAt(int pRow) const
{
    if (pRow < 0 || pRow >= m_rows)
        return {};
    if (pRow < m_recent.size())
        return m_recent.at(pRow);
    size_t row = static_cast<size_t>(pRow - m_recent.size());
    for (const auto &[begin, end] : m_runs) {
        if (row < end - begin) {
            const size_t entry = begin + row;
            return m_listing->folder + m_listing->names[entry]
                + (m_listing->folders[entry] ? QStringLiteral("/") : QString());
        }
        row -= end - begin;
    }
    return {};
}

QVariant CompletionModel::data(const QModelIndex &pIndex, int pRole) const
{
    if (!pIndex.isValid() || pIndex.row() >= m_rows)
        return {};
    switch (pRole) {
    case Qt::EditRole:
        return completionAt(pIndex.row());
    case Qt::DisplayRole:
        return pindrel::platform::displayFileName(completionAt(pIndex.row()));
    case Qt::DecorationRole: {
        const bool folder = completionAt(pIndex.row()).endsWith(u'/');
        return pindrel::platform::ThemeIconCache::provided(
            folder ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
    }
    default:
        return {};
    }
}

} // namespace vexlo
