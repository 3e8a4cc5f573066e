#pragma once

// The drawer window's file list (the control fV): the contents of one folder over FolderModel,
// which reads folders and sorts them on a background thread and follows changes on disk.
//
// Members, as the drawer window and the bar use them:
//   View        0 large icons, 1 small icons, 2 list, 3 details (name, size, type, modified),
//               4 thumbnails of pictures (decoded in the background). Other values are ignored.
//   Path        the folder shown. Setting it shows that folder, or, when the folder cannot be
//               listed, a sentence saying why in the list's place; either way FolderChanged
//               follows, also when the folder was already shown, and Path already holds the new
//               folder when it does. Blank text is ignored. A relative path is taken from the
//               current folder; "." and ".." parts and a trailing separator are dropped, links
//               are kept as written.
//   Pattern     wildcards of the names listed (rules in FileListFilterProxy); folders are always
//               listed. Starts as "*".
//   FolderName  the display name of the shown folder: its own name, "File System" for "/".
//   UpOneLevel  shows the parent folder; does nothing at "/".
//   hWnd        the native window that carries the list.
//
// Association with the path combo (vexlo/association.h): the list is the combo's file-list
// companion (CVexloCtrl::Quennel). Every change of folder that does not come from the combo is
// announced with folderNavigated, just before FolderChanged, and sent to the associated combo as
// a combo-folder message, which selects it there quietly. A list-folder message from the combo
// shows that folder without announcing it back (no echo), as showFolderFromCombo does, and does
// nothing when that folder is already shown or has no file-system path (the Computer).
//
// What the user can do: double-click or Enter opens a folder in place and a file as
// FileOpener has it (a program starts directly, never through a shell; a script or a launcher
// not marked as trusted asks first);
// Backspace or Alt+Up goes up; F2 renames in place; Delete moves the selection to the Trash;
// the details view sorts by the clicked column; items drag out as file URLs; the context menu
// offers Open, Open with the default application, Copy path, Rename and Move to Trash.
//
// Bad input never stops the list: a folder that is missing, not a folder, a dead link, a link
// loop, not readable by this user or on a drive that is gone shows a sentence saying so (also
// when it goes away while shown), and navigation goes on from there. Names that are not valid
// UTF-8 are listed like any other; in paths and names given out (Path, FolderChanged, entry
// names) their invalid bytes are escaped as platform/filenamecodec.h has it.

#include "drawer/folderprobe.h"

#include "vexlo/association.h"

#include <QAbstractItemModel>
#include <QPointer>
#include <QWidget>

#include <memory>

class QAbstractItemView;
class QAction;
class QLabel;
class QListView;
class QStackedWidget;
class QTreeView;

namespace pindrel {

namespace platform {
class Shell;
}

class FileItemDelegate;
class OpenQuestions;
class FileListFilterProxy;
class FolderModel;
class ThumbnailLoader;

class FileList : public QWidget, public vexlo::IShellCompanion
{
    Q_OBJECT
    Q_PROPERTY(int View READ View WRITE setView)
    Q_PROPERTY(QString Path READ Path WRITE setPath)
    Q_PROPERTY(QString Pattern READ Pattern WRITE setPattern)
    Q_PROPERTY(QString FolderName READ FolderName)

public:
    enum ViewMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3, Thumbnails = 4 };
    static constexpr int kViewCount = 5;

    explicit FileList(QWidget *pParent = nullptr);
    ~FileList() override;

    int View() const { return m_view; }
    void setView(int pView);

    QString Path() const { return m_path; }
    void setPath(const QString &pPath);

    QString Pattern() const;
    void setPattern(const QString &pPattern);

    QString FolderName() const;

    void UpOneLevel();

    WId hWnd() const;

    // What the list area shows now.
    bool showsMessage() const;
    // The sentence shown instead of the listing; empty while the folder is listed.
    QString message() const;
    // The names listed now, in display order (empty while a message is shown). Entries whose
    // names are not valid UTF-8 are listed too, after the others.
    QStringList entryNames() const;
    // The entry named pName in the shown folder as an index of the current view's model;
    // invalid when it is not listed. Names that are not valid UTF-8 are given with each invalid
    // byte escaped (platform/filenamecodec.h).
    QModelIndex indexOfName(const QString &pName) const;
    // The widget that lists the entries in the current view.
    QAbstractItemView *currentView() const;
    // The actions of the context menu, in menu order.
    QList<QAction *> contextActions() const;
    ThumbnailLoader *thumbnails() const { return m_thumbnails; }

    // Where files are opened; not owned. nullptr goes back to the list's own.
    void setShell(platform::Shell *pShell);
    // Who asks before a script or an untrusted launcher starts; not owned. nullptr goes back
    // to the message boxes of OpenQuestions::standard().
    void setOpenQuestions(OpenQuestions *pQuestions) { m_questions = pQuestions; }
    // Replaces the folder checks (tests pass other removable-media roots).
    void setFolderProbe(FolderProbe pProbe) { m_probe = std::move(pProbe); }

    // vexlo::IShellCompanion
    void setAssociatedControl(vexlo::CVexloCtrl *pControl) override;
    intptr_t companionWindowHandle() const override;
    intptr_t companionMessage(uint32_t pMessage, const platform::ItemIdList *pAbsolute) override;
    vexlo::CVexloCtrl *associatedControl() const;

    // Sends the shown folder to the associated combo (quietly selected there); for a combo that
    // could not take it yet because it had no list window.
    void tellAssociatedControl();

public slots:
    void showFolderFromCombo(const QString &pPath);

signals:
    void FolderChanged(const QString &pPath);
    void folderNavigated(const QString &pPath);
    // The shown folder has been read to the end (its entries are in the list).
    void folderLoaded(const QString &pPath);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;

private:
    enum class Origin { Program, User, Combo };

    void changeFolder(const QString &pPath, Origin pOrigin);
    void showListing(const QString &pFolder);
    void showMessage(const QString &pText);
    void showPage(QWidget *pPage);
    void applyView();
    void configureListView();
    void attachModel(QAbstractItemView *pView);
    void recheckFolder();
    bool handleNavigationKey(const QKeyEvent &pEvent);

    // User actions on entries (indexes of the proxy).
    void openIndex(const QModelIndex &pIndex);
    // A file (not a folder) of the list; pUrl stands for it where its name is not text.
    void openFile(const QString &pPath, const QUrl &pUrl);
    void openSelection();
    void openSelectionWithDefaultApplication();
    void copySelectionPaths();
    void renameCurrent();
    void moveSelectionToTrash();
    QModelIndexList selectedEntries() const;
    QString pathOf(const QModelIndex &pIndex) const;
    void showContextMenu(const QPoint &pPosition);

    int m_view = LargeIcons;
    QString m_path;
    FolderProbe m_probe;

    FolderModel *m_model = nullptr;
    FileListFilterProxy *m_proxy = nullptr;
    ThumbnailLoader *m_thumbnails = nullptr;
    FileItemDelegate *m_delegate = nullptr;

    QStackedWidget *m_stack = nullptr;
    QListView *m_listView = nullptr;
    QTreeView *m_detailsView = nullptr;
    QLabel *m_messageLabel = nullptr;

    QAction *m_openAction = nullptr;
    QAction *m_openDefaultAction = nullptr;
    QAction *m_copyPathAction = nullptr;
    QAction *m_renameAction = nullptr;
    QAction *m_trashAction = nullptr;

    std::unique_ptr<platform::Shell> m_ownShell;
    platform::Shell *m_shell = nullptr;
    OpenQuestions *m_questions = nullptr;
    QPointer<vexlo::CVexloCtrl> m_combo; // the associated path combo, not owned
};

} // namespace pindrel
