#include "filelist.h"

#include "drawer/fileitemdelegate.h"
#include "drawer/filekinds.h"
#include "drawer/filelistfilterproxy.h"
#include "drawer/fileopener.h"
#include "drawer/foldermodel.h"
#include "drawer/openquestions.h"
#include "drawer/thumbnailloader.h"

#include "platform/filenamecodec.h"
#include "platform/idlist.h"
#include "platform/shell.h"
#include "platform/shellnamespace.h"
#include "vexlo/vexloctrl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStackedWidget>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace pindrel {

namespace {

constexpr int kLargeIconEdge = 48;
constexpr int kSmallIconEdge = 16;
constexpr int kThumbnailEdge = 96;
// Width of a cell of the small-icon and list views, in average characters of the font.
constexpr int kNameColumnCharacters = 24;
constexpr int kDetailsNameWidth = 240;
// Room between neighbouring cells of the list views, in pixels.
constexpr int kCellGap = 4;

// Whether Qt's own file functions reach pPath: not when a name on it is not valid UTF-8.
bool isTextPath(const QString &pPath)
{
    return platform::encodeFileName(pPath) == QFile::encodeName(pPath);
}

QString normalizedFolder(const QString &pPath)
{
    if (pPath.trimmed().isEmpty())
        return {};
    const QString absolute =
        QDir::isAbsolutePath(pPath) ? pPath : QDir::current().absoluteFilePath(pPath);
    return QDir::cleanPath(absolute);
}

} // namespace

FileList::FileList(QWidget *pParent)
    : QWidget(pParent)
    , m_ownShell(std::make_unique<platform::Shell>())
    , m_shell(m_ownShell.get())
{
    m_model = new FolderModel(this);
    m_proxy = new FileListFilterProxy(this);
    m_proxy->setSourceModel(m_model);

    m_thumbnails = new ThumbnailLoader(this);
    m_thumbnails->setEdge(kThumbnailEdge);
    m_delegate = new FileItemDelegate(this);

    m_listView = new QListView;
    m_listView->setObjectName(QStringLiteral("fileListIcons"));
    m_listView->setItemDelegate(m_delegate);
    m_detailsView = new QTreeView;
    m_detailsView->setObjectName(QStringLiteral("fileListDetails"));
    m_detailsView->setRootIsDecorated(false);
    m_detailsView->setItemsExpandable(false);
    m_detailsView->setExpandsOnDoubleClick(false);
    m_detailsView->setUniformRowHeights(true);
    m_detailsView->setAllColumnsShowFocus(true);
    m_detailsView->setSortingEnabled(true);
    m_detailsView->header()->setSortIndicator(0, Qt::AscendingOrder);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_listView),
                                    static_cast<QAbstractItemView *>(m_detailsView)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        // Items drag out to other applications as file URLs; the list itself takes no drops.
        view->setDragEnabled(true);
        view->setDragDropMode(QAbstractItemView::DragOnly);
        view->setDefaultDropAction(Qt::CopyAction);
        // Double-click opens; renaming is F2 or the context menu.
        view->setEditTriggers(QAbstractItemView::EditKeyPressed);
        view->setTextElideMode(Qt::ElideMiddle);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::activated, this, &FileList::openIndex);
        connect(view, &QWidget::customContextMenuRequested, this, &FileList::showContextMenu);
    }

    m_messageLabel = new QLabel;
    m_messageLabel->setObjectName(QStringLiteral("fileListMessage"));
    m_messageLabel->setTextFormat(Qt::PlainText);
    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_messageLabel->setWordWrap(true);
    m_messageLabel->setMargin(12);
    m_messageLabel->setFocusPolicy(Qt::StrongFocus);
    m_messageLabel->setAutoFillBackground(true);
    m_messageLabel->setBackgroundRole(QPalette::Base);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_listView);
    m_stack->addWidget(m_detailsView);
    m_stack->addWidget(m_messageLabel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    m_openAction = new QAction(tr("Open"), this);
    m_openDefaultAction = new QAction(tr("Open with the default application"), this);
    m_copyPathAction = new QAction(tr("Copy path"), this);
    m_renameAction = new QAction(tr("Rename"), this);
    m_renameAction->setShortcut(QKeySequence(Qt::Key_F2));
    m_trashAction = new QAction(tr("Move to Trash"), this);
    m_trashAction->setShortcut(QKeySequence(QKeySequence::Delete));
    connect(m_openAction, &QAction::triggered, this, &FileList::openSelection);
    connect(m_openDefaultAction, &QAction::triggered, this,
            &FileList::openSelectionWithDefaultApplication);
    connect(m_copyPathAction, &QAction::triggered, this, &FileList::copySelectionPaths);
    connect(m_renameAction, &QAction::triggered, this, &FileList::renameCurrent);
    connect(m_trashAction, &QAction::triggered, this, &FileList::moveSelectionToTrash);

    connect(m_model, &FolderModel::folderLoaded, this, [this](const QString &pFolder) {
        if (!showsMessage() && pFolder == m_path)
            emit folderLoaded(m_path);
    });
    connect(m_model, &FolderModel::folderUnreadable, this, &FileList::recheckFolder);
    // Queued: the refusal arrives while the view is still committing the edit.
    connect(
        m_model, &FolderModel::renameFailed, this,
        [this](const QString &pName, const QString &pReason) {
            QMessageBox::warning(this, QStringLiteral("Pindrel"),
                                 tr("\"%1\" could not be renamed. %2")
                                     .arg(platform::displayFileName(pName), pReason));
        },
        Qt::QueuedConnection);
    connect(m_thumbnails, &ThumbnailLoader::thumbnailReady, m_listView->viewport(),
            qOverload<>(&QWidget::update));
    // Made here, on this thread, before any background sort may ask it for type names.
    FileKinds &kinds = FileKinds::shared();
    connect(&kinds, &FileKinds::iconsChanged, m_listView->viewport(),
            qOverload<>(&QWidget::update));
    connect(&kinds, &FileKinds::iconsChanged, m_detailsView->viewport(),
            qOverload<>(&QWidget::update));

    applyView();
}

FileList::~FileList() = default;

void FileList::setView(int pView)
{
    if (pView < 0 || pView >= kViewCount || pView == m_view)
        return;
    m_view = pView;
    applyView();
}

QString FileList::Pattern() const
{
    return m_proxy->pattern();
}

void FileList::setPattern(const QString &pPattern)
{
    m_proxy->setPattern(pPattern);
}

QString FileList::FolderName() const
{
    if (m_path.isEmpty())
        return {};
    if (m_path == QStringLiteral("/"))
        return tr("File System");
    return platform::displayFileName(QFileInfo(m_path).fileName());
}

void FileList::setPath(const QString &pPath)
{
    changeFolder(pPath, Origin::Program);
}

void FileList::showFolderFromCombo(const QString &pPath)
{
    changeFolder(pPath, Origin::Combo);
}

void FileList::UpOneLevel()
{
    if (m_path.isEmpty() || m_path == QStringLiteral("/"))
        return;
    changeFolder(QDir::cleanPath(m_path + QStringLiteral("/..")), Origin::User);
}

void FileList::setAssociatedControl(vexlo::CVexloCtrl *pControl)
{
    m_combo = pControl;
}

vexlo::CVexloCtrl *FileList::associatedControl() const
{
    return m_combo.data();
}

intptr_t FileList::companionWindowHandle() const
{
    // Any non-zero value lets the combo send its messages; they are plain calls here, so the
    // list itself stands for its window.
    return reinterpret_cast<intptr_t>(this);
}

intptr_t FileList::companionMessage(uint32_t pMessage, const platform::ItemIdList *pAbsolute)
{
    if (pMessage != vexlo::kListFolderMessage || !m_combo)
        return 0;
    const std::shared_ptr<const platform::ShellNamespace> &shell = m_combo->shellNamespace();
    if (!shell)
        return 0;
    // The desktop (null) is the desktop folder; the Computer and the trash have no folder to
    // list, so the list stays where it is.
    const QString path = shell->pathFromIdList(pAbsolute);
    if (!path.isEmpty())
        changeFolder(path, Origin::Combo);
    return 0;
}

void FileList::tellAssociatedControl()
{
    if (!m_combo || m_path.isEmpty())
        return;
    const std::shared_ptr<const platform::ShellNamespace> &shell = m_combo->shellNamespace();
    platform::ItemIdList *parsed = nullptr;
    // A folder that is gone or unreadable has no identifier list: the combo keeps its entry.
    if (!shell || !shell->parseDisplayName(m_path, &parsed))
        return;
    const platform::idlist::Unique list(parsed);
    // The combo keeps a copy; the list is ours to free.
    m_combo->listWindowMessage(vexlo::kComboFolderMessage, list.get());
}

WId FileList::hWnd() const
{
    // The list is not a native window of its own (that would slow down and break the drawing
    // of its children); the window that carries it stands for it.
    return effectiveWinId();
}

bool FileList::showsMessage() const
{
    return m_stack->currentWidget() == m_messageLabel;
}

QString FileList::message() const
{
    return showsMessage() ? m_messageLabel->text() : QString();
}

QAbstractItemView *FileList::currentView() const
{
    if (m_view == Details)
        return m_detailsView;
    return m_listView;
}

QList<QAction *> FileList::contextActions() const
{
    return {m_openAction, m_openDefaultAction, m_copyPathAction, m_renameAction, m_trashAction};
}

void FileList::setShell(platform::Shell *pShell)
{
    m_shell = pShell != nullptr ? pShell : m_ownShell.get();
}

QStringList FileList::entryNames() const
{
    QStringList names;
    if (showsMessage())
        return names;
    const int rows = m_proxy->rowCount();
    names.reserve(rows);
    for (int row = 0; row < rows; ++row)
        names.append(m_proxy->index(row, 0).data(FolderModel::FileNameRole).toString());
    return names;
}

QModelIndex FileList::indexOfName(const QString &pName) const
{
    if (showsMessage())
        return {};
    const int rows = m_proxy->rowCount();
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_proxy->index(row, 0);
        if (index.data(FolderModel::FileNameRole).toString() == pName)
            return index;
    }
    return {};
}

void FileList::changeFolder(const QString &pPath, Origin pOrigin)
{
    const QString folder = normalizedFolder(pPath);
    if (folder.isEmpty())
        return;
    if (pOrigin == Origin::Combo && folder == m_path)
        return;

    m_path = folder;
    m_thumbnails->cancel();
    const FolderProbe::Result probe = m_probe.check(folder);
    if (probe.listable())
        showListing(folder);
    else
        showMessage(probe.message);

    // Handlers of these signals may change the folder again; each carries its own folder.
    if (pOrigin != Origin::Combo) {
        tellAssociatedControl();
        emit folderNavigated(folder);
    }
    emit FolderChanged(folder);
}

void FileList::showListing(const QString &pFolder)
{
    m_model->setFolder(pFolder);
    currentView()->scrollToTop();
    showPage(currentView());
}

void FileList::showMessage(const QString &pText)
{
    m_model->setFolder({});
    m_messageLabel->setText(pText);
    showPage(m_messageLabel);
}

void FileList::showPage(QWidget *pPage)
{
    const QWidget *previous = m_stack->currentWidget();
    const bool hadFocus = previous != nullptr && previous->hasFocus();
    m_stack->setCurrentWidget(pPage);
    // Focus given to the list goes to whatever it shows.
    setFocusProxy(pPage);
    if (hadFocus)
        pPage->setFocus();
}

void FileList::applyView()
{
    const bool details = m_view == Details;
    QAbstractItemView *shown = details ? static_cast<QAbstractItemView *>(m_detailsView)
                                       : static_cast<QAbstractItemView *>(m_listView);
    QAbstractItemView *other = details ? static_cast<QAbstractItemView *>(m_listView)
                                       : static_cast<QAbstractItemView *>(m_detailsView);
    if (!details)
        configureListView();
    if (m_view != Thumbnails)
        m_thumbnails->cancel();

    // Only the view on screen follows the model: a hidden view would lay out every row of a
    // large folder for nothing.
    if (other->model() == m_proxy) {
        QItemSelectionModel *selection = other->selectionModel();
        other->setModel(nullptr);
        if (selection != nullptr)
            selection->deleteLater();
    }
    attachModel(shown);

    if (!showsMessage())
        showPage(shown);
}

void FileList::attachModel(QAbstractItemView *pView)
{
    if (pView->model() != m_proxy) {
        QItemSelectionModel *previous = pView->selectionModel();
        pView->setModel(m_proxy);
        if (previous != nullptr)
            previous->deleteLater();
        if (pView == m_detailsView)
            m_detailsView->header()->resizeSection(0, kDetailsNameWidth);
    }
}

void FileList::configureListView()
{
    const QFontMetrics metrics(m_listView->font());
    const int line = metrics.lineSpacing();
    const int nameWidth = metrics.averageCharWidth() * kNameColumnCharacters;
    // Every cell the same size: the layout of a folder with a hundred thousand entries is then
    // arithmetic instead of a measurement of each name.
    m_listView->setViewMode(QListView::ListMode);
    m_listView->setUniformItemSizes(true);
    m_listView->setLayoutMode(QListView::Batched);
    m_listView->setMovement(QListView::Static);
    m_listView->setResizeMode(QListView::Adjust);
    m_listView->setWrapping(true);
    m_delegate->setThumbnails(nullptr);

    switch (m_view) {
    case LargeIcons:
    case Thumbnails: {
        const int edge = m_view == LargeIcons ? kLargeIconEdge : kThumbnailEdge;
        m_listView->setFlow(QListView::LeftToRight);
        const QSize cell(edge + 4 * line, edge + 2 * line + 10);
        m_listView->setIconSize(QSize(edge, edge));
        m_listView->setGridSize(cell);
        m_delegate->setCellSize(cell - QSize(kCellGap, kCellGap));
        m_listView->setWordWrap(true);
        m_delegate->setIconAboveName(true);
        if (m_view == Thumbnails) {
            m_thumbnails->setEdge(kThumbnailEdge, devicePixelRatioF());
            m_delegate->setThumbnails(m_thumbnails);
        }
        break;
    }
    case SmallIcons:
    case List: {
        m_listView->setFlow(m_view == SmallIcons ? QListView::LeftToRight : QListView::TopToBottom);
        const QSize cell(nameWidth + kSmallIconEdge + 12, qMax(kSmallIconEdge, line) + 6);
        m_listView->setIconSize(QSize(kSmallIconEdge, kSmallIconEdge));
        m_listView->setGridSize(cell);
        m_delegate->setCellSize(cell - QSize(kCellGap, 0));
        m_listView->setWordWrap(false);
        m_delegate->setIconAboveName(false);
        break;
    }
    default:
        break;
    }
    // Static movement switches dragging off; items must still drag out of the list.
    m_listView->setDragDropMode(QAbstractItemView::DragOnly);
    m_listView->viewport()->update();
}

void FileList::recheckFolder()
{
    if (m_path.isEmpty() || showsMessage())
        return;
    const FolderProbe::Result probe = m_probe.check(m_path);
    // The folder went away, or could not be read although it still looks readable (a race with
    // its removal, or a drive failing): say so either way.
    showMessage(probe.listable()
                    ? tr("This folder cannot be read: %1")
                          .arg(QDir::toNativeSeparators(platform::displayFileName(m_path)))
                    : probe.message);
}

bool FileList::handleNavigationKey(const QKeyEvent &pEvent)
{
    const Qt::KeyboardModifiers modifiers = pEvent.modifiers() & ~Qt::KeypadModifier;
    if ((pEvent.key() == Qt::Key_Backspace && modifiers == Qt::NoModifier)
        || (pEvent.key() == Qt::Key_Up && modifiers == Qt::AltModifier)) {
        UpOneLevel();
        return true;
    }
    return false;
}

bool FileList::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return QWidget::eventFilter(pWatched, pEvent);
    const auto *key = static_cast<QKeyEvent *>(pEvent);
    const auto *view = qobject_cast<QAbstractItemView *>(pWatched);
    if (view == nullptr)
        return QWidget::eventFilter(pWatched, pEvent);
    // Keys the name editor of a rename leaves unused come up to the view; they are not ours.
    const QWidget *focus = QApplication::focusWidget();
    if (focus != nullptr && focus != view && view->isAncestorOf(focus))
        return false;
    // Before the view sees them: it would take Alt+Up as a move of the current entry.
    if (handleNavigationKey(*key))
        return true;
    if (key->matches(QKeySequence::Delete)) {
        moveSelectionToTrash();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void FileList::keyPressEvent(QKeyEvent *pEvent)
{
    // Reached from the message shown in place of a folder, which has no keys of its own.
    if (handleNavigationKey(*pEvent))
        return;
    QWidget::keyPressEvent(pEvent);
}

QString FileList::pathOf(const QModelIndex &pIndex) const
{
    return pIndex.siblingAtColumn(0).data(FolderModel::FilePathRole).toString();
}

QModelIndexList FileList::selectedEntries() const
{
    QModelIndexList entries;
    const QAbstractItemView *view = currentView();
    if (showsMessage() || view->selectionModel() == nullptr)
        return entries;
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (index.column() == 0)
            entries.append(index);
    }
    if (entries.isEmpty() && view->currentIndex().isValid())
        entries.append(view->currentIndex().siblingAtColumn(0));
    return entries;
}

void FileList::openIndex(const QModelIndex &pIndex)
{
    if (!pIndex.isValid())
        return;
    const QModelIndex entry = pIndex.siblingAtColumn(0);
    if (entry.data(FolderModel::IsFolderRole).toBool()) {
        changeFolder(pathOf(entry), Origin::User);
        return;
    }
    openFile(pathOf(entry), entry.data(FolderModel::UrlRole).toUrl());
}

void FileList::openFile(const QString &pPath, const QUrl &pUrl)
{
    // A path that is not all text reaches the desktop only as the bytes inside a URL.
    if (!isTextPath(pPath)) {
        m_shell->openUrl(pUrl);
        return;
    }
    FileOpener::open(this, pPath, *m_shell,
                     m_questions != nullptr ? *m_questions : OpenQuestions::standard());
}

void FileList::openSelection()
{
    // Taken out of the model first: a question asked on the way lets the folder's changes,
    // or the window's closing, run meanwhile.
    QList<QPair<QString, QUrl>> files;
    QString folder;
    for (const QModelIndex &entry : selectedEntries()) {
        if (!entry.data(FolderModel::IsFolderRole).toBool())
            files.append({pathOf(entry), entry.data(FolderModel::UrlRole).toUrl()});
        else if (folder.isEmpty())
            folder = pathOf(entry);
    }
    const QPointer<FileList> self(this);
    for (const auto &[path, url] : std::as_const(files)) {
        openFile(path, url);
        if (self.isNull())
            return;
    }
    // Files first: opening a folder replaces the entries the selection refers to.
    if (!folder.isEmpty())
        changeFolder(folder, Origin::User);
}

void FileList::openSelectionWithDefaultApplication()
{
    const QModelIndexList entries = selectedEntries();
    for (const QModelIndex &entry : entries)
        m_shell->openUrl(entry.data(FolderModel::UrlRole).toUrl());
}

void FileList::copySelectionPaths()
{
    QStringList paths;
    QList<QUrl> urls;
    const QModelIndexList entries = selectedEntries();
    for (const QModelIndex &entry : entries) {
        paths.append(platform::displayFileName(pathOf(entry)));
        urls.append(entry.data(FolderModel::UrlRole).toUrl());
    }
    if (paths.isEmpty() && !m_path.isEmpty()) {
        paths.append(platform::displayFileName(m_path));
        urls.append(QUrl::fromLocalFile(m_path));
    }
    if (paths.isEmpty())
        return;
    auto mime = std::make_unique<QMimeData>();
    mime->setText(paths.join(QLatin1Char('\n')));
    mime->setUrls(urls);
    QGuiApplication::clipboard()->setMimeData(mime.release()); // the clipboard owns it
}

void FileList::renameCurrent()
{
    QAbstractItemView *view = currentView();
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && (current.flags() & Qt::ItemIsEditable))
        view->edit(current.siblingAtColumn(0));
}

void FileList::moveSelectionToTrash()
{
    QStringList failed;
    const QModelIndexList entries = selectedEntries();
    QStringList paths;
    for (const QModelIndex &entry : entries)
        paths.append(pathOf(entry));
    for (const QString &path : std::as_const(paths)) {
        if (!QFile::moveToTrash(path))
            failed.append(QDir::toNativeSeparators(platform::displayFileName(path)));
    }
    if (!failed.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Pindrel"),
                             tr("These items could not be moved to the Trash:\n%1")
                                 .arg(failed.join(QLatin1Char('\n'))));
}

void FileList::showContextMenu(const QPoint &pPosition)
{
    QAbstractItemView *view = currentView();
    const QModelIndex under = view->indexAt(pPosition);
    // A right click on an unselected entry works on that entry alone, as in file managers.
    if (under.isValid() && !view->selectionModel()->isSelected(under))
        view->setCurrentIndex(under);

    const int count = static_cast<int>(selectedEntries().size());
    m_openAction->setEnabled(count > 0);
    m_openDefaultAction->setEnabled(count > 0);
    m_renameAction->setEnabled(count == 1
                               && (selectedEntries().constFirst().flags() & Qt::ItemIsEditable));
    m_trashAction->setEnabled(count > 0);
    m_copyPathAction->setEnabled(count > 0 || !m_path.isEmpty());

    QMenu menu(this);
    menu.addAction(m_openAction);
    menu.addAction(m_openDefaultAction);
    menu.addSeparator();
    menu.addAction(m_copyPathAction);
    menu.addAction(m_renameAction);
    menu.addSeparator();
    menu.addAction(m_trashAction);
    menu.exec(view->viewport()->mapToGlobal(pPosition));
}

} // namespace pindrel
