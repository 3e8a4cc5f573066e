#include "vexlo/shellchangefollower.h"

#include "vexlo/namespacecombobox.h"

#include "platform/changenotifier.h"
#include "platform/idlist.h"
#include "platform/shellnamespace.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace pf = pindrel::platform;

namespace vexlo {

namespace {

QString cleanPath(const QString &pPath)
{
    return pPath.isEmpty() ? QString() : QDir::cleanPath(pPath);
}

QString parentOf(const QString &pPath)
{
    return cleanPath(QFileInfo(pPath).path());
}

} // namespace

CShellChangeFollower::CShellChangeFollower(CNamespaceComboBox &pList,
                                           const QString &pMountTablePath, QObject *pParent)
    : QObject(pParent)
    , m_list(pList)
    , m_notifier(std::make_unique<pf::ChangeNotifier>(
          pMountTablePath.isEmpty() ? pList.shell().roots().mountTable : pMountTablePath))
    , m_desktopDir(cleanPath(pList.shell().roots().desktopDir))
{
    using pf::ChangeNotifier;
    connect(m_notifier.get(), &ChangeNotifier::folderCreated, this,
            &CShellChangeFollower::onFolderCreated);
    connect(m_notifier.get(), &ChangeNotifier::folderRemoved, this,
            &CShellChangeFollower::onFolderRemoved);
    connect(m_notifier.get(), &ChangeNotifier::itemUpdated, this,
            &CShellChangeFollower::onItemUpdated);
    connect(m_notifier.get(), &ChangeNotifier::mediaInserted, this,
            &CShellChangeFollower::onMediaInserted);
    connect(m_notifier.get(), &ChangeNotifier::mediaRemoved, this,
            &CShellChangeFollower::onMediaRemoved);
    connect(m_notifier.get(), &ChangeNotifier::folderRenamed, this,
            &CShellChangeFollower::onFolderRenamed);
    connect(&m_list, &CNamespaceComboBox::SelectionChanged, this,
            &CShellChangeFollower::watchSelection);
    if (!m_desktopDir.isEmpty())
        m_notifier->watchFolder(m_desktopDir);
    watchSelection();
}

CShellChangeFollower::~CShellChangeFollower() = default;

QStringList CShellChangeFollower::watchedFolders() const
{
    return m_notifier->watchedFolders();
}

int CShellChangeFollower::findEntry(const QString &pPath) const
{
    const QString wanted = cleanPath(pPath);
    if (wanted.isEmpty())
        return -1;
    // Entry 0 is the desktop; its folder is never one of the changed objects looked for here.
    for (int index = 1; index < m_list.count(); ++index) {
        if (m_list.entryIsCustom(index) || !m_list.entryIdList(index))
            continue;
        if (cleanPath(m_list.entryPath(index)) == wanted)
            return index;
    }
    return -1;
}

void CShellChangeFollower::refreshText(int pIndex)
{
    const bool fullPath = m_list.options().showFullPath && pIndex == m_list.logicalSelection();
    const QString path = m_list.entryPath(pIndex);
    m_list.setEntryText(pIndex,
                        fullPath && !path.isEmpty() ? path : m_list.entryDisplayName(pIndex));
}

bool CShellChangeFollower::isOnDesktop(const QString &pPath) const
{
    return !m_desktopDir.isEmpty() && parentOf(pPath) == m_desktopDir;
}

QString CShellChangeFollower::selectedPath() const
{
    const int selected = m_list.logicalSelection();
    if (selected <= 0 || m_list.entryIsCustom(selected))
        return {};
    return cleanPath(m_list.entryPath(selected));
}

void CShellChangeFollower::watchSelection()
{
    // The folders above the selection: a removed or renamed selection is reported by its parent.
    QStringList wanted;
    for (QString folder = selectedPath(); !folder.isEmpty();) {
        const QString parent = parentOf(folder);
        if (parent == folder)
            break;
        if (parent != m_desktopDir)
            wanted.append(parent);
        folder = parent;
    }
    for (const QString &old : std::as_const(m_selectionWatches))
        if (!wanted.contains(old))
            m_notifier->unwatchFolder(old);
    for (const QString &folder : std::as_const(wanted))
        if (!m_selectionWatches.contains(folder))
            m_notifier->watchFolder(folder);
    m_selectionWatches = wanted;
}

void CShellChangeFollower::onFolderCreated(const QString &pPath)
{
    if (!isOnDesktop(pPath))
        return;
    const QString path = cleanPath(pPath);
    if (path == m_rememberedDesktopChild) {
        // The same folder told twice: the first report already added it.
        m_rememberedDesktopChild.clear();
        return;
    }
    pf::ItemIdList *parsed = nullptr;
    if (!m_list.shell().parseDisplayName(path, &parsed) || !parsed)
        return;
    const pf::idlist::Unique parsedList(parsed);
    // The parse may take the route through the drives; the entry is the desktop's own child,
    // made of the last identifier alone.
    const pf::idlist::Unique list(pf::idlist::copy(pf::idlist::last(parsedList.get())));
    if (!list || pf::idlist::level(list.get()) != 1 || findEntry(path) >= 0)
        return;
    m_rememberedDesktopChild = path;
    m_list.insertShellEntry(list.get(), m_list.count(), m_list.options().indent, false);
}

void CShellChangeFollower::onFolderRemoved(const QString &pPath)
{
    const QString path = cleanPath(pPath);
    if (path == m_rememberedDesktopChild)
        m_rememberedDesktopChild.clear();
    if (isOnDesktop(path)) {
        const int index = findEntry(path);
        if (index < 0)
            return;
        const int selected = m_list.logicalSelection();
        if (index == selected || selectedPath() == path) {
            // Selecting the desktop first takes the selection's path items away, so the index
            // is looked up again afterwards.
            m_list.SetPidl(nullptr);
            const int again = findEntry(path);
            if (again >= 0)
                m_list.removeEntry(again);
            return;
        }
        // The list window keeps the selection and its path items by index; removing an entry
        // in front of them would leave those indexes pointing at the wrong entries. So the
        // selection is taken down first and put back afterwards.
        pf::idlist::Unique keep;
        if (selected > 0 && m_list.entryIdList(selected))
            keep.reset(pf::idlist::copy(m_list.entryIdList(selected)));
        if (keep)
            m_list.SetPidl(nullptr);
        const int again = findEntry(path); // the desktop selection may have moved it
        if (again >= 0)
            m_list.removeEntry(again);
        if (keep)
            m_list.SetPidl(keep.get());
        return;
    }
    if (!path.isEmpty() && selectedPath() == path)
        m_list.SetPath(parentOf(path));
}

void CShellChangeFollower::onItemUpdated(const QString &pPath)
{
    const int index = findEntry(pPath);
    if (index >= 0)
        refreshText(index);
}

void CShellChangeFollower::onFolderRenamed(const QString &pOldPath, const QString &pNewPath)
{
    const QString oldPath = cleanPath(pOldPath);
    if (isOnDesktop(oldPath)) {
        const int index = findEntry(oldPath);
        if (index < 0)
            return;
        pf::ItemIdList *parsed = nullptr;
        if (!m_list.shell().parseDisplayName(pNewPath, &parsed) || !parsed)
            return;
        const pf::idlist::Unique parsedList(parsed);
        const pf::idlist::Unique list(pf::idlist::copy(pf::idlist::last(parsedList.get())));
        if (!list)
            return;
        const bool wasSelected = index == m_list.logicalSelection();
        const int indent = m_list.entryIndent(index);
        // The entry keeps its place; its record is replaced by one for the new folder.
        m_list.removeEntry(index);
        const int added = m_list.insertShellEntry(list.get(), index, indent, false);
        if (wasSelected)
            m_list.SelectItem(added);
        else
            refreshText(added);
        return;
    }
    if (!oldPath.isEmpty() && selectedPath() == oldPath)
        m_list.SetPath(pNewPath);
}

void CShellChangeFollower::keepingSelection(const std::function<void()> &pChange)
{
    pf::idlist::Unique keep;
    const int selected = m_list.logicalSelection();
    if (selected > 0 && !m_list.entryIsCustom(selected) && m_list.entryIdList(selected))
        keep.reset(pf::idlist::copy(m_list.entryIdList(selected)));
    if (keep)
        m_list.SetPidl(nullptr);
    pChange();
    if (keep)
        m_list.SetPidl(keep.get());
}

void CShellChangeFollower::onMediaInserted(const QString &pMountPoint)
{
    if (findEntry(pMountPoint) >= 0) {
        onItemUpdated(pMountPoint);
        return;
    }
    pf::ItemIdList *parsed = nullptr;
    if (!m_list.shell().parseDisplayName(pMountPoint, &parsed) || !parsed)
        return;
    const pf::idlist::Unique list(parsed);
    if (pf::idlist::level(list.get()) != 2)
        return; // not one of the drives
    const pf::idlist::Unique computer(pf::idlist::firstN(list.get(), 1));
    const pf::ShellNamespace &shell = m_list.shell();
    const auto childOfComputer = [&](int pIndex) {
        const pf::ItemIdList *own = m_list.entryIdList(pIndex);
        const pf::idlist::Unique first(pf::idlist::firstN(own, 1));
        return own && pf::idlist::level(own) >= 2 && first
            && shell.compareIds(first.get(), computer.get()) == 0;
    };
    keepingSelection([&] {
        int computerIndex = -1;
        for (int index = 1; index < m_list.count() && computerIndex < 0; ++index) {
            const pf::ItemIdList *own = m_list.entryIdList(index);
            if (own && pf::idlist::level(own) == 1 && shell.compareIds(own, computer.get()) == 0)
                computerIndex = index;
        }
        if (computerIndex < 0)
            return; // the computer is not shown, so neither are its drives
        int position = computerIndex + 1;
        for (; position < m_list.count() && childOfComputer(position); ++position)
            if (shell.compareIds(m_list.entryIdList(position), list.get()) > 0)
                break;
        m_list.insertShellEntry(list.get(), position, 2 * m_list.options().indent, false);
    });
}

void CShellChangeFollower::onMediaRemoved(const QString &pMountPoint)
{
    const QString mountPoint = cleanPath(pMountPoint);
    const int index = findEntry(mountPoint);
    if (index < 0 || pf::idlist::level(m_list.entryIdList(index)) != 2)
        return;
    const QString selected = selectedPath();
    const bool selectionGoes = !selected.isEmpty()
        && (selected == mountPoint
            || selected.startsWith(mountPoint.endsWith(QLatin1Char('/'))
                                       ? mountPoint
                                       : mountPoint + QLatin1Char('/')));
    if (selectionGoes)
        m_list.SetPidl(nullptr);
    keepingSelection([&] {
        const int again = findEntry(mountPoint);
        if (again >= 0)
            m_list.removeEntry(again);
    });
}

} // namespace vexlo
