#pragma once

// GIO for the platform's sources. Qt's "signals" keyword is a macro that GIO's own headers use
// as a member name, so it is lifted while they are read.

#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")
