// The drawer's file list on real temporary folders, driven as the drawer window and the user
// drive it: its members and events, keys and clicks, folders it cannot list, odd names.

#include "drawer/filelist.h"
#include "drawer/foldermodel.h"
#include "drawer/thumbnailloader.h"
#include "drawer_testsupport.h"

#include "platform/idlist.h"
#include "platform/shellnamespace.h"
#include "vexlo/vexloctrl.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace pindrel {
namespace {

using test::makeFile;
using test::makeFolder;
using test::waitFor;

class DrawerFileList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_list.setShell(&m_shell);
        m_list.setOpenQuestions(&m_questions);
        m_list.resize(640, 480);
    }

    // Names that are not valid UTF-8 would keep QTemporaryDir from removing the folder.
    void TearDown() override { test::removeAll(m_root.path()); }

    QString at(const QString &pName) const { return QDir::cleanPath(m_root.filePath(pName)); }

    // Shows pFolder and waits until pCount entries are listed.
    bool showAndWait(const QString &pFolder, int pCount)
    {
        m_list.setPath(pFolder);
        return waitFor([&] { return m_list.entryNames().size() == pCount; });
    }

    bool showOnScreen()
    {
        m_list.show();
        return QTest::qWaitForWindowExposed(&m_list);
    }

    QTemporaryDir m_root;
    test::RecordingShell m_shell;
    test::ScriptedQuestions m_questions;
    FileList m_list;
};

TEST_F(DrawerFileList, TakesTheFiveViewsAndIgnoresOtherValues)
{
    const int start = m_list.View();
    int view = start;
    for (int press = 0; press < FileList::kViewCount; ++press) {
        view = view == 4 ? 0 : view + 1;
        m_list.setView(view);
        EXPECT_EQ(m_list.View(), view);
        const bool details = qobject_cast<QTreeView *>(m_list.currentView()) != nullptr;
        EXPECT_EQ(details, view == FileList::Details) << "view " << view;
    }
    EXPECT_EQ(m_list.View(), start);

    m_list.setView(FileList::List);
    for (const int refused : {-1, 5, 1000}) {
        m_list.setView(refused);
        EXPECT_EQ(m_list.View(), FileList::List) << "value " << refused;
    }
}

TEST_F(DrawerFileList, KeepsTheListingAcrossViewChanges)
{
    makeFile(at(QStringLiteral("one.txt")));
    makeFile(at(QStringLiteral("two.txt")));
    ASSERT_TRUE(showAndWait(m_root.path(), 2));
    for (int view = 0; view < FileList::kViewCount; ++view) {
        m_list.setView(view);
        EXPECT_EQ(m_list.entryNames().size(), 2) << "view " << view;
        EXPECT_EQ(m_list.currentView()->rootIndex(),
                  m_list.indexOfName(QStringLiteral("one.txt")).parent())
            << "view " << view;
    }
}

TEST_F(DrawerFileList, RaisesFolderChangedWithPathAlreadySet)
{
    makeFolder(at(QStringLiteral("sub")));
    QStringList pathsSeen;
    QStringList arguments;
    QObject::connect(&m_list, &FileList::FolderChanged, &m_list, [&](const QString &pPath) {
        pathsSeen.append(m_list.Path());
        arguments.append(pPath);
    });

    m_list.setPath(m_root.path());
    ASSERT_EQ(pathsSeen.size(), 1) << "the first assignment raises the event";
    EXPECT_EQ(pathsSeen.at(0), at(QStringLiteral(".")));

    m_list.setPath(at(QStringLiteral("sub")));
    m_list.setPath(at(QStringLiteral("sub")));
    EXPECT_EQ(pathsSeen,
              (QStringList{m_root.path(), at(QStringLiteral("sub")), at(QStringLiteral("sub"))}));
    EXPECT_EQ(arguments, pathsSeen);
}

TEST_F(DrawerFileList, CleansThePathItIsGiven)
{
    makeFolder(at(QStringLiteral("sub")));
    struct Row
    {
        const char *name;
        QString given;
        QString shown;
    };
    const Row rows[] = {
        {"trailing_separator", m_root.path() + QStringLiteral("/sub/"), at(QStringLiteral("sub"))},
        {"dot_parts", m_root.path() + QStringLiteral("/./sub/../sub"), at(QStringLiteral("sub"))},
        {"root", QStringLiteral("/"), QStringLiteral("/")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_list.setPath(row.given);
        EXPECT_EQ(m_list.Path(), row.shown);
    }

    QSignalSpy changes(&m_list, &FileList::FolderChanged);
    m_list.setPath(QStringLiteral("   "));
    EXPECT_EQ(changes.count(), 0) << "blank text is ignored";
    EXPECT_EQ(m_list.Path(), QStringLiteral("/"));
}

// The list as the combo's file-list companion, step by step; each step starts where the
// previous one left the two.
TEST_F(DrawerFileList, IsTheCombosFileListCompanion)
{
    makeFolder(at(QStringLiteral("a")));
    makeFolder(at(QStringLiteral("b")));
    vexlo::CVexloCtrl combo;
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    combo.Quennel(&m_list);
    ASSERT_EQ(m_list.associatedControl(), &combo);
    QSignalSpy changed(&m_list, &FileList::FolderChanged);
    const auto comboPath = [&combo] {
        const std::optional<vexlo::CComboBoxItem> item = combo.SelectedItem();
        return item ? item->Path() : QStringLiteral("<none>");
    };
    const auto idListOf = [&combo](const QString &pPath) {
        platform::ItemIdList *list = nullptr;
        combo.shellNamespace()->parseDisplayName(pPath, &list);
        return platform::idlist::Unique(list);
    };

    struct Step
    {
        const char *name;
        std::function<void()> act;
        QString listPath;
        QString comboPath;
        int listChanges;
    };
    const Step steps[] = {
        {"browsing in the list selects the folder in the combo",
         [&] { m_list.setPath(at(QStringLiteral("a"))); }, at(QStringLiteral("a")),
         at(QStringLiteral("a")), 1},
        {"a folder chosen in the combo is shown by the list, once",
         [&] { combo.SetPath(at(QStringLiteral("b"))); }, at(QStringLiteral("b")),
         at(QStringLiteral("b")), 2},
        {"the combo choosing the shown folder again changes nothing",
         [&] { combo.SetPath(at(QStringLiteral("b"))); }, at(QStringLiteral("b")),
         at(QStringLiteral("b")), 2},
        {"a tree's message is not the list's",
         [&] {
             const platform::idlist::Unique list = idListOf(at(QStringLiteral("a")));
             EXPECT_EQ(m_list.companionMessage(vexlo::kTreeFolderMessage, list.get()), 0);
         },
         at(QStringLiteral("b")), at(QStringLiteral("b")), 2},
        {"the list-folder message shows the folder without telling the combo back",
         [&] {
             const platform::idlist::Unique list = idListOf(at(QStringLiteral("a")));
             m_list.companionMessage(vexlo::kListFolderMessage, list.get());
         },
         at(QStringLiteral("a")), at(QStringLiteral("b")), 3},
        {"the Computer has no folder to list: the list stays", [&] { combo.SetSpecialFolder(17); },
         at(QStringLiteral("a")), QString(), 3},
        {"a missing folder is shown as such, the combo keeps its entry",
         [&] { m_list.setPath(at(QStringLiteral("gone"))); }, at(QStringLiteral("gone")), QString(),
         4},
        {"after the association ends the combo hears nothing",
         [&] {
             combo.Quennel(nullptr);
             m_list.setPath(at(QStringLiteral("b")));
         },
         at(QStringLiteral("b")), QString(), 5},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(m_list.Path(), step.listPath);
        EXPECT_EQ(comboPath(), step.comboPath);
        EXPECT_EQ(changed.count(), step.listChanges);
    }
    EXPECT_EQ(m_list.associatedControl(), nullptr);
}

TEST_F(DrawerFileList, AnnouncesOwnChangesToTheComboButNotTheCombosOwn)
{
    makeFolder(at(QStringLiteral("a")));
    makeFolder(at(QStringLiteral("b")));
    QSignalSpy navigated(&m_list, &FileList::folderNavigated);
    QSignalSpy changed(&m_list, &FileList::FolderChanged);

    m_list.setPath(at(QStringLiteral("a")));
    ASSERT_EQ(navigated.count(), 1);
    EXPECT_EQ(navigated.at(0).at(0).toString(), at(QStringLiteral("a")));

    m_list.showFolderFromCombo(at(QStringLiteral("b")));
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("b")));
    EXPECT_EQ(changed.count(), 2) << "a combo choice is a change like any other";
    EXPECT_EQ(navigated.count(), 1) << "but is not sent back to the combo";

    m_list.showFolderFromCombo(at(QStringLiteral("b")));
    EXPECT_EQ(changed.count(), 2) << "the combo naming the shown folder changes nothing";

    m_list.UpOneLevel();
    ASSERT_EQ(navigated.count(), 2);
    EXPECT_EQ(navigated.at(1).at(0).toString(), m_root.path());
}

TEST_F(DrawerFileList, FiltersFilesButAlwaysListsFolders)
{
    makeFile(at(QStringLiteral("a.txt")));
    makeFile(at(QStringLiteral("b.doc")));
    makeFile(at(QStringLiteral("README")));
    makeFolder(at(QStringLiteral("docs")));
    makeFolder(at(QStringLiteral("pics.jpg.d")));
    ASSERT_TRUE(showAndWait(m_root.path(), 5));

    struct Row
    {
        const char *name;
        const char *pattern;
        QStringList listed;
    };
    const Row rows[] = {
        {"extension", "*.txt", {"docs", "pics.jpg.d", "a.txt"}},
        {"filter_text", "*READ*.*", {"docs", "pics.jpg.d", "README"}},
        {"nothing_matches", "*.zip", {"docs", "pics.jpg.d"}},
        {"star_shows_all", "*", {"docs", "pics.jpg.d", "a.txt", "b.doc", "README"}},
        {"starDotStar_shows_all", "*.*", {"docs", "pics.jpg.d", "a.txt", "b.doc", "README"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_list.setPattern(QString::fromUtf8(row.pattern));
        EXPECT_EQ(m_list.Pattern(), QString::fromUtf8(row.pattern));
        QStringList listed = m_list.entryNames();
        QStringList expected = row.listed;
        listed.sort();
        expected.sort();
        EXPECT_EQ(listed, expected);
    }
}

TEST_F(DrawerFileList, PatternAppliesToFoldersShownLater)
{
    makeFile(at(QStringLiteral("sub/keep.txt")));
    makeFile(at(QStringLiteral("sub/drop.doc")));
    m_list.setPattern(QStringLiteral("*.txt"));
    ASSERT_TRUE(showAndWait(at(QStringLiteral("sub")), 1));
    EXPECT_EQ(m_list.entryNames(), QStringList{QStringLiteral("keep.txt")});
}

TEST_F(DrawerFileList, GoesUpOneLevelButNotAboveTheRoot)
{
    makeFolder(at(QStringLiteral("sub/inner")));
    m_list.setPath(at(QStringLiteral("sub/inner")));
    m_list.UpOneLevel();
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("sub")));

    m_list.setPath(QStringLiteral("/"));
    QSignalSpy changed(&m_list, &FileList::FolderChanged);
    m_list.UpOneLevel();
    EXPECT_EQ(m_list.Path(), QStringLiteral("/"));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(DrawerFileList, NamesTheShownFolder)
{
    makeFolder(at(QStringLiteral("My Folder")));
    struct Row
    {
        const char *name;
        QString path;
        QString folderName;
    };
    const Row rows[] = {
        {"root", QStringLiteral("/"), QStringLiteral("File System")},
        {"with_blank", at(QStringLiteral("My Folder")), QStringLiteral("My Folder")},
        {"missing_folder", at(QStringLiteral("Gone")), QStringLiteral("Gone")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_list.setPath(row.path);
        EXPECT_EQ(m_list.FolderName(), row.folderName);
    }
}

TEST_F(DrawerFileList, EnterOpensAFolderInPlaceAndBackspaceGoesUp)
{
    makeFile(at(QStringLiteral("sub/inside.txt")));
    ASSERT_TRUE(showAndWait(m_root.path(), 1));
    QAbstractItemView *view = m_list.currentView();
    view->setCurrentIndex(m_list.indexOfName(QStringLiteral("sub")));

    QSignalSpy changed(&m_list, &FileList::FolderChanged);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("sub")));
    EXPECT_EQ(changed.count(), 1);
    ASSERT_TRUE(waitFor([&] { return m_list.entryNames() == QStringList{"inside.txt"}; }));

    QTest::keyClick(m_list.currentView(), Qt::Key_Backspace);
    EXPECT_EQ(m_list.Path(), m_root.path());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(m_shell.opened.isEmpty()) << "folders never go to the desktop";
}

TEST_F(DrawerFileList, DoubleClickOpensAFolderInPlace)
{
    makeFolder(at(QStringLiteral("sub")));
    ASSERT_TRUE(showOnScreen());
    for (const int view : {FileList::LargeIcons, FileList::Details}) {
        SCOPED_TRACE(view);
        m_list.setView(view);
        ASSERT_TRUE(showAndWait(m_root.path(), 1));
        const QModelIndex folder = m_list.indexOfName(QStringLiteral("sub"));
        const QPoint centre = m_list.currentView()->visualRect(folder).center();
        // What a real double-click delivers: a click, then the second press as a double-click.
        QTest::mouseClick(m_list.currentView()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(m_list.currentView()->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(m_list.Path(), at(QStringLiteral("sub")));
    }
}

TEST_F(DrawerFileList, OpensFilesWithTheDesktopAndRunsScriptsWhenTheUserSaysSo)
{
    makeFile(at(QStringLiteral("letter.txt")), 10);
    const QString program = at(QStringLiteral("tool.sh"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 0\n");
    }
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    ASSERT_TRUE(showAndWait(m_root.path(), 2));

    QSignalSpy changed(&m_list, &FileList::FolderChanged);
    QAbstractItemView *view = m_list.currentView();
    view->setCurrentIndex(m_list.indexOfName(QStringLiteral("letter.txt")));
    QTest::keyClick(view, Qt::Key_Return);
    m_questions.scriptAnswer = OpenQuestions::ScriptAnswer::Run;
    view->setCurrentIndex(m_list.indexOfName(QStringLiteral("tool.sh")));
    QTest::keyClick(view, Qt::Key_Enter);

    EXPECT_EQ(m_shell.opened, QList<QUrl>{QUrl::fromLocalFile(at(QStringLiteral("letter.txt")))});
    EXPECT_EQ(m_questions.asked, QStringList{QStringLiteral("script tool.sh")});
    EXPECT_EQ(m_shell.started, QStringList{program});
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(m_list.Path(), m_root.path());
}

TEST_F(DrawerFileList, SaysWhyAFolderCannotBeShown)
{
    makeFolder(at(QStringLiteral("good")));
    makeFile(at(QStringLiteral("good/file.txt")));
    makeFolder(at(QStringLiteral("media")));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("nowhere")), at(QStringLiteral("dead"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("loop2")), at(QStringLiteral("loop1"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("loop1")), at(QStringLiteral("loop2"))));
    m_list.setFolderProbe(FolderProbe(QStringList{at(QStringLiteral("media"))}));

    struct Row
    {
        const char *name;
        QString path;
        const char *messageStart;
    };
    const Row rows[] = {
        {"missing", at(QStringLiteral("missing")), "This folder does not exist: "},
        {"dead_link", at(QStringLiteral("dead")),
         "This folder is a link to something that does not exist: "},
        {"link_loop", at(QStringLiteral("loop1")),
         "This folder is a link that leads back to itself: "},
        {"removed_drive", at(QStringLiteral("media/usb-stick/photos")),
         "The drive holding this folder is not connected: "},
        {"a_file", at(QStringLiteral("good/file.txt")), "This is not a folder: "},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QStringList pathsSeen;
        const QMetaObject::Connection seen =
            QObject::connect(&m_list, &FileList::FolderChanged, &m_list,
                             [&](const QString &) { pathsSeen.append(m_list.Path()); });
        m_list.setPath(row.path);
        QObject::disconnect(seen);

        EXPECT_EQ(pathsSeen, QStringList{row.path}) << "the event follows the usual rules";
        EXPECT_TRUE(m_list.showsMessage());
        EXPECT_TRUE(m_list.message().startsWith(QString::fromUtf8(row.messageStart)))
            << m_list.message().toStdString();
        EXPECT_TRUE(m_list.entryNames().isEmpty());

        // The list recovers on the next good folder.
        ASSERT_TRUE(showAndWait(at(QStringLiteral("good")), 1));
        EXPECT_FALSE(m_list.showsMessage());
        EXPECT_TRUE(m_list.message().isEmpty());
    }
}

TEST_F(DrawerFileList, SaysSoWhenItMayNotListAFolder)
{
    const QString locked = at(QStringLiteral("locked"));
    makeFolder(locked);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const bool readable = ::access(QFile::encodeName(locked).constData(), R_OK) == 0;
    if (!readable)
        m_list.setPath(locked);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (readable)
        GTEST_SKIP() << "this user reads every folder (running as root)";
    EXPECT_TRUE(m_list.showsMessage());
    EXPECT_EQ(m_list.message(), QStringLiteral("You do not have permission to open ") + locked);
    EXPECT_EQ(m_list.Path(), locked);
}

TEST_F(DrawerFileList, BadInputKeepsNavigationWorking)
{
    makeFolder(at(QStringLiteral("parent")));
    m_list.setPath(at(QStringLiteral("parent/missing/deeper")));
    ASSERT_TRUE(m_list.showsMessage());
    QTest::keyClick(&m_list, Qt::Key_Backspace);
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("parent/missing")));
    EXPECT_TRUE(m_list.showsMessage());
    QTest::keyClick(&m_list, Qt::Key_Backspace);
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("parent")));
    EXPECT_FALSE(m_list.showsMessage());
}

TEST_F(DrawerFileList, ListsNamesThatAreNotValidTextOrHoldNewlines)
{
    ASSERT_TRUE(test::makeFileWithRawName(m_root.path(), QByteArray("bad\xff\xfe.txt")));
    ASSERT_TRUE(test::makeFileWithRawName(m_root.path(), QByteArray("two\nlines.txt")));
    makeFile(at(QStringLiteral("plain.txt")));
    ASSERT_TRUE(showAndWait(m_root.path(), 3)) << m_list.entryNames().join(u'|').toStdString();

    const QStringList names = m_list.entryNames();
    EXPECT_TRUE(names.contains(QStringLiteral("two\nlines.txt")));
    EXPECT_EQ(names.filter(QStringLiteral("bad")).size(), 1);
    EXPECT_FALSE(m_list.showsMessage());

    // Every view draws them.
    ASSERT_TRUE(showOnScreen());
    for (int view = 0; view < FileList::kViewCount; ++view) {
        m_list.setView(view);
        EXPECT_FALSE(m_list.grab().isNull()) << "view " << view;
    }
}

TEST_F(DrawerFileList, OpensEntriesWhoseNamesAreNotTextByTheirBytes)
{
    ASSERT_TRUE(test::makeFileWithRawName(m_root.path(), QByteArray("photo\xe9.jpg")));
    const QByteArray rawFolder = QFile::encodeName(m_root.path()) + "/caf\xe9";
    ASSERT_EQ(::mkdir(rawFolder.constData(), 0755), 0);
    ASSERT_TRUE(test::makeFileWithRawName(QFile::decodeName(rawFolder).section(u'/', 0, -2),
                                          QByteArray("caf\xe9/inside.txt")));
    ASSERT_TRUE(showAndWait(m_root.path(), 2));
    const QStringList names = m_list.entryNames();
    ASSERT_EQ(names.filter(QStringLiteral("photo")).size(), 1);
    ASSERT_EQ(names.filter(QStringLiteral("caf")).size(), 1);

    QAbstractItemView *view = m_list.currentView();
    view->setCurrentIndex(m_list.indexOfName(names.filter(QStringLiteral("photo")).first()));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(m_shell.opened.size(), 1);
    EXPECT_TRUE(m_shell.opened.first().toEncoded().endsWith("/photo%E9.jpg"))
        << m_shell.opened.first().toEncoded().toStdString();
    EXPECT_TRUE(m_shell.started.isEmpty());

    // Into the folder whose name is not text, and out again.
    view->setCurrentIndex(m_list.indexOfName(names.filter(QStringLiteral("caf")).first()));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(m_list.showsMessage()) << m_list.message().toStdString();
    EXPECT_EQ(m_list.FolderName(), QStringLiteral("caf\uFFFD"));
    EXPECT_TRUE(waitFor([&] { return m_list.entryNames() == QStringList{"inside.txt"}; }));
    QTest::keyClick(m_list.currentView(), Qt::Key_Backspace);
    EXPECT_EQ(m_list.Path(), m_root.path());
}

TEST_F(DrawerFileList, FollowsChangesOnDisk)
{
    makeFolder(at(QStringLiteral("shown")));
    makeFile(at(QStringLiteral("shown/first.txt")));
    ASSERT_TRUE(showAndWait(at(QStringLiteral("shown")), 1));

    makeFile(at(QStringLiteral("shown/second.txt")));
    EXPECT_TRUE(waitFor([&] { return m_list.entryNames().size() == 2; }));

    ASSERT_TRUE(QDir(at(QStringLiteral("shown"))).removeRecursively());
    EXPECT_TRUE(waitFor([&] { return m_list.showsMessage(); }));
    EXPECT_TRUE(m_list.message().startsWith(QStringLiteral("This folder does not exist: ")))
        << m_list.message().toStdString();
    EXPECT_EQ(m_list.Path(), at(QStringLiteral("shown")));
}

TEST_F(DrawerFileList, SortsTheDetailsByTheChosenColumn)
{
    makeFile(at(QStringLiteral("a.txt")), 300);
    makeFile(at(QStringLiteral("b.txt")), 100);
    makeFile(at(QStringLiteral("c.txt")), 200);
    m_list.setView(FileList::Details);
    ASSERT_TRUE(showAndWait(m_root.path(), 3));
    auto *details = qobject_cast<QTreeView *>(m_list.currentView());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->model()->columnCount(details->rootIndex()), 4);

    struct Row
    {
        const char *name;
        int column;
        Qt::SortOrder order;
        QStringList expected;
    };
    const Row rows[] = {
        {"name_descending", 0, Qt::DescendingOrder, {"c.txt", "b.txt", "a.txt"}},
        {"size_ascending", 1, Qt::AscendingOrder, {"b.txt", "c.txt", "a.txt"}},
        {"name_ascending", 0, Qt::AscendingOrder, {"a.txt", "b.txt", "c.txt"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        details->sortByColumn(row.column, row.order);
        EXPECT_TRUE(waitFor([&] { return m_list.entryNames() == row.expected; }))
            << m_list.entryNames().join(u',').toStdString();
    }
}

TEST_F(DrawerFileList, DragsItemsOutAsFileUrls)
{
    makeFile(at(QStringLiteral("take me.txt")));
    ASSERT_TRUE(showAndWait(m_root.path(), 1));
    const QModelIndex index = m_list.indexOfName(QStringLiteral("take me.txt"));
    QAbstractItemModel *model = m_list.currentView()->model();
    EXPECT_TRUE(model->flags(index) & Qt::ItemIsDragEnabled);
    const std::unique_ptr<QMimeData> mime(model->mimeData({index}));
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->urls(), QList<QUrl>{QUrl::fromLocalFile(at(QStringLiteral("take me.txt")))});
    EXPECT_EQ(m_list.currentView()->dragDropMode(), QAbstractItemView::DragOnly);
}

TEST_F(DrawerFileList, ContextMenuCopiesPathsAndMovesToTheTrash)
{
    QStringList texts;
    for (const QAction *action : m_list.contextActions())
        texts.append(action->text());
    EXPECT_EQ(texts,
              (QStringList{"Open", "Open with the default application", "Copy path", "Rename",
                           "Move to Trash"}));

    // The Trash of a user whose data folder is on the same disk as the test's folders.
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(at(QStringLiteral("data"))));
    makeFolder(at(QStringLiteral("data")));
    makeFolder(at(QStringLiteral("work")));
    makeFile(at(QStringLiteral("work/old.txt")));
    ASSERT_TRUE(showAndWait(at(QStringLiteral("work")), 1));
    m_list.currentView()->setCurrentIndex(m_list.indexOfName(QStringLiteral("old.txt")));

    m_list.contextActions().at(2)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), at(QStringLiteral("work/old.txt")));

    m_list.contextActions().at(4)->trigger();
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("work/old.txt"))));
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("data/Trash/files/old.txt"))));
    EXPECT_TRUE(waitFor([&] { return m_list.entryNames().isEmpty(); }));
    if (savedDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST_F(DrawerFileList, LoadsThumbnailsInTheBackground)
{
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(at(QStringLiteral("wide.png"))));
    makeFile(at(QStringLiteral("notes.txt")));
    m_list.setView(FileList::Thumbnails);
    ASSERT_TRUE(showOnScreen());
    QSignalSpy ready(m_list.thumbnails(), &ThumbnailLoader::thumbnailReady);
    ASSERT_TRUE(showAndWait(m_root.path(), 2));
    m_list.currentView()->viewport()->repaint();

    ASSERT_TRUE(ready.wait(5000) || ready.count() > 0);
    EXPECT_EQ(ready.at(0).at(0).toString(), at(QStringLiteral("wide.png")));
    const QIcon thumbnail = m_list.thumbnails()->thumbnail(at(QStringLiteral("wide.png")));
    ASSERT_FALSE(thumbnail.isNull());
    const QSize size = thumbnail.availableSizes().value(0);
    EXPECT_EQ(size, QSize(96, 48)) << "scaled while decoding, shape kept";

    // A change of folder drops what was loaded for the old one.
    makeFolder(at(QStringLiteral("other")));
    m_list.setPath(at(QStringLiteral("other")));
    EXPECT_EQ(m_list.thumbnails()->pendingCount(), 0);
}

} // namespace
} // namespace pindrel
