// The list window: construction, population, inserting and removing entries, the entries'
// fields and the drop-down. The selection road is in namespacecombobox_selection.cpp.

#include "vexlo/namespacecombobox.h"

#include "entrydelegate.h"
#include "entrymodel.h"
#include "imagelist.h"
#include "usershares.h"
#include "vexlo/vexloenums.h"

#include "platform/shellnamespace.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QLineEdit>

#include <algorithm>
#include <utility>

namespace vexlo {

namespace pf = pindrel::platform;
using pf::idlist::Unique;

namespace {

QString clipped(const QString &pText)
{
    return pText.left(CNamespaceComboBox::kMaxTextLength);
}

} // namespace

CNamespaceComboBox::CNamespaceComboBox(std::shared_ptr<const pf::ShellNamespace> pShell,
                                       bool pEditable, QWidget *pParent,
                                       std::shared_ptr<ImageList> pImages)
    : QComboBox(pParent)
    , m_shell(std::move(pShell))
    , m_images(pImages ? std::move(pImages) : std::make_shared<ImageList>())
    , m_model(new EntryModel(m_images, this))
    , m_desktop(pf::idlist::empty())
    , m_shares(UserShares::of())
{
    setObjectName(QStringLiteral("CNamespaceComboBox"));
    setModel(m_model);
    setItemDelegate(new EntryDelegate(this));
    setIconSize(QSize(EntryDelegate::kIconSize, EntryDelegate::kIconSize));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    setEditable(pEditable);
    if (pEditable) {
        // The edit box takes typed paths; what is typed never becomes an entry, and completion
        // comes from the file system rather than from the entries (enableCompletion). Enter is
        // the list window's own (SetPath): the combo box would pick an entry by its text.
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
        disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
        lineEdit()->installEventFilter(this);
    }
    // activated is the user's doing only (mouse or keys); selections made here do not raise it.
    connect(this, &QComboBox::activated, this, &CNamespaceComboBox::onUserChoice);
}

CNamespaceComboBox::~CNamespaceComboBox()
{
    removeAllEntries();
}

// --- population -----------------------------------------------------------------------------

std::vector<Unique> CNamespaceComboBox::folderChildren(const ItemIdList *pFolder) const
{
    std::vector<Unique> children;
    for (ItemIdList *child :
         m_shell->enumChildren(pFolder, pf::SHCONTF_FOLDERS | pf::SHCONTF_INCLUDEHIDDEN))
        children.emplace_back(child);
    sortByNamespace(children);
    return children;
}

void CNamespaceComboBox::sortByNamespace(std::vector<Unique> &pLists) const
{
    // An exchange sort of neighbours, swapping only when the first is greater, so that objects
    // the namespace calls equal keep their enumeration order. The namespace already hands its
    // children sorted, so this is normally one pass.
    bool swapped = true;
    for (size_t end = pLists.size(); swapped && end > 1; --end) {
        swapped = false;
        for (size_t i = 1; i < end; ++i) {
            if (m_shell->compareIds(pLists[i - 1].get(), pLists[i].get()) > 0) {
                std::swap(pLists[i - 1], pLists[i]);
                swapped = true;
            }
        }
    }
}

bool CNamespaceComboBox::isVirtual(const ItemIdList *pAbsolute) const
{
    return (m_shell->attributesOf(pAbsolute, pf::SFGAO_FILESYSTEM | pf::SFGAO_FILESYSANCESTOR))
        == 0;
}

void CNamespaceComboBox::populate()
{
    const bool drivesOnly = m_options.showDrivesOnly;
    if (!drivesOnly)
        insertShellEntry(nullptr, count(), 0, false);

    ItemIdList *computerList = nullptr;
    m_shell->specialFolderLocation(pf::CSIDL_DRIVES, &computerList);
    const Unique computer(computerList);
    std::vector<QString> drives;
    if (drivesOnly)
        drives = m_shell->drives();

    for (const Unique &child : folderChildren(m_desktop.get())) {
        if (!m_options.showVirtualFolders && isVirtual(child.get()))
            continue;
        if (!drivesOnly)
            insertShellEntry(child.get(), count(), m_options.indent, false);
        if (!computer || !sameObject(child.get(), computer.get()))
            continue;
        // The namespace hands absolute lists, so the computer's children need no joining.
        int position = count();
        for (const Unique &drive : folderChildren(child.get())) {
            if (!m_options.showVirtualFolders && isVirtual(drive.get()))
                continue;
            if (!drivesOnly) {
                position = insertShellEntry(drive.get(), position, 2 * m_options.indent, false) + 1;
            } else if (std::find(drives.begin(), drives.end(), m_shell->pathFromIdList(drive.get()))
                       != drives.end()) {
                insertShellEntry(drive.get(), count(), 0, false);
            }
        }
    }

    setCurrentIndex(count() > 0 ? 0 : -1);
    setLogicalSelection(0);
    m_pathItems.clear();
}

void CNamespaceComboBox::setUserShares(std::shared_ptr<const UserShares> pShares)
{
    m_shares = std::move(pShares);
}

void CNamespaceComboBox::removeAllEntries()
{
    for (int index = count() - 1; index >= 0; --index)
        removeEntry(index);
    m_pathItems.clear();
    setLogicalSelection(0);
}

void CNamespaceComboBox::setLogicalSelection(int pRow)
{
    m_logicalSelection = m_model->serialAt(pRow);
    m_logicalIndex = std::max(0, pRow);
}

int CNamespaceComboBox::logicalSelection() const
{
    // An entry that is gone (a path item that a custom entry's selection removed) leaves its
    // index behind, as the control has always kept it.
    const int row = m_model->rowOf(m_logicalSelection);
    return row >= 0 ? row : std::clamp(m_logicalIndex, 0, std::max(0, count() - 1));
}

std::vector<int> CNamespaceComboBox::pathItems() const
{
    std::vector<int> rows;
    for (const uint64_t serial : m_pathItems) {
        const int row = m_model->rowOf(serial);
        if (row >= 0)
            rows.push_back(row);
    }
    return rows;
}

// --- entries ---------------------------------------------------------------------------------

int CNamespaceComboBox::insertShellEntry(const ItemIdList *pAbsolute, int pPosition, int pIndent,
                                         bool pFullPath)
{
    const bool desktop = pf::idlist::level(pAbsolute) == 0;
    const ItemIdList *object = desktop ? m_desktop.get() : pAbsolute;

    uint32_t mask = pf::SFGAO_FILESYSTEM | pf::SFGAO_FOLDER;
    if (m_options.showOverlayIcons)
        mask |= pf::SFGAO_SHARE | pf::SFGAO_LINK;
    const uint32_t attributes = m_shell->attributesOf(object, mask);

    ComboEntry entry{.text = {},
                     .image = 0,
                     .selectedImage = 0,
                     .overlay = 0,
                     .indent = pIndent,
                     .record =
                         ItemRecord::shell(desktop ? Unique() : Unique(pf::idlist::copy(object)))};
    const bool fileSystem = (attributes & pf::SFGAO_FILESYSTEM) != 0;
    const QString name = m_shell->displayNameOf(object);
    // The namespace does not know what the desktop shares; the user shares do. Only an object
    // named as a shared folder is worth making a path for.
    const bool shared = (attributes & pf::SFGAO_SHARE)
        || (m_options.showOverlayIcons && fileSystem && m_shares && m_shares->mayBeShared(name)
            && m_shares->isShared(m_shell->pathFromIdList(object)));
    if (shared)
        entry.overlay = VXOOverlayIconShare;
    else if (attributes & pf::SFGAO_LINK)
        entry.overlay = VXOOverlayIconShortcut;
    entry.text = clipped(fileSystem && pFullPath ? m_shell->pathFromIdList(object) : name);
    entry.image = m_images->indexOf(m_shell->smallIcon(object));
    entry.selectedImage = (attributes & pf::SFGAO_FOLDER)
        ? m_images->indexOf(m_shell->smallIcon(object, true))
        : entry.image;

    const int position = pPosition < 0 || pPosition > count() ? count() : pPosition;
    const int index = m_model->insert(position, std::move(entry));
    emit OnAfterItemAdd(CComboBoxItem(this, static_cast<int16_t>(index)));
    return index;
}

int CNamespaceComboBox::insertCustomEntry(int pPosition, const QString &pText, int pImage,
                                          int pIndent)
{
    ComboEntry entry{.text = clipped(pText),
                     .image = pImage,
                     .selectedImage = pImage,
                     .overlay = 0,
                     .indent = pIndent,
                     .record = ItemRecord::custom()};
    const int position = pPosition < 0 || pPosition > count() ? count() : pPosition;
    const int index = m_model->insert(position, std::move(entry));
    emit OnAfterItemAdd(CComboBoxItem(this, static_cast<int16_t>(index)));
    return index;
}

bool CNamespaceComboBox::removeEntry(int pIndex)
{
    if (!hasEntry(pIndex))
        return false;
    emit OnBeforeItemDelete(CComboBoxItem(this, static_cast<int16_t>(pIndex)));
    // A handler may have removed entries itself.
    if (!hasEntry(pIndex))
        return false;
    m_model->remove(pIndex); // frees the record and its list
    return true;
}

bool CNamespaceComboBox::hasEntry(int pIndex) const
{
    return m_model->contains(pIndex);
}

QString CNamespaceComboBox::entryText(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).text : QString();
}

void CNamespaceComboBox::setEntryText(int pIndex, const QString &pText)
{
    if (!hasEntry(pIndex))
        return;
    m_model->at(pIndex).text = clipped(pText);
    m_model->changed(pIndex);
}

int CNamespaceComboBox::entryImage(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).image : 0;
}

int CNamespaceComboBox::entrySelectedImage(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).selectedImage : 0;
}

void CNamespaceComboBox::setEntryImage(int pIndex, int pImage)
{
    if (!hasEntry(pIndex))
        return;
    m_model->at(pIndex).image = pImage;
    m_model->at(pIndex).selectedImage = pImage;
    m_model->changed(pIndex);
}

int CNamespaceComboBox::entryOverlay(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).overlay : 0;
}

void CNamespaceComboBox::setEntryOverlay(int pIndex, int pOverlay)
{
    if (!hasEntry(pIndex))
        return;
    m_model->at(pIndex).overlay = pOverlay;
    m_model->changed(pIndex);
}

int CNamespaceComboBox::entryIndent(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).indent : 0;
}

void CNamespaceComboBox::setEntryIndent(int pIndex, int pIndent)
{
    // Shows with the next repaint of the list.
    if (hasEntry(pIndex))
        m_model->at(pIndex).indent = pIndent;
}

QVariant CNamespaceComboBox::entryUserData(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).record.userData() : QVariant();
}

void CNamespaceComboBox::setEntryUserData(int pIndex, const QVariant &pValue)
{
    if (hasEntry(pIndex))
        m_model->at(pIndex).record.setUserData(pValue);
}

bool CNamespaceComboBox::entryIsCustom(int pIndex) const
{
    return hasEntry(pIndex) && m_model->at(pIndex).record.isCustom();
}

bool CNamespaceComboBox::entryIsDesktop(int pIndex) const
{
    return hasEntry(pIndex) && m_model->at(pIndex).record.isDesktop();
}

const CNamespaceComboBox::ItemIdList *CNamespaceComboBox::entryIdList(int pIndex) const
{
    return hasEntry(pIndex) ? m_model->at(pIndex).record.idList() : nullptr;
}

const CNamespaceComboBox::ItemIdList *CNamespaceComboBox::shellListOf(int pIndex) const
{
    if (!hasEntry(pIndex) || m_model->at(pIndex).record.isCustom())
        return nullptr;
    const ItemIdList *list = m_model->at(pIndex).record.idList();
    return list ? list : m_desktop.get();
}

QString CNamespaceComboBox::entryDisplayName(int pIndex) const
{
    const ItemIdList *list = shellListOf(pIndex);
    return list ? clipped(m_shell->displayNameOf(list)) : QString();
}

QString CNamespaceComboBox::entryPath(int pIndex) const
{
    const ItemIdList *list = shellListOf(pIndex);
    return list ? m_shell->pathFromIdList(list) : QString();
}

uint32_t CNamespaceComboBox::entryAttributes(int pIndex, uint32_t pMask) const
{
    const ItemIdList *list = shellListOf(pIndex);
    return list ? m_shell->attributesOf(list, pMask) : 0;
}

int CNamespaceComboBox::entryChildren(int pIndex) const
{
    // Counted by the indentation step, so that the count means "one level below" whatever the
    // step is.
    if (!hasEntry(pIndex))
        return 0;
    const int childIndent = m_model->at(pIndex).indent + m_options.indent;
    int children = 0;
    for (int index = pIndex + 1; index < count(); ++index)
        children += m_model->at(index).indent == childIndent ? 1 : 0;
    return children;
}

// --- drop-down -------------------------------------------------------------------------------

int CNamespaceComboBox::rowHeight() const
{
    if (count() > 0 && view()->sizeHintForRow(0) > 0)
        return view()->sizeHintForRow(0);
    return std::max(fontMetrics().height() + 2, EntryDelegate::kIconSize + 2);
}

void CNamespaceComboBox::setDropDownHeight(int pPixels)
{
    m_dropDownHeight = pPixels;
    // The height counts the field; the list below it shows whole rows.
    const int field = sizeHint().height();
    setMaxVisibleItems(std::max(1, (pPixels - field) / std::max(1, rowHeight())));
}

void CNamespaceComboBox::setSelectedText(bool pFullPath)
{
    const int index = currentIndex();
    if (!m_options.showFullPath || !hasEntry(index) || !m_model->at(index).record.idList())
        return;
    const ItemIdList *list = m_model->at(index).record.idList();
    if (!(m_shell->attributesOf(list, pf::SFGAO_FILESYSTEM) & pf::SFGAO_FILESYSTEM))
        return;
    setEntryText(index, pFullPath ? m_shell->pathFromIdList(list) : m_shell->displayNameOf(list));
}

void CNamespaceComboBox::showPopup()
{
    // The open list shows display names only; the full path comes back when it closes.
    setSelectedText(false);
    m_popupOpen = true;
    emit ListDropDown();
    QComboBox::showPopup();
}

void CNamespaceComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (!m_popupOpen)
        return;
    m_popupOpen = false;
    setSelectedText(true);
    emit ListClosed();
}

} // namespace vexlo
