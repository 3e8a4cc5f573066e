#include "platform/idlist.h"

#include "platform/taskallocator.h"

#include <cstring>

namespace pindrel::platform::idlist {

namespace {

uint16_t readCount(const ItemIdList *p)
{
    // Little endian whatever the host; identifiers need not be aligned.
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void writeCount(ItemIdList *p, uint16_t pCount)
{
    p[0] = static_cast<uint8_t>(pCount & 0xFF);
    p[1] = static_cast<uint8_t>(pCount >> 8);
}

// The valid part of a chain: its identifiers until the terminator, a count below 2, or one of
// the limits. Every other operation measures through this walk, so a malformed chain is cut at
// the same place everywhere.
struct Walk
{
    int levels = 0;
    size_t bytes = 0; // without the terminator
    const ItemIdList *lastId = nullptr;
};

Walk walk(const ItemIdList *p, int pStopAfter = kMaxLevel)
{
    Walk result;
    if (p == nullptr)
        return result;
    while (result.levels < pStopAfter && result.levels < kMaxLevel) {
        const uint16_t count = readCount(p + result.bytes);
        if (count < 2 || result.bytes + count + 2 > kMaxBytes)
            break;
        result.lastId = p + result.bytes;
        result.bytes += count;
        ++result.levels;
    }
    return result;
}

ItemIdList *allocList(size_t pBytesWithoutTerminator)
{
    auto *const list =
        static_cast<ItemIdList *>(TaskAllocator::instance().alloc(pBytesWithoutTerminator + 2));
    if (list != nullptr)
        writeCount(list + pBytesWithoutTerminator, 0);
    return list;
}

ItemIdList *copyBytes(const ItemIdList *p, size_t pBytes)
{
    ItemIdList *const list = allocList(pBytes);
    if (list != nullptr && pBytes > 0)
        std::memcpy(list, p, pBytes);
    return list;
}

} // namespace

int level(const ItemIdList *p)
{
    return walk(p).levels;
}

size_t size(const ItemIdList *p)
{
    return p == nullptr ? 0 : walk(p).bytes + 2;
}

ItemIdList *copy(const ItemIdList *p)
{
    if (p == nullptr)
        return nullptr;
    return copyBytes(p, walk(p).bytes);
}

ItemIdList *firstN(const ItemIdList *p, int n)
{
    if (p == nullptr || n < 0)
        return nullptr;
    const Walk head = walk(p, n);
    if (head.levels < n)
        return nullptr;
    return copyBytes(p, head.bytes);
}

ItemIdList *join(const ItemIdList *parent, const ItemIdList *relative)
{
    const size_t parentBytes = walk(parent).bytes;
    const size_t relativeBytes = walk(relative).bytes;
    if (parentBytes + relativeBytes + 2 > kMaxBytes)
        return nullptr;
    ItemIdList *const list = allocList(parentBytes + relativeBytes);
    if (list == nullptr)
        return nullptr;
    if (parentBytes > 0)
        std::memcpy(list, parent, parentBytes);
    if (relativeBytes > 0)
        std::memcpy(list + parentBytes, relative, relativeBytes);
    return list;
}

const ItemIdList *last(const ItemIdList *p)
{
    return walk(p).lastId;
}

const ItemIdList *next(const ItemIdList *p)
{
    if (p == nullptr)
        return nullptr;
    const Walk first = walk(p, 1);
    return p + first.bytes;
}

ItemIdList *empty()
{
    return allocList(0);
}

ItemIdList *fromPayload(const uint8_t *pBytes, size_t pCount)
{
    if (pCount + 2 > 0xFFFF || (pBytes == nullptr && pCount > 0))
        return nullptr;
    ItemIdList *const list = allocList(pCount + 2);
    if (list == nullptr)
        return nullptr;
    writeCount(list, static_cast<uint16_t>(pCount + 2));
    if (pCount > 0)
        std::memcpy(list + 2, pBytes, pCount);
    return list;
}

bool equal(const ItemIdList *a, const ItemIdList *b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    const Walk wa = walk(a);
    const Walk wb = walk(b);
    return wa.levels == wb.levels && wa.bytes == wb.bytes && std::memcmp(a, b, wa.bytes) == 0;
}

void free(ItemIdList *p)
{
    TaskAllocator::instance().free(p);
}

} // namespace pindrel::platform::idlist
