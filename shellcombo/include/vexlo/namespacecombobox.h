#pragma once

// CNamespaceComboBox: the control's list window. An extended combo box whose entries show a part
// of the shell namespace: the desktop, its children, the computer's drives, and the ancestors of
// the current folder, each indented in units of 10 pixels and drawn with its icon.
//
// Every selection, whatever asks for it, goes through selectIdList (or selectCustomMarker for a
// custom entry): the path items of the previous selection are removed, the ancestors of the new
// folder are inserted below the nearest entry already shown, and the events fire in this order:
// OnBeforeItemDelete for each removed path item (last first), OnAfterItemAdd for each inserted
// entry (outermost first), then SelectionChanged. The user's own choice adds ItemSelected.
//
// Ownership: every identifier list an entry holds is its own copy and goes back to the task
// allocator when the entry is removed. Lists handed in by callers stay the caller's.
//
// The window is populated by populate(), not by the constructor, so that the owner can connect
// to the events first; removeAllEntries() (also run by the destructor) removes every entry with
// OnBeforeItemDelete.

#include "vexlo/comboboxitem.h"
#include "vexlo/combooptions.h"
#include "vexlo/vexloexport.h"

#include "platform/idlist.h"

#include <QtWidgets/QComboBox>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace pindrel::platform {
class ShellNamespace;
}

namespace vexlo {

class ComboTooltip;
class EntryModel;
class ImageList;
class PathCompleter;
class UserShares;

class VEXLO_EXPORT CNamespaceComboBox : public QComboBox
{
    Q_OBJECT

public:
    using ItemIdList = pindrel::platform::ItemIdList;

    static constexpr int kIndentUnit = 10; // pixels per unit of indentation
    static constexpr int kMaxTextLength = 259; // characters an entry's text keeps at most

    // pEditable: with an edit box (the editable drop-down style) or without (drop-down list).
    // pImages: the private image list to share with the owner; a new one when null.
    CNamespaceComboBox(std::shared_ptr<const pindrel::platform::ShellNamespace> pShell,
                       bool pEditable, QWidget *pParent = nullptr,
                       std::shared_ptr<ImageList> pImages = {});
    ~CNamespaceComboBox() override;

    CNamespaceComboBox(const CNamespaceComboBox &) = delete;
    CNamespaceComboBox &operator=(const CNamespaceComboBox &) = delete;

    const ComboOptions &options() const { return m_options; }
    void setOptions(const ComboOptions &pOptions) { m_options = pOptions; }
    const pindrel::platform::ShellNamespace &shell() const { return *m_shell; }

    // Fills the list: the desktop, its children (folders, hidden ones included, in the
    // namespace's order; virtual ones only with showVirtualFolders) and, below the computer, its
    // drives; with showDrivesOnly only the drives, unindented. Entry 0 is selected; no
    // SelectionChanged fires. Expects an empty list.
    void populate();
    // Removes every entry, last first, each with OnBeforeItemDelete.
    void removeAllEntries();

    // The single road of every selection. pList is an absolute list (nullptr or the empty list
    // for the desktop); it stays the caller's. True when the selection was made.
    bool selectIdList(const ItemIdList *pList);
    // The selection of a custom entry, which the caller has made current: the path items go,
    // SelectionChanged fires; the logical selection stays.
    bool selectCustomMarker();

    // The control's methods.
    bool SetPath(const QString &sFullPath); // false when the path does not parse
    bool SetPidl(const ItemIdList *Pidl); // nullptr selects the desktop
    bool SetSpecialFolder(int32_t sSpecialFolder); // false when the shell has no such folder
    bool SelectItem(int iIndex); // false when out of range; true whatever the selection gave
    void GoUp();
    int ItemsCount() const { return count(); }

    // Called on every selection of a shell folder or the desktop (nullptr), just before
    // SelectionChanged, with the folder's absolute list (valid only during the call). Custom
    // entries do not call it.
    void setFolderSelectedHook(std::function<void(const ItemIdList *)> pHook)
    {
        m_folderSelectedHook = std::move(pHook);
    }

    // Inserts one shell entry for pAbsolute (copied; nullptr or empty = the desktop) at
    // pPosition (the end when out of range) and fires OnAfterItemAdd. With pFullPath, a
    // file-system object shows its path. Returns the new index.
    int insertShellEntry(const ItemIdList *pAbsolute, int pPosition, int pIndent, bool pFullPath);
    // Inserts a custom entry (no shell object) and fires OnAfterItemAdd. Returns the new index.
    int insertCustomEntry(int pPosition, const QString &pText, int pImage, int pIndent);
    // Removes one entry with OnBeforeItemDelete; false when pIndex is out of range. The path
    // items and the logical selection that remain keep their entries.
    bool removeEntry(int pIndex);

    // A host's own entry, with image pIcon and no overlay: Parent VXODesktop puts it after the
    // last desktop child (indentation Indent; at index 0 when there is none), VXOMyComputer
    // right after the computer (the computer's indentation plus Indent; nothing is added
    // without a computer entry), VXOParentNone at the end (indentation 0); any other value adds
    // nothing. Fires OnAfterItemAdd.
    void AddCustomItem(int32_t Parent, const QString &sText, int32_t iIcon);
    // Removes the first entry, custom or not, whose text equals sText exactly: fires
    // OnBeforeItemDelete, selects entry 0 as SelectItem(0) does when it is the selected entry
    // (the entry is still there then), then removes it. A shell entry removed this way leaves
    // the path items and the logical selection on their own entries (the logical selection
    // falls to entry 0 when it was this one). False when no entry has the text.
    bool DeleteCustomItem(const QString &sText);

    // Entry fields, as item objects read and write them. An index out of range reads empty
    // values and ignores writes.
    bool hasEntry(int pIndex) const;
    QString entryText(int pIndex) const;
    void setEntryText(int pIndex, const QString &pText);
    int entryImage(int pIndex) const;
    int entrySelectedImage(int pIndex) const;
    void setEntryImage(int pIndex, int pImage); // image and selected image
    int entryOverlay(int pIndex) const;
    void setEntryOverlay(int pIndex, int pOverlay);
    int entryIndent(int pIndex) const;
    void setEntryIndent(int pIndex, int pIndent); // no redraw
    QVariant entryUserData(int pIndex) const;
    void setEntryUserData(int pIndex, const QVariant &pValue);
    bool entryIsCustom(int pIndex) const;
    bool entryIsDesktop(int pIndex) const;
    // The entry's own list: nullptr for the desktop entry, a custom entry or a missing index.
    const ItemIdList *entryIdList(int pIndex) const;
    QString entryDisplayName(int pIndex) const;
    QString entryPath(int pIndex) const;
    uint32_t entryAttributes(int pIndex, uint32_t pMask) const;
    int entryChildren(int pIndex) const;

    // The entry the control last selected itself, and the path items in insertion order. Both
    // follow their entries when entries are inserted or removed before them; a logical
    // selection whose entry is gone keeps the index it had.
    int logicalSelection() const;
    std::vector<int> pathItems() const;

    // Where the desktop's user shares are found (shared folders get overlay 1); the system's
    // own unless set. Acts on entries inserted later.
    void setUserShares(std::shared_ptr<const UserShares> pShares);

    // The tooltip: both tools (the inner combo box and, when there is one, the edit box) show
    // the tip of the selection, made when it is about to show, as pTooltipType (asked then)
    // has it. Without a tooltip no tip text is made.
    void createTooltip(std::function<int32_t()> pTooltipType);
    bool hasTooltip() const { return m_tooltip != nullptr; }
    // The tip both tools show now: "Desktop" for the desktop, a custom entry's text, otherwise
    // the path (or, outside the file system, the entry's text) for TooltipType 1 and 3, and the
    // object's info tip for 2 and 3 (after a line break for 3). "" without a tooltip.
    QString tooltipText() const;

    // Switches completion on in the edit box (nothing without one): the entries of the typed
    // path's folder and, with pIncludeRecent, the recently used locations of pRecentFile.
    void enableCompletion(const QString &pRecentFile, bool pIncludeRecent);
    PathCompleter *pathCompleter() const { return m_completer; }

    // The drop-down height in pixels (field included); the list shows as many whole rows as
    // fit below the field.
    void setDropDownHeight(int pPixels);
    int dropDownHeight() const { return m_dropDownHeight; }
    // The height of one row of the list.
    int rowHeight() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    // The keys the list window handles itself before a container sees them: Enter applies the
    // edit box's text as SetPath (a text that does not parse changes nothing), Esc selects the
    // logical selection again in the combo box and gives the edit box its text back, and
    // Home, End and the arrows work in the edit box (or the list without one). Each counts as
    // handled: none reaches the window around the control, nor its shortcuts.
    bool event(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;
    void focusInEvent(QFocusEvent *pEvent) override;
    // The edit box's first left-button release after the list window gains focus selects its
    // whole text.
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

signals:
    void ListClosed();
    void ListDropDown();
    void ItemSelected();
    void SelectionChanged();
    void OnAfterItemAdd(const vexlo::CComboBoxItem &cmbItem);
    void OnBeforeItemDelete(const vexlo::CComboBoxItem &cmbItem);

private:
    bool sameObject(const ItemIdList *pA, const ItemIdList *pB) const;
    void sortByNamespace(std::vector<pindrel::platform::idlist::Unique> &pLists) const;
    std::vector<pindrel::platform::idlist::Unique> folderChildren(const ItemIdList *pFolder) const;
    bool isVirtual(const ItemIdList *pAbsolute) const;
    const ItemIdList *shellListOf(int pIndex) const; // the desktop's empty list for the desktop
    void onUserChoice(int pIndex);
    void selectEntry(int pIndex);
    bool selectDrivesOnly(const ItemIdList *pList);
    void removePathItems();
    int findAnchor(const ItemIdList *pList, int pLevel) const;
    void setSelectedText(bool pFullPath);
    int customPosition(int32_t pParent, int &pIndent) const;
    void setLogicalSelection(int pRow);
    QString tipOf(int pIndex, int32_t pTooltipType) const;
    static bool isOwnKey(int pKey);
    void applyTypedPath();
    void undoChoice();

    std::shared_ptr<const pindrel::platform::ShellNamespace> m_shell;
    std::shared_ptr<ImageList> m_images;
    EntryModel *m_model; // owned by the combo box (Qt parent)
    pindrel::platform::idlist::Unique m_desktop; // the desktop's empty list
    ComboOptions m_options;
    std::shared_ptr<const UserShares> m_shares;
    // By the entries' serials, so that they follow their entries.
    uint64_t m_logicalSelection = 0;
    int m_logicalIndex = 0; // where it was when it was made
    std::vector<uint64_t> m_pathItems;
    ComboTooltip *m_tooltip = nullptr; // owned as a child
    std::function<int32_t()> m_tooltipType;
    PathCompleter *m_completer = nullptr; // owned as a child
    bool m_selectAllOnRelease = false;
    bool m_listChoice = false; // the user's own choice is being processed
    bool m_inDrivesOnly = false; // a drives-only selection is being processed
    bool m_popupOpen = false;
    int m_dropDownHeight = 0;
    std::function<void(const ItemIdList *)> m_folderSelectedHook;
};

} // namespace vexlo
