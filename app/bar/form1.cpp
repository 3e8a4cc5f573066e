#include "form1.h"

#include "bar/appbarlayout.h"
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
#include "platform/singleinstance.h"
#include "platform/specialfolders.h"
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
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace pindrel {

namespace {

// Design sizes of the bar's fixed controls, in twips.
constexpr float kFixedButtonSize = 315;
constexpr float kTemplateTop = 15;

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
{
    setWindowTitle(QString());
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
    setAutoFillBackground(true);

    m_cmdAdd = new QPushButton(QStringLiteral("+"), this);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdAdd->setToolTip(tr("Pindrel menu"));
    m_cmdProg = new QPushButton(QStringLiteral("\u25B8"), this);
    m_cmdProg->setObjectName(QStringLiteral("cmdProg"));
    m_cmdProg->setToolTip(tr("Programs"));
    m_cmdB0 = new QPushButton(this);
    m_cmdB0->setObjectName(QStringLiteral("cmdB"));
    m_cmdB0->hide();

    const float tpp = twipsPerPixel(screen());
    m_cmdAdd->setGeometry(0, 0, toPixels(kFixedButtonSize, tpp), toPixels(kFixedButtonSize, tpp));
    m_cmdProg->setGeometry(0, 0, toPixels(kFixedButtonSize, tpp), toPixels(kFixedButtonSize, tpp));
    m_cmdB0->move(0, toPixels(kTemplateTop, tpp));

    buildMenus();
    connect(m_cmdAdd, &QPushButton::clicked, this, [this] {
        const float tppNow = twipsPerPixel(screen());
        m_mC->popup(mapToGlobal(QPoint(m_cmdAdd->x(), toPixels(barHeightTwips(), tppNow))));
    });
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

void Form1::buildMenus()
{
    m_mC = new QMenu(this);
    m_mC->setObjectName(QStringLiteral("mC"));
    QAction *close = m_mC->addAction(QStringLiteral("Close Pindrel"));
    close->setObjectName(QStringLiteral("mCCerrar"));
    connect(close, &QAction::triggered, this, &Form1::mCCerrar_Click);
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
    m_cmdB0->setFixedHeight(std::max(0, height() - 2 * m_cmdB0->y()));
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

    // 20: the menu images come with the bar's menus.

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

    QPalette addPalette = m_cmdAdd->palette();
    setColor(addPalette, QPalette::Button, settings.barColor);
    m_cmdAdd->setPalette(addPalette);

    const QList<QPushButton *> drawerButtons =
        findChildren<QPushButton *>(QStringLiteral("cmdB"), Qt::FindDirectChildrenOnly);
    for (QPushButton *button : drawerButtons) {
        QPalette buttonPalette = button->palette();
        setColor(buttonPalette, QPalette::Button, settings.buttonColor);
        setColor(buttonPalette, QPalette::ButtonText, settings.buttonTextColor);
        button->setPalette(buttonPalette);
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
    QPixmap picture;
    if (!picture.load(file))
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
    if (pEvent->button() == Qt::RightButton)
        m_mC->popup(pEvent->globalPosition().toPoint());
}

void Form1::MostrarBotones()
{
    processPendingMessages();
    m_state.setDrawerCount(readCount(m_state.ini(), kKeyDrawerCount));

    // The fixed buttons: stacked when the bar is high enough inside, else side by side.
    const float tpp = twipsPerPixel(screen());
    const float gap = 60;
    const float addTop = toTwips(m_cmdAdd->y(), tpp);
    const float addHeight = toTwips(m_cmdAdd->height(), tpp);
    const float addLeft = toTwips(m_cmdAdd->x(), tpp);
    const float addWidth = toTwips(m_cmdAdd->width(), tpp);
    const float progHeight = toTwips(m_cmdProg->height(), tpp);
    if (addTop + addHeight + gap + progHeight <= barHeightTwips())
        m_cmdProg->move(toPixels(addLeft, tpp), toPixels(addTop + addHeight + gap, tpp));
    else
        m_cmdProg->move(toPixels(addLeft + addWidth + gap, tpp), toPixels(addTop, tpp));
}

void Form1::MostrarProgramas()
{
    m_state.setProgramCount(readCount(m_state.ini(), kKeyProgramCount));
}

void Form1::showExclamation(const QString &pText)
{
    QMessageBox::warning(this, productTitle(), pText);
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
