// Objects in the namespace: attributes, enumeration and its order, comparison, names that are
// not valid UTF-8 or hold newlines, and icons.

#include "namespacehelpers.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QScopeGuard>
#include <QtGui/QIcon>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pindrel::platform;

namespace {

class ShellItemsTest : public LeakCheckedTest
{
protected:
    void SetUp() override
    {
        LeakCheckedTest::SetUp();
        ASSERT_TRUE(sandbox.isValid());
    }
    QString at(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }

    // A list by a short name: "desktop", "computer", "home", "trash", "network", or a
    // sandbox path.
    idlist::Unique listOf(const ShellNamespace &pNs, const char *pWhat) const
    {
        const std::pair<const char *, int> specials[] = {{"desktop", CSIDL_DESKTOP},
                                                         {"computer", CSIDL_DRIVES},
                                                         {"home", CSIDL_PROFILE},
                                                         {"trash", CSIDL_BITBUCKET},
                                                         {"network", CSIDL_NETWORK}};
        for (const auto &[name, csidl] : specials) {
            if (qstrcmp(name, pWhat) == 0)
                return special(pNs, csidl);
        }
        return parsed(pNs, at(pWhat));
    }

    NamespaceSandbox sandbox;
};

struct AttributeRow
{
    const char *name;
    const char *what;
    uint32_t mask;
    uint32_t expected;
};

TEST_F(ShellItemsTest, AttributesTable)
{
    for (const char *dir : {"mnt/data/y/sub", "mnt/data/y/empty", "mnt/data/y/rodir"})
        sandbox.makeDir(QString::fromLatin1(dir));
    for (const char *file : {"mnt/data/y/empty/f.txt", "mnt/data/y/ro.txt", "mnt/data/y/.dot",
                             "mnt/data/y/rodir/child.txt"})
        sandbox.makeFile(QString::fromLatin1(file));
    QFile::link(QStringLiteral("sub"), at("mnt/data/y/linkdir"));
    QFile::link(QStringLiteral("ro.txt"), at("mnt/data/y/linkfile"));
    ASSERT_EQ(::chmod(sandbox.rawPath("mnt/data/y/ro.txt").constData(), 0444), 0);
    ASSERT_EQ(::chmod(sandbox.rawPath("mnt/data/y/rodir").constData(), 0555), 0);
    // Writable again at the end, so the sandbox can be removed by any account.
    const auto restore =
        qScopeGuard([&] { ::chmod(sandbox.rawPath("mnt/data/y/rodir").constData(), 0755); });

    constexpr uint32_t all = 0xFFFFFFFFu;
    constexpr uint32_t place = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR
        | SFGAO_HASSUBFOLDER | SFGAO_READONLY | SFGAO_REMOVABLE;
    constexpr uint32_t drive = SFGAO_REMOVABLE | SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_READONLY;
    constexpr uint32_t file = SFGAO_READONLY | SFGAO_FOLDER | SFGAO_FILESYSTEM
        | SFGAO_FILESYSANCESTOR | SFGAO_CANCOPY | SFGAO_HIDDEN | SFGAO_LINK;
    constexpr uint32_t changes = SFGAO_CANDELETE | SFGAO_CANRENAME | SFGAO_CANMOVE | SFGAO_CANCOPY;
    const AttributeRow rows[] = {
        {"desktop", "desktop", all,
         SFGAO_FOLDER | SFGAO_BROWSABLE | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR
             | SFGAO_HASSUBFOLDER | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET},
        {"computer is virtual above the file system", "computer", all,
         SFGAO_FOLDER | SFGAO_BROWSABLE | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER
             | SFGAO_HASPROPSHEET},
        {"trash is virtual", "trash", all,
         SFGAO_FOLDER | SFGAO_BROWSABLE | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET},
        {"home", "home", place,
         SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER},
        {"network", "network", place,
         SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER},
        {"removable drive", "media/usb", drive, SFGAO_REMOVABLE | SFGAO_FOLDER | SFGAO_FILESYSTEM},
        {"fixed drive", "mnt/data", drive, SFGAO_FOLDER | SFGAO_FILESYSTEM},
        {"drive under run/media", "run/media/u/STICK", drive,
         SFGAO_REMOVABLE | SFGAO_FOLDER | SFGAO_FILESYSTEM},
        {"folder on removable media", "media/usb/docs", SFGAO_REMOVABLE | SFGAO_FOLDER,
         SFGAO_REMOVABLE | SFGAO_FOLDER},
        {"folder with a subfolder", "mnt/data/y", SFGAO_HASSUBFOLDER | SFGAO_FOLDER,
         SFGAO_HASSUBFOLDER | SFGAO_FOLDER},
        {"folder with only a file", "mnt/data/y/empty", SFGAO_HASSUBFOLDER | SFGAO_FOLDER,
         SFGAO_FOLDER},
        {"read-only file", "mnt/data/y/ro.txt", file,
         SFGAO_READONLY | SFGAO_FILESYSTEM | SFGAO_CANCOPY},
        {"dot file", "mnt/data/y/.dot", file, SFGAO_HIDDEN | SFGAO_FILESYSTEM | SFGAO_CANCOPY},
        {"link to a folder", "mnt/data/y/linkdir", file,
         SFGAO_LINK | SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_CANCOPY},
        {"link to a read-only file", "mnt/data/y/linkfile", file,
         SFGAO_LINK | SFGAO_READONLY | SFGAO_FILESYSTEM | SFGAO_CANCOPY},
        {"read-only folder", "mnt/data/y/rodir", SFGAO_READONLY | SFGAO_DROPTARGET | SFGAO_FOLDER,
         SFGAO_READONLY | SFGAO_FOLDER},
        {"file in a read-only folder", "mnt/data/y/rodir/child.txt", changes, SFGAO_CANCOPY},
        {"file in a writable folder", "mnt/data/y/empty/f.txt", changes, changes},
        {"never shared", "mnt/data/y/sub", SFGAO_SHARE, 0},
        {"validate is asked, not answered", "mnt/data/y/sub", SFGAO_FOLDER | SFGAO_VALIDATE,
         SFGAO_FOLDER},
        {"capabilities of a writable folder", "mnt/data/y/sub", SFGAO_CAPABILITYMASK,
         SFGAO_CAPABILITYMASK},
    };
    const ShellNamespace ns(sandbox.roots());
    for (const AttributeRow &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique list = listOf(ns, row.what);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ns.attributesOf(list.get(), row.mask), row.expected)
            << std::hex << ns.attributesOf(list.get(), row.mask);
    }
}

TEST_F(ShellItemsTest, EntriesOfTheDesktopAndTheTrashAreInTheFileSystem)
{
    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique a2 = childNamed(ns, nullptr, QStringLiteral("a2"));
    ASSERT_NE(a2, nullptr);
    EXPECT_EQ(ns.attributesOf(a2.get(), SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_REMOVABLE),
              SFGAO_FOLDER | SFGAO_FILESYSTEM);
    const idlist::Unique trash = special(ns, CSIDL_BITBUCKET);
    const idlist::Unique old = childNamed(ns, trash.get(), QStringLiteral("old.txt"));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(idlist::level(old.get()), 2);
    EXPECT_EQ(ns.attributesOf(old.get(), SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FILESYSTEM);
    EXPECT_EQ(ns.pathFromIdList(old.get()), at("home/.local/share/Trash/files/old.txt"));
}

TEST_F(ShellItemsTest, EnumerationFlagsAndOrder)
{
    for (const char *dir : {"mnt/data/e/b10", "mnt/data/e/B2", "mnt/data/e/a", "mnt/data/e/.h"})
        sandbox.makeDir(QString::fromLatin1(dir));
    for (const char *file : {"mnt/data/e/file1.txt", "mnt/data/e/File10.txt",
                             "mnt/data/e/file2.txt", "mnt/data/e/.dotfile"})
        sandbox.makeFile(QString::fromLatin1(file));
    QFile::link(QStringLiteral("a"), at("mnt/data/e/zlink"));
    QFile::link(QStringLiteral("nowhere"), at("mnt/data/e/broken"));

    const QStringList folders = {QStringLiteral("a"), QStringLiteral("B2"), QStringLiteral("b10"),
                                 QStringLiteral("zlink")};
    const QStringList files = {QStringLiteral("broken"), QStringLiteral("file1.txt"),
                               QStringLiteral("file2.txt"), QStringLiteral("File10.txt")};
    struct Row
    {
        const char *name;
        uint32_t flags;
        QStringList expected;
    };
    const Row rows[] = {
        {"folders", SHCONTF_FOLDERS, folders},
        {"folders with hidden", SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN,
         QStringList{QStringLiteral(".h")} + folders},
        {"files", SHCONTF_NONFOLDERS, files},
        {"files with hidden", SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
         QStringList{QStringLiteral(".dotfile")} + files},
        {"everything: folders first", SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, folders + files},
        {"nothing asked", 0, {}},
    };
    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique folder = parsed(ns, at("mnt/data/e"));
    ASSERT_NE(folder, nullptr);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const OwnedLists children(ns.enumChildren(folder.get(), row.flags));
        EXPECT_EQ(namesOf(ns, children), row.expected);
        for (size_t i = 0; i < children.size(); ++i) {
            EXPECT_EQ(idlist::level(children[i]), idlist::level(folder.get()) + 1);
            const idlist::Unique parent(idlist::firstN(children[i], idlist::level(folder.get())));
            EXPECT_TRUE(idlist::equal(parent.get(), folder.get()));
            if (i > 0) {
                EXPECT_LT(ns.compareIds(children[i - 1], children[i]), 0);
            }
        }
    }
    const idlist::Unique file = parsed(ns, at("mnt/data/e/file1.txt"));
    EXPECT_TRUE(ns.enumChildren(file.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).empty());
}

TEST_F(ShellItemsTest, CompareIdsTable)
{
    for (const char *dir : {"mnt/data/c/a", "mnt/data/c/B2", "mnt/data/c/b10", "mnt/data/c/Case",
                            "mnt/data/c/case", "mnt/data/c/x01", "mnt/data/c/x1"})
        sandbox.makeDir(QString::fromLatin1(dir));
    sandbox.makeFile(QStringLiteral("mnt/data/c/0file"));
    const ShellNamespace ns(sandbox.roots());
    struct Row
    {
        const char *name;
        const char *a;
        const char *b;
        int sign;
    };
    const Row rows[] = {
        {"same object", "mnt/data/c/a", "mnt/data/c/a", 0},
        {"parent before child", "mnt/data/c", "mnt/data/c/a", -1},
        {"case-insensitive", "mnt/data/c/a", "mnt/data/c/B2", -1},
        {"natural numbers", "mnt/data/c/B2", "mnt/data/c/b10", -1},
        {"folders before files", "mnt/data/c/b10", "mnt/data/c/0file", -1},
        {"names differing only in case differ", "mnt/data/c/Case", "mnt/data/c/case", -1},
        {"leading zeros differ", "mnt/data/c/x01", "mnt/data/c/x1", -1},
        {"the first difference decides", "media/usb/docs", "mnt/data/c", -1},
        {"root drive first", "desktop-root", "media/usb", -1},
        {"desktop before everything", "desktop", "computer", -1},
        {"computer before home", "computer", "home", -1},
        {"trash before desktop folders", "trash", "home/Desktop/a2", -1},
    };
    const auto listFor = [&](const char *pWhat) -> idlist::Unique {
        if (qstrcmp(pWhat, "desktop") == 0)
            return idlist::Unique(idlist::empty());
        if (qstrcmp(pWhat, "computer") == 0)
            return special(ns, CSIDL_DRIVES);
        if (qstrcmp(pWhat, "home") == 0)
            return special(ns, CSIDL_PROFILE);
        if (qstrcmp(pWhat, "trash") == 0)
            return special(ns, CSIDL_BITBUCKET);
        if (qstrcmp(pWhat, "desktop-root") == 0)
            return parsed(ns, QStringLiteral("/"));
        if (qstrcmp(pWhat, "home/Desktop/a2") == 0)
            return childNamed(ns, nullptr, QStringLiteral("a2"));
        return parsed(ns, at(pWhat));
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const idlist::Unique a = listFor(row.a);
        const idlist::Unique b = listFor(row.b);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        const int forward = ns.compareIds(a.get(), b.get());
        const int backward = ns.compareIds(b.get(), a.get());
        EXPECT_EQ((forward > 0) - (forward < 0), row.sign);
        EXPECT_EQ((backward > 0) - (backward < 0), -row.sign);
    }
}

TEST_F(ShellItemsTest, NamesThatAreNotTextSurvive)
{
    const QByteArray badName("bad\xff\xfename");
    const QByteArray newlineName("line1\nline2");
    const QByteArray latinFile("caf\xe9.txt");
    sandbox.makeDir(QStringLiteral("mnt/data/odd"));
    ASSERT_TRUE(sandbox.makeRawDir("mnt/data/odd/" + badName));
    ASSERT_TRUE(sandbox.makeRawDir("mnt/data/odd/" + badName + "/inner"));
    ASSERT_TRUE(sandbox.makeRawDir("mnt/data/odd/" + newlineName));
    ASSERT_TRUE(sandbox.makeRawFile("mnt/data/odd/" + latinFile));

    const ShellNamespace ns(sandbox.roots());
    const idlist::Unique folder = parsed(ns, at("mnt/data/odd"));
    const OwnedLists children(ns.enumChildren(folder.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    ASSERT_EQ(children.size(), 3u);
    const QString replacement(QChar(0xFFFD));
    EXPECT_EQ(
        namesOf(ns, children),
        (QStringList{QStringLiteral("bad") + replacement + replacement + QStringLiteral("name"),
                     QStringLiteral("line1\nline2"),
                     QStringLiteral("caf") + replacement + QStringLiteral(".txt")}));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        const QString path = ns.pathFromIdList(children[i]);
        const idlist::Unique again = parsed(ns, path);
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(idlist::equal(again.get(), children[i]));
        // The path names the same bytes on disk.
        struct stat info
        {
        };
        EXPECT_EQ(::lstat(encodeFileName(path).constData(), &info), 0);
    }
    const QString inner = ns.pathFromIdList(children[0]) + QStringLiteral("/inner");
    const idlist::Unique innerList = parsed(ns, inner);
    ASSERT_NE(innerList, nullptr);
    EXPECT_EQ(ns.pathFromIdList(innerList.get()), inner);
    EXPECT_EQ(ns.attributesOf(innerList.get(), SFGAO_FOLDER | SFGAO_VALIDATE), SFGAO_FOLDER);
}

TEST_F(ShellItemsTest, IconsComeFromTheTheme)
{
    // A theme of our own with some of the names, so that both the names and the fallbacks show.
    const QString themeRoot = at("icons/pindreltest");
    QDir().mkpath(themeRoot + QStringLiteral("/16x16"));
    QFile index(themeRoot + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=pindreltest\nDirectories=16x16\n\n"
                "[16x16]\nSize=16\nType=Fixed\n");
    index.close();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    for (const char *name : {"computer", "folder", "folder-open", "user-home", "user-trash",
                             "user-trash-full", "drive-harddisk", "drive-removable-media",
                             "text-plain", "user-desktop", "network-workgroup", "folder-pictures"})
        ASSERT_TRUE(image.save(themeRoot + QStringLiteral("/16x16/") + QString::fromLatin1(name)
                               + QStringLiteral(".png")));
    const QStringList savedPaths = QIcon::themeSearchPaths();
    const QString savedTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({at("icons")});
    QIcon::setThemeName(QStringLiteral("pindreltest"));

    const ShellNamespace ns(sandbox.roots());
    struct Row
    {
        const char *name;
        const char *what;
        bool open;
        const char *icon;
    };
    const Row rows[] = {
        {"desktop", "desktop", false, "user-desktop"},
        {"computer", "computer", false, "computer"},
        {"home", "home", false, "user-home"},
        {"documents falls back to a folder", "documents", false, "folder"},
        {"network", "network", false, "network-workgroup"},
        {"trash with something in it", "trash", false, "user-trash-full"},
        {"fixed drive", "mnt/data", false, "drive-harddisk"},
        {"removable drive", "media/usb", false, "drive-removable-media"},
        {"folder", "mnt/data/y", false, "folder"},
        {"open folder", "mnt/data/y", true, "folder-open"},
        {"a user place wherever it is met", "home/Pictures", false, "folder-pictures"},
        {"text file", "home/Desktop/notes.txt", false, "text-plain"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        idlist::Unique list;
        if (qstrcmp(row.what, "desktop") == 0)
            list.reset(idlist::empty());
        else if (qstrcmp(row.what, "computer") == 0)
            list = special(ns, CSIDL_DRIVES);
        else if (qstrcmp(row.what, "home") == 0)
            list = special(ns, CSIDL_PROFILE);
        else if (qstrcmp(row.what, "documents") == 0)
            list = special(ns, CSIDL_PERSONAL);
        else if (qstrcmp(row.what, "network") == 0)
            list = special(ns, CSIDL_NETWORK);
        else if (qstrcmp(row.what, "trash") == 0)
            list = special(ns, CSIDL_BITBUCKET);
        else
            list = parsed(ns, at(row.what));
        ASSERT_NE(list, nullptr);
        const QIcon icon = ns.smallIcon(list.get(), row.open);
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.name(), QString::fromLatin1(row.icon));
    }
    QIcon::setThemeSearchPaths(savedPaths);
    QIcon::setThemeName(savedTheme);
}

// Many paths of the tree, each parsed, turned back into a path and parsed again, agree with
// each other and with the order of their folder's enumeration.
TEST_F(ShellItemsTest, EveryPathOfTheTreeRoundTrips)
{
    const ShellNamespace ns(sandbox.roots());
    std::vector<QString> pending = {at("")};
    int checked = 0;
    while (!pending.empty()) {
        const QString path = pending.back();
        pending.pop_back();
        const idlist::Unique list = parsed(ns, path);
        ASSERT_NE(list, nullptr) << path.toStdString();
        EXPECT_EQ(ns.pathFromIdList(list.get()), path);
        ++checked;
        const OwnedLists children(ns.enumChildren(
            list.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN));
        for (size_t i = 0; i < children.size(); ++i) {
            const QString childPath = ns.pathFromIdList(children[i]);
            const idlist::Unique again = parsed(ns, childPath);
            // A child may sit on another drive than its parent's list says: compare by path.
            ASSERT_NE(again, nullptr) << childPath.toStdString();
            EXPECT_EQ(ns.pathFromIdList(again.get()), childPath);
            if (ns.attributesOf(children[i], SFGAO_FOLDER | SFGAO_LINK) == SFGAO_FOLDER)
                pending.push_back(childPath);
        }
    }
    EXPECT_GT(checked, 25);
}

} // namespace
