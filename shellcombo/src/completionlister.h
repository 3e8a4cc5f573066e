#pragma once

// Reads folders for the edit box's completion off the user-interface thread. A request names a
// folder (an absolute path ending in '/'); the answer comes back on the thread that owns the
// lister, through listed(), with the folder's entries sorted for prefix search and, when asked
// for, the recently used locations. Only the newest request still waiting is read: a user who
// types on past a folder does not wait for it.

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vexlo {

struct CompletionListing
{
    QString folder; // as requested
    bool readable = false;
    // Entries in the order of their keys: the case-folded names, so that every name starting
    // with a (case-folded) prefix is in one run.
    std::vector<QString> names;
    std::vector<QString> keys;
    std::vector<bool> folders;
    QStringList recent; // most recent first; empty unless asked for
};

class CompletionLister : public QObject
{
    Q_OBJECT

public:
    // pRecentFile: the recently-used list read for requests that want it.
    explicit CompletionLister(QString pRecentFile, QObject *pParent = nullptr);
    // Waits for a folder being read to be done.
    ~CompletionLister() override;

    CompletionLister(const CompletionLister &) = delete;
    CompletionLister &operator=(const CompletionLister &) = delete;

    void request(const QString &pFolder, bool pWithRecent);

    // The reading itself, as the worker does it (for tests and benchmarks).
    static std::shared_ptr<const CompletionListing>
    list(const QString &pFolder, const QString &pRecentFile, bool pWithRecent);

signals:
    void listed(std::shared_ptr<const vexlo::CompletionListing> pListing);

private:
    void work();

    const QString m_recentFile;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    bool m_pending = false;
    QString m_folder;
    bool m_withRecent = false;
    std::thread m_thread; // started with the first request
};

} // namespace vexlo

Q_DECLARE_METATYPE(std::shared_ptr<const vexlo::CompletionListing>)
