#pragma once

// The info tip of an object, as a file manager's tooltip gives it: its type from the MIME
// database, its size (files) or how many items it holds (folders), and when it was last
// modified, one line each:
//
//   Type: Folder
//   Contents: 12 items
//   Modified: 3/14/24 9:26 AM
//
// Objects outside the file system (the computer, the trash) and paths that cannot be read
// have none ("").

#include <QtCore/QString>

namespace vexlo::infotip {

QString forPath(const QString &pPath);

} // namespace vexlo::infotip
