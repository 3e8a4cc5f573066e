#pragma once

// The application event log: the system log (syslog), under the identity "Pindrel".

#include "platform/platformexport.h"

#include <QtCore/QString>

namespace pindrel::platform {

// Writes one entry of type error (LOG_ERR, facility user).
PINDREL_PLATFORM_EXPORT void logError(const QString &pText);

} // namespace pindrel::platform
