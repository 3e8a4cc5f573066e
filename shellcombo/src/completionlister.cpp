#include "completionlister.h"

#include "recentlocations.h"

#include "platform/folderlisting.h"

#include <QtCore/QPointer>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>

namespace vexlo {

CompletionLister::CompletionLister(QString pRecentFile, QObject *pParent)
    : QObject(pParent)
    , m_recentFile(std::move(pRecentFile))
{ }

CompletionLister::~CompletionLister()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CompletionLister::request(const QString &pFolder, bool pWithRecent)
{
    {
        const std::lock_guard lock(m_mutex);
        m_folder = pFolder;
        m_withRecent = pWithRecent;
        m_pending = true;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { work(); });
    }
    m_wake.notify_all();
}

void CompletionLister::work()
{
    for (;;) {
        QString folder;
        bool withRecent = false;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending; });
            if (m_stopping)
                return;
            m_pending = false;
            folder = m_folder;
            withRecent = m_withRecent;
        }
        std::shared_ptr<const CompletionListing> listing = list(folder, m_recentFile, withRecent);
        // Handed over on the owner's thread. The destructor joins this thread before the
        // object goes, and a call still queued then goes with the object.
        QMetaObject::invokeMethod(
            this, [this, listing] { emit listed(listing); }, Qt::QueuedConnection);
    }
}

std::shared_ptr<const CompletionListing>
CompletionLister::list(const QString &pFolder, const QString &pRecentFile, bool pWithRecent)
{
    auto listing = std::make_shared<CompletionListing>();
    listing->folder = pFolder;
    std::vector<pindrel::platform::FolderListingEntry> entries;
    listing->readable = pindrel::platform::listFolder(pFolder, entries);

    // Sorted once here, so that each keystroke finds its matches by binary search.
    std::vector<QString> keys;
    keys.reserve(entries.size());
    for (const pindrel::platform::FolderListingEntry &entry : entries)
        keys.push_back(entry.name.toCaseFolded());
    // The sort compares the keys as bytes: each key's code units written high byte first into
    // one buffer, which orders like the code units themselves (QString's operator<, which the
    // model's search uses) and lets each comparison run as a memcmp over memory read in order.
    struct SortKey
    {
        std::string_view key;
        size_t index;
    };
    size_t bytes = 0;
    for (const QString &key : keys)
        bytes += 2 * static_cast<size_t>(key.size());
    std::string arena;
    arena.reserve(bytes);
    for (const QString &key : keys) {
        for (const QChar unit : key) {
            arena.push_back(static_cast<char>(unit.unicode() >> 8));
            arena.push_back(static_cast<char>(unit.unicode() & 0xff));
        }
    }
    std::vector<SortKey> order;
    order.reserve(entries.size());
    size_t offset = 0;
    for (size_t index = 0; index < keys.size(); ++index) {
        const size_t length = 2 * static_cast<size_t>(keys[index].size());
        order.push_back({std::string_view(arena).substr(offset, length), index});
        offset += length;
    }
    const auto before = [&](const SortKey &pA, const SortKey &pB) {
        const int byKey = pA.key.compare(pB.key);
        return byKey != 0 ? byKey < 0 : entries[pA.index].name < entries[pB.index].name;
    };
    // A large folder is sorted in two halves at once and merged: the user is waiting for it,
    // and the user-interface thread is idle meanwhile.
    constexpr size_t kSplitAbove = 20000;
    if (order.size() > kSplitAbove) {
        const auto middle = order.begin() + static_cast<std::ptrdiff_t>(order.size() / 2);
        std::thread secondHalf([&] { std::sort(middle, order.end(), before); });
        std::sort(order.begin(), middle, before);
        secondHalf.join();
        std::inplace_merge(order.begin(), middle, order.end(), before);
    } else {
        std::sort(order.begin(), order.end(), before);
    }
    listing->names.reserve(order.size());
    listing->keys.reserve(order.size());
    listing->folders.reserve(order.size());
    for (const SortKey &sorted : order) {
        const size_t index = sorted.index;
        listing->names.push_back(std::move(entries[index].name));
        listing->keys.push_back(std::move(keys[index]));
        listing->folders.push_back(entries[index].folder);
    }
    if (pWithRecent && !pRecentFile.isEmpty())
        listing->recent = recentlocations::read(pRecentFile);
    return listing;
}

} // namespace vexlo
