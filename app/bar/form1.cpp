#include "form1.h"

#include "bar/appbarlayout.h"
#include "bar/barbutton.h"
#include "bar/barmenus.h"
#include "bar/buttonarray.h"
#include "bar/dragtargets.h"
#include "bar/drawerbuttons.h"
#include "bar/draweropener.h"
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

namespace pindrel {

namespace {

// Design sizes of the bar's fixed controls, in twips.
constexpr float kFixedButtonSize = 315;
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
    , m_appBarData(std::make_unique<platform::AppBarData>())
    , m_configLocator(&configFilePath)
    , m_specialFolderLookup(&platform::specialFolderPath)
    , m_img(kDrawerIconSize)
    , m_imgP(kProgramIconSize)
{
    setWindowTitle(QString());
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
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
    connect(m_cmdProg, &BarButton::mouseUp, this,
            [this](int pButton) { m_programMenu->cmdProg_MouseUp(*m_cmdProg, pButton); });
    connect(m_cmdB, &ButtonArray::mouseDown, this, &Form1::cmdB_MouseDown);
    connect(m_cmdB, &ButtonArray::mouseUp, this, &Form1::cmdB_MouseUp);
    m_showExclamation = [this](const QString &pText) {
        QMessageBox::warning(this, productTitle(), pText);
    };
}

Form1::~Form1() = default;

void Form1::setAppBarService(std::unique_ptr<platform::AppBarService> pService)
{
    m_appBar = std::move(pService);
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

    // 5: the drop receiver comes with the handling of dropped files.

    // 6-7: the store and the appearance settings (missing ones are written back at once).
    m_state.openStore(m_configLocator());
    m_state.settings() = loadSettings(m_state.ini());

    // 8-10: theme, geometry across the screen, template button and colours.
    SetTheme();
    const float tpp = twipsPerPixel(screen());
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    applyBarGeometryTwips(0, 0, toTwips(screenRect.width(), tpp), m_state.settings().barHeight);
    BarButton &first = m_cmdB->templateButton();
    first.setHeightTwips(std::max(0.0F, barHeightTwips() - 2 * first.topTwips()));
    AplicarColoresMain();

    // 11: dock only for exactly "TOP" or "BOTTOM".
    if (!m_appBar)
        m_appBar = platform::createAppBarService();
    if (m_state.settings().position == QLatin1String("TOP"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_TOP));
    else if (m_state.settings().position == QLatin1String("BOTTOM"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_BOTTOM));

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

    // 21
    show();
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

void Form1::applyBarGeometryTwips(float pLeft, float pTop, float pWidth, float pHeight)
{
    const float tpp = twipsPerPixel(screen());
    setGeometry(toPixels(pLeft, tpp), toPixels(pTop, tpp), std::max(0, toPixels(pWidth, tpp)),
                std::max(0, toPixels(pHeight, tpp)));
}

float Form1::barHeightTwips() const
{
    return toTwips(height(), twipsPerPixel(screen()));
}

void Form1::RegistrarBarra(int32_t pEdge)
{
    if (m_registered || !m_appBar)
        return;
    // The calls below see the other docks as they are when it starts.
    const platform::AppBarSequence sequence(*m_appBar);
    const platform::AppBarRect screenRect = m_appBar->screenRect();
    const int barWidth = width();
    const int barHeight = height();

    platform::AppBarData &record = *m_appBarData;
    record = platform::AppBarData{};
    record.cbSize = 36;
    record.hWnd = static_cast<quintptr>(winId());
    record.uCallbackMessage = 0x400;
    if (!m_appBar->newBar(record)) {
        QuitarBarra();
        return;
    }
    m_registered = true;

    m_appBar->getTaskbarPos(record);
    record.rc =
        appBarProposal(screenRect, record.rc, static_cast<uint32_t>(pEdge), barWidth, barHeight);
    record.uEdge = static_cast<uint32_t>(pEdge);
    m_appBar->queryPos(record);
    m_appBar->setPos(record);
    setGeometry(record.rc.left, record.rc.top, std::max(0, record.rc.width()),
                std::max(0, record.rc.height()));
}

void Form1::QuitarBarra()
{
    if (!m_registered || !m_appBar)
        return;
    m_appBar->remove(*m_appBarData);
    m_registered = false;
}

void Form1::redock()
{
    QuitarBarra();
    const float tpp = twipsPerPixel(screen());
    const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    applyBarGeometryTwips(0, 0, toTwips(screenRect.width(), tpp), m_state.settings().barHeight);
    BarButton &first = m_cmdB->templateButton();
    first.setHeightTwips(std::max(0.0F, barHeightTwips() - 2 * first.topTwips()));
    if (m_state.settings().position == QLatin1String("TOP"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_TOP));
    else if (m_state.settings().position == QLatin1String("BOTTOM"))
        RegistrarBarra(static_cast<int32_t>(platform::ABE_BOTTOM));
}

void Form1::RestaurarAreaTrabajo()
{
    if (!m_appBar)
        return;
    // The window manager owns the work area here; removing the bar's struts (QuitarBarra)
    // is what gives the space back. The request is still made for desktops that take it.
    m_appBar->setWorkArea(m_appBar->screenRect());
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
}

void Form1::AlternarCajon(int16_t pIndex)
{
    std::optional<float> buttonLeft;
    if (BarButton *button = m_cmdB->item(pIndex))
        buttonLeft = button->leftTwips();
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
