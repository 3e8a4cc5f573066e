#include "virtualkeys.h"

#include <array>
#include <utility>

namespace vexlo {

int16_t virtualKeyOf(int pQtKey)
{
    // Letters and digits share their codes with upper-case ASCII.
    if ((pQtKey >= Qt::Key_A && pQtKey <= Qt::Key_Z)
        || (pQtKey >= Qt::Key_0 && pQtKey <= Qt::Key_9))
        return static_cast<int16_t>(pQtKey);
    if (pQtKey >= Qt::Key_F1 && pQtKey <= Qt::Key_F24)
        return static_cast<int16_t>(0x70 + (pQtKey - Qt::Key_F1));
    static constexpr std::array<std::pair<int, int16_t>, 22> kKeys{{
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},    {Qt::Key_Backtab, 0x09},
        {Qt::Key_Return, 0x0D},    {Qt::Key_Enter, 0x0D},  {Qt::Key_Shift, 0x10},
        {Qt::Key_Control, 0x11},   {Qt::Key_Alt, 0x12},    {Qt::Key_Pause, 0x13},
        {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},  {Qt::Key_PageUp, 0x21},
        {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},    {Qt::Key_Home, 0x24},
        {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},     {Qt::Key_Right, 0x27},
        {Qt::Key_Down, 0x28},      {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
        {Qt::Key_CapsLock, 0x14},
    }};
    for (const auto &[qtKey, code] : kKeys) {
        if (qtKey == pQtKey)
            return code;
    }
    return 0;
}

int16_t shiftMaskOf(Qt::KeyboardModifiers pModifiers)
{
    int16_t mask = 0;
    if (pModifiers.testFlag(Qt::ShiftModifier))
        mask |= 1;
    if (pModifiers.testFlag(Qt::ControlModifier))
        mask |= 2;
    if (pModifiers.testFlag(Qt::AltModifier))
        mask |= 4;
    return mask;
}

int16_t buttonMaskOf(Qt::MouseButtons pButtons)
{
    int16_t mask = 0;
    if (pButtons.testFlag(Qt::LeftButton))
        mask |= 1;
    if (pButtons.testFlag(Qt::RightButton))
        mask |= 2;
    if (pButtons.testFlag(Qt::MiddleButton))
        mask |= 4;
    return mask;
}

} // namespace vexlo
