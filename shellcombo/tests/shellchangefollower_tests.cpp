// The list window following real changes in a sandbox's folders. Every wait is on a condition
// with a timeout.

#include "combosandbox.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/shellchangefollower.h"
#include "vexlo/vexloctrl.h"

#include "platform/idlist.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using vexlo::CNamespaceComboBox;
using vexlo::CShellChangeFollower;

namespace {

constexpr int kTimeoutMs = 5000;

// Without options the list is:
//   0 Desktop  1 Computer  2 File System  3 c  4 d  5 Home  6 Documents  7 Trash  8 .hidden
//   9 Alpha  10 Beta
struct Harness
{
    Harness()
        : shell(sandbox.makeShell())
        , combo(std::make_unique<CNamespaceComboBox>(shell, false))
    {
        combo->populate();
        follower = std::make_unique<CShellChangeFollower>(*combo);
    }

    QString path(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }
    QString selectedPath() const
    {
        return QDir::cleanPath(combo->entryPath(combo->logicalSelection()));
    }
    QStringList entryPaths() const
    {
        QStringList result;
        for (int index = 0; index < combo->count(); ++index)
            result.append(combo->entryPath(index));
        return result;
    }
    bool waitForSelection(const QString &pPath) const
    {
        return QTest::qWaitFor([&] { return selectedPath() == pPath; }, kTimeoutMs);
    }

    ComboSandbox sandbox;
    std::shared_ptr<pindrel::platform::ShellNamespace> shell;
    std::unique_ptr<CNamespaceComboBox> combo;
    std::unique_ptr<CShellChangeFollower> follower;
};

TEST(ShellChangeFollower, DeletingTheSelectedFolderSelectsItsParent)
{
    Harness h;
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/d/Data/Deep")));
    ASSERT_EQ(h.selectedPath(), h.path("mnt/d/Data/Deep"));
    // The selection changed after the follower was made: it must have followed it.
    EXPECT_TRUE(h.follower->watchedFolders().contains(h.path("mnt/d/Data")));

    ASSERT_TRUE(QDir(h.path("mnt/d/Data")).rmdir(QStringLiteral("Deep")));
    EXPECT_TRUE(h.waitForSelection(h.path("mnt/d/Data")));
    EXPECT_FALSE(h.entryPaths().contains(h.path("mnt/d/Data/Deep")));
}

TEST(ShellChangeFollower, CreatingADesktopFolderAppendsOneEntry)
{
    Harness h;
    QSignalSpy added(h.combo.get(), &CNamespaceComboBox::OnAfterItemAdd);
    const int before = h.combo->count();
    h.sandbox.makeDir(QStringLiteral("mnt/c/home/Desktop/Gamma"));
    ASSERT_TRUE(added.wait(kTimeoutMs));
    ASSERT_EQ(h.combo->count(), before + 1);
    EXPECT_EQ(h.combo->entryPath(before), h.path("mnt/c/home/Desktop/Gamma"));
    EXPECT_EQ(h.combo->entryIndent(before), h.combo->options().indent);
    // The desktop's own child, not the route through the drives.
    EXPECT_EQ(pindrel::platform::idlist::level(h.combo->entryIdList(before)), 1);

    // The same folder told again adds nothing; a folder below the desktop's children neither.
    h.follower->onFolderCreated(h.path("mnt/c/home/Desktop/Gamma"));
    h.follower->onFolderCreated(h.path("mnt/c/home/Desktop/Gamma"));
    h.sandbox.makeDir(QStringLiteral("mnt/c/home/Desktop/Gamma/Inner"));
    h.follower->onFolderCreated(h.path("mnt/c/home/Desktop/Gamma/Inner"));
    EXPECT_EQ(h.combo->count(), before + 1);
}

TEST(ShellChangeFollower, RemovedDesktopFolderLeavesTheListAndKeepsTheSelection)
{
    Harness h;
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/c/home/Documents/Letters/2024")));
    const QStringList before = h.entryPaths();
    ASSERT_TRUE(before.contains(h.path("mnt/c/home/Desktop/Beta")));

    ASSERT_TRUE(QDir(h.path("mnt/c/home/Desktop")).rmdir(QStringLiteral("Beta")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !h.entryPaths().contains(h.path("mnt/c/home/Desktop/Beta")); }, kTimeoutMs));
    QStringList expected = before;
    expected.removeAll(h.path("mnt/c/home/Desktop/Beta"));
    EXPECT_EQ(h.entryPaths(), expected);
    EXPECT_EQ(h.selectedPath(), h.path("mnt/c/home/Documents/Letters/2024"));
    EXPECT_EQ(h.combo->currentIndex(), h.combo->logicalSelection());
}

TEST(ShellChangeFollower, RemovedSelectedDesktopFolderSelectsTheDesktop)
{
    Harness h;
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/c/home/Desktop/Alpha")));
    ASSERT_NE(h.combo->logicalSelection(), 0);
    ASSERT_TRUE(QDir(h.path("mnt/c/home/Desktop")).rmdir(QStringLiteral("Alpha")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.combo->logicalSelection() == 0; }, kTimeoutMs));
    EXPECT_FALSE(h.entryPaths().contains(h.path("mnt/c/home/Desktop/Alpha")));
}

TEST(ShellChangeFollower, RenamedFoldersAreFollowed)
{
    Harness h;
    // A deeper selected folder: the new one is selected.
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/d/Data/Deep")));
    ASSERT_TRUE(
        QDir(h.path("mnt/d/Data")).rename(QStringLiteral("Deep"), QStringLiteral("Deeper")));
    EXPECT_TRUE(h.waitForSelection(h.path("mnt/d/Data/Deeper")));

    // A desktop folder keeps its place under its new name.
    const int beta = h.entryPaths().indexOf(h.path("mnt/c/home/Desktop/Beta"));
    ASSERT_GT(beta, 0);
    ASSERT_TRUE(
        QDir(h.path("mnt/c/home/Desktop")).rename(QStringLiteral("Beta"), QStringLiteral("Zeta")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return h.combo->entryPath(beta) == h.path("mnt/c/home/Desktop/Zeta"); }, kTimeoutMs));
    EXPECT_EQ(h.combo->entryText(beta), QStringLiteral("Zeta"));
    EXPECT_EQ(h.selectedPath(), h.path("mnt/d/Data/Deeper"));
}

TEST(ShellChangeFollower, UpdatedItemsGetAFreshText)
{
    Harness h;
    const int alpha = h.entryPaths().indexOf(h.path("mnt/c/home/Desktop/Alpha"));
    ASSERT_GT(alpha, 0);
    h.combo->setEntryText(alpha, QStringLiteral("stale"));
    // A change of permissions is an update of the item, seen through the desktop's watch.
    QFile::Permissions permissions = QFile::permissions(h.path("mnt/c/home/Desktop/Alpha"));
    ASSERT_TRUE(QFile::setPermissions(h.path("mnt/c/home/Desktop/Alpha"),
                                      permissions & ~QFile::WriteOther));
    ASSERT_TRUE(
        QFile::setPermissions(h.path("mnt/c/home/Desktop/Alpha"), permissions | QFile::ReadOther));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return h.combo->entryText(alpha) == QStringLiteral("Alpha"); }, kTimeoutMs));

    // The selected entry shows its path when the list shows full paths.
    vexlo::ComboOptions options = h.combo->options();
    options.showFullPath = true;
    h.combo->setOptions(options);
    ASSERT_TRUE(h.combo->SelectItem(alpha));
    h.combo->setEntryText(alpha, QStringLiteral("stale"));
    h.follower->onItemUpdated(h.path("mnt/c/home/Desktop/Alpha"));
    EXPECT_EQ(h.combo->entryText(alpha), h.path("mnt/c/home/Desktop/Alpha"));
}

TEST(ShellChangeFollower, DrivesComeAndGoWithTheMountTable)
{
    Harness h;
    const QString e = h.path("mnt/e");
    // A selection below c puts path items between c and d.
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/c/home/Documents/Letters")));
    const int d = h.entryPaths().indexOf(h.path("mnt/d"));
    ASSERT_GT(d, 0);

    h.sandbox.addDrive(QStringLiteral("mnt/e"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.entryPaths().contains(e); }, kTimeoutMs));
    EXPECT_EQ(h.entryPaths().indexOf(e), d + 1); // in order, after d
    EXPECT_EQ(pindrel::platform::idlist::level(h.combo->entryIdList(h.entryPaths().indexOf(e))), 2);
    EXPECT_EQ(h.selectedPath(), h.path("mnt/c/home/Documents/Letters"));
    EXPECT_EQ(h.combo->currentIndex(), h.combo->logicalSelection());

    // Unmounted while a folder on it is selected: the entry goes, the desktop is selected.
    h.sandbox.makeDir(QStringLiteral("mnt/e/Inside"));
    ASSERT_TRUE(h.combo->SetPath(h.path("mnt/e/Inside")));
    QFile table(h.sandbox.roots().mountTable);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = table.readAll().split('\n');
    table.close();
    lines.removeIf([&](const QByteArray &pLine) { return pLine.contains(QFile::encodeName(e)); });
    ASSERT_TRUE(table.open(QIODevice::WriteOnly | QIODevice::Truncate));
    table.write(lines.join('\n'));
    table.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !h.entryPaths().contains(e); }, kTimeoutMs));
    EXPECT_EQ(h.combo->logicalSelection(), 0);
    EXPECT_EQ(h.combo->currentIndex(), 0);
}

TEST(ShellChangeFollower, TheControlFollowsOnlyWhileAutoUpdateIsOn)
{
    ComboSandbox sandbox;
    const auto shell = sandbox.makeShell();
    vexlo::CVexloCtrl control(shell);
    control.createControlWindow();
    CNamespaceComboBox &list = *control.listWindow();
    const auto shows = [&](const char *pName) {
        const QString wanted =
            sandbox.path(QStringLiteral("mnt/c/home/Desktop/") + QString::fromUtf8(pName));
        for (int index = 0; index < list.count(); ++index)
            if (list.entryPath(index) == wanted)
                return true;
        return false;
    };

    control.AutoUpdate(false);
    sandbox.makeDir(QStringLiteral("mnt/c/home/Desktop/Off"));
    control.AutoUpdate(true);
    sandbox.makeDir(QStringLiteral("mnt/c/home/Desktop/On"));
    // Reports come in order: once "On" is in, "Off" would have been too had it been followed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows("On"); }, kTimeoutMs));
    EXPECT_FALSE(shows("Off"));
}

} // namespace
