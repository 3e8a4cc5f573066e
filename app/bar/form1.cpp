#include "form1.h"

#include "bar/barbutton.h"
#include "bar/bardock.h"
#include "bar/bardrops.h"
#include "bar/barmenus.h"
#include "bar/buttonarray.h"
#include "bar/dragtargets.h"
#include "bar/drawerbuttonlayout.h"
#include "bar/drawerbuttons.h"
#include "bar/draweropener.h"
#include "bar/draweroverflow.h"
#include "bar/hookmenu.h"
#include "bar/picturefile.h"
#include "bar/programmenu.h"
#include "startup/appstate.h"
#include "startup/configlocation.h"
#include "startup/firstrun.h"
#include "startup/messageboxquestionasker.h"
#include "startup/numberconversion.h"
#include "startup/olecolor.h"
#include "startup/registry.h"
#include "startup/settings.h"
#include "startup/twips.h"

#include "platform/appbar.h"
#include "platform/devicepixels.h"
#include "platform/monitors.h"
#include "platform/shell.h"
#include "platform/shellfolders.h"
#include "platform/singleinstance.h"
#include "platform/x11window.h"

#include "txini/clsini.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace pindrel {

namespace {

// Design place of the template button, in twips.
constexpr float kTemplateTop = 15;
// Image sizes of the drawer icons (img) and the program icons (imgP), pixels.
constexpr int kDrawerIconSize = 32;
constexpr int kProgramIconSize = 16;

QString productTitle()
{
    return QStringLiteral("Pindrel");
}

// Copies of the program in different folders are different installations with their own
// config.ini: they do not exclude each other.
QString instanceKey(const QString &pProgramFolder)
{
    const QByteArray hash = QCryptographicHash::hash(QDir(pProgramFolder).absolutePath().toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QStringLiteral("pindrel-") + QString::fromLatin1(hash.toHex().left(16));
}

} // namespace

Form1::Form1(AppState &pState, QWidget *pParent)
    : QWidget(pParent,
              Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_state(pState)
    , m_registry(std::make_unique<Registry>(pState, *this))
    , m_dock(std::make_unique<BarDock>())
    , m_configLocator(&configFilePath)
    , m_specialFolderLookup(&platform::specialFolderPath)
    , m_img(kDrawerIconSize)
    , m_imgP(kProgramIconSize)
{
    setWindowTitle(QString());
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
    // A dock never has the focus; its buttons' tooltips show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAutoFillBackground(true);

    m_cmdAdd = new BarButton(this);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdAdd->setCaption(QStringLiteral("+"));
    m_cmdAdd->setToolTip(tr("Pindrel menu"));
    m_cmdProg = new BarButton(this);
    m_cmdProg->setObjectName(QStringLiteral("cmdProg"));
    m_cmdProg->setCaption(QStringLiteral("\u25B8"));
    m_cmdProg->setToolTip(tr("Programs"));
    m_cmdB = new ButtonArray(this);

    for (BarButton *fixed : {m_cmdAdd, m_cmdProg}) {
        fixed->setLeftTwips(0);
        fixed->setTopTwips(0);
        fixed->setWidthTwips(kFixedButtonSize);
        fixed->setHeightTwips(kFixedButtonSize);
    }
    m_cmdB->templateButton().setTopTwips(kTemplateTop);

    m_hMenu = new HookMenu(this);
    m_menus = new BarMenus(pState, *m_registry, *this, this);
    m_menus->setSettingsHost(this);
    m_programMenu = new ProgramMenu(pState, *m_menus, *m_hMenu, m_imgP, *this, this);
    m_drawerButtons =
        std::make_unique<DrawerButtons>(pState, *m_cmdB, m_img, *m_cmdAdd, *m_cmdProg);
    m_drawerOpener = std::make_unique<DrawerOpener>(pState, m_registry.get());

    connect(m_cmdAdd, &BarButton::clicked, this, [this] { m_menus->cmdAdd_Click(*m_cmdAdd); });
    // The drawers that do not fit answer from the overflow list as their buttons would.
    m_drawerButtons->overflow().setToggle(
        [this](int pDrawer) { AlternarCajon(static_cast<int16_t>(pDrawer)); });
    m_drawerButtons->overflow().setShowMenu([this](int pDrawer, const BarButton &pAnchor) {
        m_menus->showDrawerMenu(static_cast<int16_t>(pDrawer), pAnchor);
    });
    m_drawerOpener->setSurroundings([this] {
        DrawerSurroundings around;
        for (const QScreen *monitor : QGuiApplication::screens())
            around.monitors.push_back(monitor->availableGeometry());
        around.bar = isVisible() ? geometry() : QRect();
        around.barAtBottom = isRegistered() && m_dock->record().uEdge == platform::ABE_BOTTOM;
        return around;
    });
    connect(m_cmdProg, &BarButton::mouseUp, this,
            [this](int pButton) { m_programMenu->cmdProg_MouseUp(*m_cmdProg, pButton); });
    connect(m_cmdB, &ButtonArray::mouseDown, this, &Form1::cmdB_MouseDown);
    connect(m_cmdB, &ButtonArray::mouseUp, this, &Form1::cmdB_MouseUp);
    m_showExclamation = [this](const QString &pText) {
        QMessageBox::warning(this, productTitle(), pText);
    };
}

Form1::~Form1()
{
    // The copies go with the bar; the drawers must not reach them afterwards.
    if (m_drops != nullptr && m_state.copyController() == &m_drops->copies())
        m_state.setCopyController(nullptr);
}

void Form1::setAppBarService(std::unique_ptr<platform::AppBarService> pService)
{
    m_dock->setService(std::move(pService));
}

bool Form1::isRegistered() const
{
    return m_dock->isRegistered();
}

void Form1::setConfigLocator(std::function<QString()> pLocator)
{
    m_configLocator = std::move(pLocator);
}

void Form1::setQuestionAsker(QuestionAsker *pAsker)
{
    m_questionAsker = pAsker;
}

void Form1::setSpecialFolderLookup(std::function<QString(int)> pLookup)
{
    m_specialFolderLookup = std::move(pLookup);
}

void Form1::setExclamationHandler(std::function<void(const QString &)> pShow)
{
    if (pShow)
        m_showExclamation = std::move(pShow);
}

void Form1::setDragTargets(DragTargets *pTargets)
{
    m_drawerButtons->setDragTargets(pTargets);
}

QMenu *Form1::mC() const
{
    return m_menus->mC();
}

BarButton *Form1::cmdBTemplate() const
{
    return &m_cmdB->templateButton();
}

void Form1::processPendingMessages()
{
    QCoreApplication::processEvents();
}

bool Form1::Form_Load()
{
    // 1-3: pending messages, the tables, the native window. The window type must be set
    // before the window is first mapped, so it is set as soon as the window exists.
    processPendingMessages();
    m_state.resetLastFolders();
    winId();
    if (QWindow *window = windowHandle()) {
        platform::X11Window::setDockType(window);
        platform::X11Window::setOnAllDesktops(window);
    }
    processPendingMessages();

    // 4: a second copy hands over to the first one and ends without touching anything.
    if (m_state.programFolder().isEmpty())
        m_state.setProgramFolder(QCoreApplication::applicationDirPath());
    m_instance = std::make_unique<platform::SingleInstance>(instanceKey(m_state.programFolder()));
    if (!m_instance->isFirst()) {
        setWindowTitle(QStringLiteral("cualquier cosa"));
        m_instance->notifyFirst();
        return false;
    }
    connect(m_instance.get(), &platform::SingleInstance::activationRequested, this,
            &Form1::bringToFront);

    // 5: the drop receiver, with the template drawer button, the programs button and the add
    // button as its first windows; the drawer buttons follow as they are made.
    m_drops = new BarDrops(*this);
    for (const BarButton *target : {cmdBTemplate(), m_cmdProg, m_cmdAdd})
        m_drops->InitDrag(target->hWnd());
    m_drawerButtons->setDragTargets(m_drops);
    m_state.setCopyController(&m_drops->copies());

    // 6-7: the store and the appearance settings (missing ones are written back at once).
    m_state.openStore(m_configLocator());
    m_state.settings() = loadSettings(m_state.ini());

    // 8-10: theme, geometry across the primary monitor, template button and colours.
    SetTheme();
    sizeBar();
    AplicarColoresMain();

    // 11: dock only for exactly "TOP" or "BOTTOM".
    dockAtPosition();

    // 12-14: top-most without moving, the shell object, the opacity.
    if (QWindow *window = windowHandle())
        platform::X11Window::setAbove(window, true);
    m_state.setShell(std::make_unique<platform::Shell>());
    AplicarTransparenciaMain();

    // 15-16: the drawer buttons (loading the drawer count) and the program menu.
    MostrarBotones();
    MostrarProgramas();

    // 17: the first-run wizard while there are no drawers.
    if (m_state.drawerCount() < 1) {
        MessageBoxQuestionAsker messageBox(this);
        QuestionAsker &asker = m_questionAsker ? *m_questionAsker : messageBox;
        FirstRunWizard wizard(m_state, *m_registry, *this, asker, m_specialFolderLookup);
        wizard.run();
    }

    // 18-19: the background update check.
    processPendingMessages();
    startUpdater(QStringLiteral("/CheckBackground"));

    // 20: the menus' font and pictures.
    m_hMenu->attach(this);

    // 21. From now on the bar follows the monitors: each change docks it again.
    m_monitorWatcher = std::make_unique<platform::MonitorWatcher>();
    connect(m_monitorWatcher.get(), &platform::MonitorWatcher::changed, this, &Form1::redock);
    // The monitors may have changed since the bar was sized (a desktop still setting its
    // monitors up as the session starts): nothing would announce that change again.
    if (m_dock->monitor() != m_sizedForMonitor)
        redock();
    show();
    correctDeviceGeometry();
    return true;
}

void Form1::Form_Unload()
{
    processPendingMessages();
    RestaurarAreaTrabajo();
    if (m_state.hasStore()) {
        m_state.ini().doAdd("GRAL", "CANTBOT", std::to_string(m_state.drawerCount()));
    }
    QuitarBarra();
}

void Form1::mCCerrar_Click()
{
    // Open drawer windows are left as they are: they do not write their geometry back.
    Form_Unload();
    hide();
    QCoreApplication::exit(0);
}

void Form1::bringToFront()
{
    if (QWindow *window = windowHandle())
        platform::X11Window::activate(window);
    raise();
}

void Form1::sizeBar()
{
    // Twips become device-independent pixels at the screen's logical DPI; the monitor and the
    // struts count device pixels.
    const platform::AppBarRect monitor = m_dock->monitor();
    m_sizedForMonitor = monitor;
    const qreal ratio = platform::devicePixelRatioAt(monitor);
    const float tpp = twipsPerPixel(screen());
    const int monitorHeight = static_cast<int>(std::lround(monitor.height() / ratio));
    const int height = boundedBarHeight(toPixels(m_state.settings().barHeight, tpp), monitorHeight);
    const int deviceHeight = static_cast<int>(std::lround(height * ratio));
    placeDevice(
        platform::AppBarRect{monitor.left, monitor.top, monitor.right, monitor.top + deviceHeight});
    BarButton &first = m_cmdB->templateButton();
    first.setHeightTwips(std::max(0.0F, barHeightTwips() - 2 * first.topTwips()));
}

void Form1::placeDevice(const platform::AppBarRect &pRect)
{
    m_deviceGeometry = pRect;
    setGeometry(platform::toLogical(pRect));
    correctDeviceGeometry();
}

void Form1::correctDeviceGeometry()
{
    // At a fractional ratio Qt's rounding may miss the device pixel the strut counts by one; the
    // window is put there in device pixels once it is on the screen (before, Qt would place it
    // again as it maps it).
    QWindow *window = windowHandle();
    if (window == nullptr || !isVisible() || qFuzzyCompare(devicePixelRatioF(), 1.0))
        return;
    const platform::AppBarRect &rect = m_deviceGeometry;
    platform::X11Window::setDeviceGeometry(window, rect.left, rect.top, rect.right, rect.bottom);
}

void Form1::dockAtPosition()
{
    if (m_state.settings().position == QLatin1String("TOP"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_TOP));
    else if (m_state.settings().position == QLatin1String("BOTTOM"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_BOTTOM));
}

void Form1::redock()
{
    QuitarBarra();
    const float templateHeight = m_cmdB->templateButton().heightTwips();
    sizeBar();
    dockAtPosition();
    // Buttons of another height, or on a monitor of another scale (their pictures are made
    // for it), are made anew; the same ones only find their places again.
    if (m_cmdB->templateButton().heightTwips() != templateHeight
        || !qFuzzyCompare(m_img.devicePixelRatio(), devicePixelRatioF()))
        MostrarBotones();
    else
        m_drawerButtons->arrange(width());
    update();
}

float Form1::barHeightTwips() const
{
    return toTwips(height(), twipsPerPixel(screen()));
}

void Form1::RegistrarBarra(int32_t pEdge)
{
    const platform::AppBarRect bar = m_deviceGeometry;
    const auto placed = m_dock->registerBar(
        static_cast<quintptr>(winId()), static_cast<uint32_t>(pEdge), bar.width(), bar.height());
    if (placed)
        placeDevice(platform::AppBarRect{placed->left, placed->top,
                                         std::max(placed->left, placed->right),
                                         std::max(placed->top, placed->bottom)});
}

void Form1::QuitarBarra()
{
    m_dock->remove();
}

void Form1::RestaurarAreaTrabajo()
{
    // The window manager owns the work area here; removing the bar's struts (QuitarBarra)
    // is what gives the space back. The request is still made for desktops that take it.
    m_dock->restoreWorkArea();
}

void Form1::AplicarTransparenciaMain()
{
    m_opacityByte = pindrel::opacityByte(m_state.settings().barOpacity);
    if (QWindow *window = windowHandle())
        platform::X11Window::setOpacityByte(window, m_opacityByte);
    update();
}

namespace {

// An OLE colour that does not convert leaves the colour as it was.
void setColor(QPalette &pPalette, QPalette::ColorRole pRole, int32_t pOleColor)
{
    const QColor color = colorFromOle(pOleColor);
    if (color.isValid())
        pPalette.setColor(pRole, color);
}

} // namespace

void Form1::AplicarColoresMain()
{
    const Settings &settings = m_state.settings();
    QPalette barPalette = palette();
    setColor(barPalette, QPalette::Window, settings.barColor);
    setPalette(barPalette);

    m_cmdAdd->setBackColor(settings.barColor);
    for (int i = 0; i <= m_cmdB->ubound(); ++i) {
        if (BarButton *button = m_cmdB->item(i)) {
            button->setBackColor(settings.buttonColor);
            button->setForeColor(settings.buttonTextColor);
        }
    }
}

void Form1::SetTheme()
{
    const int16_t theme = m_state.settings().theme;
    if (theme == 0) {
        m_bgPic = QPixmap();
        update();
        return;
    }
    if (theme < 1 || theme > 4)
        return;
    const QString file =
        QDir(m_state.programFolder()).filePath(QStringLiteral("background/theme%1.bmp").arg(theme));
    // Read as the drawers' pictures are (loadPictureFile); a tile is far smaller than the cap.
    const QPixmap picture = loadPictureFile(file, kMaxDeclaredSide);
    if (picture.isNull())
        return; // a missing or broken picture changes nothing
    m_bgPic = picture;
    PintarMosaico();
}

void Form1::PintarMosaico()
{
    // The tiles are painted on every paint; here it is enough to ask for one. The buttons stay
    // in front of them.
    update();
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString name = child->objectName();
        if (name == QLatin1String("cmdAdd") || name == QLatin1String("cmdB")
            || name == QLatin1String("cmdProg"))
            child->raise();
    }
}

void Form1::paintEvent(QPaintEvent *pEvent)
{
    QWidget::paintEvent(pEvent);
    if (m_state.settings().theme == 0)
        return;
    // Any theme other than 0 tiles what the tile source holds, at its own pixel size; without a
    // picture that is nothing.
    const int tileWidth = m_bgPic.width();
    const int tileHeight = m_bgPic.height();
    if (tileWidth <= 0 || tileHeight <= 0)
        return;
    QPainter painter(this);
    for (int x = 0; x <= width(); x += tileWidth) {
        for (int y = 0; y <= height(); y += tileHeight)
            painter.drawPixmap(x, y, m_bgPic);
    }
}

void Form1::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::RightButton)
        return;
    const float tpp = twipsPerPixel(screen());
    m_menus->showBarMenu(static_cast<float>(pEvent->position().x()) * tpp,
                         static_cast<float>(pEvent->position().y()) * tpp);
}

void Form1::MostrarBotones()
{
    processPendingMessages();
    m_drawerButtons->rebuild(barHeightTwips());
    m_drawerButtons->arrange(width());
}

void Form1::AlternarCajon(int16_t pIndex)
{
    // The button's left within the bar, moved by the bar's own left: the same for a bar at the
    // screen's left edge, and under the button for one on a monitor further right.
    std::optional<float> buttonLeft;
    if (BarButton *button = m_cmdB->item(pIndex))
        buttonLeft = button->leftTwips() + toTwips(x(), twipsPerPixel(screen()));
    m_drawerOpener->AlternarCajon(pIndex, buttonLeft);
}

void Form1::cmdB_MouseDown(int pIndex, int pButton, int pShift, float, float)
{
    processPendingMessages();
    if (pButton == 1 && pShift == 1) {
        const std::string path =
            m_state.ini().getLeerValor(Registry::drawerSection(pIndex), "PATH");
        if (platform::Shell *shell = m_state.shell())
            shell->open(QString::fromStdString(path));
    } else if (pButton == 2) {
        // The button may have gone with a rebuild run by the pump.
        if (BarButton *button = m_cmdB->item(pIndex))
            m_menus->showDrawerMenu(static_cast<int16_t>(pIndex), *button);
    }
}

void Form1::cmdB_MouseUp(int pIndex, int pButton, int pShift, float, float)
{
    processPendingMessages();
    if (pButton == 1 && pShift == 0)
        AlternarCajon(static_cast<int16_t>(pIndex));
}

void Form1::MostrarProgramas()
{
    m_programMenu->MostrarProgramas();
}

void Form1::showExclamation(const QString &pText)
{
    m_showExclamation(pText);
}

void Form1::startUpdater(const QString &pArgument)
{
    platform::Shell *shell = m_state.shell();
    if (shell == nullptr)
        return;
    const QString updater = QDir(m_state.programFolder()).filePath(QStringLiteral("update.exe"));
    if (QFileInfo::exists(updater))
        shell->shellExecute(updater, {pArgument}, m_state.programFolder());
}

} // namespace pindrel
