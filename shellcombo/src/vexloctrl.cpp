// The control: its window, sizing, properties and methods. Persistence is in
// vexloctrl_persistence.cpp.

#include "vexlo/vexloctrl.h"

#include "artworkengine.h"
#include "custompictures.h"
#include "imagelist.h"
#include "usershares.h"
#include "vexlo/association.h"
#include "vexlo/namespacecombobox.h"
#include "vexlo/shellchangefollower.h"
#include "vexlo/vexloerror.h"
#include "virtualkeys.h"

#include "platform/shellnamespace.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>

namespace vexlo {

CVexloCtrl::CVexloCtrl(QWidget *pParent)
    : CVexloCtrl(std::make_shared<const pindrel::platform::ShellNamespace>(), pParent)
{ }

CVexloCtrl::CVexloCtrl(std::shared_ptr<const pindrel::platform::ShellNamespace> pShell,
                       QWidget *pParent)
    : QWidget(pParent)
    , m_shell(std::move(pShell))
    , m_images(std::make_shared<ImageList>())
    , m_shares(UserShares::of())
{
    setObjectName(QStringLiteral("Vexlo"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMouseTracking(true); // the stock MouseMove event fires without a button held
    resize(kInitialWidth, kInitialHeight);
}

CVexloCtrl::~CVexloCtrl()
{
    destroyControlWindow();
}

// --- window ----------------------------------------------------------------------------------

void CVexloCtrl::createControlWindow()
{
    if (m_list)
        return;
    const bool editable = m_autoComplete && !m_showDrivesOnly;
    m_list = std::make_unique<CNamespaceComboBox>(m_shell, editable, this, m_images);
    m_list->setGeometry(0, 0, 200, 20);
    m_list->setFont(font());
    m_list->setUserShares(m_shares);
    ComboOptions options;
    options.showDrivesOnly = m_showDrivesOnly; // fixed for the life of this window
    m_list->setOptions(options);
    applyOptions();

    connect(m_list.get(), &CNamespaceComboBox::ListClosed, this, &CVexloCtrl::ListClosed);
    connect(m_list.get(), &CNamespaceComboBox::ListDropDown, this, &CVexloCtrl::ListDropDown);
    connect(m_list.get(), &CNamespaceComboBox::ItemSelected, this, &CVexloCtrl::ItemSelected);
    connect(m_list.get(), &CNamespaceComboBox::SelectionChanged, this,
            &CVexloCtrl::SelectionChanged);
    connect(m_list.get(), &CNamespaceComboBox::OnAfterItemAdd, this, &CVexloCtrl::OnAfterItemAdd);
    connect(m_list.get(), &CNamespaceComboBox::OnBeforeItemDelete, this,
            &CVexloCtrl::OnBeforeItemDelete);
    m_list->setFolderSelectedHook(
        [this](const ItemIdList *pAbsolute) { tellCompanions(pAbsolute); });

    m_list->show();
    m_list->populate();
    // At creation the drop-down is measured in list rows; later changes measure the field.
    applyDropDownHeight(m_list->rowHeight());
    if (editable) {
        // The typed folder's entries, and with IncludeUrls the desktop's recently used
        // locations, which live beside the user's other data.
        const QString dataDir = m_shell->roots().dataDir;
        m_list->enableCompletion(
            dataDir.isEmpty() ? QString() : dataDir + QStringLiteral("/recently-used.xbel"),
            m_includeUrls);
    }
    m_list->setEnabled(m_enabled);
    setFocusProxy(m_list.get());
    // A control being designed shows no tips; one made with TooltipType 0 never does.
    if (m_userMode && m_tooltipType != 0)
        m_list->createTooltip([this] { return m_tooltipType; });

    m_list->setGeometry(0, 0, width(), closedHeight());
    updateGeometry();
    followHeight();
    followChanges();
}

void CVexloCtrl::destroyControlWindow()
{
    if (!m_list)
        return;
    m_follower.reset();
    setFocusProxy(nullptr);
    m_list->removeAllEntries();
    m_list.reset();
}

void CVexloCtrl::applyOptions()
{
    if (!m_list)
        return;
    ComboOptions options = m_list->options();
    options.indent = m_indent;
    options.showFile = m_showFile;
    options.showVirtualFolders = m_showVirtualFolders;
    options.showFullPath = m_showFullPath;
    options.showOverlayIcons = m_showOverlayIcons;
    m_list->setOptions(options);
}

void CVexloCtrl::applyDropDownHeight(int pRowHeight)
{
    m_dropDownHeight = pRowHeight * (m_dropDownLines + 1) + 9;
    if (m_list)
        m_list->setDropDownHeight(m_dropDownHeight);
}

int CVexloCtrl::closedHeight() const
{
    return m_list ? m_list->sizeHint().height() : kInitialHeight;
}

QSize CVexloCtrl::sizeHint() const
{
    return {kInitialWidth, closedHeight()};
}

QSize CVexloCtrl::minimumSizeHint() const
{
    return {0, closedHeight()};
}

void CVexloCtrl::followHeight()
{
    // The control is as high as the closed combo box; the container keeps the width.
    if (m_list && height() != closedHeight())
        resize(width(), closedHeight());
}

void CVexloCtrl::showEvent(QShowEvent *pEvent)
{
    createControlWindow();
    QWidget::showEvent(pEvent);
}

void CVexloCtrl::resizeEvent(QResizeEvent *pEvent)
{
    QWidget::resizeEvent(pEvent);
    if (!m_list)
        return;
    m_list->setGeometry(0, 0, width(), closedHeight());
    // Asked for once the container is done resizing, so as not to fight it mid-layout.
    if (height() != closedHeight())
        QMetaObject::invokeMethod(
            this, [this] { followHeight(); }, Qt::QueuedConnection);
}

void CVexloCtrl::changeEvent(QEvent *pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() != QEvent::FontChange || !m_list)
        return;
    m_list->setFont(font());
    applyDropDownHeight(closedHeight());
    updateGeometry();
    m_list->setGeometry(0, 0, width(), closedHeight());
    followHeight();
}

void CVexloCtrl::keyPressEvent(QKeyEvent *pEvent)
{
    int16_t keyCode = virtualKeyOf(pEvent->key());
    const int16_t given = keyCode;
    emit KeyDown(keyCode, shiftMaskOf(pEvent->modifiers()));
    if (given != 0 && keyCode == 0) {
        pEvent->accept();
        return;
    }
    QWidget::keyPressEvent(pEvent);
}

void CVexloCtrl::keyReleaseEvent(QKeyEvent *pEvent)
{
    int16_t keyCode = virtualKeyOf(pEvent->key());
    const int16_t given = keyCode;
    emit KeyUp(keyCode, shiftMaskOf(pEvent->modifiers()));
    if (given != 0 && keyCode == 0) {
        pEvent->accept();
        return;
    }
    QWidget::keyReleaseEvent(pEvent);
}

void CVexloCtrl::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint position = pEvent->position().toPoint();
    emit MouseMove(buttonMaskOf(pEvent->buttons()), shiftMaskOf(pEvent->modifiers()), position.x(),
                   position.y());
    QWidget::mouseMoveEvent(pEvent);
}

// --- properties ------------------------------------------------------------------------------

void CVexloCtrl::DropDownLines(int16_t pValue)
{
    m_dropDownLines = pValue;
    if (m_list)
        applyDropDownHeight(closedHeight());
    m_modified = true;
}

void CVexloCtrl::ShowFile(bool pValue)
{
    m_showFile = pValue;
    applyOptions();
    m_modified = true;
}

void CVexloCtrl::Enabled(bool pValue)
{
    m_enabled = pValue;
    if (m_list)
        m_list->setEnabled(pValue);
    m_modified = true;
}

void CVexloCtrl::AutoComplete(bool pValue)
{
    // Read when the window is created.
    m_autoComplete = pValue;
    if (!m_userMode)
        m_modified = true;
}

void CVexloCtrl::Indent(int16_t pValue)
{
    m_indent = pValue;
    applyOptions(); // entries inserted from now on
    if (!m_userMode)
        m_modified = true;
}

void CVexloCtrl::IncludeUrls(bool pValue)
{
    m_includeUrls = pValue;
    if (!m_userMode)
        m_modified = true;
}

void CVexloCtrl::AutoUpdate(bool pValue)
{
    m_autoUpdate = pValue;
    m_modified = true;
    followChanges();
}

void CVexloCtrl::followChanges()
{
    // Only at run time: a control being designed shows a fixed list.
    const bool wanted = m_list && m_userMode && m_autoUpdate;
    if (!wanted)
        m_follower.reset();
    else if (!m_follower)
        m_follower = std::make_unique<CShellChangeFollower>(*m_list);
}

QObject *CVexloCtrl::Sarvick() const
{
    throw VexloError(kErrorPropertyWriteOnly);
}

namespace {

IShellCompanion *companionOf(QObject *pObject)
{
    return dynamic_cast<IShellCompanion *>(pObject);
}

// Associates pObject (or ends the association when null). The handle is not reset when a second
// object replaces the first without clearing: the first companion's handle stays, as callers
// have come to expect.
void associate(CVexloCtrl *pControl, QPointer<QObject> &pSlot, intptr_t &pHandle, QObject *pObject)
{
    if (pObject) {
        pSlot = pObject;
        if (IShellCompanion *companion = companionOf(pObject))
            companion->setAssociatedControl(pControl);
        return;
    }
    if (IShellCompanion *companion = companionOf(pSlot.data()))
        companion->setAssociatedControl(nullptr);
    pSlot = nullptr;
    pHandle = 0;
}

void tell(QObject *pObject, intptr_t &pHandle, uint32_t pMessage,
          const CVexloCtrl::ItemIdList *pAbsolute)
{
    IShellCompanion *companion = companionOf(pObject);
    if (!companion)
        return;
    if (pHandle == 0)
        pHandle = companion->companionWindowHandle();
    if (pHandle != 0)
        companion->companionMessage(pMessage, pAbsolute);
}

} // namespace

void CVexloCtrl::Sarvick(QObject *pFolderTree)
{
    associate(this, m_folderTree, m_folderTreeHandle, pFolderTree);
}

void CVexloCtrl::tellCompanions(const ItemIdList *pAbsolute)
{
    if (m_quiet)
        return;
    tell(m_folderTree.data(), m_folderTreeHandle, kTreeFolderMessage, pAbsolute);
    tell(m_fileList.data(), m_fileListHandle, kListFolderMessage, pAbsolute);
}

intptr_t CVexloCtrl::listWindowMessage(uint32_t pMessage, const CVexloCtrl::ItemIdList *pAbsolute)
{
    if (pMessage == kComboFolderMessage)
        UshB(reinterpret_cast<intptr_t>(pAbsolute));
    return 0;
}

QObject *CVexloCtrl::Quennel() const
{
    throw VexloError(kErrorPropertyWriteOnly);
}

void CVexloCtrl::Quennel(QObject *pFileList)
{
    associate(this, m_fileList, m_fileListHandle, pFileList);
}

QString CVexloCtrl::EditBoxText() const
{
    if (!m_autoComplete || !m_list || !m_list->lineEdit())
        return {};
    return m_list->lineEdit()->text();
}

void CVexloCtrl::EditBoxText(const QString &pValue)
{
    if (m_autoComplete && m_list && m_list->lineEdit())
        m_list->lineEdit()->setText(pValue);
}

void CVexloCtrl::UshB(intptr_t pValue)
{
    if (!m_list)
        return;
    // The companion that asked already shows this folder: it is not told back.
    const bool wasQuiet = std::exchange(m_quiet, true);
    m_list->selectIdList(reinterpret_cast<const ItemIdList *>(pValue));
    m_quiet = wasQuiet;
}

void CVexloCtrl::ShowOverlayIcons(bool pValue)
{
    m_showOverlayIcons = pValue;
    applyOptions();
    m_modified = true;
}

intptr_t CVexloCtrl::WindowHandle() const
{
    return reinterpret_cast<intptr_t>(m_list.get());
}

void CVexloCtrl::WindowHandle(intptr_t)
{
    throw VexloError(kErrorPropertyReadOnly);
}

void CVexloCtrl::ShowVirtualFolders(bool pValue)
{
    if (m_userMode)
        return; // a design-time property; ignored at run time without complaint
    m_showVirtualFolders = pValue;
    applyOptions();
    m_modified = true;
}

void CVexloCtrl::ShowFullPath(bool pValue)
{
    if (pValue == m_showFullPath)
        return;
    m_showFullPath = pValue;
    applyOptions();
    m_modified = true;
}

void CVexloCtrl::TooltipType(int32_t pValue)
{
    if (pValue == m_tooltipType)
        return;
    m_tooltipType = pValue;
    m_modified = true;
}

void CVexloCtrl::ShowDrivesOnly(bool pValue)
{
    if (m_userMode)
        throw VexloError(kErrorPropertyNotSettable);
    if (pValue == m_showDrivesOnly)
        return;
    m_showDrivesOnly = pValue; // acts when the window is next created
    m_modified = true;
}

void CVexloCtrl::Font(const QFont &pValue)
{
    setFont(pValue); // the list window and the height follow in changeEvent
    m_modified = true;
}

// --- methods ---------------------------------------------------------------------------------

bool CVexloCtrl::SetPath(const QString &sFullPath)
{
    return m_list && m_list->SetPath(sFullPath);
}

bool CVexloCtrl::SetPidl(const ItemIdList *Pidl)
{
    return m_list && m_list->SetPidl(Pidl);
}

int16_t CVexloCtrl::ItemsCount() const
{
    return m_list ? static_cast<int16_t>(m_list->ItemsCount()) : int16_t{0};
}

bool CVexloCtrl::SetSpecialFolder(int32_t sSpecialFolder)
{
    return m_list && m_list->SetSpecialFolder(sSpecialFolder);
}

bool CVexloCtrl::SelectItem(int16_t iIndex)
{
    return m_list && m_list->SelectItem(iIndex);
}

std::optional<CComboBoxItem> CVexloCtrl::SelectedItem() const
{
    if (!m_list || m_list->currentIndex() < 0)
        return std::nullopt;
    return CComboBoxItem(m_list.get(), static_cast<int16_t>(m_list->currentIndex()));
}

std::optional<CComboBoxItem> CVexloCtrl::ComboBoxItem(int16_t iIndex) const
{
    if (!m_list || iIndex >= ItemsCount())
        return std::nullopt;
    return CComboBoxItem(m_list.get(), iIndex);
}

void CVexloCtrl::GoUp()
{
    if (m_list)
        m_list->GoUp();
}

void CVexloCtrl::RefreshComboBox()
{
    setUpdatesEnabled(false);
    destroyControlWindow();
    createControlWindow();
    setUpdatesEnabled(true);
    update();
}

void CVexloCtrl::AddCustomItem(int32_t Parent, const QString &sText, int32_t iIcon)
{
    if (m_list)
        m_list->AddCustomItem(Parent, sText, iIcon);
}

bool CVexloCtrl::DeleteCustomItem(const QString &sText)
{
    return m_list && m_list->DeleteCustomItem(sText);
}

int32_t CVexloCtrl::AddCustomIcon(const QString &IconPath, const QVariant &IconPicDisp)
{
    // A picture object, when given, is the whole answer: its path is not looked at.
    const std::vector<QIcon> icons = IconPicDisp.isValid()
        ? custompictures::fromPicture(IconPicDisp)
        : custompictures::fromFile(IconPath);
    if (icons.empty())
        return -1;
    const int first = m_images->count();
    for (const QIcon &icon : icons)
        m_images->append(icon);
    return first;
}

int32_t CVexloCtrl::SetOverlayIcon(int32_t IconIndex)
{
    return m_images->setOverlayImage(IconIndex);
}

QIcon CVexloCtrl::toolboxIcon()
{
    return ArtworkEngine::icon(ArtworkEngine::Picture::Toolbox);
}

void CVexloCtrl::setUserShareFolder(const QString &pFolder)
{
    m_shares = UserShares::of(pFolder);
}

void CVexloCtrl::AboutBox()
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Vexlo"),
                    QStringLiteral("<b>Vexlo 7.0</b><p>The shell path combo control: the "
                                   "desktop, the computer's drives and the path of the current "
                                   "folder, in one list, with completion of typed paths.</p>"
                                   "<p>%1</p>")
                        .arg(QString::fromLatin1(kControlRegisteredName)),
                    QMessageBox::Ok, this);
    box.setIconPixmap(toolboxIcon().pixmap(QSize(48, 48)));
    box.exec();
}

} // namespace vexlo
