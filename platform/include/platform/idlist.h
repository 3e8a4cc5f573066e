#pragma once

// Item identifier lists: the shell's path to a namespace object, as a real byte chain. Each
// identifier starts with its own 16-bit byte count (little endian; the count includes those two
// bytes), and the chain ends with a 16-bit zero. The desktop is the empty list (just the
// terminating zero). Every list made here comes from TaskAllocator and goes back with
// idlist::free.
//
// Malformed chains are read defensively: an identifier whose count is below 2 ends the walk as
// if it were the terminator, and no walk goes past kMaxLevel identifiers or kMaxBytes bytes.

#include "platform/platformexport.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pindrel::platform {

using ItemIdList = uint8_t; // lists are handled as ItemIdList * / const ItemIdList *

namespace idlist {

inline constexpr int kMaxLevel = 4096; // identifiers read at most from one list
inline constexpr size_t kMaxBytes = size_t{1} << 20; // bytes read at most from one list

// Number of identifiers; 0 for nullptr and for the empty list.
PINDREL_PLATFORM_EXPORT int level(const ItemIdList *p);
// Bytes of the list including the 2-byte terminator: 2 for the empty list, 0 for nullptr.
PINDREL_PLATFORM_EXPORT size_t size(const ItemIdList *p);
// A new list with the same identifiers (a malformed tail is dropped); nullptr for nullptr.
PINDREL_PLATFORM_EXPORT ItemIdList *copy(const ItemIdList *p);
// A new list of the first n identifiers; nullptr when p is nullptr, n < 0 or p has fewer than n.
// n == 0 gives the empty list.
PINDREL_PLATFORM_EXPORT ItemIdList *firstN(const ItemIdList *p, int n);
// A new list: parent's identifiers followed by relative's; a nullptr part counts as empty.
PINDREL_PLATFORM_EXPORT ItemIdList *join(const ItemIdList *parent, const ItemIdList *relative);
// Pointer into p at its last identifier (a one-identifier list up to p's terminator); nullptr
// for nullptr and for the empty list.
PINDREL_PLATFORM_EXPORT const ItemIdList *last(const ItemIdList *p);
// Pointer into p just after its first identifier (the rest of the chain); p itself when p is
// empty, nullptr for nullptr.
PINDREL_PLATFORM_EXPORT const ItemIdList *next(const ItemIdList *p);
// A new empty list (the desktop).
PINDREL_PLATFORM_EXPORT ItemIdList *empty();
// A new one-identifier list whose identifier carries pBytes payload bytes after its count;
// nullptr when the identifier would exceed 65535 bytes.
PINDREL_PLATFORM_EXPORT ItemIdList *fromPayload(const uint8_t *pBytes, size_t pCount);
// Byte-for-byte equality of the identifiers (nullptr equals only nullptr).
PINDREL_PLATFORM_EXPORT bool equal(const ItemIdList *a, const ItemIdList *b);
// Gives the list back to the task allocator; nullptr is ignored.
PINDREL_PLATFORM_EXPORT void free(ItemIdList *p);

// Owning holder for code that wants scope-bound lists.
struct Deleter
{
    void operator()(ItemIdList *p) const { free(p); }
};
using Unique = std::unique_ptr<ItemIdList, Deleter>;

} // namespace idlist
} // namespace pindrel::platform
