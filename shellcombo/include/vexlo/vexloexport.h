#pragma once

// Symbol visibility of the vexlo library: everything is hidden unless marked with VEXLO_EXPORT,
// so that the library's surface is exactly its public headers.

#include <QtCore/qglobal.h>

#if defined(VEXLO_BUILDING)
#define VEXLO_EXPORT Q_DECL_EXPORT
#else
#define VEXLO_EXPORT Q_DECL_IMPORT
#endif
