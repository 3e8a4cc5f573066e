#pragma once

// The names in one folder, read straight from the file system: what a completion list or an
// item count needs, without making an identifier list per entry. Any thread.

#include "platform/platformexport.h"

#include <QtCore/QString>

#include <vector>

namespace pindrel::platform {

struct FolderListingEntry
{
    // The name as text; bytes that are not valid UTF-8 are escaped (filenamecodec.h), so that
    // the folder's path joined with it parses back to the same object.
    QString name;
    bool folder = false; // a folder, or a symbolic link to one
};

// The entries of the folder at pPath (a text path as parseDisplayName takes it), "." and ".."
// left out, in the order the folder gives them; appended to pOut. False when the folder cannot
// be read.
PINDREL_PLATFORM_EXPORT bool listFolder(const QString &pPath,
                                        std::vector<FolderListingEntry> &pOut);

} // namespace pindrel::platform
