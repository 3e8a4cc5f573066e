// The shape of the namespace on a sandbox: the Desktop's children, the Computer's drives from
// the mount table, parsing paths, display names and special folders.

#include "namespacehelpers.h"

#include <QtCore/QDir>

#include <gtest/gtest.h>

using namespace pindrel::platform;

namespace {

class ShellNamespaceTest : public LeakCheckedTest
{
protected:
    void SetUp() override
    {
        LeakCheckedTest::SetUp();
        ASSERT_TRUE(sandbox.isValid());
    }
    QString at(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }

    NamespaceSandbox sandbox;
};

TEST_F(ShellNamespaceTest, DesktopIsTheEmptyList)
{
    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique desktop(idlist::empty());
    EXPECT_EQ(ns.displayNameOf(desktop.get()), QStringLiteral("Desktop"));
    EXPECT_EQ(ns.pathFromIdList(desktop.get()), at("home/Desktop"));
    // The combo keeps the desktop as a null list: the same object.
    EXPECT_EQ(ns.displayNameOf(nullptr), QStringLiteral("Desktop"));
    EXPECT_EQ(ns.pathFromIdList(nullptr), at("home/Desktop"));
    EXPECT_EQ(ns.compareIds(nullptr, desktop.get()), 0);
}

TEST_F(ShellNamespaceTest, DesktopChildrenComeInTheirOrder)
{
    const QStringList specials = {QStringLiteral("Computer"), QStringLiteral("Home"),
                                  QStringLiteral("Documents"), QStringLiteral("Network"),
                                  QStringLiteral("Trash")};
    const QStringList folders = {QStringLiteral("a2"), QStringLiteral("a10"),
                                 QStringLiteral("Alpha"), QStringLiteral("zeta")};
    struct Row
    {
        const char *name;
        uint32_t flags;
        bool withOptionalPlaces;
        QStringList expected;
    };
    const Row rows[] = {
        {"folders", SHCONTF_FOLDERS, true, specials + folders},
        {"hidden folders too", SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, true,
         specials + QStringList{QStringLiteral(".hidden")} + folders},
        {"folders and files", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, true,
         specials + folders + QStringList{QStringLiteral("notes.txt")}},
        {"files only", SHCONTF_NONFOLDERS, true, {QStringLiteral("notes.txt")}},
        {"no documents, no network", SHCONTF_FOLDERS, false,
         QStringList{QStringLiteral("Computer"), QStringLiteral("Home"), QStringLiteral("Trash")}
             + folders},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        NamespaceRoots roots = sandbox.roots();
        if (!row.withOptionalPlaces) {
            roots.documentsDir.clear();
            roots.networkDir = at("no-such-folder");
        }
        const ShellNamespace ns(roots);
        const OwnedLists children(ns.enumChildren(nullptr, row.flags));
        EXPECT_EQ(namesOf(ns, children), row.expected);
        for (size_t i = 0; i < children.size(); ++i)
            EXPECT_EQ(idlist::level(children[i]), 1);
    }
}

TEST_F(ShellNamespaceTest, DesktopChildrenPathsAndKinds)
{
    const ShellNamespace ns(sandbox.roots());
    const OwnedLists children(ns.enumChildren(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    ASSERT_EQ(children.size(), 10u);
    const QString expected[] = {{},
                                at("home"),
                                at("home/Documents"),
                                at("net"),
                                {},
                                at("home/Desktop/a2"),
                                at("home/Desktop/a10"),
                                at("home/Desktop/Alpha"),
                                at("home/Desktop/zeta"),
                                at("home/Desktop/notes.txt")};
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(ns.pathFromIdList(children[i]), expected[i]) << i;
    // The special entries are the ones the special-folder numbers give.
    const std::pair<int, size_t> specials[] = {{CSIDL_DRIVES, 0},
                                               {CSIDL_PROFILE, 1},
                                               {CSIDL_PERSONAL, 2},
                                               {CSIDL_NETWORK, 3},
                                               {CSIDL_BITBUCKET, 4}};
    for (const auto &[csidl, index] : specials) {
        const idlist::Unique list = special(ns, csidl);
        EXPECT_TRUE(idlist::equal(list.get(), children[index])) << csidl;
    }
}

TEST_F(ShellNamespaceTest, ComputerShowsTheDrivesUsersCareAbout)
{
    const ShellNamespace ns(sandbox.roots());
    const std::vector<QString> expected = {
        QStringLiteral("/"), at("media/my disk"),  at("media/ram"),        at("media/usb"),
        at("mnt/data"),      at("mnt/data/inner"), at("run/media/u/STICK")};
    EXPECT_EQ(ns.drives(), expected);

    const idlist::Unique computer = special(ns, CSIDL_DRIVES);
    const OwnedLists drives(
        ns.enumChildren(computer.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN));
    EXPECT_EQ(namesOf(ns, drives),
              (QStringList{QStringLiteral("File System"), QStringLiteral("my disk"),
                           QStringLiteral("ram"), QStringLiteral("USB STICK"),
                           QStringLiteral("Data Disk"), QStringLiteral("inner"),
                           QStringLiteral("STICK")}));
    ASSERT_EQ(drives.size(), expected.size());
    for (size_t i = 0; i < drives.size(); ++i) {
        EXPECT_EQ(idlist::level(drives[i]), 2);
        EXPECT_EQ(ns.pathFromIdList(drives[i]), expected[i]);
    }
    EXPECT_EQ(ns.pathFromIdList(computer.get()), QString());
    EXPECT_TRUE(ns.enumChildren(computer.get(), SHCONTF_NONFOLDERS).empty());
}

struct MountRow
{
    const char *name;
    QByteArray table;
    std::vector<const char *> folders; // made in the sandbox first
    std::vector<QString> expected; // "@R/" is replaced by the sandbox root
    const char *extraPlace = nullptr;
};

TEST_F(ShellNamespaceTest, MountTableRows)
{
    const MountRow rows[] = {
        {"escaped blanks, tabs, backslashes and newlines",
         "/dev/x / ext4 rw 0 0\n/dev/y @R/media/tab\\011and\\134back\\012line\\040end ext4 rw 0 "
         "0\n",
         {"media/tab\tand\\back\nline end"},
         {QStringLiteral("/"), QStringLiteral("@R/media/tab\tand\\back\nline end")}},
        {"no root line still has the root",
         "/dev/y @R/mnt/data ext4 rw 0 0\n",
         {},
         {QStringLiteral("/"), QStringLiteral("@R/mnt/data")}},
        {"a container's overlay root", "overlay / overlay rw 0 0\n", {}, {QStringLiteral("/")}},
        {"short and relative lines are skipped",
         "garbage\na b c\ndev relative ext4 rw 0 0\n\n   \n/dev/y\t@R/mnt/data\text4\trw\t0\t0\n",
         {},
         {QStringLiteral("/"), QStringLiteral("@R/mnt/data")}},
        {"pseudo file systems under a place are not drives",
         "sysfs @R/mnt/a sysfs rw 0 0\ndevtmpfs @R/mnt/b devtmpfs rw 0 0\n"
         "overlay @R/mnt/c overlay rw 0 0\n/dev/loop1 @R/mnt/d squashfs ro 0 0\n",
         {"mnt/a", "mnt/b", "mnt/c", "mnt/d"},
         {QStringLiteral("/"), QStringLiteral("@R/mnt/d")}},
        {"a trailing separator in the table",
         "/dev/y @R/mnt/data/ ext4 rw 0 0\n",
         {},
         {QStringLiteral("/"), QStringLiteral("@R/mnt/data")}},
        {"network places",
         "gvfsd-fuse @R/run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n",
         {"run/user/1000/gvfs"},
         {QStringLiteral("/"), QStringLiteral("@R/run/user/1000/gvfs")},
         "run/user/1000/gvfs"},
        {"an unmounted stack",
         "/dev/y @R/mnt/data ext4 rw 0 0\nproc @R/mnt/data proc rw 0 0\n",
         {},
         {QStringLiteral("/")}},
    };
    for (const MountRow &row : rows) {
        SCOPED_TRACE(row.name);
        for (const char *folder : row.folders)
            sandbox.makeDir(QString::fromUtf8(folder));
        sandbox.writeMountTable(row.table);
        NamespaceRoots roots = sandbox.roots();
        if (row.extraPlace != nullptr)
            roots.mountPlaces << at(row.extraPlace);
        std::vector<QString> expected = row.expected;
        for (QString &path : expected)
            path.replace(QStringLiteral("@R"), sandbox.root());
        EXPECT_EQ(ShellNamespace(roots).drives(), expected);
    }
}

TEST_F(ShellNamespaceTest, MountsAndUnmountsShowWithoutARefresh)
{
    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique before = parsed(ns, at("media/usb/docs"));
    EXPECT_EQ(chainNames(ns, before.get()).value(1), QStringLiteral("USB STICK"));

    sandbox.writeMountTable("/dev/root / ext4 rw 0 0\n/dev/z @R/mnt/cg ext4 rw 0 0\n");
    EXPECT_EQ(ns.drives(), (std::vector<QString>{QStringLiteral("/"), at("mnt/cg")}));
    // The same folder now lies on the root file system.
    const idlist::Unique after = parsed(ns, at("media/usb/docs"));
    EXPECT_EQ(chainNames(ns, after.get()).value(1), QStringLiteral("File System"));
    EXPECT_NE(ns.compareIds(before.get(), after.get()), 0);
    EXPECT_EQ(ns.pathFromIdList(after.get()), ns.pathFromIdList(before.get()));
}

TEST_F(ShellNamespaceTest, UnreadableTableLeavesTheRoot)
{
    NamespaceRoots roots = sandbox.roots();
    roots.mountTable = at("no-such-table");
    EXPECT_EQ(ShellNamespace(roots).drives(), std::vector<QString>{QStringLiteral("/")});
}

TEST_F(ShellNamespaceTest, SeparateHomeIsADrive)
{
    if (!QDir(QStringLiteral("/home")).exists())
        GTEST_SKIP() << "this machine has no /home folder";
    sandbox.writeMountTable("/dev/a / ext4 rw 0 0\n/dev/b /home ext4 rw 0 0\n");
    EXPECT_EQ(ShellNamespace(sandbox.roots()).drives(),
              (std::vector<QString>{QStringLiteral("/"), QStringLiteral("/home")}));
    sandbox.writeMountTable("/dev/a / ext4 rw 0 0\ntmpfs /home tmpfs rw 0 0\n");
    EXPECT_EQ(ShellNamespace(sandbox.roots()).drives(), std::vector<QString>{QStringLiteral("/")});
}

struct ParseRow
{
    const char *name;
    QString input;
    QString path; // expected path back
    QStringList head; // expected first display names
    QStringList tail; // expected last display names
};

TEST_F(ShellNamespaceTest, PathsParseThroughTheLongestMountAndComeBack)
{
    sandbox.makeDir(QStringLiteral("mnt/data/inner/x"));
    const QString computer = QStringLiteral("Computer");
    const QString fileSystem = QStringLiteral("File System");
    const ParseRow rows[] = {
        {"root", QStringLiteral("/"), QStringLiteral("/"), {computer, fileSystem}, {}},
        {"drive", at("mnt/data"), at("mnt/data"), {computer, QStringLiteral("Data Disk")}, {}},
        {"folder on a drive",
         at("mnt/data/y"),
         at("mnt/data/y"),
         {computer, QStringLiteral("Data Disk"), QStringLiteral("y")},
         {}},
        {"nested mount wins",
         at("mnt/data/inner/x"),
         at("mnt/data/inner/x"),
         {computer, QStringLiteral("inner"), QStringLiteral("x")},
         {}},
        {"blank in the mount point",
         at("media/my disk"),
         at("media/my disk"),
         {computer, QStringLiteral("my disk")},
         {}},
        {"trailing separator",
         at("media/usb/docs/"),
         at("media/usb/docs"),
         {computer, QStringLiteral("USB STICK"), QStringLiteral("docs")},
         {}},
        {"dots by name",
         at("media/usb/./docs/../docs"),
         at("media/usb/docs"),
         {computer, QStringLiteral("USB STICK"), QStringLiteral("docs")},
         {}},
        {"up across drives",
         at("media/usb/../../mnt/data/y"),
         at("mnt/data/y"),
         {computer, QStringLiteral("Data Disk"), QStringLiteral("y")},
         {}},
        {"doubled separators",
         at("mnt//data///y"),
         at("mnt/data/y"),
         {computer, QStringLiteral("Data Disk"), QStringLiteral("y")},
         {}},
        {"hidden mount goes through the root",
         at("mnt/stack"),
         at("mnt/stack"),
         {computer, fileSystem},
         {QStringLiteral("mnt"), QStringLiteral("stack")}},
        {"desktop folder through its drive",
         at("home/Desktop/a2"),
         at("home/Desktop/a2"),
         {computer, fileSystem},
         {QStringLiteral("Desktop"), QStringLiteral("a2")}},
        {"a file",
         at("home/Desktop/notes.txt"),
         at("home/Desktop/notes.txt"),
         {computer, fileSystem},
         {QStringLiteral("notes.txt")}},
    };
    const ShellNamespace ns(sandbox.roots());
    for (const ParseRow &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique list = parsed(ns, row.input);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ns.pathFromIdList(list.get()), row.path);
        const QStringList names = chainNames(ns, list.get());
        EXPECT_EQ(names.mid(0, row.head.size()), row.head);
        EXPECT_EQ(names.mid(names.size() - row.tail.size()), row.tail);
        // The Computer, the drive, then one identifier per path component below the drive.
        const idlist::Unique drive(idlist::firstN(list.get(), 2));
        const QString drivePath = ns.pathFromIdList(drive.get());
        const auto components = [](const QString &pPath) {
            return pPath == QStringLiteral("/") ? 0 : pPath.count(u'/');
        };
        EXPECT_EQ(idlist::level(list.get()), 2 + components(row.path) - components(drivePath));
        const idlist::Unique again = parsed(ns, ns.pathFromIdList(list.get()));
        EXPECT_TRUE(idlist::equal(list.get(), again.get()));
        EXPECT_EQ(ns.compareIds(list.get(), again.get()), 0);
    }
}

TEST_F(ShellNamespaceTest, PathsThatDoNotParse)
{
    const ShellNamespace ns(sandbox.roots());
    const QString rows[] = {
        QString(),
        QStringLiteral("relative/path"),
        QStringLiteral("~/Desktop"),
        at("home/Desktop/missing"),
        at("home/Desktop/notes.txt/child"),
        at("mnt/data") + QChar(u'\0') + QStringLiteral("y"),
    };
    for (const QString &path : rows) {
        SCOPED_TRACE(path.toStdString());
        ItemIdList *list = reinterpret_cast<ItemIdList *>(&list); // must be overwritten
        EXPECT_FALSE(ns.parseDisplayName(path, &list));
        EXPECT_EQ(list, nullptr);
    }
    EXPECT_FALSE(ns.parseDisplayName(QStringLiteral("/"), nullptr));
}

TEST_F(ShellNamespaceTest, RemovedFolderNoLongerParses)
{
    sandbox.makeDir(QStringLiteral("mnt/data/gone/deeper"));
    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique list = parsed(ns, at("mnt/data/gone"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QDir(at("mnt/data/gone")).removeRecursively());
    EXPECT_EQ(parsed(ns, at("mnt/data/gone")), nullptr);
    EXPECT_EQ(parsed(ns, at("mnt/data/gone/deeper")), nullptr);
    // The old list still names the place, but the object is gone.
    EXPECT_EQ(ns.pathFromIdList(list.get()), at("mnt/data/gone"));
    EXPECT_EQ(ns.attributesOf(list.get(), SFGAO_FOLDER | SFGAO_VALIDATE), 0u);
    EXPECT_EQ(ns.attributesOf(list.get(), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_READONLY),
              SFGAO_FOLDER | SFGAO_FILESYSTEM);
    EXPECT_TRUE(ns.enumChildren(list.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).empty());
}

struct SpecialRow
{
    const char *name;
    int csidl;
    bool found;
    int level = -1; // -1: not checked
    QString displayName = {};
    QString path = {};
};

TEST_F(ShellNamespaceTest, SpecialFolders)
{
    sandbox.makeDir(QStringLiteral("home/.config/autostart"));
    const SpecialRow rows[] = {
        {"desktop", CSIDL_DESKTOP, true, 0, QStringLiteral("Desktop"), at("home/Desktop")},
        {"computer", CSIDL_DRIVES, true, 1, QStringLiteral("Computer"), QString()},
        {"documents", CSIDL_PERSONAL, true, 1, QStringLiteral("Documents"), at("home/Documents")},
        {"my documents", CSIDL_MYDOCUMENTS, true, 1, QStringLiteral("Documents")},
        {"home", CSIDL_PROFILE, true, 1, QStringLiteral("Home"), at("home")},
        {"network", CSIDL_NETWORK, true, 1, QStringLiteral("Network"), at("net")},
        {"trash", CSIDL_BITBUCKET, true, 1, QStringLiteral("Trash"), QString()},
        {"desktop directory", CSIDL_DESKTOPDIRECTORY, true, -1, QStringLiteral("Desktop"),
         at("home/Desktop")},
        {"pictures", CSIDL_MYPICTURES, true, -1, QStringLiteral("Pictures"), at("home/Pictures")},
        {"network folder", CSIDL_NETHOOD, true, -1, QStringLiteral("net"), at("net")},
        {"application data", CSIDL_APPDATA, true, -1, QStringLiteral(".config"),
         at("home/.config")},
        {"startup", CSIDL_STARTUP, true, -1, QStringLiteral("autostart"),
         at("home/.config/autostart")},
        {"local application data", CSIDL_LOCAL_APPDATA, true, -1, QStringLiteral("share"),
         at("home/.local/share")},
        {"music folder not made", CSIDL_MYMUSIC, false},
        {"videos not configured", CSIDL_MYVIDEO, false},
        {"start menu not made", CSIDL_STARTMENU, false},
        {"fonts not made", CSIDL_FONTS, false},
        {"internet", 1, false},
        {"control panel", 3, false},
        {"printers", 4, false},
        {"favorites", 6, false},
        {"recent", 8, false},
        {"send to", 9, false},
        {"common start menu", 22, false},
        {"common desktop", 25, false},
        {"cookies", 33, false},
        {"history", 34, false},
        {"windows folder", 36, false},
        {"out of range", 999, false},
        {"negative", -1, false},
    };
    const ShellNamespace ns(sandbox.roots());
    for (const SpecialRow &row : rows) {
        SCOPED_TRACE(row.name);
        ItemIdList *out = reinterpret_cast<ItemIdList *>(&out);
        EXPECT_EQ(ns.specialFolderLocation(row.csidl, &out), row.found);
        const idlist::Unique list(out);
        if (!row.found) {
            EXPECT_EQ(list, nullptr);
            continue;
        }
        ASSERT_NE(list, nullptr);
        if (row.level >= 0) {
            EXPECT_EQ(idlist::level(list.get()), row.level);
        }
        EXPECT_EQ(ns.displayNameOf(list.get()), row.displayName);
        if (!row.path.isNull()) {
            EXPECT_EQ(ns.pathFromIdList(list.get()), row.path);
        }
    }
}

TEST_F(ShellNamespaceTest, PlacesThatAreMissingAreNoSpecialFolders)
{
    NamespaceRoots roots = sandbox.roots();
    roots.networkDir.clear();
    roots.documentsDir = at("no-such-folder");
    const ShellNamespace ns(roots);
    for (const int csidl : {CSIDL_NETWORK, CSIDL_NETHOOD, CSIDL_PERSONAL}) {
        ItemIdList *out = nullptr;
        EXPECT_FALSE(ns.specialFolderLocation(csidl, &out)) << csidl;
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_FALSE(ns.specialFolderLocation(CSIDL_DRIVES, nullptr));
}

TEST_F(ShellNamespaceTest, MalformedListsAreRefused)
{
    const ShellNamespace ns(sandbox.roots());
    const auto list = [](std::vector<uint8_t> pBytes) {
        auto *const block =
            static_cast<ItemIdList *>(TaskAllocator::instance().alloc(pBytes.size()));
        std::copy(pBytes.begin(), pBytes.end(), block);
        return idlist::Unique(block);
    };
    struct Row
    {
        const char *name;
        idlist::Unique list;
    };
    Row rows[] = {
        {"unknown kind", list({5, 0, 'Z', 0, 'x', 0, 0})},
        {"too short for a header", list({3, 0, 'F', 0, 0})},
        {"drive outside the computer", list({5, 0, 'V', 1, '/', 0, 0})},
        {"entry under the computer", list({4, 0, 'C', 1, 5, 0, 'F', 1, 'x', 0, 0})},
        {"entry with a separator", list({7, 0, 'F', 1, 'a', '/', 'b', 0, 0})},
        {"entry going up", list({6, 0, 'F', 1, '.', '.', 0, 0})},
        {"empty entry name", list({4, 0, 'F', 1, 0, 0})},
        {"relative drive", list({4, 0, 'C', 1, 5, 0, 'V', 1, 'x', 0, 0})},
        {"home below the top", list({5, 0, 'F', 1, 'a', 4, 0, 'H', 1, 0, 0})},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ns.pathFromIdList(row.list.get()), QString());
        EXPECT_EQ(ns.displayNameOf(row.list.get()), QString());
        EXPECT_EQ(ns.attributesOf(row.list.get(), 0xFFFFFFFFu), 0u);
        EXPECT_TRUE(ns.enumChildren(row.list.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).empty());
        EXPECT_TRUE(ns.smallIcon(row.list.get()).isNull());
    }
    // Foreign identifiers still order totally: after this namespace's own.
    const idlist::Unique computer = special(ns, CSIDL_DRIVES);
    EXPECT_LT(ns.compareIds(computer.get(), rows[0].list.get()), 0);
    EXPECT_GT(ns.compareIds(rows[0].list.get(), computer.get()), 0);
    EXPECT_NE(ns.compareIds(rows[0].list.get(), rows[1].list.get()), 0);
    EXPECT_EQ(ns.compareIds(rows[0].list.get(), rows[0].list.get()), 0);
}

TEST_F(ShellNamespaceTest, SystemRootsPointAtTheAccount)
{
    const NamespaceRoots roots = NamespaceRoots::fromSystem();
    EXPECT_EQ(roots.mountTable, QStringLiteral("/proc/self/mounts"));
    EXPECT_EQ(roots.homeDir, QDir::cleanPath(QDir::homePath()));
    EXPECT_FALSE(roots.desktopDir.isEmpty());
    EXPECT_TRUE(roots.removablePlaces.contains(QStringLiteral("/media")));
    const ShellNamespace ns(roots);
    ASSERT_FALSE(ns.drives().empty());
    EXPECT_EQ(ns.drives().front(), QStringLiteral("/"));
}

} // namespace
