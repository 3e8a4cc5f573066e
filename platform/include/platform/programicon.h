#pragma once

// The icon that stands for a file the user starts: what the program menu shows beside each
// program.
//
//   a desktop-entry launcher   its Icon entry: a name of the icon theme or a picture file
//   a runnable program         the Icon of an installed launcher whose Exec starts that very
//                              program (symbolic links followed), else the theme's icon for
//                              executables
//   a folder                   the theme's folder icon
//   any other file             the icon of its MIME type
//
// A file that does not exist, or one for which nothing is found, gives a null icon. Theme
// names go through ThemeIconCache, picture files are read once while they stay unchanged, and
// the installed launchers are read once and again only when the desktop reports a change, so
// asking for the same hundred files again is cheap.
//
// User-interface thread only; without a QGuiApplication every answer is a null icon.

#include "platform/platformexport.h"

#include <QtCore/QString>
#include <QtGui/QIcon>

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT ProgramIcon
{
public:
    ProgramIcon() = delete;

    static QIcon forFile(const QString &pPath);

    // The icon an Icon entry names: an absolute path to a picture, else a theme name (a name
    // with a picture's extension is tried without it too). Null when there is none.
    static QIcon fromIconEntry(const QString &pIcon);
};

} // namespace pindrel::platform
