#include "startup/appstate.h"

#include <QFile>

#include <algorithm>

#include "platform/shell.h"
#include "txini/clsini.h"

namespace pindrel {

AppState::AppState()
    : m_ini(std::make_unique<txini::clsIni>())
{
    // A new store points at a file beside the library; until the program says where its
    // configuration lives, nothing may be read from or written to a file.
    m_ini->File(std::string());
    resetLastFolders();
}

AppState::~AppState() = default;

void AppState::openStore(const QString &pConfigFile, std::unique_ptr<txini::_clsIni> pStore)
{
    m_ini = pStore ? std::move(pStore) : std::make_unique<txini::clsIni>();
    m_storeOpened = true;
    m_configFile = pConfigFile;
    // The store takes the path in the file system's own encoding.
    m_ini->File(QFile::encodeName(pConfigFile).toStdString());
}

void AppState::setShell(std::unique_ptr<platform::Shell> pShell)
{
    m_shell = std::move(pShell);
}

void AppState::resetLastFolders()
{
    m_lastFolders.fill(QString::fromLatin1(kNoFolder));
}

int16_t AppState::clampDrawerCount(int pCount)
{
    return static_cast<int16_t>(std::clamp(pCount, 0, static_cast<int>(kMaximumDrawers)));
}

} // namespace pindrel
