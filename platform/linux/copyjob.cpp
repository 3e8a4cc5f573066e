#include "platform/copyjob.h"

#include "linux/copyengine.h"

#include "linux/gio.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace pindrel::platform {

// What the job's thread and the job's owner share. Held by shared pointer so that the thread
// never outlives what it waits on.
struct CopyJob::Shared
{
    Shared()
        : cancellable(g_cancellable_new())
    { }
    ~Shared() { g_object_unref(cancellable); }
    Shared(const Shared &) = delete;
    Shared &operator=(const Shared &) = delete;

    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
    bool waiting = false;
    std::optional<std::pair<ConflictChoice, bool>> answer;
    GCancellable *cancellable;
    std::thread thread;
};

CopyJob::CopyJob(QObject *pParent)
    : QObject(pParent)
    , m_shared(std::make_shared<Shared>())
{
    qRegisterMetaType<TransferProgress>();
    qRegisterMetaType<TransferConflict>();
}

CopyJob::CopyJob(QStringList pSources, QString pDestination, TransferMode pMode, QObject *pParent)
    : CopyJob(pParent)
{
    m_sources = std::move(pSources);
    m_destination = std::move(pDestination);
    m_mode = pMode;
}

std::unique_ptr<CopyJob> CopyJob::undoLast(const CopyJob &pDone, QObject *pParent)
{
    std::unique_ptr<CopyJob> undo(new CopyJob(pParent));
    undo->m_isUndo = true;
    undo->m_mode = pDone.m_mode;
    undo->m_destination = pDone.m_destination;
    undo->m_toUndo = pDone.m_placed;
    for (const PlacedItem &item : pDone.m_placed)
        undo->m_sources << item.placed;
    return undo;
}

CopyJob::~CopyJob()
{
    cancel();
    if (m_shared->thread.joinable())
        m_shared->thread.join();
}

qint64 CopyJob::elapsedMs() const
{
    if (m_duration >= 0)
        return m_duration;
    return m_clock.isValid() ? m_clock.elapsed() : 0;
}

bool CopyJob::isWaitingForAnswer() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->waiting;
}

bool CopyJob::canUndo() const
{
    return !m_isUndo && m_outcome != Outcome::Running && !m_placed.empty();
}

void CopyJob::cancel()
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->cancelled = true;
    }
    g_cancellable_cancel(m_shared->cancellable);
    m_shared->changed.notify_all();
}

void CopyJob::answerConflict(ConflictChoice pChoice, bool pApplyToAll)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_shared->waiting)
            return;
        m_shared->waiting = false;
        m_shared->answer = std::make_pair(pChoice, pApplyToAll);
    }
    m_shared->changed.notify_all();
}

void CopyJob::start()
{
    if (m_shared->thread.joinable() || m_outcome != Outcome::Running)
        return;
    m_clock.start();
    m_shared->thread = std::thread([this] { run(); });
}

void CopyJob::run()
{
    // On the job's thread: only the shared block and copies of the job's inputs are touched;
    // everything the owner sees comes back as calls queued to the job's own thread.
    const std::shared_ptr<Shared> shared = m_shared;
    CopyEngine::Hooks hooks;
    hooks.progress = [this](const TransferProgress &pProgress) {
        QMetaObject::invokeMethod(
            this,
            [this, pProgress] {
                m_progress = pProgress;
                emit progressChanged(pProgress);
            },
            Qt::QueuedConnection);
    };
    hooks.ask = [this, shared](const TransferConflict &pConflict) {
        std::unique_lock lock(shared->mutex);
        if (shared->cancelled)
            return std::make_pair(ConflictChoice::Cancel, false);
        shared->waiting = true;
        shared->answer.reset();
        lock.unlock();
        QMetaObject::invokeMethod(
            this, [this, pConflict] { emit conflictFound(pConflict); }, Qt::QueuedConnection);
        lock.lock();
        shared->changed.wait(lock, [&] { return shared->answer || shared->cancelled; });
        shared->waiting = false;
        return shared->answer.value_or(std::make_pair(ConflictChoice::Cancel, false));
    };

    CopyEngine engine(shared->cancellable, std::move(hooks));
    if (m_isUndo)
        engine.undo(m_toUndo);
    else
        engine.transfer(m_sources, m_destination, m_mode);
    if (g_cancellable_is_cancelled(shared->cancellable) != 0
        && engine.outcome == CopyJob::Outcome::Done && !m_isUndo)
        engine.outcome = CopyJob::Outcome::Cancelled;

    QMetaObject::invokeMethod(
        this,
        [this, outcome = engine.outcome, error = engine.error, problems = engine.problems,
         placed = engine.placed]() mutable {
            finish(outcome, std::move(error), std::move(problems), std::move(placed));
        },
        Qt::QueuedConnection);
}

void CopyJob::finish(Outcome pOutcome, QString pError, QStringList pProblems,
                     std::vector<PlacedItem> pPlaced)
{
    if (m_shared->thread.joinable())
        m_shared->thread.join();
    m_duration = elapsedMs();
    m_outcome = pOutcome;
    m_error = std::move(pError);
    m_problems = std::move(pProblems);
    m_placed = std::move(pPlaced);
    emit finished();
}

} // namespace pindrel::platform
