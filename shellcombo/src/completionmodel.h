#pragma once

// The suggestions for what is typed in the edit box: the recently used locations that start
// with the typed text, then the entries of the typed path's folder whose names start with the
// rest of it (both regardless of case), folders with a trailing '/'. Dot entries show only
// once a '.' is typed. The folder's entries are not copied: the model shows runs of a sorted
// listing.
//
// The edit role is the text the edit box takes (escaped bytes kept, so it parses back to the
// same object); the display role shows such bytes as U+FFFD.

#include "completionlister.h"

#include <QtCore/QAbstractListModel>

#include <memory>
#include <utility>
#include <vector>

namespace vexlo {

class CompletionModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CompletionModel(QObject *pParent = nullptr);

    // The folder of a typed text: everything up to its last '/', for an absolute path; "" for
    // anything else (a relative path completes nothing).
    static QString folderOf(const QString &pTyped);

    void setListing(std::shared_ptr<const CompletionListing> pListing);
    const std::shared_ptr<const CompletionListing> &listing() const { return m_listing; }
    // Shows the suggestions for pTyped; none when the listing is of another folder.
    void filter(const QString &pTyped);

    int rowCount(const QModelIndex &pParent = {}) const override;
    QVariant data(const QModelIndex &pIndex, int pRole) const override;
    // The edit text of row pRow.
    QString completionAt(int pRow) const;

private:
    std::shared_ptr<const CompletionListing> m_listing;
    QStringList m_recent; // the matching recent locations
    std::vector<std::pair<size_t, size_t>> m_runs; // [begin, end) of the listing's entries
    int m_rows = 0;
};

} // namespace vexlo
