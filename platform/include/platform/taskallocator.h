#pragma once

// The one task allocator of the shell namespace: every item identifier list is allocated and
// freed here, so that leaks show as a non-zero count of outstanding blocks.

#include "platform/platformexport.h"

#include <cstddef>
#include <mutex>
#include <unordered_set>

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT TaskAllocator
{
public:
    // The process-wide allocator. Safe to use from any thread.
    static TaskAllocator &instance();

    TaskAllocator(const TaskAllocator &) = delete;
    TaskAllocator &operator=(const TaskAllocator &) = delete;

    // A new block of at least pBytes bytes (a zero request still yields a distinct block);
    // nullptr when memory is exhausted. The block is suitably aligned for any scalar type.
    void *alloc(size_t pBytes);

    // Gives a block back. nullptr is ignored; so is a pointer this allocator did not hand out
    // or already took back (a warning is logged), so a double free cannot corrupt the heap.
    void free(void *pBlock);

    // Blocks handed out and not yet freed.
    size_t outstanding() const;

    // True when pBlock was handed out by alloc and not freed since.
    bool owns(const void *pBlock) const;

private:
    TaskAllocator() = default;
    ~TaskAllocator() = default;

    mutable std::mutex mMutex;
    std::unordered_set<const void *> mLive;
};

} // namespace pindrel::platform
