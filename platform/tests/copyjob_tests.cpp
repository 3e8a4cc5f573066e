// The copy job on real folders: conflicts answered each way, "apply to all", cancel, undo, a
// folder into itself, a small full file system and a copy killed in the middle.

#include "platform/copyjob.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <deque>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace pindrel::platform;

namespace {

constexpr int kTimeoutMs = 60000;

void write(const QString &pPath, const QByteArray &pContent)
{
    QFile file(pPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << pPath.toStdString();
    file.write(pContent);
}

QByteArray read(const QString &pPath)
{
    QFile file(pPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeLarge(const QString &pPath, qint64 pMiB)
{
    QFile file(pPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray block(1 << 20, 'z');
    for (qint64 i = 0; i < pMiB; ++i)
        file.write(block);
}

QStringList entries(const QString &pFolder)
{
    return QDir(pFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot
                                   | QDir::System);
}

// Two folders to copy between, and a script of answers.
struct CopyWorld
{
    CopyWorld()
    {
        QDir(work.path()).mkdir(QStringLiteral("src"));
        QDir(work.path()).mkdir(QStringLiteral("dst"));
    }

    QString src(const QString &pName = {}) const
    {
        return work.filePath(QStringLiteral("src/") + pName);
    }
    QString dst(const QString &pName = {}) const
    {
        return work.filePath(QStringLiteral("dst/") + pName);
    }

    // Runs pJob to its end, answering its conflicts from answers; false when it did not end.
    bool run(CopyJob &pJob)
    {
        QObject::connect(
            &pJob, &CopyJob::conflictFound, [this, &pJob](const TransferConflict &pConflict) {
                conflicts.push_back(pConflict);
                const auto answer = answers.empty() ? std::make_pair(ConflictChoice::Cancel, false)
                                                    : answers.front();
                if (!answers.empty())
                    answers.pop_front();
                pJob.answerConflict(answer.first, answer.second);
            });
        QSignalSpy finished(&pJob, &CopyJob::finished);
        pJob.start();
        return finished.wait(kTimeoutMs);
    }

    std::unique_ptr<CopyJob> copy(const QStringList &pSources,
                                  TransferMode pMode = TransferMode::Copy)
    {
        auto job = std::make_unique<CopyJob>(pSources, dst(), pMode);
        EXPECT_TRUE(run(*job));
        return job;
    }

    QTemporaryDir work;
    std::deque<std::pair<ConflictChoice, bool>> answers;
    std::vector<TransferConflict> conflicts;
};

class CopyJobTest : public ::testing::Test, public CopyWorld
{
};

TEST_F(CopyJobTest, ConflictsAnsweredEachWay)
{
    struct Row
    {
        const char *name;
        ConflictChoice choice;
        QByteArray kept; // dst/a.txt afterwards
        QByteArray other; // dst/a (2).txt afterwards
        CopyJob::Outcome outcome;
        bool secondCopied; // the other, conflict-free source
    };
    const std::vector<Row> rows = {
        {"replace", ConflictChoice::Replace, "new", "<missing>", CopyJob::Outcome::Done, true},
        {"skip", ConflictChoice::Skip, "old", "<missing>", CopyJob::Outcome::Done, true},
        {"keep both", ConflictChoice::KeepBoth, "old", "new", CopyJob::Outcome::Done, true},
        {"cancel", ConflictChoice::Cancel, "old", "<missing>", CopyJob::Outcome::Cancelled, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CopyWorld world;
        write(world.src(QStringLiteral("a.txt")), "new");
        write(world.src(QStringLiteral("b.txt")), "b");
        write(world.dst(QStringLiteral("a.txt")), "old");
        world.answers = {{row.choice, false}};
        const auto job =
            world.copy({world.src(QStringLiteral("a.txt")), world.src(QStringLiteral("b.txt"))});
        ASSERT_EQ(world.conflicts.size(), 1U);
        EXPECT_EQ(world.conflicts[0].keepBothName, QStringLiteral("a (2).txt"));
        EXPECT_EQ(job->outcome(), row.outcome);
        EXPECT_EQ(read(world.dst(QStringLiteral("a.txt"))), row.kept);
        EXPECT_EQ(read(world.dst(QStringLiteral("a (2).txt"))), row.other);
        EXPECT_EQ(QFile::exists(world.dst(QStringLiteral("b.txt"))), row.secondCopied);
        EXPECT_EQ(read(world.src(QStringLiteral("a.txt"))), "new") << "the source changed";
    }
}

TEST_F(CopyJobTest, ApplyToAllAnswersTheLaterConflicts)
{
    for (const char *name : {"a", "b", "c"}) {
        write(src(QString::fromLatin1(name)), "new");
        write(dst(QString::fromLatin1(name)), "old");
    }
    answers = {{ConflictChoice::Replace, true}};
    const auto job =
        copy({src(QStringLiteral("a")), src(QStringLiteral("b")), src(QStringLiteral("c"))});
    EXPECT_EQ(conflicts.size(), 1U);
    for (const char *name : {"a", "b", "c"})
        EXPECT_EQ(read(dst(QString::fromLatin1(name))), "new") << name;
}

TEST_F(CopyJobTest, UndoTrashesTheCopiesAndBringsReplacedFilesBack)
{
    write(src(QStringLiteral("new.txt")), "fresh");
    write(src(QStringLiteral("a.txt")), "new");
    write(dst(QStringLiteral("a.txt")), "old");
    answers = {{ConflictChoice::Replace, false}};
    const auto job = copy({src(QStringLiteral("new.txt")), src(QStringLiteral("a.txt"))});
    ASSERT_TRUE(job->canUndo());
    ASSERT_EQ(job->placedItems().size(), 2U) << job->problems().join(u'\n').toStdString();
    EXPECT_TRUE(job->placedItems()[0].replacedInTrash.isEmpty());
    EXPECT_FALSE(job->placedItems()[1].replacedInTrash.isEmpty());

    const std::unique_ptr<CopyJob> undo = CopyJob::undoLast(*job);
    ASSERT_TRUE(run(*undo));
    EXPECT_TRUE(undo->problems().isEmpty()) << undo->problems().join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(dst(QStringLiteral("new.txt"))));
    EXPECT_EQ(read(dst(QStringLiteral("a.txt"))), "old");
    EXPECT_FALSE(undo->canUndo());
    // The copies are in the trash, not gone.
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files");
    EXPECT_TRUE(entries(trash).contains(QStringLiteral("new.txt")))
        << entries(trash).join(u',').toStdString();
}

TEST_F(CopyJobTest, MoveAndItsUndo)
{
    write(src(QStringLiteral("m.txt")), "moved");
    const auto job = copy({src(QStringLiteral("m.txt"))}, TransferMode::Move);
    EXPECT_FALSE(QFile::exists(src(QStringLiteral("m.txt"))));
    EXPECT_EQ(read(dst(QStringLiteral("m.txt"))), "moved");
    const std::unique_ptr<CopyJob> undo = CopyJob::undoLast(*job);
    ASSERT_TRUE(run(*undo));
    EXPECT_EQ(read(src(QStringLiteral("m.txt"))), "moved");
    EXPECT_FALSE(QFile::exists(dst(QStringLiteral("m.txt"))));
}

TEST_F(CopyJobTest, FoldersKeepPermissionsTimesAndLinks)
{
    QDir(src()).mkpath(QStringLiteral("tree/sub"));
    write(src(QStringLiteral("tree/sub/f.txt")), "f");
    ::chmod(QFile::encodeName(src(QStringLiteral("tree/sub/f.txt"))).constData(), 0640);
    ::chmod(QFile::encodeName(src(QStringLiteral("tree/sub"))).constData(), 0750);
    ASSERT_EQ(
        ::symlink("sub/f.txt", QFile::encodeName(src(QStringLiteral("tree/link"))).constData()), 0);
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(src(QStringLiteral("tree/sub"))).constData(), old, 0);
    // Dropped on its own folder, a copy gets a free name without a question.
    write(dst(QStringLiteral("same.txt")), "same");
    const auto self = std::make_unique<CopyJob>(QStringList{dst(QStringLiteral("same.txt"))}, dst(),
                                                TransferMode::Copy);
    ASSERT_TRUE(run(*self));
    EXPECT_EQ(read(dst(QStringLiteral("same (2).txt"))), "same");

    const auto job = copy({src(QStringLiteral("tree"))});
    EXPECT_TRUE(job->problems().isEmpty()) << job->problems().join(u'\n').toStdString();
    struct stat file = {};
    struct stat folder = {};
    ASSERT_EQ(::lstat(QFile::encodeName(dst(QStringLiteral("tree/sub/f.txt"))).constData(), &file),
              0);
    ASSERT_EQ(::lstat(QFile::encodeName(dst(QStringLiteral("tree/sub"))).constData(), &folder), 0);
    EXPECT_EQ(file.st_mode & 07777, 0640U);
    EXPECT_EQ(folder.st_mode & 07777, 0750U);
    EXPECT_EQ(folder.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(QFile::symLinkTarget(dst(QStringLiteral("tree/link"))),
              dst(QStringLiteral("tree/sub/f.txt")));
    EXPECT_TRUE(QFileInfo(dst(QStringLiteral("tree/link"))).isSymLink());
    EXPECT_EQ(entries(dst()).filter(QStringLiteral(".part")).size(), 0);
}

TEST_F(CopyJobTest, RefusalsWriteNothing)
{
    QDir(src()).mkpath(QStringLiteral("tree/sub"));
    struct Row
    {
        const char *name;
        QString source;
        QString destination;
        QString says;
    };
    const std::vector<Row> rows = {
        {"into itself", src(QStringLiteral("tree")), src(QStringLiteral("tree")),
         QStringLiteral("into itself")},
        {"into its subfolder", src(QStringLiteral("tree")), src(QStringLiteral("tree/sub")),
         QStringLiteral("into itself")},
        {"no such folder", src(QStringLiteral("tree")), work.filePath(QStringLiteral("gone")),
         QStringLiteral("does not exist")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CopyJob job({row.source}, row.destination, TransferMode::Copy);
        ASSERT_TRUE(run(job));
        EXPECT_EQ(job.outcome(), CopyJob::Outcome::Failed);
        EXPECT_TRUE(job.errorMessage().contains(row.says)) << job.errorMessage().toStdString();
        EXPECT_TRUE(job.placedItems().empty());
    }
    EXPECT_EQ(entries(src(QStringLiteral("tree/sub"))), QStringList());
}

TEST_F(CopyJobTest, CancelInTheMiddleLeavesNothingUnderTheFinalName)
{
    writeLarge(src(QStringLiteral("big.bin")), 512);
    CopyJob job({src(QStringLiteral("big.bin"))}, dst(), TransferMode::Copy);
    // Cancelled from another thread as soon as the copy has begun to write, without waiting
    // for the progress to reach this thread.
    std::atomic<bool> stop = false;
    std::thread watcher([&] {
        while (!stop && entries(dst()).isEmpty())
            std::this_thread::yield();
        job.cancel();
    });
    const bool ended = run(job);
    stop = true;
    watcher.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(job.outcome(), CopyJob::Outcome::Cancelled);
    EXPECT_EQ(entries(dst()), QStringList());
}

// A tmpfs of its own, mounted for the case; skipped where this process may not mount.
class SmallFileSystem : public CopyJobTest
{
protected:
    void SetUp() override
    {
        mountPoint = work.filePath(QStringLiteral("small"));
        QDir().mkpath(mountPoint);
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno)
                         << "): the full and read-only destinations are not tried";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
    }
    QString mountPoint;
    bool mounted = false;
};

TEST_F(SmallFileSystem, FullOrReadOnlyDestinations)
{
    writeLarge(src(QStringLiteral("two.bin")), 2);
    CopyJob tooBig({src(QStringLiteral("two.bin"))}, mountPoint, TransferMode::Copy);
    ASSERT_TRUE(run(tooBig));
    EXPECT_EQ(tooBig.outcome(), CopyJob::Outcome::Failed);
    EXPECT_TRUE(tooBig.errorMessage().contains(QStringLiteral("not enough free space")))
        << tooBig.errorMessage().toStdString();
    EXPECT_EQ(entries(mountPoint), QStringList());

    // Fits by its bytes, not by the blocks its 300 files take: the disk fills on the way.
    QDir(src()).mkdir(QStringLiteral("many"));
    for (int i = 0; i < 300; ++i)
        write(src(QStringLiteral("many/%1").arg(i)), QByteArray(3000, 'm'));
    CopyJob many({src(QStringLiteral("many"))}, mountPoint, TransferMode::Copy);
    ASSERT_TRUE(run(many));
    EXPECT_EQ(many.outcome(), CopyJob::Outcome::Failed);
    EXPECT_TRUE(many.errorMessage().contains(QStringLiteral("full")))
        << many.errorMessage().toStdString();
    EXPECT_EQ(entries(mountPoint), QStringList()) << "a half-copied folder was left";

    ASSERT_EQ(::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs",
                      MS_REMOUNT | MS_RDONLY, "size=1m"),
              0);
    CopyJob readOnly({src(QStringLiteral("many/1"))}, mountPoint, TransferMode::Copy);
    ASSERT_TRUE(run(readOnly));
    EXPECT_TRUE(readOnly.errorMessage().contains(QStringLiteral("read-only")))
        << readOnly.errorMessage().toStdString();
}

TEST_F(CopyJobTest, KilledInTheMiddleLeavesNoHalfFileAndTheNextCopyTidiesUp)
{
    writeLarge(src(QStringLiteral("big.bin")), 512);
    QProcess probe;
    probe.start(QStringLiteral(PINDREL_COPYJOB_PROBE), {src(QStringLiteral("big.bin")), dst()});
    ASSERT_TRUE(probe.waitForStarted(kTimeoutMs));
    while (!probe.canReadLine() && probe.state() == QProcess::Running)
        probe.waitForReadyRead(kTimeoutMs);
    ASSERT_EQ(probe.readLine().trimmed(), "copying");
    ::kill(static_cast<pid_t>(probe.processId()), SIGKILL);
    ASSERT_TRUE(probe.waitForFinished(kTimeoutMs));
    EXPECT_EQ(probe.exitStatus(), QProcess::CrashExit) << "the copy ended before it was killed";
    EXPECT_FALSE(QFile::exists(dst(QStringLiteral("big.bin"))));
    const QStringList left = entries(dst());
    ASSERT_LE(left.size(), 1);
    for (const QString &name : left)
        EXPECT_TRUE(name.startsWith(u'.') && name.endsWith(QStringLiteral(".part")))
            << name.toStdString();

    write(src(QStringLiteral("small.txt")), "s");
    copy({src(QStringLiteral("small.txt"))});
    EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("small.txt")});
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The trash of these tests is their own: GLib reads XDG_DATA_HOME once, before any copy.
    QTemporaryDir data;
    if (!data.isValid())
        return 1;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
