#pragma once

// DrawerOpener: opens and closes the drawer windows of the bar (AlternarCajon).
//
// A drawer is open while its slot in the state's open drawer table holds its window. Toggling
// an open drawer closes its window, which stores its geometry, view and pin in BUTTON<n> and
// empties the slot as it closes. Toggling a closed drawer creates a Form2, sets it up from
// BUTTON<n> (PATH, CAPTION, VIEW: "0" + VIEW as a 16-bit number), shows its folder, then places
// it from the stored values before showing it, so it first appears at its place:
//   LEFT    a negative value, or one that does not convert (empty, absent, not a number), puts
//           the window's left at the button's left within the bar, taken as it stands;
//           otherwise "0" + LEFT as a whole number (halves to even).
//   TOP, WIDTH, HEIGHT   "0" + the value as a 32-bit whole number (empty gives 0); a value that
//           does not convert that way (a negative one) leaves the window's own value.
//   VISIBLE a whole number other than 0 presses ID_Top; 0, no value or no number releases it.
// The place so found is then made usable (see drawerplacement.h): a minimum size, on a monitor,
// off the bar, above the button when the bar is at the bottom.
// Windows still open when the opener goes are deleted without their closing step: quitting
// the program stores no drawer geometry.

#include "bar/drawerplacement.h"

#include <QList>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

namespace pindrel {

class AppState;
class Form2;
class Registry;

class DrawerOpener
{
public:
    // pRegistry is handed to the windows for their ID_NewHome and ID_Add; it may be null.
    DrawerOpener(AppState &pState, Registry *pRegistry);
    ~DrawerOpener();

    DrawerOpener(const DrawerOpener &) = delete;
    DrawerOpener &operator=(const DrawerOpener &) = delete;

    // Opens or closes drawer pIndex (0..100; others do nothing). pButtonLeft is the left of the
    // drawer's button within the bar in twips, nothing when the button is not there (the
    // window then keeps its own left where the button's would be used).
    void AlternarCajon(int16_t pIndex, std::optional<float> pButtonLeft);

    // The window opened last, null when none or closed since.
    Form2 *lastOpened() const;

    // What lies around a drawer as it opens (the monitors, the bar); none by default, which
    // leaves the stored place as it is but for the minimum size.
    void setSurroundings(std::function<DrawerSurroundings()> pSurroundings);

private:
    // The frame the window manager will put around pWindow: its own once shown, else that of a
    // drawer shown before, else a title bar's height.
    QMargins expectedFrame(const Form2 &pWindow) const;

    AppState &m_state;
    std::function<DrawerSurroundings()> m_surroundings;
    Registry *m_registry = nullptr;
    QList<QPointer<Form2>> m_windows;
    QPointer<Form2> m_lastOpened;
};

} // namespace pindrel
