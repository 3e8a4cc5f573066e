// The file list's folder model on real folders: reading, order, changes on disk, renaming, odd
// names, checked throughout by Qt's model checker.

#include "drawer/foldermodel.h"
#include "drawer/folderreader.h"
#include "drawer_testsupport.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace pindrel {
namespace {

QStringList g_complaints;

void collectComplaints(QtMsgType pType, const QMessageLogContext &, const QString &pMessage)
{
    if (pType != QtDebugMsg && pMessage.contains(QStringLiteral("FAIL")))
        g_complaints.append(pMessage);
}

QStringList namesOf(const QAbstractItemModel &pModel)
{
    QStringList names;
    for (int row = 0; row < pModel.rowCount(); ++row)
        names.append(pModel.index(row, 0).data(FolderModel::FileNameRole).toString());
    return names;
}

class DrawerFolderModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_complaints.clear();
        m_previousHandler = qInstallMessageHandler(collectComplaints);
        m_tester = std::make_unique<QAbstractItemModelTester>(
            &m_model, QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    void TearDown() override
    {
        m_tester.reset();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_complaints.isEmpty()) << g_complaints.join(u'\n').toStdString();
        test::removeAll(m_root.path());
    }

    QString at(const QString &pName) const { return m_root.filePath(pName); }
    bool load(const QString &pFolder)
    {
        QSignalSpy loaded(&m_model, &FolderModel::folderLoaded);
        m_model.setFolder(pFolder);
        return loaded.count() > 0 || loaded.wait(10000);
    }

    QTemporaryDir m_root;
    FolderModel m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(DrawerFolderModel, ListsFoldersFirstThenNamesAsPeopleReadThem)
{
    for (const char *name : {"file10.txt", "File2.txt", "file1.txt", ".hidden", "b.doc"})
        test::makeFile(at(QString::fromLatin1(name)));
    test::makeFolder(at(QStringLiteral("zeta")));
    test::makeFolder(at(QStringLiteral("Alpha")));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("zeta")), at(QStringLiteral("link to zeta"))));
    ASSERT_TRUE(test::makeLink(at(QStringLiteral("nowhere")), at(QStringLiteral("dead link"))));
    ASSERT_TRUE(load(m_root.path()));

    EXPECT_EQ(namesOf(m_model),
              (QStringList{"Alpha", "link to zeta", "zeta", "b.doc", "dead link", "file1.txt",
                           "File2.txt", "file10.txt"}));
    EXPECT_TRUE(m_model.index(1, 0).data(FolderModel::IsFolderRole).toBool());
    EXPECT_FALSE(m_model.index(4, 0).data(FolderModel::IsFolderRole).toBool());
    EXPECT_EQ(m_model.index(0, 0).data(FolderModel::FilePathRole).toString(),
              at(QStringLiteral("Alpha")));
    EXPECT_EQ(m_model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Date Modified"));
    EXPECT_FALSE(m_model.isLoading());
}

TEST_F(DrawerFolderModel, ReadsALargeFolderInChunksAndOrdersItAtTheEnd)
{
    // More entries than one chunk holds, so that rows arrive before the reading ends.
    const int count = 6000;
    for (int i = count; i > 0; --i)
        test::makeFile(at(QStringLiteral("n%1.txt").arg(i)));
    QSignalSpy inserted(&m_model, &QAbstractItemModel::rowsInserted);
    ASSERT_TRUE(load(m_root.path()));
    ASSERT_EQ(m_model.rowCount(), count);
    EXPECT_GE(inserted.count(), 2) << "delivered in more than one piece";
    EXPECT_TRUE(test::waitFor([&] {
        return m_model.index(0, 0).data(FolderModel::FileNameRole).toString()
            == QStringLiteral("n1.txt");
    }));
    const QStringList names = namesOf(m_model);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(names.at(i), QStringLiteral("n%1.txt").arg(i + 1)) << "row " << i;
}

TEST_F(DrawerFolderModel, SortsByEachColumnInBothDirections)
{
    test::makeFile(at(QStringLiteral("big.txt")), 300);
    test::makeFile(at(QStringLiteral("small.png")), 10);
    test::makeFile(at(QStringLiteral("middle.pdf")), 200);
    test::makeFolder(at(QStringLiteral("folder")));
    ASSERT_TRUE(load(m_root.path()));

    struct Row
    {
        const char *name;
        int column;
        Qt::SortOrder order;
        QStringList expected;
    };
    const Row rows[] = {
        {"size_ascending",
         FolderReader::SizeColumn,
         Qt::AscendingOrder,
         {"folder", "small.png", "middle.pdf", "big.txt"}},
        {"size_descending",
         FolderReader::SizeColumn,
         Qt::DescendingOrder,
         {"folder", "big.txt", "middle.pdf", "small.png"}},
        {"name_descending",
         FolderReader::NameColumn,
         Qt::DescendingOrder,
         {"folder", "small.png", "middle.pdf", "big.txt"}},
        {"name_ascending",
         FolderReader::NameColumn,
         Qt::AscendingOrder,
         {"folder", "big.txt", "middle.pdf", "small.png"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_model.sort(row.column, row.order);
        EXPECT_TRUE(test::waitFor([&] { return namesOf(m_model) == row.expected; }))
            << namesOf(m_model).join(u',').toStdString();
    }
}

TEST_F(DrawerFolderModel, FollowsFilesComingGoingAndChanging)
{
    test::makeFile(at(QStringLiteral("b.txt")));
    test::makeFile(at(QStringLiteral("d.txt")));
    ASSERT_TRUE(load(m_root.path()));
    const QPersistentModelIndex held = m_model.index(1, 0);

    test::makeFile(at(QStringLiteral("c.txt")));
    test::makeFile(at(QStringLiteral("a.txt")));
    ASSERT_TRUE(QFile::remove(at(QStringLiteral("b.txt"))));
    EXPECT_TRUE(test::waitFor([&] {
        return namesOf(m_model) == QStringList{"a.txt", "c.txt", "d.txt"};
    })) << namesOf(m_model).join(u',').toStdString();
    EXPECT_EQ(held.data(FolderModel::FileNameRole).toString(), QStringLiteral("d.txt"));

    // Replaced the way editors save: a new file renamed over the old one.
    test::makeFile(at(QStringLiteral("c.txt.new")), 4096);
    ASSERT_EQ(::rename(QFile::encodeName(at(QStringLiteral("c.txt.new"))).constData(),
                       QFile::encodeName(at(QStringLiteral("c.txt"))).constData()),
              0);
    EXPECT_TRUE(test::waitFor([&] {
        return m_model.index(1, FolderReader::SizeColumn).data().toString()
            == QLocale().formattedDataSize(4096);
    }));
}

TEST_F(DrawerFolderModel, ReportsAFolderThatGoesAway)
{
    const QString folder = at(QStringLiteral("shown"));
    test::makeFile(folder + QStringLiteral("/x.txt"));
    ASSERT_TRUE(load(folder));
    QSignalSpy lost(&m_model, &FolderModel::folderUnreadable);
    ASSERT_TRUE(test::removeAll(folder));
    ASSERT_TRUE(lost.wait(5000));
    EXPECT_EQ(lost.at(0).at(0).toString(), folder);
}

TEST_F(DrawerFolderModel, RenamesOnDiskAndKeepsTheOrder)
{
    for (const char *name : {"a.txt", "m.txt", "z.txt"})
        test::makeFile(at(QString::fromLatin1(name)));
    ASSERT_TRUE(load(m_root.path()));
    QSignalSpy failures(&m_model, &FolderModel::renameFailed);

    EXPECT_TRUE(m_model.setData(m_model.index(0, 0), QStringLiteral("y.txt")));
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("y.txt"))));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("a.txt"))));
    EXPECT_EQ(namesOf(m_model), (QStringList{"m.txt", "y.txt", "z.txt"}));

    struct Row
    {
        const char *name;
        QString newName;
    };
    const Row refused[] = {
        {"existing_name", QStringLiteral("z.txt")},
        {"separator", QStringLiteral("a/b")},
        {"empty", QString()},
        {"dot_dot", QStringLiteral("..")},
    };
    for (const Row &row : refused) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(m_model.setData(m_model.index(0, 0), row.newName));
        EXPECT_TRUE(QFile::exists(at(QStringLiteral("m.txt"))));
    }
    EXPECT_EQ(failures.count(), static_cast<qsizetype>(std::size(refused)));
    EXPECT_EQ(namesOf(m_model), (QStringList{"m.txt", "y.txt", "z.txt"}));
}

TEST_F(DrawerFolderModel, ListsNamesThatAreNotTextByTheirBytes)
{
    ASSERT_TRUE(test::makeFileWithRawName(m_root.path(), QByteArray("caf\xe9.txt")));
    ASSERT_TRUE(test::makeFileWithRawName(m_root.path(), QByteArray("two\nlines")));
    ASSERT_TRUE(load(m_root.path()));
    ASSERT_EQ(m_model.rowCount(), 2);

    const QModelIndex raw = m_model.index(0, 0);
    EXPECT_TRUE(raw.data(FolderModel::IsRawNameRole).toBool());
    EXPECT_EQ(raw.data(Qt::DisplayRole).toString(), QStringLiteral("caf\uFFFD.txt"));
    EXPECT_FALSE(m_model.flags(raw) & Qt::ItemIsEditable);
    EXPECT_TRUE(raw.data(FolderModel::UrlRole).toUrl().toEncoded().endsWith("/caf%E9.txt"));
    const std::unique_ptr<QMimeData> mime(m_model.mimeData({raw}));
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->urls(), QList<QUrl>{raw.data(FolderModel::UrlRole).toUrl()});

    EXPECT_EQ(m_model.index(1, 0).data().toString(), QStringLiteral("two\nlines"));
    EXPECT_TRUE(m_model.flags(m_model.index(1, 0)) & Qt::ItemIsEditable);
}

TEST_F(DrawerFolderModel, DropsAnOldFolderWhenANewOneIsShown)
{
    test::makeFile(at(QStringLiteral("one/a.txt")));
    test::makeFile(at(QStringLiteral("two/b.txt")));
    m_model.setFolder(at(QStringLiteral("one")));
    ASSERT_TRUE(load(at(QStringLiteral("two"))));
    EXPECT_EQ(namesOf(m_model), QStringList{"b.txt"});
    m_model.setFolder({});
    EXPECT_EQ(m_model.rowCount(), 0);
}

} // namespace
} // namespace pindrel
