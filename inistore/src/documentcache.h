#pragma once

// Parsed files kept between calls, each trusted only while the file on disk is provably the
// same: same identity (device, inode), size and change times, and old enough that a later change
// could not share its time stamp. A file changed less than the time stamps' granularity ago is
// compared byte for byte on every call until it has settled, so a change made by another program
// in the same clock tick is still seen at the next call.

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "inidocument.h"

namespace txini {

struct FileStamp
{
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileStamp &) const = default;
};

class DocumentCache
{
public:
    struct Entry
    {
        std::string path;
        FileStamp stamp;
        std::string bytes;
        // Made non-const and handed out as const: a write may take it back (take()) once no
        // reader holds it any more.
        std::shared_ptr<IniDocument> document;
        bool settled = false;
    };

    // The cached document when pStamp matches and the entry has settled; nullptr otherwise.
    std::shared_ptr<const IniDocument> settled(const std::string &pPath, const FileStamp &pStamp);
    // The document for bytes just read with that stamp: the cached one when the bytes are the
    // same, else a fresh parse (which replaces the entry). pNowNs is the current wall-clock
    // time, which decides whether the file has settled.
    std::shared_ptr<const IniDocument> remember(const std::string &pPath, const FileStamp &pStamp,
                                                std::string pBytes, int64_t pNowNs);
    // For a write under the file's lock: the cached document when pBytes are exactly what it
    // was parsed from, taken out of the cache (a write replaces it anyway), so that the write
    // need not parse the file again. nullopt when there is no such document.
    std::optional<IniDocument> take(const std::string &pPath, std::string_view pBytes);
    // After a write of our own: the document written, under the stamp the file now has.
    void store(const std::string &pPath, const FileStamp &pStamp, std::string pBytes,
               IniDocument pDocument);
    void forget(const std::string &pPath);

    // The settled document this thread was last given for pPath, when pStamp still matches:
    // the common read, of a file read before and unchanged since, with no lock taken and
    // nothing allocated. nullptr otherwise (then ask settled() or read the file).
    static std::shared_ptr<const IniDocument> recent(std::string_view pPath,
                                                     const FileStamp &pStamp);

    static DocumentCache &instance();

    // How long after its last change a file counts as settled. File systems that keep whole
    // seconds only (no nanoseconds in the stamp) need more.
    static int64_t settleTimeNs(const FileStamp &pStamp);

private:
    Entry *find(const std::string &pPath);
    Entry &slot(const std::string &pPath);

    static constexpr size_t kCapacity = 16;
    std::mutex m_mutex;
    std::list<Entry> m_entries; // most recently used first
};

} // namespace txini
