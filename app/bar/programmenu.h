#pragma once

// The program menu mP and the programs button cmdProg.
//
// MostrarProgramas rebuilds the menu from config.ini: one pass of the message pump, mProg0
// shown, the program count read from GRAL CANTPROG (0 when it is absent), every entry
// mProg1..mProg<old count> removed, then for each program i in order (a pass of the pump
// first) the entry mProg<i> captioned with PROGRAM<i> CAPTION, taken literally, inserted below
// the ones before it, and its icon made from PROGRAM<i> PATH by AgregarIconoPrograma and
// shown through hMenu. mProg0 is hidden again at the end. A count that does not convert (letters,
// 70000) ends the rebuild at once: the count and the entries stay as they were. Sections that
// do not exist give entries with an empty caption and no picture: the entry is still program i.
//
// AgregarIconoPrograma renders the icon of a path (see platform::ProgramIcon) at 16×16 and
// appends it to imgP under "imgProg"<position>, giving the position; a path that is empty once
// trimmed of spaces gives 0 and adds nothing; a file without an icon, or one that is gone, adds
// a blank picture. imgP only grows while the bar runs.
//
// Choosing mProg<i> reads PROGRAM<i> PATH at that moment and hands it to the shell's Open: a
// program starts directly, without arguments and without a command shell; a launcher starts as
// the desktop starts it; a document opens with its default application. A path that cannot be
// started gives no message; it is logged.
//
// A release of the left button on cmdProg pops up mP at (cmdProg's Left, the bar's Height)
// when there is at least one program; any other button pops up mPadd there.
//
// Because the pump runs between entries, a rebuild may find that a newer one was started from
// a handler meanwhile: it then leaves the menu to the newer one.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QAction;

namespace pindrel {

class AppState;
class BarButton;
class BarMenus;
class HookMenu;
class ImageList;
class RegistryHost;

class ProgramMenu : public QObject
{
    Q_OBJECT

public:
    // The icon of a path; by default platform::ProgramIcon::forFile.
    using IconLookup = std::function<QIcon(const QString &pPath)>;

    ProgramMenu(AppState &pState, BarMenus &pMenus, HookMenu &pHMenu, ImageList &pImgP,
                RegistryHost &pHost, QObject *pParent = nullptr);
    ~ProgramMenu() override;

    void MostrarProgramas();
    void AgregarIconoPrograma(const QString &pPath, int16_t &pIndex);

    // Entry mProg<pIndex> (1 to the number built), null when there is none.
    QAction *mProg(int pIndex) const;
    int entryCount() const { return static_cast<int>(m_entries.size()); }

    // Choosing mProg<pIndex>.
    void mProg_Click(int pIndex);
    // A mouse button (1 left, 2 right, 4 middle) released on cmdProg.
    void cmdProg_MouseUp(const BarButton &pCmdProg, int pButton);

    void setIconLookup(IconLookup pLookup);

    static QString imageKey(int pIndex);

private:
    void removeEntries();

    AppState &m_state;
    BarMenus &m_menus;
    HookMenu &m_hMenu;
    ImageList &m_imgP;
    RegistryHost &m_host;
    IconLookup m_iconLookup;
    std::vector<QPointer<QAction>> m_entries;
    uint64_t m_rebuild = 0;
};

} // namespace pindrel
