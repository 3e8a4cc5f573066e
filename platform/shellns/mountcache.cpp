#include "shellns/mountcache.h"

#include <QtCore/QFile>

namespace pindrel::platform {

const MountEntry *MountSnapshot::entryAt(const QByteArray &pMountPoint) const
{
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        if (it->mountPoint == pMountPoint)
            return &*it;
    }
    return nullptr;
}

MountCache::MountCache(NamespaceRoots pRoots)
    : mRoots(std::move(pRoots))
{ }

std::shared_ptr<const MountSnapshot> MountCache::snapshot() const
{
    QByteArray text;
    QFile file(mRoots.mountTable);
    // The kernel's mount files report a size of 0: read to the end, not by size. A table that
    // cannot be read counts as empty (the root drive remains).
    if (!mRoots.mountTable.isEmpty() && file.open(QIODevice::ReadOnly))
        text = file.readAll();

    const std::lock_guard lock(mMutex);
    if (!mSnapshot || text != mText) {
        auto snapshot = std::make_shared<MountSnapshot>();
        snapshot->table = MountTable::parse(text);
        snapshot->drives = MountTable::userDrives(mRoots, snapshot->table);
        mSnapshot = std::move(snapshot);
        mText = std::move(text);
    }
    return mSnapshot;
}

} // namespace pindrel::platform
