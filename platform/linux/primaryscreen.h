#pragma once

// The primary screen as Qt sees it, in device pixels. Not part of the library's surface.

#include "platform/appbar.h"

#include <optional>

namespace pindrel::platform {

// nullopt when there is no application or no screen.
std::optional<AppBarRect> primaryScreenRect();

} // namespace pindrel::platform
