#pragma once

// The file dialog's view of a folder narrowed to what can be started: folders (to move
// through), files with the execute permission and desktop-entry launchers. Sits between the
// dialog and its file-system model while a filter of programs is selected; with setActive(false)
// everything passes.

#include <QSortFilterProxyModel>

namespace pindrel {

class ProgramFileFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ProgramFileFilter(QObject *pParent = nullptr);

    bool isActive() const { return m_active; }
    void setActive(bool pActive);

protected:
    bool filterAcceptsRow(int pSourceRow, const QModelIndex &pSourceParent) const override;

private:
    bool m_active = true;
};

} // namespace pindrel
