#pragma once

// GIO's headers, safe to include after Qt's: Qt defines "signals" as a keyword, and GIO has a
// member of that name.

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")
