#include "shellns/itemid.h"

#include "platform/taskallocator.h"

#include <cstring>

namespace pindrel::platform::itemid {

namespace {

bool knownKind(uint8_t pKind)
{
    switch (static_cast<Kind>(pKind)) {
    case Kind::Computer:
    case Kind::Home:
    case Kind::Documents:
    case Kind::Network:
    case Kind::Trash:
    case Kind::Drive:
    case Kind::Entry:
        return true;
    }
    return false;
}

bool validPayload(Kind pKind, QByteArrayView pPayload)
{
    switch (pKind) {
    case Kind::Entry:
        // A name within a folder: anything the file system allows as one path component.
        return !pPayload.isEmpty() && !pPayload.contains('/') && pPayload != QByteArrayView(".")
            && pPayload != QByteArrayView("..") && !pPayload.contains('\0');
    case Kind::Drive:
        return pPayload.startsWith('/') && !pPayload.contains('\0');
    default:
        return pPayload.isEmpty();
    }
}

} // namespace

std::optional<Identifier> read(const ItemIdList *pChain)
{
    if (pChain == nullptr)
        return std::nullopt;
    // The count alone decides: a count below the header ends the chain for idlist as well.
    const size_t count = static_cast<size_t>(pChain[0] | (pChain[1] << 8));
    if (count < kHeaderBytes || !knownKind(pChain[2]))
        return std::nullopt;
    Identifier id;
    id.kind = static_cast<Kind>(pChain[2]);
    id.flags = pChain[3];
    id.payload = QByteArrayView(reinterpret_cast<const char *>(pChain + kHeaderBytes),
                                static_cast<qsizetype>(count - kHeaderBytes));
    id.at = pChain;
    id.bytes = count;
    if (!validPayload(id.kind, id.payload))
        return std::nullopt;
    return id;
}

ListBuilder::ListBuilder(const ItemIdList *pPrefix)
{
    const size_t bytes = idlist::size(pPrefix);
    if (bytes > 2) {
        mBytes =
            QByteArray(reinterpret_cast<const char *>(pPrefix), static_cast<qsizetype>(bytes - 2));
        mLevel = idlist::level(pPrefix);
    }
}

bool ListBuilder::append(Kind pKind, uint8_t pFlags, QByteArrayView pPayload)
{
    const size_t count = kHeaderBytes + static_cast<size_t>(pPayload.size());
    if (count > 0xFFFF || static_cast<size_t>(mBytes.size()) + count + 2 > idlist::kMaxBytes)
        return false;
    mBytes.append(static_cast<char>(count & 0xFF));
    mBytes.append(static_cast<char>(count >> 8));
    mBytes.append(static_cast<char>(pKind));
    mBytes.append(static_cast<char>(pFlags));
    mBytes.append(pPayload);
    ++mLevel;
    return true;
}

ItemIdList *ListBuilder::take() const
{
    const size_t bytes = static_cast<size_t>(mBytes.size());
    auto *const list = static_cast<ItemIdList *>(TaskAllocator::instance().alloc(bytes + 2));
    if (list == nullptr)
        return nullptr;
    if (bytes > 0)
        std::memcpy(list, mBytes.constData(), bytes);
    list[bytes] = 0;
    list[bytes + 1] = 0;
    return list;
}

} // namespace pindrel::platform::itemid
