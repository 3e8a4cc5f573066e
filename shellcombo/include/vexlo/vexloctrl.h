#pragma once

// CVexloCtrl: the shell path combo control. Its window holds one child, the list window
// (CNamespaceComboBox), which shows the desktop, its children, the computer's drives and the
// ancestors of the current folder, and follows every selection with its events.
//
// Host side. The host says whether it is designing or running (setAmbientUserMode; run time
// unless told otherwise): some properties behave differently at design time. The control's
// window (the list window) is created when the control is first shown, or when the host calls
// createControlWindow; load the persisted state before that. Persistence goes through a
// PropertyBag: loadProperties, saveProperties, resetProperties.
//
// Automation side. The members below carry the control's published names, in dispatch order;
// dispatch.h calls them by dispatch identifier. Property access raises VexloError 383, 387 or
// 394 where the rules say so; methods never raise and report failure through their results.
// Methods that need the list window do nothing (false, 0, nothing) while it does not exist.
//
// Events are the Qt signals named after them. OnAfterItemAdd and OnBeforeItemDelete hand an
// item object for the entry concerned.
//
// Form side (Qt Designer, uic, QUiLoader). The persisted properties are also Qt properties of
// the same names, which a form sets before the control is shown, as a container loads the
// persisted state: setting one never raises, whatever the ambient user mode. Enabled and Font
// are the widget's own "enabled" and "font". The registered identities are the class's
// Q_CLASSINFO entries.

#include "vexlo/comboboxitem.h"
#include "vexlo/identifiers.h"
#include "vexlo/vexloexport.h"

#include "platform/idlist.h"

#include <QtCore/QPointer>
#include <QtGui/QFont>
#include <QtGui/QIcon>
#include <QtWidgets/QWidget>

#include <cstdint>
#include <memory>
#include <optional>

namespace pindrel::platform {
class ShellNamespace;
}

namespace vexlo {

class CNamespaceComboBox;
class CShellChangeFollower;
class ImageList;
class PropertyBag;
class PropertyExchange;
class UserShares;

class VEXLO_EXPORT CVexloCtrl : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ClassID", VEXLO_CONTROL_CLASS_ID)
    Q_CLASSINFO("ProgID", VEXLO_CONTROL_PROGRAM_ID)
    Q_CLASSINFO("RegisteredName", VEXLO_CONTROL_REGISTERED_NAME)
    Q_CLASSINFO("InterfaceID", VEXLO_DISPATCH_INTERFACE_ID)
    Q_CLASSINFO("EventsID", VEXLO_EVENT_INTERFACE_ID)
    Q_CLASSINFO("TypeLibrary", VEXLO_TYPE_LIBRARY_ID)
    Q_CLASSINFO("TypeLibraryVersion", VEXLO_TYPE_LIBRARY_VERSION)
    Q_CLASSINFO("MiscStatus", VEXLO_MISC_STATUS)
    Q_CLASSINFO("Threading", "Apartment")
    Q_CLASSINFO("Insertable", "yes")
    Q_CLASSINFO("ToolboxBitmap", "1")
    Q_CLASSINFO("ImplementedCategories",
                VEXLO_CATEGORY_SAFE_FOR_SCRIPTING ";" VEXLO_CATEGORY_SAFE_FOR_INITIALIZING)
    Q_CLASSINFO("PropertyPages", VEXLO_PROPERTY_PAGE_CLASS_ID ";" VEXLO_FONT_PAGE_CLASS_ID)

    Q_PROPERTY(int DropDownLines READ DropDownLines WRITE setDropDownLines)
    Q_PROPERTY(bool ShowFile READ ShowFile WRITE setShowFile)
    Q_PROPERTY(bool AutoComplete READ AutoComplete WRITE setAutoComplete)
    Q_PROPERTY(int Indent READ Indent WRITE setIndent)
    Q_PROPERTY(bool IncludeUrls READ IncludeUrls WRITE setIncludeUrls)
    Q_PROPERTY(bool AutoUpdate READ AutoUpdate WRITE setAutoUpdate)
    Q_PROPERTY(bool ShowOverlayIcons READ ShowOverlayIcons WRITE setShowOverlayIcons)
    Q_PROPERTY(bool ShowVirtualFolders READ ShowVirtualFolders WRITE setShowVirtualFolders)
    Q_PROPERTY(bool ShowFullPath READ ShowFullPath WRITE setShowFullPath)
    Q_PROPERTY(int TooltipType READ TooltipType WRITE setTooltipType)
    Q_PROPERTY(bool ShowDrivesOnly READ ShowDrivesOnly WRITE setShowDrivesOnly)

public:
    using ItemIdList = pindrel::platform::ItemIdList;

    static constexpr int kInitialWidth = 200; // pixels
    static constexpr int kInitialHeight = 90;

    // A control over the running account's namespace.
    explicit CVexloCtrl(QWidget *pParent = nullptr);
    // A control over pShell (tests give a sandbox).
    explicit CVexloCtrl(std::shared_ptr<const pindrel::platform::ShellNamespace> pShell,
                        QWidget *pParent = nullptr);
    ~CVexloCtrl() override;

    CVexloCtrl(const CVexloCtrl &) = delete;
    CVexloCtrl &operator=(const CVexloCtrl &) = delete;

    // --- host side -----------------------------------------------------------------------------

    // The container's ambient user mode: true at run time, false at design time.
    void setAmbientUserMode(bool pUserMode) { m_userMode = pUserMode; }
    bool ambientUserMode() const { return m_userMode; }

    // Whether the persisted state changed since it was last loaded, saved or reset.
    bool isModified() const { return m_modified; }
    void setModified(bool pModified) { m_modified = pModified; }

    // Creates the list window (populated, entry 0 selected) unless it exists: editable with
    // AutoComplete and without ShowDrivesOnly, a drop-down list otherwise.
    void createControlWindow();
    // Destroys the list window; each entry is removed with OnBeforeItemDelete.
    void destroyControlWindow();
    CNamespaceComboBox *listWindow() const { return m_list.get(); }

    // Persistence: "_Version", "_ExtentX", "_ExtentY", "_StockProps", then the control's
    // properties in their published order. Loading takes the default for a value that is absent
    // or unreadable; resetting sets every value to its default. Each clears the modified flag
    // (saving only with pClearDirty). ShowDrivesOnly, AutoComplete and IncludeUrls act when the
    // list window is next created.
    void loadProperties(const PropertyBag &pBag);
    void saveProperties(PropertyBag &pBag, bool pClearDirty = true);
    void resetProperties();

    // The drop-down height in pixels, field included: row height x (DropDownLines + 1) + 9.
    int dropDownHeight() const { return m_dropDownHeight; }

    // The control's picture for a form designer's toolbox (its resource 1), sharp at any size.
    static QIcon toolboxIcon();

    // Where the desktop keeps its user shares (Samba's user-share folder; tests give a
    // sandbox). Read for entries inserted from the next window creation on.
    void setUserShareFolder(const QString &pFolder);

    // --- form side: the persisted properties as a form sets them --------------------------------

    void setDropDownLines(int pValue);
    void setShowFile(bool pValue) { ShowFile(pValue); }
    void setAutoComplete(bool pValue);
    void setIndent(int pValue);
    void setIncludeUrls(bool pValue);
    void setAutoUpdate(bool pValue) { AutoUpdate(pValue); }
    void setShowOverlayIcons(bool pValue) { ShowOverlayIcons(pValue); }
    void setShowVirtualFolders(bool pValue);
    void setShowFullPath(bool pValue) { ShowFullPath(pValue); }
    void setTooltipType(int pValue) { TooltipType(pValue); }
    void setShowDrivesOnly(bool pValue);

    // Width as given, height that of the closed combo box.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // --- properties (dispatch identifiers 1 to 17, Font -512) -----------------------------------

    int16_t DropDownLines() const { return m_dropDownLines; }
    void DropDownLines(int16_t pValue);
    bool ShowFile() const { return m_showFile; }
    void ShowFile(bool pValue);
    bool Enabled() const { return m_enabled; }
    void Enabled(bool pValue);
    bool AutoComplete() const { return m_autoComplete; }
    void AutoComplete(bool pValue);
    int16_t Indent() const { return m_indent; }
    void Indent(int16_t pValue);
    bool IncludeUrls() const { return m_includeUrls; }
    void IncludeUrls(bool pValue);
    bool AutoUpdate() const { return m_autoUpdate; }
    void AutoUpdate(bool pValue);
    // Write only: reading raises 394. Writing nullptr ends the association.
    QObject *Sarvick() const;
    void Sarvick(QObject *pFolderTree);
    QObject *Quennel() const;
    void Quennel(QObject *pFileList);
    // The edit box's text; "" (and writing does nothing) without AutoComplete or an edit box.
    QString EditBoxText() const;
    void EditBoxText(const QString &pValue);
    // Hidden: reads 0; writing selects the identifier list at that address quietly (the
    // companions are not told).
    int32_t UshB() const { return 0; }
    void UshB(intptr_t pValue);
    // The namespace the control shows; companions turn their folders into identifier lists
    // with it.
    const std::shared_ptr<const pindrel::platform::ShellNamespace> &shellNamespace() const
    {
        return m_shell;
    }
    // A message sent synchronously to the list window (association.h): kComboFolderMessage
    // selects pAbsolute (nullptr = the desktop) like UshB. Returns 0.
    intptr_t listWindowMessage(uint32_t pMessage, const ItemIdList *pAbsolute);
    bool ShowOverlayIcons() const { return m_showOverlayIcons; }
    void ShowOverlayIcons(bool pValue);
    // Read only (writing raises 383): the list window's address, 0 without one.
    intptr_t WindowHandle() const;
    void WindowHandle(intptr_t pValue);
    bool ShowVirtualFolders() const { return m_showVirtualFolders; }
    void ShowVirtualFolders(bool pValue);
    bool ShowFullPath() const { return m_showFullPath; }
    void ShowFullPath(bool pValue);
    int32_t TooltipType() const { return m_tooltipType; }
    void TooltipType(int32_t pValue);
    bool ShowDrivesOnly() const { return m_showDrivesOnly; }
    void ShowDrivesOnly(bool pValue); // raises 387 at run time
    QFont Font() const { return font(); }
    void Font(const QFont &pValue);

    // --- methods (dispatch identifiers 0x12 to 0x1B, -552) --------------------------------------

    bool SetPath(const QString &sFullPath);
    // Selects the list Pidl (nullptr for the desktop); it stays the caller's. Through dispatch
    // the list is given by its address.
    bool SetPidl(const ItemIdList *Pidl);
    int16_t ItemsCount() const;
    bool SetSpecialFolder(int32_t sSpecialFolder);
    bool SelectItem(int16_t iIndex);
    // Nothing when no entry is selected.
    std::optional<CComboBoxItem> SelectedItem() const;
    // Nothing when iIndex is not below ItemsCount.
    std::optional<CComboBoxItem> ComboBoxItem(int16_t iIndex) const;
    void GoUp();
    // A host's own entry (Parent is a VXOCustomItemParents value); see
    // CNamespaceComboBox::AddCustomItem.
    void AddCustomItem(int32_t Parent, const QString &sText, int32_t iIcon);
    // Destroys and re-creates the list window: every entry is removed, the list is populated
    // anew and entry 0 is selected. Custom entries are not kept; custom icons and overlays are.
    void RefreshComboBox();
    // Removes the first entry whose text is sText; see CNamespaceComboBox::DeleteCustomItem.
    bool DeleteCustomItem(const QString &sText);
    // Appends a picture to the private image list and returns its (first) index, or -1: the
    // picture object IconPicDisp when one is given (a QIcon, or a QPixmap, QBitmap or QImage
    // as a bitmap), else the file IconPath by the case-sensitive rule of custompictures.h
    // (".ico", ".bmp", then ".png" and ".svg"). A bitmap strip gives one image per cell.
    int32_t AddCustomIcon(const QString &IconPath, const QVariant &IconPicDisp = {});
    // Makes private image IconIndex the next overlay: its number (3 to 15), or -1 when 15 are
    // defined or there is no such image.
    int32_t SetOverlayIcon(int32_t IconIndex);
    void AboutBox();

signals:
    void ListClosed();
    void ListDropDown();
    void ItemSelected();
    void SelectionChanged();
    // Stock events, raised for the control's own window. Setting KeyCode to 0 in a KeyDown
    // handler swallows the key.
    void KeyDown(int16_t &KeyCode, int16_t Shift);
    void KeyUp(int16_t &KeyCode, int16_t Shift);
    void MouseMove(int16_t Button, int16_t Shift, int x, int y);
    void OnAfterItemAdd(const vexlo::CComboBoxItem &cmbItem);
    void OnBeforeItemDelete(const vexlo::CComboBoxItem &cmbItem);

protected:
    void showEvent(QShowEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;
    void changeEvent(QEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;

private:
    void doPropExchange(PropertyExchange &pExchange);
    void applyOptions();
    void applyDropDownHeight(int pRowHeight);
    void followHeight();
    int closedHeight() const;
    QFont ambientFont() const;
    // Follows the file system while the window exists at run time with AutoUpdate on.
    void followChanges();
    // Tells the associated companions of a selected folder (unless quiet).
    void tellCompanions(const ItemIdList *pAbsolute);

    std::shared_ptr<const pindrel::platform::ShellNamespace> m_shell;
    std::shared_ptr<ImageList> m_images;
    std::shared_ptr<const UserShares> m_shares;
    std::unique_ptr<CNamespaceComboBox> m_list;
    std::unique_ptr<CShellChangeFollower> m_follower; // destroyed before m_list

    bool m_userMode = true;
    bool m_modified = false;
    int m_dropDownHeight = 0;

    int16_t m_dropDownLines = 8;
    bool m_showFile = false;
    bool m_enabled = true;
    bool m_autoComplete = true;
    int16_t m_indent = 1;
    bool m_includeUrls = true;
    bool m_autoUpdate = true;
    bool m_showOverlayIcons = true;
    bool m_showVirtualFolders = true;
    bool m_showFullPath = false;
    int32_t m_tooltipType = 3;
    bool m_showDrivesOnly = false;
    QPointer<QObject> m_folderTree;
    QPointer<QObject> m_fileList;
    intptr_t m_folderTreeHandle = 0; // asked of the companion when first needed
    intptr_t m_fileListHandle = 0;
    bool m_quiet = false; // a companion's own folder is being selected
};

} // namespace vexlo
