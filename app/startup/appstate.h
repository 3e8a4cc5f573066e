#pragma once

// The module-level state of one run of the program, owned by the bar for the whole run:
// the INI store, the settings read at start, the drawer and program counts, the open drawer
// table and the last folder table, the shell object, the program's folder and the path of
// config.ini.
//
// Drawer numbers run from 1 to 100 and index the two tables directly (entry 0 is never a
// drawer). The drawer count is kept within 0..100 whatever the file says, so that no drawer
// number taken from it can reach outside the tables.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "startup/settings.h"

namespace txini {
class _clsIni;
}

namespace pindrel::platform {
class Shell;
}

namespace pindrel {

class CopyController;

class AppState
{
public:
    static constexpr std::size_t kTableSize = 101;
    static constexpr int16_t kMaximumDrawers = 100;
    // The last folder table's mark for "none".
    static constexpr char kNoFolder[] = "-";

    using DrawerTable = std::array<QPointer<QWidget>, kTableSize>;
    using FolderTable = std::array<QString, kTableSize>;

    // Every last folder entry is "-", no drawer is open, both counts are 0. The store is one
    // without a file until openStore: it reads empty values and writes nowhere.
    AppState();
    ~AppState();

    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;

    // Creates the INI store (pStore, or the library's clsIni when null) and points it at
    // pConfigFile.
    void openStore(const QString &pConfigFile, std::unique_ptr<txini::_clsIni> pStore = {});
    // Whether openStore has run: a second copy of the program ends before it and must write
    // nothing.
    bool hasStore() const { return m_storeOpened; }
    txini::_clsIni &ini() { return *m_ini; }
    const QString &configFile() const { return m_configFile; }

    // The shell object that opens folders, documents and programs; null until set.
    platform::Shell *shell() const { return m_shell.get(); }
    void setShell(std::unique_ptr<platform::Shell> pShell);

    // Where the drawer windows send files dropped on their lists (the bar's, not owned); null
    // until the bar's drop receiver exists.
    CopyController *copyController() const { return m_copies; }
    void setCopyController(CopyController *pCopies) { m_copies = pCopies; }

    // The folder of the program file: the base of background/, icons/ and the updater.
    const QString &programFolder() const { return m_programFolder; }
    void setProgramFolder(const QString &pFolder) { m_programFolder = pFolder; }

    Settings &settings() { return m_settings; }
    const Settings &settings() const { return m_settings; }

    // The drawer count, always 0..100: values outside are clamped when set.
    int16_t drawerCount() const { return m_drawerCount; }
    void setDrawerCount(int pCount) { m_drawerCount = clampDrawerCount(pCount); }

    // The program count, never negative: a negative count from the file is taken as 0.
    int16_t programCount() const { return m_programCount; }
    void setProgramCount(int16_t pCount) { m_programCount = pCount < 0 ? int16_t{0} : pCount; }

    // Entry n: the open window of drawer n, null while it is closed.
    DrawerTable &openDrawers() { return m_openDrawers; }
    // Entry n: the folder drawer n showed last in this run, "-" for none. Never stored.
    FolderTable &lastFolders() { return m_lastFolders; }
    const FolderTable &lastFolders() const { return m_lastFolders; }

    // Sets every last folder entry to "-".
    void resetLastFolders();

    // A drawer count brought into 0..100. The file may hold anything (500, -3, 70000 in a
    // hand-edited GRAL CANTBOT); an out-of-range count would make drawer numbers index past
    // the 101-entry tables, so it is cut to the nearest bound.
    static int16_t clampDrawerCount(int pCount);

private:
    std::unique_ptr<txini::_clsIni> m_ini;
    bool m_storeOpened = false;
    std::unique_ptr<platform::Shell> m_shell;
    CopyController *m_copies = nullptr;
    QString m_configFile;
    QString m_programFolder;
    Settings m_settings;
    int16_t m_drawerCount = 0;
    int16_t m_programCount = 0;
    DrawerTable m_openDrawers;
    FolderTable m_lastFolders;
};

} // namespace pindrel
