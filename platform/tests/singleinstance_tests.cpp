// One copy per key, in one process and across processes; a crashed first copy does not block
// the next start; a later copy writes nothing.

#include "platform/singleinstance.h"

#include "scopedenvironment.h"

#include <QtCore/QDir>
#include <QtCore/QDirIterator>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using pindrel::platform::SingleInstance;

namespace {

constexpr int timeoutMs = 10000;

// Every file below pFolder, relative, sorted.
QStringList filesBelow(const QString &pFolder)
{
    QStringList files;
    QDirIterator it(pFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(pFolder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Reads the probe's output until it holds pLine or the time is up.
bool waitForLine(QProcess &pProcess, QByteArray &pSeen, const QByteArray &pLine)
{
    return QTest::qWaitFor(
        [&] {
            pSeen += pProcess.readAllStandardOutput();
            return pSeen.split('\n').contains(pLine);
        },
        timeoutMs);
}

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        m_environment.set("XDG_RUNTIME_DIR", m_runtime.path());
    }

    void startProbe(QProcess &pProbe, const QString &pKey)
    {
        pProbe.setProgram(QStringLiteral(PINDREL_SINGLEINSTANCE_PROBE));
        pProbe.setArguments({pKey});
        pProbe.start();
        ASSERT_TRUE(pProbe.waitForStarted(timeoutMs));
    }

    QTemporaryDir m_runtime;
    ScopedEnvironment m_environment;
};

} // namespace

TEST_F(SingleInstanceTest, SecondObjectInTheSameProcessIsNotFirstAndActivatesTheFirst)
{
    SingleInstance first(QStringLiteral("pindrel"));
    SingleInstance second(QStringLiteral("pindrel"));
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    ASSERT_TRUE(first.isFirst());
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(first.isFirst()) << "the answer is kept";
    EXPECT_TRUE(first.lockFilePath().startsWith(m_runtime.path()));
    EXPECT_TRUE(first.serverPath().startsWith(m_runtime.path()));

    EXPECT_TRUE(second.notifyFirst());
    EXPECT_TRUE(activations.wait(timeoutMs));
    EXPECT_EQ(activations.count(), 1);
}

TEST_F(SingleInstanceTest, DifferentKeysDoNotExcludeEachOther)
{
    SingleInstance one(QStringLiteral("pindrel"));
    SingleInstance other(QStringLiteral("pindrel/other key"));
    EXPECT_TRUE(one.isFirst());
    EXPECT_TRUE(other.isFirst());
    EXPECT_NE(one.lockFilePath(), other.lockFilePath());
}

TEST_F(SingleInstanceTest, SecondCopyInAnotherProcessActivatesTheFirstAndWritesNothing)
{
    SingleInstance first(QStringLiteral("pindrel"));
    ASSERT_TRUE(first.isFirst());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    // Every place a program may write to, empty and private to the child.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QDir root(elsewhere.path());
    ScopedEnvironment childEnvironment;
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                             "XDG_STATE_HOME", "TMPDIR"}) {
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(name)));
        childEnvironment.set(name, root.filePath(QString::fromLatin1(name)));
    }
    const QStringList runtimeBefore = filesBelow(m_runtime.path());

    QProcess probe;
    startProbe(probe, QStringLiteral("pindrel"));
    // The child blocks in notifyFirst until the request is written; our event loop accepts it.
    EXPECT_TRUE(activations.wait(timeoutMs));
    // It may have ended while our event loop ran.
    ASSERT_TRUE(probe.state() == QProcess::NotRunning || probe.waitForFinished(timeoutMs));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), QByteArray("second delivered"));

    EXPECT_EQ(filesBelow(elsewhere.path()),
              QStringList({"HOME", "TMPDIR", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                           "XDG_STATE_HOME"}));
    EXPECT_EQ(filesBelow(m_runtime.path()), runtimeBefore);
}

TEST_F(SingleInstanceTest, FirstCopyInAnotherProcessIsActivatedByALaterOne)
{
    QProcess probe;
    startProbe(probe, QStringLiteral("pindrel"));
    QByteArray seen;
    ASSERT_TRUE(waitForLine(probe, seen, "first")) << seen.constData();

    SingleInstance later(QStringLiteral("pindrel"));
    EXPECT_FALSE(later.isFirst());
    EXPECT_TRUE(later.notifyFirst());
    EXPECT_TRUE(waitForLine(probe, seen, "activated")) << seen.constData();
    // The probe ends by itself once activated; it may have done so already.
    EXPECT_TRUE(probe.state() == QProcess::NotRunning || probe.waitForFinished(timeoutMs));
    EXPECT_EQ(probe.exitCode(), 0);
}

TEST_F(SingleInstanceTest, CrashedFirstCopyDoesNotBlockTheNextStart)
{
    QProcess probe;
    startProbe(probe, QStringLiteral("pindrel"));
    QByteArray seen;
    ASSERT_TRUE(waitForLine(probe, seen, "first")) << seen.constData();
    probe.kill(); // SIGKILL: no clean-up runs, the lock file and the socket stay behind
    ASSERT_TRUE(probe.waitForFinished(timeoutMs));

    SingleInstance next(QStringLiteral("pindrel"));
    ASSERT_TRUE(QFile::exists(next.lockFilePath()));
    EXPECT_TRUE(next.isFirst());

    // And it serves activation requests on the socket path the dead copy left.
    QSignalSpy activations(&next, &SingleInstance::activationRequested);
    SingleInstance after(QStringLiteral("pindrel"));
    EXPECT_FALSE(after.isFirst());
    EXPECT_TRUE(after.notifyFirst());
    EXPECT_TRUE(activations.wait(timeoutMs));
}

TEST_F(SingleInstanceTest, NotifyWithoutAFirstCopyListeningFails)
{
    // The lock is held but nobody listens (a first copy whose server could not start): the
    // later copy gives up after its short wait instead of hanging.
    SingleInstance first(QStringLiteral("pindrel"));
    ASSERT_TRUE(first.isFirst());
    ASSERT_TRUE(QFile::remove(first.serverPath()));

    SingleInstance later(QStringLiteral("pindrel"));
    EXPECT_FALSE(later.isFirst());
    EXPECT_FALSE(later.notifyFirst());
}
