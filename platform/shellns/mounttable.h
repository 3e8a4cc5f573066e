#pragma once

// The mount table and the drives chosen from it (internal).

#include "platform/shellnamespace.h"

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayView>
#include <QtCore/QString>

#include <vector>

namespace pindrel::platform {

struct MountEntry
{
    QByteArray device; // the mounted source, as the table has it
    QByteArray mountPoint; // raw path bytes, escapes resolved
    QByteArray type;
    QByteArray options;
};

class MountTable
{
public:
    // The lines of a /proc/self/mounts-format text: device, mount point, type, options (and
    // two numbers, ignored), separated by blanks, with blanks, tabs, newlines and backslashes
    // inside fields written as octal escapes (\040, \011, \012, \134). Lines with fewer than
    // four fields or a mount point that is not absolute are skipped. Mount points come out
    // clean (no trailing or doubled separators).
    static std::vector<MountEntry> parse(QByteArrayView pContent);

    // Resolves the octal escapes \ooo of one field; a backslash not followed by three octal
    // digits stays as it is.
    static QByteArray unescape(QByteArrayView pField);

    // The drives a user cares about, from the parsed table: "/" (always, even when the table lacks
    // it), a separate
    // "/home", and the mounts at or under roots.mountPlaces, without pseudo file systems (a
    // tmpfs counts only under a mount place), whose mount point is a folder. When one mount
    // point appears more than once, the last mount hides the others. Sorted by mount point,
    // naturally, so "/" comes first.
    static std::vector<MountEntry> userDrives(const NamespaceRoots &pRoots,
                                              const std::vector<MountEntry> &pTable);

    // The entry with the longest mount point containing pPath (a clean absolute path); nullptr
    // when none does.
    static const MountEntry *containing(const std::vector<MountEntry> &pDrives,
                                        const QByteArray &pPath);

    // True when pPath is pFolder or lies under it (both clean and absolute).
    static bool isUnder(const QByteArray &pPath, const QByteArray &pFolder);

    // True when pMountPoint lies under one of roots.removablePlaces.
    static bool isRemovable(const NamespaceRoots &pRoots, const QByteArray &pMountPoint);

    // The label of the volume on pDevice: the name of the link in pLabelDir that points at the
    // same device (udev writes characters such as the blank as \x20 in those names); "" when
    // there is none.
    static QString volumeLabel(const QString &pLabelDir, const QByteArray &pDevice);
};

} // namespace pindrel::platform
