#include "bar/draweropener.h"

#include "drawer/drawertoolbar.h"
#include "drawer/form2.h"
#include "drawer/tool.h"
#include "startup/appstate.h"
#include "startup/numberconversion.h"
#include "startup/registry.h"

#include "txini/clsini.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QWindow>

#include <memory>
#include <string>

namespace pindrel {

DrawerOpener::DrawerOpener(AppState &pState, Registry *pRegistry)
    : m_state(pState)
    , m_registry(pRegistry)
{ }

DrawerOpener::~DrawerOpener()
{
    // Deleted, not closed: a window's closing step would write its geometry, which quitting
    // must not do.
    for (const QPointer<Form2> &window : m_windows)
        std::unique_ptr<Form2> owned(window.data());
}

Form2 *DrawerOpener::lastOpened() const
{
    return m_lastOpened.data();
}

void DrawerOpener::setSurroundings(std::function<DrawerSurroundings()> pSurroundings)
{
    m_surroundings = std::move(pSurroundings);
}

QMargins DrawerOpener::expectedFrame(const Form2 &pWindow) const
{
    const auto frameOf = [](const Form2 &pShown) {
        const QWindow *handle = pShown.windowHandle();
        return handle != nullptr && pShown.isVisible() ? handle->frameMargins() : QMargins();
    };
    if (const QMargins own = frameOf(pWindow); !own.isNull())
        return own;
    for (const QPointer<Form2> &other : m_windows) {
        if (other == nullptr)
            continue;
        if (const QMargins shown = frameOf(*other); !shown.isNull())
            return shown;
    }
    // Without a window manager (offscreen, a bare server) there is no frame.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QMargins(0, QFontMetrics(pWindow.font()).height() + 10, 0, 0);
}

void DrawerOpener::AlternarCajon(int16_t pIndex, std::optional<float> pButtonLeft)
{
    // Another click or timer may run here; the table is consulted only afterwards.
    QCoreApplication::processEvents();
    if (pIndex < 0 || pIndex >= static_cast<int>(AppState::kTableSize))
        return;
    QPointer<QWidget> &slot = m_state.openDrawers()[static_cast<std::size_t>(pIndex)];
    if (slot) {
        slot->close();
        return;
    }

    // Closed windows delete themselves; forget their guards.
    m_windows.removeAll(QPointer<Form2>());
    auto owned = std::make_unique<Form2>(m_state);
    Form2 *window = owned.get();
    // From here the window owns itself: it deletes itself when closed, and the destructor
    // deletes those still open.
    m_windows.append(owned.release());
    slot = window;
    m_lastOpened = window;
    window->setRegistry(m_registry);

    txini::_clsIni &ini = m_state.ini();
    const std::string section = Registry::drawerSection(pIndex);
    const auto read = [&ini, &section](const char *pKey) {
        return ini.getLeerValor(section, pKey);
    };
    const int16_t view = toInteger(withZeroPrefix(read("VIEW"))).value_or(0);
    window->Inicializar(QString::fromStdString(read("PATH")),
                        QString::fromStdString(read("CAPTION")), pIndex, view);
    window->Mostrar();

    const std::optional<int32_t> left = toLong(read("LEFT"));
    const bool atButton = !left || *left < 0;
    if (atButton) {
        if (pButtonLeft)
            window->setLeftTwips(*pButtonLeft);
    } else if (const auto value = toLong(withZeroPrefix(read("LEFT")))) {
        window->setLeftTwips(static_cast<float>(*value));
    }
    if (const auto top = toLong(withZeroPrefix(read("TOP"))))
        window->setTopTwips(static_cast<float>(*top));
    if (const auto width = toLong(withZeroPrefix(read("WIDTH"))))
        window->setWidthTwips(static_cast<float>(*width));
    if (const auto height = toLong(withZeroPrefix(read("HEIGHT"))))
        window->setHeightTwips(static_cast<float>(*height));
    // Stored values that leave no usable window are made usable; the file keeps them until the
    // window closes and writes its own.
    const DrawerPlace placed =
        placeDrawer(DrawerPlace{window->pos(), window->size(), expectedFrame(*window), atButton},
                    m_surroundings ? m_surroundings() : DrawerSurroundings{});
    if (placed.framePosition != window->pos())
        window->move(placed.framePosition);
    if (placed.size != window->size())
        window->resize(placed.size);

    int pinned = 0;
    if (ini.getExisteValor(section, "VISIBLE")) {
        const std::optional<int32_t> visible = toLong(read("VISIBLE"));
        pinned = visible && *visible != 0 ? 1 : 0;
    }
    if (Tool *top = window->tool(QStringLiteral("ID_Top")))
        top->setState(pinned);
    window->iTool()->Refresh();
    window->show();
}

} // namespace pindrel
