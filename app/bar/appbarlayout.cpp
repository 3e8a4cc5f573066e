#include "appbarlayout.h"

namespace pindrel {

platform::AppBarRect appBarProposal(const platform::AppBarRect &pScreen,
                                    const platform::AppBarRect &pTaskbar, uint32_t pEdge,
                                    int pBarWidth, int pBarHeight)
{
    platform::AppBarRect usable = pScreen;
    if (pTaskbar.top > pScreen.top)
        usable.bottom = pTaskbar.top;
    else if (pTaskbar.bottom < pScreen.bottom)
        usable.top = pTaskbar.bottom;
    else if (pTaskbar.right < pScreen.right)
        usable.left = pTaskbar.right;
    else
        usable.right = pTaskbar.left;

    switch (pEdge) {
    // Measured from the usable side, not from the screen's: with a taskbar on the same edge
    // the bar then keeps its full size beside it instead of shrinking to nothing.
    case platform::ABE_LEFT:
        usable.right = usable.left + pBarWidth;
        break;
    case platform::ABE_TOP:
        usable.bottom = usable.top + pBarHeight;
        break;
    case platform::ABE_RIGHT:
        usable.left = usable.right - pBarWidth;
        break;
    case platform::ABE_BOTTOM:
        usable.top = usable.bottom - pBarHeight;
        break;
    default:
        break;
    }
    return usable;
}

} // namespace pindrel
