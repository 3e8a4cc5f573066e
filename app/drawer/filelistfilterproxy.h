#pragma once

// The file list's name filter over the flat table of a folder's entries (FolderModel). Patterns
// are the usual wildcards ("*" any run of characters, "?" one character), several separated by
// ";", matched without regard to case against the whole name. Folders always pass. A final ".*"
// may match nothing, and a name without a dot also matches as if it ended in one, as the drawer's
// filter box expects: "*.*" lists every name, "*abc*.*" lists "abc", "abc.txt" and "x.abc", and
// "*." lists the names without a dot.
//
// The proxy never sorts on its own: a sort request goes to the source model, which sorts on its
// own terms (folders first) without the proxy keeping an order of every row.

#include <QList>
#include <QRegularExpression>
#include <QSortFilterProxyModel>

namespace pindrel {

class FileListFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit FileListFilterProxy(QObject *pParent = nullptr);

    // An empty or blank pattern counts as "*".
    void setPattern(const QString &pPattern);
    QString pattern() const { return m_pattern; }
    // True when the pattern lets every name through.
    bool matchesEverything() const { return m_everything; }
    bool matchesName(const QString &pName) const;

    void sort(int pColumn, Qt::SortOrder pOrder = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int pSourceRow, const QModelIndex &pSourceParent) const override;

private:
    QString m_pattern = QStringLiteral("*");
    bool m_everything = true;
    QList<QRegularExpression> m_expressions;
};

} // namespace pindrel
