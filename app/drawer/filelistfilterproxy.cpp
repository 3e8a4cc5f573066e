#include "filelistfilterproxy.h"

#include "drawer/foldermodel.h"

namespace pindrel {

namespace {

// Wildcards by hand rather than through the path-aware translation of Qt: only "*" and "?" are
// special here, brackets are plain characters in these patterns.
QRegularExpression expressionFor(const QString &pWildcard)
{
    QString expression;
    expression.reserve(pWildcard.size() * 2);
    for (const QChar character : pWildcard) {
        if (character == QLatin1Char('*'))
            expression += QStringLiteral(".*");
        else if (character == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(character));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption
                                  | QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

FileListFilterProxy::FileListFilterProxy(QObject *pParent)
    : QSortFilterProxyModel(pParent)
{
    // Rows come and go while a folder is listed; the filter must judge each newcomer.
    setDynamicSortFilter(true);
}

void FileListFilterProxy::setPattern(const QString &pPattern)
{
    QString pattern = pPattern.trimmed();
    if (pattern.isEmpty())
        pattern = QStringLiteral("*");
    if (pattern == m_pattern)
        return;

    m_pattern = pattern;
    m_expressions.clear();
    m_everything = false;
    const QStringList parts = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString wildcard = part.trimmed();
        if (wildcard.isEmpty())
            continue;
        // A final ".*" may also match nothing at all: "*.*" is every name, "*abc*.*" takes
        // "abc" and "x.abc" as well as "abc.txt".
        QStringList candidates{wildcard};
        if (wildcard.endsWith(QStringLiteral(".*")))
            candidates.append(wildcard.chopped(2));
        for (const QString &candidate : candidates) {
            if (candidate.count(QLatin1Char('*')) == candidate.size()) {
                m_everything = true;
                break;
            }
            m_expressions.append(expressionFor(candidate));
        }
        if (m_everything)
            break;
    }
    if (m_everything)
        m_expressions.clear();
    if (m_expressions.isEmpty())
        m_everything = true;
    invalidateFilter();
}

bool FileListFilterProxy::matchesName(const QString &pName) const
{
    if (m_everything)
        return true;
    const bool withoutDot = !pName.contains(QLatin1Char('.'));
    const QString dotted = withoutDot ? pName + QLatin1Char('.') : QString();
    for (const QRegularExpression &expression : m_expressions) {
        if (expression.match(pName).hasMatch())
            return true;
        if (withoutDot && expression.match(dotted).hasMatch())
            return true;
    }
    return false;
}

void FileListFilterProxy::sort(int pColumn, Qt::SortOrder pOrder)
{
    if (sourceModel() != nullptr)
        sourceModel()->sort(pColumn, pOrder);
}

bool FileListFilterProxy::filterAcceptsRow(int pSourceRow, const QModelIndex &pSourceParent) const
{
    if (m_everything)
        return true;
    const QModelIndex index = sourceModel()->index(pSourceRow, 0, pSourceParent);
    if (index.data(FolderModel::IsFolderRole).toBool())
        return true;
    return matchesName(index.data(FolderModel::FileNameRole).toString());
}

} // namespace pindrel
