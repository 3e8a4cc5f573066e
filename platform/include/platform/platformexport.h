#pragma once

// Symbol visibility of the platform library: everything is hidden unless marked with
// PINDREL_PLATFORM_EXPORT, so that the library's surface is exactly its public headers.

#include <QtCore/qglobal.h>

#if defined(PINDREL_PLATFORM_BUILDING)
#define PINDREL_PLATFORM_EXPORT Q_DECL_EXPORT
#else
#define PINDREL_PLATFORM_EXPORT Q_DECL_IMPORT
#endif
