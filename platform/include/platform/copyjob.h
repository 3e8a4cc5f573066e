#pragma once

// Copies (or moves) files and folders into a folder off the user-interface thread, the way a
// file manager does, and undoes the last one through the desktop's trash.
//
// Paths are QStrings in which file-name bytes that are not valid UTF-8 appear as the lone
// surrogates U+DC80..U+DCFF (filenamecodec.h); every path reaches the file system as its exact
// bytes, however long.
//
// What a job does, in order:
//   1. Checks, before anything is written: the destination is an existing folder that this
//      process can write to on a file system that is not read-only; no folder is copied into
//      itself or into one of its own subfolders; the destination's file system has room for
//      everything that is copied. Any of these refuses the whole job with a message; nothing
//      is written.
//   2. Each source in turn: an item of the same name in the destination is a conflict, asked
//      about through conflictFound (Replace, Skip, Keep both under a free name such as
//      "name (2).ext", or Cancel; "apply to all" answers the later conflicts alike). An item
//      dropped on its own folder is copied under a free name without a question (a move there
//      does nothing). Replace first moves the existing item to the trash; it comes back on undo.
//   3. A copied item is written under a hidden temporary name in the destination and renamed
//      to its final name only when it is complete, so a failed or cancelled copy, or a killed
//      program, never leaves a half-written file under the final name. Folders are copied with
//      their contents; permissions, times and extended attributes are kept, symbolic links are
//      copied as links. A move within one file system is a rename; across file systems it is a
//      copy and, once the copy is complete, the removal of the original.
//   4. Problems with single entries (an unreadable file, a special file) are collected in
//      problems() and the job goes on; a full file system, a cancel or a failing destination
//      ends it. Items placed before that stay placed and can be undone.
//
// Undo (undoLast) of a finished job: copied items go to the trash, moved items go back to where
// they came from, and items that the job replaced come back from the trash. It runs as a job of
// its own, with the same signals.
//
// Signals are emitted on the thread that owns the job (its QObject thread); the work runs on a
// thread of the job's own. The job waits, without holding any lock, for answerConflict after
// conflictFound; cancel() also ends that wait.

#include "platform/platformexport.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <vector>

namespace pindrel::platform {

enum class TransferMode { Copy, Move };

enum class ConflictChoice { Replace, Skip, KeepBoth, Cancel };

struct PINDREL_PLATFORM_EXPORT TransferProgress
{
    int itemsDone = 0; // files, links and folders finished
    int itemsTotal = 0;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    QString current; // the source being copied
};

struct PINDREL_PLATFORM_EXPORT TransferConflict
{
    QString source;
    QString target; // the existing item
    QString keepBothName; // the free name Keep both would use (a file name, not a path)
    bool sourceIsFolder = false;
    bool targetIsFolder = false;
};

// One top-level item a job placed: what undo needs.
struct PINDREL_PLATFORM_EXPORT PlacedItem
{
    QString placed; // the item's path in the destination
    QString origin; // where a moved item came from; "" for a copy
    QString replacedInTrash; // the replaced item's path in the trash; "" when none
};

class CopyEngine;

class PINDREL_PLATFORM_EXPORT CopyJob : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Running, Done, Cancelled, Failed };

    CopyJob(QStringList pSources, QString pDestination, TransferMode pMode,
            QObject *pParent = nullptr);
    // The undo of pDone, a job that has ended.
    static std::unique_ptr<CopyJob> undoLast(const CopyJob &pDone, QObject *pParent = nullptr);
    // Cancels a running job and waits for its thread.
    ~CopyJob() override;

    CopyJob(const CopyJob &) = delete;
    CopyJob &operator=(const CopyJob &) = delete;

    void start();
    // Thread-safe; a job that has ended ignores it.
    void cancel();
    // Answers the pending conflict; ignored when none is pending.
    void answerConflict(ConflictChoice pChoice, bool pApplyToAll);

    const QStringList &sources() const { return m_sources; }
    const QString &destination() const { return m_destination; }
    // True while the job waits for the answer to a conflict.
    bool isWaitingForAnswer() const;
    TransferMode mode() const { return m_mode; }
    bool isUndo() const { return m_isUndo; }

    // Valid once finished() was emitted.
    Outcome outcome() const { return m_outcome; }
    // The reason a job failed or was refused; "" otherwise.
    const QString &errorMessage() const { return m_error; }
    // Entries that could not be copied, one sentence each.
    const QStringList &problems() const { return m_problems; }
    const std::vector<PlacedItem> &placedItems() const { return m_placed; }
    // True for a finished job that placed something and is not itself an undo.
    bool canUndo() const;
    const TransferProgress &lastProgress() const { return m_progress; }
    // Milliseconds since start(), or from start to end once finished.
    qint64 elapsedMs() const;

signals:
    void progressChanged(const pindrel::platform::TransferProgress &pProgress);
    void conflictFound(const pindrel::platform::TransferConflict &pConflict);
    void finished();

private:
    friend class CopyEngine;
    struct Shared;

    CopyJob(QObject *pParent);
    void run();
    void finish(Outcome pOutcome, QString pError, QStringList pProblems,
                std::vector<PlacedItem> pPlaced);

    QStringList m_sources;
    QString m_destination;
    TransferMode m_mode = TransferMode::Copy;
    bool m_isUndo = false;
    std::vector<PlacedItem> m_toUndo;

    Outcome m_outcome = Outcome::Running;
    QString m_error;
    QStringList m_problems;
    std::vector<PlacedItem> m_placed;
    TransferProgress m_progress;
    QElapsedTimer m_clock;
    qint64 m_duration = -1;
    std::shared_ptr<Shared> m_shared;
};

} // namespace pindrel::platform

Q_DECLARE_METATYPE(pindrel::platform::TransferProgress)
Q_DECLARE_METATYPE(pindrel::platform::TransferConflict)
