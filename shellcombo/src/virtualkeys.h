#pragma once

// The codes the stock key and mouse events carry: virtual-key codes for keys, and the shift and
// button masks (1 Shift / left, 2 Ctrl / right, 4 Alt / middle).

#include <QtCore/Qt>

#include <cstdint>

namespace vexlo {

// The virtual-key code of a Qt key; 0 for keys that have none.
int16_t virtualKeyOf(int pQtKey);
int16_t shiftMaskOf(Qt::KeyboardModifiers pModifiers);
int16_t buttonMaskOf(Qt::MouseButtons pButtons);

} // namespace vexlo
