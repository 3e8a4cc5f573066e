#pragma once

// The rectangle the bar asks the shell for when it claims a screen edge: the screen less the
// taskbar's side, shaped for the edge.

#include "platform/appbar.h"

#include <cstdint>

namespace pindrel {

// Cuts the taskbar's side away from the screen (the first test that holds decides: taskbar
// below the screen's top, above its bottom, left of its right edge, else at its left) and
// shapes what is left for the edge: the bar's width or height measured from the usable side of
// that edge. Other edges leave it unchanged.
platform::AppBarRect appBarProposal(const platform::AppBarRect &pScreen,
                                    const platform::AppBarRect &pTaskbar, uint32_t pEdge,
                                    int pBarWidth, int pBarHeight);

} // namespace pindrel
