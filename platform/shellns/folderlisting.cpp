#include "platform/folderlisting.h"

#include "platform/filenamecodec.h"
#include "shellns/rawfs.h"

#include <QtCore/QUtf8StringView>

namespace pindrel::platform {

bool listFolder(const QString &pPath, std::vector<FolderListingEntry> &pOut)
{
    std::vector<rawfs::Entry> entries;
    if (!rawfs::list(encodeFileName(pPath), entries))
        return false;
    pOut.reserve(pOut.size() + entries.size());
    for (const rawfs::Entry &entry : entries) {
        // Nearly every name is valid UTF-8; the escaping decoder is only needed for the rest.
        QString name = QUtf8StringView(entry.name).isValidUtf8() ? QString::fromUtf8(entry.name)
                                                                 : decodeFileName(entry.name);
        pOut.push_back(FolderListingEntry{std::move(name), entry.isDir});
    }
    return true;
}

} // namespace pindrel::platform
