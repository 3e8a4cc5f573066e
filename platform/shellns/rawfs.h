#pragma once

// The file system by raw path bytes (internal). Qt's file classes convert names to text and
// back, which loses names that are not valid UTF-8; the namespace works on bytes throughout.

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayView>

#include <vector>

namespace pindrel::platform::rawfs {

struct Status
{
    bool exists = false; // the path names something (a dangling symlink exists too)
    bool isDir = false; // a folder, or a symlink to one
    bool isLink = false; // a symbolic link itself
    bool writable = false; // see writable()
};

Status status(const QByteArray &pPath);
bool isDir(const QByteArray &pPath);

// True when this process may write the object and it has a write permission bit at all (so an
// object marked read-only reads as such even for the superuser); false on a read-only mount.
bool writable(const QByteArray &pPath);

struct Entry
{
    QByteArray name;
    bool isDir = false; // a folder, or a symlink to one
};

// The entries of a folder except "." and ".."; false when it cannot be read.
bool list(const QByteArray &pDir, std::vector<Entry> &pOut);

// True when the folder holds at least one folder (or a symlink to one); reading stops at the
// first one found.
bool hasSubfolder(const QByteArray &pDir);

// True when the folder holds any entry at all.
bool hasEntries(const QByteArray &pDir);

// pBase + "/" + pName, without doubling the separator after "/".
QByteArray child(const QByteArray &pBase, QByteArrayView pName);

// The last component of a path ("/" for "/").
QByteArray baseName(const QByteArray &pPath);

} // namespace pindrel::platform::rawfs
