#pragma once

// The registry procedures: the only way drawers and programs are added, changed, removed and
// reordered. The lists have no model in memory: they are the sections BUTTON1..BUTTON<count>
// and PROGRAM1..PROGRAM<count> of config.ini and the counts GRAL CANTBOT and GRAL CANTPROG.
// Every procedure writes through the INI store at once, in a fixed order, and when pRefrescar
// is not 0 rebuilds the drawer buttons or the program menu afterwards.
//
// Write orders:
//   AgregarBoton      BUTTON<n> CAPTION, PATH, ICON, HEIGHT=5745, WIDTH=6855, LEFT=-1,
//                     TOP=<bar height in twips>; then GRAL CANTBOT=n. Refused at 100 drawers
//                     with "You can't add another drawer. (Max. allowed 100)."; nothing written.
//   ModificarBoton    BUTTON<i> CAPTION, PATH, ICON (window keys untouched).
//   EliminarBoton     for each later drawer j = i+1..count: BUTTON<j-1> CAPTION, PATH, ICON
//                     from BUTTON<j> (each read, then written), with its last folder entry;
//                     then GRAL CANTBOT. Window keys stay with their section number, and the
//                     old last section stays in the file (a later add overwrites it, keeping
//                     its VISIBLE and VIEW).
//   AgregarPrograma   PROGRAM<n> CAPTION, PATH; GRAL CANTPROG=n. With 32767 programs, the
//                     most a 16-bit count holds, nothing is done.
//   ModificarPrograma PROGRAM<i> CAPTION, PATH.
//   EliminarPrograma  for each later program: PROGRAM<j-1> CAPTION then PATH from PROGRAM<j>;
//                     then GRAL CANTPROG.
//   SubirPrograma     reads PROGRAM<i> and PROGRAM<i-1>, writes PROGRAM<i> CAPTION, PATH from
//                     the earlier entry, then PROGRAM<i-1> CAPTION, PATH from the later one.
//   BajarPrograma     the same with PROGRAM<i+1>: PROGRAM<i> first, then PROGRAM<i+1>.
// Values are handed to the store as given (the store trims values itself).
//
// Indexes: a procedure that takes pIndex does nothing (and rebuilds nothing) unless pIndex is
// an existing entry, 1..count; for drawers that is also within 1..100, so the tables are never
// indexed out of range. SubirPrograma also does nothing for the first program, BajarPrograma
// for the last. EliminarBoton, EliminarPrograma, SubirPrograma and BajarPrograma let pending
// messages run once before anything else.
//
// Counts: the counts in memory (AppState) change with the file. A failing write is not
// noticed; the next rebuild reads the counts from the file again. No procedure throws.

#include <cstdint>
#include <string>

#include <QString>

namespace pindrel {

class AppState;
class RegistryHost;

class Registry
{
public:
    // Starting values of a new drawer's window, in twips; LEFT below 0 opens it at its button.
    static constexpr int kNewDrawerHeight = 5745;
    static constexpr int kNewDrawerWidth = 6855;
    static constexpr int kNewDrawerLeft = -1;

    Registry(AppState &pState, RegistryHost &pHost);

    void AgregarBoton(const QString &pNombre, const QString &pRuta, const QString &pIcono,
                      int16_t pRefrescar);
    void ModificarBoton(int16_t pIndex, const QString &pNombre, const QString &pRuta,
                        const QString &pIcono, int16_t pRefrescar);
    void EliminarBoton(int16_t pIndex, int16_t pRefrescar);

    void AgregarPrograma(const QString &pNombre, const QString &pRuta, int16_t pRefrescar);
    void ModificarPrograma(int16_t pIndex, const QString &pNombre, const QString &pRuta,
                           int16_t pRefrescar);
    void EliminarPrograma(int16_t pIndex, int16_t pRefrescar);
    void SubirPrograma(int16_t pIndex, int16_t pRefrescar);
    void BajarPrograma(int16_t pIndex, int16_t pRefrescar);

    // "You can't add another drawer. (Max. allowed 100)."
    static QString drawerLimitMessage();

    static std::string drawerSection(int pNumber);
    static std::string programSection(int pNumber);

private:
    bool isDrawer(int pIndex) const;
    bool isProgram(int pIndex) const;
    void copyKey(const std::string &pFrom, const std::string &pTo, const char *pKey);
    void swapPrograms(int pFirst, int pSecond);

    AppState &m_state;
    RegistryHost &m_host;
};

} // namespace pindrel
