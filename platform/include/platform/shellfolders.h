#pragma once

// The shell's special folders, by their CSIDL numbers, as folders of a Linux desktop.

#include "platform/platformexport.h"

#include <QtCore/QString>

namespace pindrel::platform {

// CSIDL numbers with a Linux counterpart.
inline constexpr int CSIDL_DESKTOP = 0; // the XDG desktop folder
inline constexpr int CSIDL_PERSONAL = 5; // the XDG documents folder
inline constexpr int CSIDL_MYDOCUMENTS = 12; // same as CSIDL_PERSONAL
inline constexpr int CSIDL_MYMUSIC = 13; // the XDG music folder
inline constexpr int CSIDL_MYVIDEO = 14; // the XDG videos folder
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16; // the XDG desktop folder
inline constexpr int CSIDL_NETHOOD = 19; // where the desktop mounts network places
inline constexpr int CSIDL_APPDATA = 26; // $XDG_CONFIG_HOME
inline constexpr int CSIDL_LOCAL_APPDATA = 28; // $XDG_DATA_HOME
inline constexpr int CSIDL_MYPICTURES = 39; // the XDG pictures folder
inline constexpr int CSIDL_PROFILE = 40; // the home folder

// The file-system path of special folder pCsidl, or "" when the number has no Linux
// counterpart (the start menu, the control panel, the recycle bin...) or the folder does not
// exist. The XDG user folders come from $XDG_CONFIG_HOME/user-dirs.dirs (xdg-user-dirs); one set
// to the home folder itself counts as not configured, as xdg-user-dirs has it. The network
// folder is $XDG_RUNTIME_DIR/gvfs (else /run/user/<uid>/gvfs). The path is absolute and clean,
// without a trailing separator.
PINDREL_PLATFORM_EXPORT QString specialFolderPath(int pCsidl);

} // namespace pindrel::platform
