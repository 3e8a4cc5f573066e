#pragma once

// Desktop entries (".desktop" launchers) as the freedesktop.org Desktop Entry standard has
// them, read with GLib's key-file reader.

#include "platform/platformexport.h"

#include <QtCore/QString>

namespace pindrel::platform {

// The localised Name of the application launcher pPath: "" when the file is not a readable
// desktop entry of Type "Application", is Hidden, or has no Name.
PINDREL_PLATFORM_EXPORT QString desktopEntryName(const QString &pPath);

} // namespace pindrel::platform
