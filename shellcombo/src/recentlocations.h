#pragma once

// The desktop's recently used locations: the freedesktop recently-used list
// ($XDG_DATA_HOME/recently-used.xbel), which file dialogs and file managers keep. Any thread.

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace vexlo::recentlocations {

// The local files and folders the list names that still exist, most recently used first, as
// paths in the namespace's form (bytes that are not valid UTF-8 escaped), folders with a
// trailing '/'; at most pLimit. An
// unreadable or malformed list gives what could be read before the fault.
QStringList read(const QString &pListFile, int pLimit = 500);

} // namespace vexlo::recentlocations
