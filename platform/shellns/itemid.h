#pragma once

// The layout of this namespace's identifiers (internal). After the 16-bit count:
//   byte 2     kind (a printable letter, so that dumps read well)
//   byte 3     flags (kFlagFolder: the object was a folder when the identifier was made)
//   bytes 4..  payload: nothing for the Desktop's own entries, the mount point of a drive, the
//              raw file-name bytes of a file-system entry
// Lists are built in a QByteArray first and copied into one task-allocator block at the end,
// so that a list that cannot be completed costs no allocator traffic.

#include "platform/idlist.h"

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayView>

#include <optional>

namespace pindrel::platform::itemid {

enum class Kind : uint8_t {
    Computer = 'C',
    Home = 'H',
    Documents = 'D',
    Network = 'N',
    Trash = 'T',
    Drive = 'V',
    Entry = 'F',
};

inline constexpr uint8_t kFlagFolder = 0x01;
inline constexpr size_t kHeaderBytes = 4; // count, kind, flags

struct Identifier
{
    Kind kind = Kind::Entry;
    uint8_t flags = 0;
    QByteArrayView payload; // points into the list it was read from
    const ItemIdList *at = nullptr; // the identifier's first byte
    size_t bytes = 0; // its byte count

    bool isFolder() const { return (flags & kFlagFolder) != 0; }
};

// The first identifier of pChain, or nothing when pChain is empty, null or its first identifier
// is not one of ours (unknown kind, too short, an entry name that is empty or holds '/', "." or
// "..", a drive that is not an absolute path).
std::optional<Identifier> read(const ItemIdList *pChain);

// Accumulates identifiers and hands the finished list over to the task allocator.
class ListBuilder
{
public:
    ListBuilder() = default;
    explicit ListBuilder(const ItemIdList *pPrefix);

    // False (and nothing added) when the identifier would exceed 65535 bytes.
    bool append(Kind pKind, uint8_t pFlags, QByteArrayView pPayload);
    int level() const { return mLevel; }

    // A new list from the task allocator; nullptr when memory is exhausted.
    ItemIdList *take() const;

private:
    QByteArray mBytes;
    int mLevel = 0;
};

} // namespace pindrel::platform::itemid
