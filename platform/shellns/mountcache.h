#pragma once

// The mount table as last read, shared by the calls of one namespace (internal). The file is
// read on every request, so that mounts and unmounts show at once, but it is parsed and the
// drives are chosen again only when its text changed: a populated Computer asks for the same
// table once per drive.

#include "shellns/mounttable.h"

#include <QtCore/QByteArray>

#include <memory>
#include <mutex>
#include <vector>

namespace pindrel::platform {

struct MountSnapshot
{
    std::vector<MountEntry> table; // every line, in the table's order
    std::vector<MountEntry> drives; // MountTable::userDrives of the table

    // The mount on top at pMountPoint (the last line naming it); nullptr when none.
    const MountEntry *entryAt(const QByteArray &pMountPoint) const;
};

class MountCache
{
public:
    explicit MountCache(NamespaceRoots pRoots);

    // The current table; safe to call from several threads.
    std::shared_ptr<const MountSnapshot> snapshot() const;

private:
    const NamespaceRoots mRoots;
    mutable std::mutex mMutex;
    mutable QByteArray mText; // the text mSnapshot was made from
    mutable std::shared_ptr<const MountSnapshot> mSnapshot;
};

} // namespace pindrel::platform
