#include "drawer/form2.h"

#include "dragfiles/copycontroller.h"
#include "drawer/filelistdroptarget.h"

#include "drawer/drawerpalette.h"
#include "drawer/drawertoolbar.h"
#include "drawer/filelist.h"
#include "drawer/tool.h"
#include "startup/appstate.h"
#include "startup/numberconversion.h"
#include "startup/olecolor.h"
#include "startup/registry.h"
#include "startup/twips.h"

#include "platform/shell.h"
#include "platform/x11window.h"
#include "txini/clsini.h"
#include "vexlo/vexloctrl.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace pindrel {

namespace {

constexpr char kBand[] = "Options";
// The window's client area as designed, in twips.
constexpr float kDesignClientWidth = 6630;
constexpr float kDesignClientHeight = 5505;

bool inTables(int16_t pNro)
{
    return pNro >= 0 && pNro < static_cast<int>(AppState::kTableSize);
}

} // namespace

Form2::Form2(AppState &pState, QWidget *pParent)
    : QWidget(pParent, Qt::Tool | Qt::Window)
    , m_state(pState)
{
    setObjectName(QStringLiteral("Form2"));
    // The opener keeps only a guarded pointer: a closed window is gone, the next opening
    // creates a new one.
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_iTool = new DrawerToolbar(this);
    layout->addWidget(m_iTool);
    // The controls are placed by hand in twips, so the client area has no layout of its own.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    layout->addWidget(m_client, 1);
    m_client->installEventFilter(this);

    m_combo = new vexlo::CVexloCtrl(m_client);
    m_combo->setObjectName(QStringLiteral("combo"));
    m_combo->setVisible(false);
    m_fV = new FileList(m_client);
    m_fV->setObjectName(QStringLiteral("fV"));
    m_fV->setPattern(QStringLiteral("*.*"));
    m_frameFilter = new QGroupBox(QStringLiteral("File Filter"), m_client);
    m_frameFilter->setObjectName(QStringLiteral("FrameFilter"));
    m_frameFilter->setVisible(false);
    m_textFiltro = new QLineEdit(m_frameFilter);
    m_textFiltro->setObjectName(QStringLiteral("TextFiltro"));

    connect(m_iTool, &DrawerToolbar::toolClick, this, &Form2::iTool_ToolClick);
    connect(m_fV, &FileList::FolderChanged, this, &Form2::fV_FolderChanged);
    // Files dropped on the list go to the folder it shows.
    if (CopyController *copies = m_state.copyController()) {
        auto *dropTarget = new FileListDropTarget(m_fV, [list = m_fV] { return list->Path(); });
        connect(dropTarget, &FileListDropTarget::filesDropped, copies,
                [copies](const QStringList &pPaths, const QString &pFolder, bool pMove) {
                    copies->transfer(pPaths, pFolder,
                                     pMove ? platform::TransferMode::Move
                                           : platform::TransferMode::Copy);
                });
    }
    connect(m_textFiltro, &QLineEdit::textChanged, this, &Form2::TextFiltro_Change);

    const float tppX = twipsPerPixelX(screen());
    const float tppY = twipsPerPixelY(screen());
    resize(toPixels(kDesignClientWidth, tppX),
           toPixels(kDesignClientHeight, tppY) + m_iTool->sizeHint().height());
    applyPlacements();
}

Form2::~Form2() = default;

void Form2::pump()
{
    QCoreApplication::processEvents();
}

Tool *Form2::tool(const QString &pId) const
{
    return m_iTool->tool(QString::fromLatin1(kBand), pId);
}

void Form2::Inicializar(const QString &pRuta, const QString &pNombre, int16_t pNro, int16_t pVista)
{
    pump();
    AplicarTransparenciaForms();
    applyColors();

    m_history.clear();
    if (!m_shell) {
        m_ownShell = std::make_unique<platform::Shell>();
        m_shell = m_ownShell.get();
    }
    m_fV->setShell(m_shell);
    m_home = pRuta;
    setWindowTitle(pNombre);
    m_nro = pNro;

    if (inTables(m_nro)) {
        QString &last = m_state.lastFolders()[static_cast<std::size_t>(m_nro)];
        if (last.trimmed() == QLatin1String(AppState::kNoFolder))
            last = pRuta;
    }
    m_fV->setView(pVista);
}

void Form2::Mostrar()
{
    pump();
    // The list is the combo's file-list companion: a folder chosen in the combo is shown by the
    // list, browsing in the list selects the folder in the combo, and neither echoes the other.
    if (!m_comboTied) {
        m_comboTied = true;
        m_combo->Quennel(m_fV);
    }
    if (inTables(m_nro))
        m_fV->setPath(m_state.lastFolders()[static_cast<std::size_t>(m_nro)]);
    m_combo->setVisible(true);
}

void Form2::AplicarTransparenciaForms()
{
    // opacityByte gives nothing below 1 (opaque) and takes anything above 100 as 70.
    m_opacityByte = pindrel::opacityByte(m_state.settings().formOpacity);
    if (QWindow *window = windowHandle())
        platform::X11Window::setOpacityByte(window, m_opacityByte);
    update();
}

void Form2::applyColors()
{
    const QColor color = colorFromOle(m_state.settings().formColor);
    if (!color.isValid())
        return;
    // The window's texts and tools take a foreground readable on whatever colour was chosen;
    // the children inherit it.
    setPalette(drawerPalette(QGuiApplication::palette(), color));
    m_iTool->setGlyphColors(palette());
    for (QWidget *widget :
         {static_cast<QWidget *>(this), m_client, static_cast<QWidget *>(m_frameFilter)})
        widget->setAutoFillBackground(true);
}

float Form2::clientWidthTwips() const
{
    return toTwips(m_client->width(), twipsPerPixelX(screen()));
}

float Form2::clientHeightTwips() const
{
    return toTwips(m_client->height(), twipsPerPixelY(screen()));
}

void Form2::Form_Resize()
{
    pump();
    const float clientWidth = clientWidthTwips();
    const float clientHeight = clientHeightTwips();

    const float width = clientWidth - 2 * m_fVRect.left;
    if (width > 0) {
        m_fVRect.width = width;
        m_comboRect.width = m_fVRect.width;
    }
    const Tool *filter = tool(QStringLiteral("ID_Filter"));
    if (filter && filter->State() == 1) {
        placeFilterFrame(clientHeight);
    } else {
        const float height = clientHeight - m_fVRect.top - 60;
        if (height > 0)
            m_fVRect.height = height;
    }
    m_frameRect.width = m_fVRect.width;
    m_textRect.width = m_frameRect.width - 2 * m_textRect.left;
    applyPlacements();
}

void Form2::placeFilterFrame(float pClientHeight)
{
    m_frameRect.top = pClientHeight - m_frameRect.height - 60;
    m_fVRect.height = pClientHeight - m_fVRect.top - m_frameRect.height - 120;
}

void Form2::applyPlacements()
{
    const float tppX = twipsPerPixelX(screen());
    const float tppY = twipsPerPixelY(screen());
    const auto place = [tppX, tppY](QWidget *pWidget, const TwipsRect &pRect) {
        pWidget->setGeometry(toPixels(pRect.left, tppX), toPixels(pRect.top, tppY),
                             std::max(0, toPixels(pRect.width, tppX)),
                             std::max(0, toPixels(pRect.height, tppY)));
    };
    place(m_combo, m_comboRect);
    place(m_fV, m_fVRect);
    place(m_frameFilter, m_frameRect);
    place(m_textFiltro, m_textRect);
}

bool Form2::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == m_client && pEvent->type() == QEvent::Resize)
        Form_Resize();
    return QWidget::eventFilter(pWatched, pEvent);
}

// The twips last set are reported as long as the window still has the pixel value they gave:
// a window opened at LEFT 1234 and closed unmoved writes 1234 back, not the pixel's 1230, so
// the stored geometry does not drift with every opening.
float Form2::reportedTwips(Edge pEdge, int pPixels, float pTwipsPerPixel) const
{
    const std::optional<float> &set = m_setTwips[static_cast<std::size_t>(pEdge)];
    if (set && toPixels(*set, pTwipsPerPixel) == pPixels)
        return *set;
    return toTwips(pPixels, pTwipsPerPixel);
}

float Form2::leftTwips() const
{
    return reportedTwips(Edge::Left, x(), twipsPerPixelX(screen()));
}

float Form2::topTwips() const
{
    return reportedTwips(Edge::Top, y(), twipsPerPixelY(screen()));
}

float Form2::widthTwips() const
{
    return reportedTwips(Edge::Width, width(), twipsPerPixelX(screen()));
}

float Form2::heightTwips() const
{
    return reportedTwips(Edge::Height, height(), twipsPerPixelY(screen()));
}

void Form2::setLeftTwips(float pValue)
{
    m_setTwips[static_cast<std::size_t>(Edge::Left)] = pValue;
    move(toPixels(pValue, twipsPerPixelX(screen())), y());
}

void Form2::setTopTwips(float pValue)
{
    m_setTwips[static_cast<std::size_t>(Edge::Top)] = pValue;
    move(x(), toPixels(pValue, twipsPerPixelY(screen())));
}

void Form2::setWidthTwips(float pValue)
{
    m_setTwips[static_cast<std::size_t>(Edge::Width)] = pValue;
    resize(std::max(0, toPixels(pValue, twipsPerPixelX(screen()))), height());
}

void Form2::setHeightTwips(float pValue)
{
    m_setTwips[static_cast<std::size_t>(Edge::Height)] = pValue;
    resize(width(), std::max(0, toPixels(pValue, twipsPerPixelY(screen()))));
}

void Form2::setAbove(bool pAbove)
{
    // Without a native window (not shown yet) there is no band to move between; the focus
    // event applies the tool's state once the window is up.
    if (QWindow *window = windowHandle())
        platform::X11Window::setAbove(window, pAbove);
}

void Form2::changeEvent(QEvent *pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    pump();
    setAbove(false);
    const Tool *top = tool(QStringLiteral("ID_Top"));
    if (top && top->State() == 1)
        setAbove(true);
}

void Form2::showEvent(QShowEvent *pEvent)
{
    QWidget::showEvent(pEvent);
    // The combo builds its list when first shown (its children are shown before this event),
    // so a folder the list took before that reaches the combo only now.
    if (m_comboTied)
        m_fV->tellAssociatedControl();
}

void Form2::closeEvent(QCloseEvent *pEvent)
{
    Form_Unload();
    QWidget::closeEvent(pEvent);
}

void Form2::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    pump();

    const std::string section = Registry::drawerSection(m_nro);
    txini::_clsIni &ini = m_state.ini();
    ini.doAdd(section, "WIDTH", textFromSingle(widthTwips()));
    ini.doAdd(section, "HEIGHT", textFromSingle(heightTwips()));
    ini.doAdd(section, "LEFT", textFromSingle(leftTwips()));
    ini.doAdd(section, "TOP", textFromSingle(topTwips()));
    const Tool *top = tool(QStringLiteral("ID_Top"));
    ini.doAdd(section, "VISIBLE", std::to_string(top ? top->State() : 0));
    ini.doAdd(section, "VIEW", std::to_string(m_fV->View()));

    if (inTables(m_nro)) {
        const auto slot = static_cast<std::size_t>(m_nro);
        m_state.lastFolders()[slot] = m_fV->Path();
        m_state.openDrawers()[slot] = nullptr;
    }
}

void Form2::iTool_ToolClick(Tool *pTool)
{
    pump();
    if (!pTool)
        return;
    const QString id = pTool->ID();
    if (id == QLatin1String("ID_Up")) {
        m_fV->UpOneLevel();
    } else if (id == QLatin1String("ID_Back")) {
        if (m_history.size() < 2) {
            pTool->setEnabled(false);
            return;
        }
        m_history.removeLast();
        const QString previous = m_history.takeLast();
        // The following FolderChanged appends it again.
        m_fV->setPath(previous);
    } else if (id == QLatin1String("ID_Home")) {
        m_fV->setPath(m_home);
    } else if (id == QLatin1String("ID_NewHome")) {
        const QString name = m_fV->FolderName();
        if (m_registry)
            m_registry->ModificarBoton(m_nro, name, m_fV->Path(), QString(), 1);
        setWindowTitle(name);
    } else if (id == QLatin1String("ID_Explorer")) {
        if (m_shell)
            m_shell->open(m_home);
    } else if (id == QLatin1String("ID_View")) {
        const int view = m_fV->View();
        m_fV->setView(view == 4 ? 0 : view + 1);
    } else if (id == QLatin1String("ID_Top")) {
        setAbove(pTool->State() == 1);
    } else if (id == QLatin1String("ID_Filter")) {
        // Toggling always clears the filter: the text (which sets its own pattern) first, then
        // every file.
        m_textFiltro->clear();
        m_fV->setPattern(QStringLiteral("*"));
        const float clientHeight = clientHeightTwips();
        if (pTool->State() == 1) {
            m_frameFilter->setVisible(true);
            placeFilterFrame(clientHeight);
        } else {
            m_frameFilter->setVisible(false);
            m_fVRect.height = clientHeight - m_fVRect.top - 60;
        }
        applyPlacements();
    } else if (id == QLatin1String("ID_Add")) {
        if (m_registry)
            m_registry->AgregarBoton(m_fV->FolderName(), m_fV->Path(), QString(), 1);
    } else if (id == QLatin1String("ID_Close")) {
        close();
    }
}

void Form2::fV_FolderChanged()
{
    pump();
    m_history.append(m_fV->Path());
    if (Tool *back = tool(QStringLiteral("ID_Back")))
        back->setEnabled(m_history.size() >= 2);

    const bool atHome = m_home.trimmed().toLower() == m_fV->Path().trimmed().toLower();
    for (const char *id : {"ID_Home", "ID_NewHome", "ID_Add"}) {
        if (Tool *homeTool = tool(QString::fromLatin1(id)))
            homeTool->setEnabled(!atHome);
    }
}

void Form2::TextFiltro_Change(const QString &pText)
{
    m_fV->setPattern(QStringLiteral("*") + pText + QStringLiteral("*.*"));
}

} // namespace pindrel
