// The list window's selection road and the methods that end on it.

#include "vexlo/namespacecombobox.h"

#include "entrymodel.h"

#include "platform/shellnamespace.h"

#include <QtCore/QPointer>

#include <algorithm>

namespace vexlo {

namespace pf = pindrel::platform;
using pf::idlist::Unique;

namespace {

// Turns the list's redrawing off while a selection runs and back on, with a repaint, when it is
// done; the window may be gone by then, when an event handler destroyed it.
class RedrawPause
{
public:
    explicit RedrawPause(QWidget *pWidget)
        : m_widget(pWidget)
        , m_wasEnabled(pWidget->updatesEnabled())
    {
        pWidget->setUpdatesEnabled(false);
    }
    ~RedrawPause() { resume(); }
    RedrawPause(const RedrawPause &) = delete;
    RedrawPause &operator=(const RedrawPause &) = delete;

    void resume()
    {
        if (!m_widget || m_resumed)
            return;
        m_resumed = true;
        m_widget->setUpdatesEnabled(m_wasEnabled);
        if (m_wasEnabled)
            m_widget->update();
    }

private:
    QPointer<QWidget> m_widget;
    bool m_wasEnabled;
    bool m_resumed = false;
};

} // namespace

bool CNamespaceComboBox::sameObject(const ItemIdList *pA, const ItemIdList *pB) const
{
    // The namespace orders a parent before its descendants, so lists of different levels are
    // never the same object; checking the level first spares most comparisons.
    return pf::idlist::level(pA) == pf::idlist::level(pB) && m_shell->compareIds(pA, pB) == 0;
}

int CNamespaceComboBox::findAnchor(const ItemIdList *pList, int pLevel) const
{
    const Unique prefix(pf::idlist::firstN(pList, pLevel));
    if (!prefix)
        return -1;
    for (int index = 0; index < count(); ++index) {
        const ItemIdList *own = m_model->at(index).record.idList(); // none for desktop and custom
        const int ownLevel = pf::idlist::level(own);
        if (ownLevel < pLevel)
            continue;
        if (ownLevel == pLevel) {
            if (sameObject(own, prefix.get()))
                return index;
            continue;
        }
        const Unique ownPrefix(pf::idlist::firstN(own, pLevel));
        if (sameObject(ownPrefix.get(), prefix.get()))
            return index;
    }
    return -1;
}

void CNamespaceComboBox::removePathItems()
{
    // Last first. The entries are found by their serials, so that an entry a host inserted or
    // deleted among them meanwhile does not make the wrong entries go.
    const std::vector<uint64_t> pathItems = std::move(m_pathItems);
    m_pathItems.clear();
    for (auto item = pathItems.rbegin(); item != pathItems.rend(); ++item) {
        const int row = m_model->rowOf(*item);
        if (row >= 0)
            removeEntry(row);
    }
}

bool CNamespaceComboBox::selectDrivesOnly(const ItemIdList *pList)
{
    const ItemIdList *object = pList ? pList : m_desktop.get();
    const QString path = m_shell->pathFromIdList(object);
    if (path.isEmpty())
        return false;

    // An object outside the computer (the desktop, a desktop folder, a folder below the home
    // entry) is taken to the drive that holds its path, rather than to the first entry.
    Unique reparsed;
    ItemIdList *computerList = nullptr;
    m_shell->specialFolderLocation(pf::CSIDL_DRIVES, &computerList);
    const Unique computer(computerList);
    const Unique top(pf::idlist::firstN(object, 1));
    if (!computer || !top || !sameObject(top.get(), computer.get())) {
        ItemIdList *parsed = nullptr;
        if (m_shell->parseDisplayName(path, &parsed)) {
            reparsed.reset(parsed);
            object = parsed;
        }
    }
    const Unique drive(pf::idlist::level(object) >= 2 ? pf::idlist::firstN(object, 2) : nullptr);

    m_inDrivesOnly = true;
    const bool result = selectIdList(drive.get());
    m_inDrivesOnly = false;
    return result;
}

bool CNamespaceComboBox::selectIdList(const ItemIdList *pList)
{
    // The selection works on its own copy: the caller's list may be an entry's own, which the
    // removal of the path items below would free.
    const Unique list(pf::idlist::level(pList) == 0 ? nullptr : pf::idlist::copy(pList));

    if (m_options.showDrivesOnly && !m_inDrivesOnly)
        return selectDrivesOnly(list.get());

    RedrawPause redraw(this);

    // Selecting what is selected already changes nothing, unless the user chose it anew.
    const int current = currentIndex();
    if (list && hasEntry(current) && !m_listChoice) {
        const ItemIdList *selected = m_model->at(current).record.idList();
        if (selected && sameObject(selected, list.get()))
            return true;
    }

    if (list) {
        const uint32_t attributes = m_shell->attributesOf(
            list.get(), pf::SFGAO_FOLDER | pf::SFGAO_FILESYSTEM | pf::SFGAO_FILESYSANCESTOR);
        const bool folder = (attributes & pf::SFGAO_FOLDER) != 0;
        const bool isVirtualObject =
            (attributes & (pf::SFGAO_FILESYSTEM | pf::SFGAO_FILESYSANCESTOR)) == 0;
        if ((!folder && !m_options.showFile) || (isVirtualObject && !m_options.showVirtualFolders))
            return false;
    }

    // The logical selection loses its full path. When it was a path item it goes with them.
    removePathItems();
    const int logical = m_model->rowOf(m_logicalSelection);
    if (m_options.showFullPath && logical > 0 && shellListOf(logical))
        setEntryText(logical, entryDisplayName(logical));

    if (!list) {
        setCurrentIndex(count() > 0 ? 0 : -1);
        setLogicalSelection(0);
        redraw.resume();
        if (m_folderSelectedHook)
            m_folderSelectedHook(nullptr);
        emit SelectionChanged();
        return true;
    }

    // An entry already shown.
    for (int index = 1; index < count(); ++index) {
        const ItemIdList *own = m_model->at(index).record.idList();
        if (!own || !sameObject(own, list.get()))
            continue;
        setCurrentIndex(index);
        setLogicalSelection(index);
        if (m_options.showFullPath
            && (m_shell->attributesOf(own, pf::SFGAO_FILESYSTEM) & pf::SFGAO_FILESYSTEM))
            setEntryText(index, m_shell->pathFromIdList(own));
        if (m_folderSelectedHook)
            m_folderSelectedHook(own);
        emit SelectionChanged();
        return true;
    }

    // Otherwise the ancestors go below the nearest entry shown: a drive (or another level-2
    // entry), a desktop child, or, when neither is shown, the end of the list.
    const int levels = pf::idlist::level(list.get());
    int anchor = levels >= 2 ? findAnchor(list.get(), 2) : -1;
    int firstLevel = 3;
    if (anchor < 0) {
        anchor = findAnchor(list.get(), 1);
        firstLevel = anchor < 0 ? 1 : 2;
    }
    int position = anchor < 0 ? count() : anchor + 1;
    int selected = anchor;
    for (int level = firstLevel; level <= levels; ++level) {
        const Unique part(pf::idlist::firstN(list.get(), level));
        selected = insertShellEntry(part.get(), position, level * m_options.indent,
                                    m_options.showFullPath && level == levels);
        m_pathItems.push_back(m_model->serialAt(selected));
        position = selected + 1;
    }
    setCurrentIndex(selected);
    setLogicalSelection(selected);
    if (m_folderSelectedHook)
        m_folderSelectedHook(list.get());
    emit SelectionChanged();
    return true;
}

bool CNamespaceComboBox::selectCustomMarker()
{
    removePathItems();
    emit SelectionChanged();
    return true;
}

void CNamespaceComboBox::selectEntry(int pIndex)
{
    // As the user's choice: the entry is processed anew even when it is the current one. The
    // list is copied first, as the entry may be a path item that the selection removes.
    m_listChoice = true;
    if (m_model->at(pIndex).record.isCustom()) {
        setCurrentIndex(pIndex);
        selectCustomMarker();
    } else {
        const Unique list(pf::idlist::copy(m_model->at(pIndex).record.idList()));
        selectIdList(list.get());
    }
    m_listChoice = false;
}

void CNamespaceComboBox::onUserChoice(int pIndex)
{
    if (!hasEntry(pIndex))
        return;
    const QPointer<CNamespaceComboBox> self(this);
    selectEntry(pIndex);
    if (self)
        emit ItemSelected();
}

bool CNamespaceComboBox::SetPath(const QString &sFullPath)
{
    ItemIdList *parsed = nullptr;
    if (!m_shell->parseDisplayName(sFullPath, &parsed))
        return false;
    const Unique list(parsed);
    return selectIdList(list.get());
}

bool CNamespaceComboBox::SetPidl(const ItemIdList *Pidl)
{
    return selectIdList(Pidl);
}

bool CNamespaceComboBox::SetSpecialFolder(int32_t sSpecialFolder)
{
    if (sSpecialFolder == 0)
        return selectIdList(nullptr);
    ItemIdList *folder = nullptr;
    if (!m_shell->specialFolderLocation(sSpecialFolder, &folder))
        return false;
    const Unique list(folder);
    return selectIdList(list.get());
}

bool CNamespaceComboBox::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= count())
        return false;
    selectEntry(iIndex);
    return true;
}

void CNamespaceComboBox::GoUp()
{
    const int current = currentIndex();
    if (!hasEntry(current))
        return;
    const ItemRecord &record = m_model->at(current).record;
    if (record.isDesktop() || record.isCustom())
        return;
    const int level = pf::idlist::level(record.idList());
    if (level <= 1) {
        selectIdList(nullptr);
        return;
    }
    const Unique parent(pf::idlist::firstN(record.idList(), level - 1));
    selectIdList(parent.get());
}

} // namespace vexlo
