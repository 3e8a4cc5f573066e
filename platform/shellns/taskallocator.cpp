#include "platform/taskallocator.h"

#include <QtCore/QLoggingCategory>

#include <cstdlib>

namespace pindrel::platform {

namespace {
Q_LOGGING_CATEGORY(lcTaskAllocator, "pindrel.platform.taskallocator")
}

TaskAllocator &TaskAllocator::instance()
{
    static TaskAllocator allocator;
    return allocator;
}

void *TaskAllocator::alloc(size_t pBytes)
{
    // malloc(0) may return nullptr, which callers would take for a failure.
    void *const block = std::malloc(pBytes == 0 ? 1 : pBytes);
    if (block == nullptr)
        return nullptr;
    const std::lock_guard lock(mMutex);
    mLive.insert(block);
    return block;
}

void TaskAllocator::free(void *pBlock)
{
    if (pBlock == nullptr)
        return;
    {
        // The live set is what makes a foreign or repeated free harmless: only a block found
        // (and removed) here goes back to the heap.
        const std::lock_guard lock(mMutex);
        if (mLive.erase(pBlock) == 0) {
            qCWarning(lcTaskAllocator, "free of a block that is not allocated: %p", pBlock);
            return;
        }
    }
    std::free(pBlock);
}

size_t TaskAllocator::outstanding() const
{
    const std::lock_guard lock(mMutex);
    return mLive.size();
}

bool TaskAllocator::owns(const void *pBlock) const
{
    const std::lock_guard lock(mMutex);
    return mLive.contains(pBlock);
}

} // namespace pindrel::platform
