#pragma once

// Icons of the desktop's icon theme, looked up once per name.
//
// Qt looks an icon name up in the theme's folders on every QIcon::fromTheme call that misses
// its own small cache, and it never remembers a name the theme does not have: a missing name
// costs one file-system probe per folder of the theme (several hundred) every time. A folder
// list or a combo asks for the same few names over and over, so the answers, found or not, are
// kept here for the life of the process. The cache forgets everything when the theme's name or
// search paths change.
//
// User-interface thread only, like QIcon::fromTheme itself; without a QGuiApplication every
// lookup gives a null icon.

#include "platform/platformexport.h"

#include <QtGui/QAbstractFileIconProvider>
#include <QtGui/QIcon>

#include <initializer_list>

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT ThemeIconCache
{
public:
    ThemeIconCache() = delete;

    // The theme's icon named exactly pName (not one of Qt's shortened fallbacks such as
    // "folder" for "folder-open"), or a null icon when the theme, or the themes it inherits,
    // has none.
    static QIcon themed(const QString &pName);

    // The first of pNames the theme has, else a null icon.
    static QIcon firstThemed(std::initializer_list<const char *> pNames);

    // The icon the file icon provider gives for pType (it asks the theme too).
    static QIcon provided(QAbstractFileIconProvider::IconType pType);

    // How many theme lookups were made since the process started (each name once per theme);
    // for tests and benchmarks.
    static int lookups();

    // When Qt found no icon theme of the desktop's own (none set, or only the "hicolor" base
    // that holds hardly any icons), takes the one the desktop's GTK settings name
    // (gtk-icon-theme-name in $XDG_CONFIG_HOME/gtk-3.0/settings.ini, then in the system's
    // gtk-3.0/settings.ini), else "Adwaita", whichever is installed in Qt's theme search
    // paths. Leaves a theme that Qt's platform theme chose alone. Returns the theme in use.
    static QString adoptDesktopTheme();
};

} // namespace pindrel::platform
