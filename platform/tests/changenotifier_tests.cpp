// The change notifier on real temporary folders and on a mount table file rewritten by the test.
// Every wait is on a signal with a generous timeout; an event that must NOT be reported is
// checked after a later "sentinel" event has been seen, since inotify reports in order.

#include "platform/changenotifier.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

using pindrel::platform::ChangeNotifier;

namespace {

constexpr int kTimeoutMs = 5000;

class ChangeNotifierTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.filePath(QStringLiteral("root"));
        m_outside = m_dir.filePath(QStringLiteral("outside"));
        ASSERT_TRUE(QDir().mkpath(m_root));
        ASSERT_TRUE(QDir().mkpath(m_outside));
        m_mounts = m_dir.filePath(QStringLiteral("mounts"));
        writeMounts("/dev/sda1 / ext4 rw 0 0\n");
    }

    QString at(const QString &pRelative) const { return m_root + QLatin1Char('/') + pRelative; }

    void writeMounts(const QByteArray &pContent) const
    {
        QFile file(m_mounts);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(pContent);
    }

    // Waits until pSpy holds at least pCount signals.
    static bool waitFor(QSignalSpy &pSpy, int pCount = 1)
    {
        while (pSpy.count() < pCount)
            if (!pSpy.wait(kTimeoutMs))
                return false;
        return true;
    }

    // Creates a sentinel folder in the root and waits for it: everything the kernel queued
    // before has been handled by then.
    void flush(ChangeNotifier &pNotifier)
    {
        QSignalSpy created(&pNotifier, &ChangeNotifier::folderCreated);
        const QString sentinel = at(QStringLiteral("sentinel%1").arg(m_sentinels++));
        ASSERT_TRUE(QDir().mkdir(sentinel));
        ASSERT_TRUE(waitFor(created));
        ASSERT_EQ(created.last().at(0).toString(), sentinel);
    }

    static QStringList paths(const QSignalSpy &pSpy, int pArgument = 0)
    {
        QStringList result;
        for (const auto &arguments : pSpy)
            result.append(arguments.at(pArgument).toString());
        return result;
    }

    QTemporaryDir m_dir;
    QString m_root;
    QString m_outside;
    QString m_mounts;
    int m_sentinels = 0;
};

TEST_F(ChangeNotifierTest, RefusesWhatIsNotAFolder)
{
    ChangeNotifier notifier(m_mounts);
    ASSERT_TRUE(notifier.isValid());
    EXPECT_FALSE(notifier.watchFolder(at(QStringLiteral("missing"))));
    QFile file(at(QStringLiteral("plain.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(notifier.watchFolder(file.fileName()));
    EXPECT_FALSE(notifier.watchFolder(QString()));
    EXPECT_TRUE(notifier.watchedFolders().isEmpty());
}

// One file-system action in the watched root, and the one signal (with its path) it must give.
struct FolderCase
{
    const char *name;
    std::function<bool(const QString &pRoot, const QString &pOutside)> prepare;
    std::function<bool(const QString &pRoot, const QString &pOutside)> act;
    const char *signal; // "created", "removed", "updated", "renamed"
    QString expected; // relative to the root; "<outside>/x" for the outside folder
    QString expectedNew; // renamed only
};

TEST_F(ChangeNotifierTest, FolderActionsGiveTheirSignal)
{
    const auto none = [](const QString &, const QString &) { return true; };
    const auto mkdirA = [](const QString &pRoot, const QString &) {
        return QDir(pRoot).mkdir(QStringLiteral("A"));
    };
    const FolderCase cases[] = {
        {"create", none, mkdirA, "created", QStringLiteral("A"), {}},
        {"remove",
         mkdirA,
         [](const QString &pRoot, const QString &) {
             return QDir(pRoot).rmdir(QStringLiteral("A"));
         },
         "removed",
         QStringLiteral("A"),
         {}},
        {"rename", mkdirA,
         [](const QString &pRoot, const QString &) {
             return QDir(pRoot).rename(QStringLiteral("A"), QStringLiteral("B c"));
         },
         "renamed", QStringLiteral("A"), QStringLiteral("B c")},
        {"move out",
         mkdirA,
         [](const QString &pRoot, const QString &pOutside) {
             return QDir().rename(pRoot + QStringLiteral("/A"), pOutside + QStringLiteral("/A"));
         },
         "removed",
         QStringLiteral("A"),
         {}},
        {"move in",
         [](const QString &, const QString &pOutside) {
             return QDir(pOutside).mkdir(QStringLiteral("In"));
         },
         [](const QString &pRoot, const QString &pOutside) {
             return QDir().rename(pOutside + QStringLiteral("/In"), pRoot + QStringLiteral("/In"));
         },
         "created",
         QStringLiteral("In"),
         {}},
        {"file written",
         none,
         [](const QString &pRoot, const QString &) {
             QFile file(pRoot + QStringLiteral("/notes.txt"));
             return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
         },
         "updated",
         QStringLiteral("notes.txt"),
         {}},
    };
    for (const FolderCase &row : cases) {
        SCOPED_TRACE(row.name);
        QDir(m_root).removeRecursively();
        QDir(m_outside).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_root));
        ASSERT_TRUE(QDir().mkpath(m_outside));
        ASSERT_TRUE(row.prepare(m_root, m_outside));

        ChangeNotifier notifier(m_mounts);
        ASSERT_TRUE(notifier.watchFolder(m_root));
        QSignalSpy created(&notifier, &ChangeNotifier::folderCreated);
        QSignalSpy removed(&notifier, &ChangeNotifier::folderRemoved);
        QSignalSpy updated(&notifier, &ChangeNotifier::itemUpdated);
        QSignalSpy renamed(&notifier, &ChangeNotifier::folderRenamed);
        ASSERT_TRUE(row.act(m_root, m_outside));

        const QString signal = QLatin1String(row.signal);
        QSignalSpy &spy = signal == QLatin1String("created") ? created
            : signal == QLatin1String("removed")             ? removed
            : signal == QLatin1String("updated")             ? updated
                                                             : renamed;
        ASSERT_TRUE(waitFor(spy));
        EXPECT_EQ(spy.first().at(0).toString(), at(row.expected));
        if (!row.expectedNew.isEmpty()) {
            EXPECT_EQ(spy.first().at(1).toString(), at(row.expectedNew));
        }
        // A rename is not also a removal and a creation.
        if (signal == QLatin1String("renamed")) {
            EXPECT_TRUE(removed.isEmpty());
            EXPECT_TRUE(created.isEmpty());
        }
    }
}

TEST_F(ChangeNotifierTest, FilesCreatedAreNotFolders)
{
    ChangeNotifier notifier(m_mounts);
    ASSERT_TRUE(notifier.watchFolder(m_root));
    QSignalSpy created(&notifier, &ChangeNotifier::folderCreated);
    QFile file(at(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.remove());
    flush(notifier);
    EXPECT_EQ(paths(created), QStringList{at(QStringLiteral("sentinel0"))});
}

TEST_F(ChangeNotifierTest, DepthDecidesHowFarDownChangesAreSeen)
{
    ASSERT_TRUE(QDir().mkpath(at(QStringLiteral("one/two"))));
    for (int depth : {0, 1}) {
        SCOPED_TRACE(depth);
        ChangeNotifier notifier(m_mounts);
        ASSERT_TRUE(notifier.watchFolder(m_root, depth));
        QSignalSpy created(&notifier, &ChangeNotifier::folderCreated);
        const QString inOne = at(QStringLiteral("one/new%1").arg(depth));
        const QString inTwo = at(QStringLiteral("one/two/new%1").arg(depth));
        ASSERT_TRUE(QDir().mkdir(inOne));
        ASSERT_TRUE(QDir().mkdir(inTwo));
        flush(notifier);
        const QStringList seen = paths(created);
        EXPECT_EQ(seen.contains(inOne), depth >= 1);
        EXPECT_FALSE(seen.contains(inTwo));
    }
}

TEST_F(ChangeNotifierTest, NewAndRenamedSubfoldersStayWatched)
{
    ChangeNotifier notifier(m_mounts);
    ASSERT_TRUE(notifier.watchFolder(m_root, 1));
    QSignalSpy created(&notifier, &ChangeNotifier::folderCreated);
    QSignalSpy renamed(&notifier, &ChangeNotifier::folderRenamed);

    ASSERT_TRUE(QDir().mkdir(at(QStringLiteral("fresh"))));
    ASSERT_TRUE(waitFor(created));
    ASSERT_TRUE(QDir().mkdir(at(QStringLiteral("fresh/inner"))));
    ASSERT_TRUE(waitFor(created, 2));
    EXPECT_EQ(created.at(1).at(0).toString(), at(QStringLiteral("fresh/inner")));

    ASSERT_TRUE(QDir(m_root).rename(QStringLiteral("fresh"), QStringLiteral("moved")));
    ASSERT_TRUE(waitFor(renamed));
    EXPECT_TRUE(notifier.watchedFolders().contains(at(QStringLiteral("moved"))));
    EXPECT_FALSE(notifier.watchedFolders().contains(at(QStringLiteral("fresh"))));
    ASSERT_TRUE(QDir().mkdir(at(QStringLiteral("moved/later"))));
    ASSERT_TRUE(waitFor(created, 3));
    EXPECT_EQ(created.at(2).at(0).toString(), at(QStringLiteral("moved/later")));
}

TEST_F(ChangeNotifierTest, RemovedRootIsReportedAndForgotten)
{
    ChangeNotifier notifier(m_mounts);
    ASSERT_TRUE(notifier.watchFolder(m_root));
    QSignalSpy removed(&notifier, &ChangeNotifier::folderRemoved);
    ASSERT_TRUE(QDir(m_root).removeRecursively());
    ASSERT_TRUE(waitFor(removed));
    EXPECT_EQ(removed.first().at(0).toString(), m_root);
    // The kernel drops the watch on its own; wait until the notifier has heard that too.
    QSignalSpy other(&notifier, &ChangeNotifier::folderCreated);
    ASSERT_TRUE(notifier.watchFolder(m_outside));
    ASSERT_TRUE(QDir(m_outside).mkdir(QStringLiteral("x")));
    ASSERT_TRUE(waitFor(other));
    EXPECT_EQ(notifier.watchedFolders(), QStringList{m_outside});
}

TEST_F(ChangeNotifierTest, UnwatchedFolderIsSilent)
{
    ChangeNotifier notifier(m_mounts);
    ASSERT_TRUE(notifier.watchFolder(m_outside, 1));
    ASSERT_TRUE(notifier.watchFolder(m_root));
    notifier.unwatchFolder(m_outside);
    EXPECT_EQ(notifier.watchedFolders(), QStringList{m_root});
    QSignalSpy created(&notifier, &ChangeNotifier::folderCreated);
    ASSERT_TRUE(QDir(m_outside).mkdir(QStringLiteral("quiet")));
    flush(notifier);
    EXPECT_EQ(paths(created), QStringList{at(QStringLiteral("sentinel0"))});
}

TEST_F(ChangeNotifierTest, MountTableChangesGiveMediaSignals)
{
    ChangeNotifier notifier(m_mounts);
    QSignalSpy inserted(&notifier, &ChangeNotifier::mediaInserted);
    QSignalSpy removed(&notifier, &ChangeNotifier::mediaRemoved);

    // Only what changed after construction is reported; escapes in mount points are resolved.
    writeMounts("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/my\\040disk vfat rw 0 0\n");
    ASSERT_TRUE(waitFor(inserted));
    EXPECT_EQ(paths(inserted), QStringList{QStringLiteral("/media/my disk")});
    EXPECT_TRUE(removed.isEmpty());

    writeMounts("/dev/sdc1 /media/stick vfat rw 0 0\n/dev/sda1 / ext4 rw 0 0\n");
    ASSERT_TRUE(waitFor(removed));
    ASSERT_TRUE(waitFor(inserted, 2));
    EXPECT_EQ(paths(removed), QStringList{QStringLiteral("/media/my disk")});
    EXPECT_EQ(inserted.at(1).at(0).toString(), QStringLiteral("/media/stick"));

    // A rewrite that changes no mount point reports nothing.
    inserted.clear();
    removed.clear();
    writeMounts("/dev/sda1 / ext4 ro 0 0\n/dev/sdc1 /media/stick vfat rw 0 0\n");
    notifier.rescanMounts();
    EXPECT_TRUE(inserted.isEmpty());
    EXPECT_TRUE(removed.isEmpty());
}

TEST_F(ChangeNotifierTest, SystemMountTableIsReadable)
{
    // The real table is followed through its descriptor; constructing on it must not report
    // anything by itself, and a rescan without a change reports nothing either.
    ChangeNotifier notifier;
    QSignalSpy inserted(&notifier, &ChangeNotifier::mediaInserted);
    QSignalSpy removed(&notifier, &ChangeNotifier::mediaRemoved);
    notifier.rescanMounts();
    EXPECT_TRUE(inserted.isEmpty());
    EXPECT_TRUE(removed.isEmpty());
}

} // namespace
