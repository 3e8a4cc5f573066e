#pragma once

// The RandR 1.5 monitors of one X connection's screen. Not part of the library's surface.

#include "platform/monitors.h"

#include <vector>

namespace pindrel::platform {

class EwmhConnection;

// The active monitors of the connection's screen, in device pixels; empty when the server has
// no RandR 1.5 or lists none.
std::vector<Monitor> randrMonitors(EwmhConnection &pEwmh);

} // namespace pindrel::platform
