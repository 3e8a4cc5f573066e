#pragma once

// How GoogleTest prints a rectangle in failure messages.

#include "platform/appbar.h"

#include <ostream>

namespace pindrel::platform {

inline void PrintTo(const AppBarRect &pRect, std::ostream *pStream)
{
    *pStream << "{" << pRect.left << ", " << pRect.top << ", " << pRect.right << ", "
             << pRect.bottom << "}";
}

} // namespace pindrel::platform
