#pragma once

// The file work of a CopyJob, run on the job's own thread (internal). Paths here are raw byte
// strings; every call checks its result and says what went wrong in words a user reads.

#include "platform/copyjob.h"

#include <QtCore/QByteArray>

#include <atomic>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

typedef struct _GCancellable GCancellable;

namespace pindrel::platform {

class CopyEngine
{
public:
    struct Hooks
    {
        // Blocks until the user answered; Cancel when the job was cancelled meanwhile.
        std::function<std::pair<ConflictChoice, bool>(const TransferConflict &)> ask;
        std::function<void(const TransferProgress &)> progress;
    };

    CopyEngine(GCancellable *pCancellable, Hooks pHooks);

    // Runs a whole job; the result fields are filled on return.
    void transfer(const QStringList &pSources, const QString &pDestination, TransferMode pMode);
    void undo(const std::vector<PlacedItem> &pItems);

    CopyJob::Outcome outcome = CopyJob::Outcome::Done;
    QString error;
    QStringList problems;
    std::vector<PlacedItem> placed;

    // A free name for pName in pFolder: "name (2).ext", "name (3).ext" ... (a folder's name
    // keeps its dots). Exposed for the tests.
    static QByteArray freeName(const QByteArray &pFolder, const QByteArray &pName, bool pIsFolder);

private:
public:
    struct Totals
    {
        int items = 0;
        qint64 bytes = 0;
    };

private:
    bool cancelled() const;
    bool refuse(const QString &pMessage);
    bool checkDestination(const QByteArray &pDestination, const std::vector<QByteArray> &pSources,
                          const std::vector<Totals> &pTotals, TransferMode pMode);
    void scan(const QByteArray &pPath, Totals &pTotals) const;
    void removeStaleTemporaries(const QByteArray &pDestination) const;

    // One top-level item; false when the job must end.
    bool transferOne(const QByteArray &pSource, const Totals &pTotals,
                     const QByteArray &pDestination, TransferMode pMode);
    std::optional<QByteArray> resolveConflict(const QByteArray &pSource, const QByteArray &pFolder,
                                              const QByteArray &pName, QByteArray &pReplacedInTrash,
                                              bool &pEndJob);
    // Copies pSource to pTarget (which must not exist) through a temporary name in its folder.
    bool copyIntoPlace(const QByteArray &pSource, const QByteArray &pTarget);
    bool copyTree(const QByteArray &pSource, const QByteArray &pTarget);
    bool copyFile(const QByteArray &pSource, const QByteArray &pTarget, const struct stat &pInfo);
    // A regular file's bytes, permissions, owner where allowed, extended attributes and times.
    bool copyRegular(const QByteArray &pSource, const QByteArray &pTarget,
                     const struct stat &pInfo);
    void removeTree(const QByteArray &pPath) const;
    QByteArray temporaryName(const QByteArray &pFolder);
    // An error of a copy step: a full file system or a cancel ends the job, anything else is a
    // problem of that entry. False when the job must end.
    bool noteFailure(const QByteArray &pPath, int pCode, const QString &pText);
    void report();
    // pDone bytes of the file being copied have arrived.
    void fileBytes(qint64 pDone);

    GCancellable *m_cancellable;
    Hooks m_hooks;
    TransferProgress m_progress;
    qint64 m_fileBase = 0; // bytes done before the file being copied
    std::optional<std::pair<ConflictChoice, bool>> m_forAll;
    bool m_endJob = false;
    int m_counter = 0;
    qint64 m_lastReport = 0;
};

} // namespace pindrel::platform
