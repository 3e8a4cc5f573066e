#include "documentcache.h"

namespace txini {

namespace {

// One settled document per thread, looked at before the shared cache and its lock.
struct Recent
{
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const IniDocument> document;
};

thread_local Recent t_recent;

void keepRecent(const std::string &pPath, const FileStamp &pStamp,
                const std::shared_ptr<IniDocument> &pDocument)
{
    if (t_recent.path != pPath)
        t_recent.path = pPath;
    t_recent.stamp = pStamp;
    t_recent.document = pDocument;
}

// A write is about to replace the document: this thread lets go of it, so that the write may
// take it over instead of copying it.
void dropRecent(std::string_view pPath)
{
    if (t_recent.path == pPath)
        t_recent.document.reset();
}

} // namespace

std::shared_ptr<const IniDocument> DocumentCache::recent(std::string_view pPath,
                                                         const FileStamp &pStamp)
{
    if (t_recent.document && t_recent.stamp == pStamp && t_recent.path == pPath)
        return t_recent.document;
    return nullptr;
}

DocumentCache &DocumentCache::instance()
{
    static DocumentCache cache;
    return cache;
}

int64_t DocumentCache::settleTimeNs(const FileStamp &pStamp)
{
    constexpr int64_t kFine = 100'000'000; // well above the kernel's coarse clock tick
    constexpr int64_t kCoarse = 2'500'000'000; // two-second stamps of some file systems
    return (pStamp.modifiedNs % 1'000'000'000 == 0) ? kCoarse : kFine;
}

DocumentCache::Entry *DocumentCache::find(const std::string &pPath)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path == pPath) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return &m_entries.front();
        }
    }
    return nullptr;
}

DocumentCache::Entry &DocumentCache::slot(const std::string &pPath)
{
    if (Entry *entry = find(pPath))
        return *entry;
    if (m_entries.size() >= kCapacity)
        m_entries.pop_back();
    m_entries.emplace_front();
    m_entries.front().path = pPath;
    return m_entries.front();
}

std::shared_ptr<const IniDocument> DocumentCache::settled(const std::string &pPath,
                                                          const FileStamp &pStamp)
{
    std::lock_guard lock(m_mutex);
    Entry *entry = find(pPath);
    if (entry == nullptr || !entry->settled || !(entry->stamp == pStamp))
        return nullptr;
    keepRecent(pPath, pStamp, entry->document);
    return entry->document;
}

std::shared_ptr<const IniDocument> DocumentCache::remember(const std::string &pPath,
                                                           const FileStamp &pStamp,
                                                           std::string pBytes, int64_t pNowNs)
{
    std::lock_guard lock(m_mutex);
    Entry &entry = slot(pPath);
    if (!entry.document || entry.bytes != pBytes) {
        entry.document = std::make_shared<IniDocument>(IniDocument::parse(pBytes));
        entry.bytes = std::move(pBytes);
    }
    entry.stamp = pStamp;
    // Settled once the bytes were read after the last change's tick had passed: any later
    // change must then carry a newer stamp.
    entry.settled = pNowNs - pStamp.modifiedNs > settleTimeNs(pStamp)
        && pNowNs - pStamp.changedNs > settleTimeNs(pStamp);
    if (entry.settled)
        keepRecent(pPath, pStamp, entry.document);
    return entry.document;
}

std::optional<IniDocument> DocumentCache::take(const std::string &pPath, std::string_view pBytes)
{
    dropRecent(pPath);
    std::lock_guard lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path != pPath)
            continue;
        std::optional<IniDocument> document;
        if (it->document && it->bytes == pBytes) {
            // A reader still holding it gets to keep its copy; otherwise it moves.
            if (it->document.use_count() == 1)
                document.emplace(std::move(*it->document));
            else
                document.emplace(*it->document);
        }
        m_entries.erase(it);
        return document;
    }
    return std::nullopt;
}

void DocumentCache::store(const std::string &pPath, const FileStamp &pStamp, std::string pBytes,
                          IniDocument pDocument)
{
    std::lock_guard lock(m_mutex);
    Entry &entry = slot(pPath);
    entry.stamp = pStamp;
    entry.bytes = std::move(pBytes);
    entry.document = std::make_shared<IniDocument>(std::move(pDocument));
    entry.settled = false;
}

void DocumentCache::forget(const std::string &pPath)
{
    dropRecent(pPath);
    std::lock_guard lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path == pPath) {
            m_entries.erase(it);
            return;
        }
    }
}

} // namespace txini
