#pragma once

// CShellChangeFollower: keeps a list window in step with the file system while the control's
// AutoUpdate is on.
//
// It watches the desktop folder and every folder above the current selection (re-watched after
// each SelectionChanged), plus the mount table, through a platform change notifier, and applies:
// - folder created directly in the desktop folder: one entry for it appended at the end with the
//   list's indentation step (OnAfterItemAdd). The same folder reported twice in a row adds one
//   entry; a folder already shown adds none.
// - folder removed: a desktop-level entry showing it is removed (OnBeforeItemDelete) and, when it
//   was selected, the desktop is selected; for a deeper folder, when it is the selection, its
//   parent is selected.
// - item updated, media inserted or removed: the entry showing that path gets a fresh text (its
//   path when ShowFullPath is on and it is selected, else its display name).
// - media inserted that the namespace lists as a new drive: an entry for it among the drives, in
//   the namespace's order; media removed: its drive entry goes (a selection on it or below it
//   moves to the desktop).
// - folder renamed: a desktop-level entry is replaced by one for the new folder at the same place;
//   for a deeper folder, when it is the selection, the new folder is selected.
// Entries are matched by their file-system paths; custom entries are never touched. A path that
// does not parse changes nothing.

#include "vexlo/vexloexport.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <memory>

namespace pindrel::platform {
class ChangeNotifier;
}

namespace vexlo {

class CNamespaceComboBox;

class VEXLO_EXPORT CShellChangeFollower : public QObject
{
    Q_OBJECT

public:
    // pList must outlive the follower (the control owns both and destroys this first).
    // pMountTablePath: the mount table to follow; the namespace's own table when empty.
    explicit CShellChangeFollower(CNamespaceComboBox &pList, const QString &pMountTablePath = {},
                                  QObject *pParent = nullptr);
    ~CShellChangeFollower() override;

    // The folders watched at the moment (for tests and diagnostics).
    QStringList watchedFolders() const;

    // The rules, also callable directly.
    void onFolderCreated(const QString &pPath);
    void onFolderRemoved(const QString &pPath);
    void onItemUpdated(const QString &pPath);
    void onFolderRenamed(const QString &pOldPath, const QString &pNewPath);
    void onMediaInserted(const QString &pMountPoint);
    void onMediaRemoved(const QString &pMountPoint);

private:
    int findEntry(const QString &pPath) const;
    void refreshText(int pIndex);
    bool isOnDesktop(const QString &pPath) const;
    QString selectedPath() const;
    void watchSelection();
    // Runs pChange with the selection taken down and puts it back afterwards: the list window
    // keeps its selection and path items by index, which inserting or removing in front of them
    // would leave pointing at the wrong entries.
    void keepingSelection(const std::function<void()> &pChange);

    CNamespaceComboBox &m_list;
    std::unique_ptr<pindrel::platform::ChangeNotifier> m_notifier;
    QString m_desktopDir;
    QStringList m_selectionWatches;
    QString m_rememberedDesktopChild; // the last desktop folder appended
};

} // namespace vexlo
