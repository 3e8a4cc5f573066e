#pragma once

// One entry of a folder as the file list knows it: its name both as the exact bytes on disk and
// as text, and what the list shows and sorts by.

#include <QByteArray>
#include <QString>

namespace pindrel {

struct FolderEntry
{
    QByteArray nativeName; // the name's exact bytes
    // The name as text; bytes that are not valid UTF-8 are escaped (platform/filenamecodec.h),
    // so the text leads back to the same bytes.
    QString name;
    bool folder = false; // a folder, or a link to one
    bool link = false; // a symbolic link (to anything, or to nothing)
    bool rawName = false; // the name is not valid UTF-8
    qint64 size = 0; // bytes; 0 for folders
    qint64 modifiedMs = 0; // last modification, milliseconds since the epoch
};

} // namespace pindrel
