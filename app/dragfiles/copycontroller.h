#pragma once

// The copies of dropped files, as the user sees them: the items of one drop for the same folder
// and the same mode go in one copy job, so that they share one progress window, one "Apply to
// all" and one undo. Each job runs on its
// own thread (platform/copyjob.h); its window appears when it has run for progressDelayMs. A
// conflict is asked in a ConflictDialog; a job that was refused or failed says why in a message
// box; a job that showed its window, or met problems, reports in that window, with Undo.
//
// The last job that placed something can be undone (undoLast), from that report or from the
// bar menu, until the next job that places something replaces it.

#include "platform/copyjob.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>
#include <utility>

namespace pindrel {

class CopyProgressWindow;

class CopyController : public QObject
{
    Q_OBJECT

public:
    explicit CopyController(QObject *pParent = nullptr);
    ~CopyController() override;

    // Queues pSource to go into the folder pDestination; startQueued starts one job for each
    // folder and mode queued since the last start.
    void add(const QString &pSource, const QString &pDestination, platform::TransferMode pMode);
    void startQueued();
    // Starts a job at once; the job belongs to this controller.
    platform::CopyJob *transfer(const QStringList &pSources, const QString &pDestination,
                                platform::TransferMode pMode);

    bool canUndo() const;
    // "Undo Copy" or "Undo Move" for what undoLast would undo.
    QString undoText() const;
    // Starts the undo of the last job; null when there is nothing to undo.
    platform::CopyJob *undoLast();

    // How long a job runs before its window appears, milliseconds.
    int progressDelayMs = 500;
    // Who answers conflicts; by default a ConflictDialog. The answer goes to the job with
    // CopyJob::answerConflict, now or later.
    using ConflictAsker =
        std::function<void(platform::CopyJob &, const platform::TransferConflict &)>;
    void setConflictAsker(ConflictAsker pAsker) { m_askConflict = std::move(pAsker); }
    // How a refused or failed job's reason is shown; by default a message box titled
    // "Pindrel" with an exclamation icon.
    void setMessageShower(std::function<void(const QString &)> pShow);

signals:
    void undoAvailabilityChanged();
    void jobStarted(pindrel::platform::CopyJob *pJob);
    void jobFinished(pindrel::platform::CopyJob *pJob);

private:
    void watch(platform::CopyJob &pJob);
    void showProgressLater(platform::CopyJob &pJob);
    void finished(platform::CopyJob &pJob);

    std::map<std::pair<QString, int>, QStringList> m_pending;
    QPointer<platform::CopyJob> m_last;
    QHash<const platform::CopyJob *, QPointer<CopyProgressWindow>> m_windows;
    ConflictAsker m_askConflict;
    std::function<void(const QString &)> m_showMessage;
};

} // namespace pindrel
