#include "startup/registry.h"

#include <limits>

#include "startup/appstate.h"
#include "startup/numberconversion.h"
#include "startup/registryhost.h"
#include "txini/clsini.h"

#include "platform/filenamecodec.h"

namespace pindrel {

namespace {

constexpr char kCaption[] = "CAPTION";
constexpr char kPath[] = "PATH";
constexpr char kIcon[] = "ICON";

// The text as the file stores it: a path that is not UTF-8 keeps its bytes (see
// filenamecodec.h); any other text is its UTF-8.
std::string text(const QString &pValue)
{
    return platform::encodeFileName(pValue).toStdString();
}

} // namespace

Registry::Registry(AppState &pState, RegistryHost &pHost)
    : m_state(pState)
    , m_host(pHost)
{ }

QString Registry::drawerLimitMessage()
{
    return QStringLiteral("You can't add another drawer. (Max. allowed ")
        + QString::number(AppState::kMaximumDrawers) + QStringLiteral(").");
}

std::string Registry::drawerSection(int pNumber)
{
    return "BUTTON" + std::to_string(pNumber);
}

std::string Registry::programSection(int pNumber)
{
    return "PROGRAM" + std::to_string(pNumber);
}

bool Registry::isDrawer(int pIndex) const
{
    return pIndex >= 1 && pIndex <= m_state.drawerCount() && pIndex <= AppState::kMaximumDrawers;
}

bool Registry::isProgram(int pIndex) const
{
    return pIndex >= 1 && pIndex <= m_state.programCount();
}

void Registry::copyKey(const std::string &pFrom, const std::string &pTo, const char *pKey)
{
    txini::_clsIni &ini = m_state.ini();
    ini.doAdd(pTo, pKey, ini.getLeerValor(pFrom, pKey));
}

// ---- drawers ------------------------------------------------------------------------------

void Registry::AgregarBoton(const QString &pNombre, const QString &pRuta, const QString &pIcono,
                            int16_t pRefrescar)
{
    if (m_state.drawerCount() >= AppState::kMaximumDrawers) {
        m_host.showExclamation(drawerLimitMessage());
        return;
    }
    const int number = m_state.drawerCount() + 1;
    m_state.setDrawerCount(number);

    txini::_clsIni &ini = m_state.ini();
    const std::string section = drawerSection(number);
    ini.doAdd(section, kCaption, text(pNombre));
    ini.doAdd(section, kPath, text(pRuta));
    ini.doAdd(section, kIcon, text(pIcono));
    ini.doAdd(section, "HEIGHT", std::to_string(kNewDrawerHeight));
    ini.doAdd(section, "WIDTH", std::to_string(kNewDrawerWidth));
    ini.doAdd(section, "LEFT", std::to_string(kNewDrawerLeft));
    // The window opens just below a bar docked at the top.
    ini.doAdd(section, "TOP", textFromSingle(m_host.barHeightTwips()));
    ini.doAdd(kSectionGeneral, kKeyDrawerCount, std::to_string(number));

    if (pRefrescar != 0)
        m_host.MostrarBotones();
}

void Registry::ModificarBoton(int16_t pIndex, const QString &pNombre, const QString &pRuta,
                              const QString &pIcono, int16_t pRefrescar)
{
    if (!isDrawer(pIndex))
        return;
    txini::_clsIni &ini = m_state.ini();
    const std::string section = drawerSection(pIndex);
    ini.doAdd(section, kCaption, text(pNombre));
    ini.doAdd(section, kPath, text(pRuta));
    ini.doAdd(section, kIcon, text(pIcono));

    if (pRefrescar != 0)
        m_host.MostrarBotones();
}

void Registry::EliminarBoton(int16_t pIndex, int16_t pRefrescar)
{
    m_host.processPendingMessages();
    // The pump may have run a handler that changed the count: check afterwards.
    if (!isDrawer(pIndex))
        return;

    const int count = m_state.drawerCount();
    AppState::FolderTable &lastFolders = m_state.lastFolders();
    // Only the entry moves down; each section keeps its window keys, so a drawer that moves
    // takes over the size, place and view of its new number.
    for (int number = pIndex; number < count; ++number) {
        const std::string from = drawerSection(number + 1);
        const std::string to = drawerSection(number);
        copyKey(from, to, kCaption);
        copyKey(from, to, kPath);
        copyKey(from, to, kIcon);
        lastFolders[static_cast<size_t>(number)] = lastFolders[static_cast<size_t>(number) + 1];
    }
    lastFolders[static_cast<size_t>(count)] = QString::fromLatin1(AppState::kNoFolder);
    m_state.setDrawerCount(count - 1);
    m_state.ini().doAdd(kSectionGeneral, kKeyDrawerCount, std::to_string(count - 1));

    if (pRefrescar != 0)
        m_host.MostrarBotones();
}

// ---- programs -----------------------------------------------------------------------------

void Registry::AgregarPrograma(const QString &pNombre, const QString &pRuta, int16_t pRefrescar)
{
    // A 16-bit count has no room for another program: refuse rather than wrap to a negative
    // section number.
    if (m_state.programCount() >= std::numeric_limits<int16_t>::max())
        return;
    const auto number = static_cast<int16_t>(m_state.programCount() + 1);
    m_state.setProgramCount(number);

    txini::_clsIni &ini = m_state.ini();
    const std::string section = programSection(number);
    ini.doAdd(section, kCaption, text(pNombre));
    ini.doAdd(section, kPath, text(pRuta));
    ini.doAdd(kSectionGeneral, kKeyProgramCount, std::to_string(number));

    if (pRefrescar != 0)
        m_host.MostrarProgramas();
}

void Registry::ModificarPrograma(int16_t pIndex, const QString &pNombre, const QString &pRuta,
                                 int16_t pRefrescar)
{
    if (!isProgram(pIndex))
        return;
    txini::_clsIni &ini = m_state.ini();
    const std::string section = programSection(pIndex);
    ini.doAdd(section, kCaption, text(pNombre));
    ini.doAdd(section, kPath, text(pRuta));

    if (pRefrescar != 0)
        m_host.MostrarProgramas();
}

void Registry::EliminarPrograma(int16_t pIndex, int16_t pRefrescar)
{
    m_host.processPendingMessages();
    if (!isProgram(pIndex))
        return;

    const int count = m_state.programCount();
    for (int number = pIndex; number < count; ++number) {
        const std::string from = programSection(number + 1);
        const std::string to = programSection(number);
        copyKey(from, to, kCaption);
        copyKey(from, to, kPath);
    }
    const auto remaining = static_cast<int16_t>(count - 1);
    m_state.setProgramCount(remaining);
    m_state.ini().doAdd(kSectionGeneral, kKeyProgramCount, std::to_string(remaining));

    if (pRefrescar != 0)
        m_host.MostrarProgramas();
}

void Registry::swapPrograms(int pFirst, int pSecond)
{
    txini::_clsIni &ini = m_state.ini();
    const std::string first = programSection(pFirst);
    const std::string second = programSection(pSecond);
    const std::string firstCaption = ini.getLeerValor(first, kCaption);
    const std::string firstPath = ini.getLeerValor(first, kPath);
    const std::string secondCaption = ini.getLeerValor(second, kCaption);
    const std::string secondPath = ini.getLeerValor(second, kPath);
    ini.doAdd(first, kCaption, secondCaption);
    ini.doAdd(first, kPath, secondPath);
    ini.doAdd(second, kCaption, firstCaption);
    ini.doAdd(second, kPath, firstPath);
}

void Registry::SubirPrograma(int16_t pIndex, int16_t pRefrescar)
{
    m_host.processPendingMessages();
    if (!isProgram(pIndex) || pIndex <= 1)
        return;
    swapPrograms(pIndex, pIndex - 1);

    if (pRefrescar != 0)
        m_host.MostrarProgramas();
}

void Registry::BajarPrograma(int16_t pIndex, int16_t pRefrescar)
{
    m_host.processPendingMessages();
    if (!isProgram(pIndex) || pIndex >= m_state.programCount())
        return;
    swapPrograms(pIndex, pIndex + 1);

    if (pRefrescar != 0)
        m_host.MostrarProgramas();
}

} // namespace pindrel
