// Population of the list window, removal of its entries and the drop-down.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"

#include "platform/taskallocator.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStringList>
#include <QtCore/QTemporaryDir>
#include <QtGui/QColor>
#include <QtGui/QIcon>
#include <QtGui/QImage>

namespace pf = pindrel::platform;
using vexlo::CNamespaceComboBox;
using vexlo::ComboOptions;

namespace {

// "text indent" for every entry, in order.
QStringList entries(const CNamespaceComboBox &pCombo)
{
    QStringList shown;
    for (int index = 0; index < pCombo.count(); ++index)
        shown.append(
            QStringLiteral("%1 %2").arg(pCombo.entryText(index)).arg(pCombo.entryIndent(index)));
    return shown;
}

struct PopulationCase
{
    const char *name;
    ComboOptions options;
    QStringList expected;
};

ComboOptions withIndent(int pIndent)
{
    ComboOptions options;
    options.indent = pIndent;
    return options;
}

ComboOptions drivesOnly()
{
    ComboOptions options;
    options.showDrivesOnly = true;
    return options;
}

ComboOptions withoutVirtualFolders()
{
    ComboOptions options;
    options.showVirtualFolders = false;
    return options;
}

QStringList split(const char *pText)
{
    return QString::fromUtf8(pText).split(u'|');
}

} // namespace

TEST(NamespaceComboBoxPopulation, EntriesAndIndentation)
{
    const PopulationCase cases[] = {
        {"default step", ComboOptions(),
         split("Desktop 0|Computer 1|File System 2|c 2|d 2|Home 1|Documents 1|Trash 1|.hidden 1|"
               "Alpha 1|Beta 1")},
        {"step of 3", withIndent(3),
         split("Desktop 0|Computer 3|File System 6|c 6|d 6|Home 3|Documents 3|Trash 3|.hidden 3|"
               "Alpha 3|Beta 3")},
        {"drives only", drivesOnly(), split("File System 0|c 0|d 0")},
        // The trash has no file-system path and is not a file-system ancestor; the computer is.
        {"no virtual folders", withoutVirtualFolders(),
         split("Desktop 0|Computer 1|File System 2|c 2|d 2|Home 1|Documents 1|.hidden 1|Alpha 1|"
               "Beta 1")},
    };
    ComboSandbox sandbox;
    ASSERT_TRUE(sandbox.isValid());
    const auto shell = sandbox.makeShell();
    for (const PopulationCase &row : cases) {
        SCOPED_TRACE(row.name);
        CNamespaceComboBox combo(shell, false);
        combo.setOptions(row.options);
        EventRecorder events;
        events.listen(&combo);
        combo.populate();

        EXPECT_EQ(entries(combo), row.expected);
        EXPECT_EQ(combo.currentIndex(), 0);
        EXPECT_EQ(combo.logicalSelection(), 0);
        EXPECT_TRUE(combo.pathItems().empty());
        // One OnAfterItemAdd per entry, in list order here as every entry goes at the end or
        // right after the one before; no selection event.
        ASSERT_EQ(events.events().size(), row.expected.size());
        for (int index = 0; index < combo.count(); ++index)
            EXPECT_EQ(events.events()[index],
                      EventRecorder::add(index, combo.entryText(index), combo.entryIndent(index)));
    }
}

TEST(NamespaceComboBoxPopulation, DesktopEntryHoldsNoListAndDrivesHoldTheirOwn)
{
    ComboSandbox sandbox;
    const auto shell = sandbox.makeShell();
    CNamespaceComboBox combo(shell, false);
    combo.populate();

    EXPECT_TRUE(combo.entryIsDesktop(0));
    EXPECT_EQ(combo.entryIdList(0), nullptr);
    EXPECT_EQ(combo.entryPath(0), sandbox.path(QStringLiteral("mnt/c/home/Desktop")));
    const auto drive = parsePath(*shell, sandbox.path(QStringLiteral("mnt/d")));
    ASSERT_TRUE(drive);
    ASSERT_NE(combo.entryIdList(4), nullptr);
    EXPECT_TRUE(pf::idlist::equal(combo.entryIdList(4), drive.get()));
    // The entry keeps a copy, not the namespace's list.
    EXPECT_NE(combo.entryIdList(4), drive.get());
}

TEST(NamespaceComboBoxPopulation, ManyDrivesAndDesktopFoldersKeepTheNamespaceOrder)
{
    ComboSandbox sandbox;
    for (int number : {10, 2, 1})
        sandbox.addDrive(QStringLiteral("mnt/x%1").arg(number));
    for (int number : {12, 3})
        sandbox.makeDir(QStringLiteral("mnt/c/home/Desktop/f%1").arg(number));
    const auto shell = sandbox.makeShell();
    CNamespaceComboBox combo(shell, false);
    combo.populate();
    EXPECT_EQ(entries(combo),
              split("Desktop 0|Computer 1|File System 2|c 2|d 2|x1 2|x2 2|x10 2|Home 1|"
                    "Documents 1|Trash 1|.hidden 1|Alpha 1|Beta 1|f3 1|f12 1"));
}

TEST(NamespaceComboBoxPopulation, RemovingAllEntriesGoesLastFirstAndFreesEveryList)
{
    ComboSandbox sandbox;
    const auto shell = sandbox.makeShell();
    const size_t before = pf::TaskAllocator::instance().outstanding();
    {
        CNamespaceComboBox combo(shell, false);
        combo.populate();
        ASSERT_TRUE(combo.SetPath(sandbox.path(QStringLiteral("mnt/c/Windows/System32"))));
        const int count = combo.count();
        QStringList expected;
        for (int index = count - 1; index >= 0; --index)
            expected.append(EventRecorder::remove(index, combo.entryText(index)));
        EventRecorder events;
        events.listen(&combo);
        combo.removeAllEntries();
        EXPECT_EQ(events.events(), expected);
        EXPECT_EQ(combo.count(), 0);
        EXPECT_TRUE(combo.pathItems().empty());
    }
    EXPECT_EQ(pf::TaskAllocator::instance().outstanding(), before);
}

TEST(NamespaceComboBoxPopulation, DestroyingThePopulatedWindowFreesEveryList)
{
    ComboSandbox sandbox;
    const auto shell = sandbox.makeShell();
    const size_t before = pf::TaskAllocator::instance().outstanding();
    {
        CNamespaceComboBox combo(shell, true);
        combo.populate();
        ASSERT_TRUE(combo.SetPath(sandbox.path(QStringLiteral("mnt/c/home/Documents/Letters"))));
        EXPECT_GT(pf::TaskAllocator::instance().outstanding(), before);
    }
    EXPECT_EQ(pf::TaskAllocator::instance().outstanding(), before);
}

TEST(NamespaceComboBoxDropDown, OpeningAndClosingFireTheirEvents)
{
    ComboSandbox sandbox;
    CNamespaceComboBox combo(sandbox.makeShell(), false);
    combo.populate();
    combo.resize(200, combo.sizeHint().height());
    combo.show();
    EventRecorder events;
    events.listen(&combo);

    combo.showPopup();
    combo.hidePopup();
    combo.hidePopup(); // closing a closed list says nothing
    EXPECT_EQ(events.events(), split("dropdown|closed"));
}

TEST(NamespaceComboBoxDropDown, FullPathGivesWayToTheDisplayNameWhileTheListIsOpen)
{
    ComboSandbox sandbox;
    CNamespaceComboBox combo(sandbox.makeShell(), false);
    ComboOptions options;
    options.showFullPath = true;
    combo.setOptions(options);
    combo.populate();
    combo.show();
    const QString folder = sandbox.path(QStringLiteral("mnt/d/Data"));
    ASSERT_TRUE(combo.SetPath(folder));
    const int selected = combo.currentIndex();
    EXPECT_EQ(combo.entryText(selected), folder);

    combo.showPopup();
    EXPECT_EQ(combo.entryText(selected), QStringLiteral("Data"));
    combo.hidePopup();
    EXPECT_EQ(combo.entryText(selected), folder);
}

TEST(NamespaceComboBoxDropDown, HeightCountsTheFieldAndShowsWholeRows)
{
    ComboSandbox sandbox;
    CNamespaceComboBox combo(sandbox.makeShell(), false);
    combo.populate();
    const int row = combo.rowHeight();
    const int field = combo.sizeHint().height();
    ASSERT_GT(row, 0);
    combo.setDropDownHeight(field + 5 * row + row / 2);
    EXPECT_EQ(combo.maxVisibleItems(), 5);
    combo.setDropDownHeight(field); // never fewer than one row
    EXPECT_EQ(combo.maxVisibleItems(), 1);
}

namespace {

// A small icon theme in a temporary folder, installed for the life of the object.
class ScopedIconTheme
{
public:
    explicit ScopedIconTheme(const QStringList &pIcons)
        : m_searchPaths(QIcon::themeSearchPaths())
        , m_name(QIcon::themeName())
    {
        const QString theme = m_dir.path() + QStringLiteral("/vexlotest");
        QDir().mkpath(theme + QStringLiteral("/16x16"));
        QFile index(theme + QStringLiteral("/index.theme"));
        if (index.open(QIODevice::WriteOnly))
            index.write("[Icon Theme]\nName=vexlotest\nDirectories=16x16\n\n[16x16]\nSize=16\n");
        int shade = 0;
        for (const QString &icon : pIcons) {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(QColor::fromHsv((shade += 40) % 360, 200, 200));
            image.save(theme + QStringLiteral("/16x16/") + icon + QStringLiteral(".png"));
        }
        QIcon::setThemeSearchPaths({m_dir.path()});
        QIcon::setThemeName(QStringLiteral("vexlotest"));
    }
    ~ScopedIconTheme()
    {
        QIcon::setThemeSearchPaths(m_searchPaths);
        QIcon::setThemeName(m_name);
    }
    ScopedIconTheme(const ScopedIconTheme &) = delete;
    ScopedIconTheme &operator=(const ScopedIconTheme &) = delete;

private:
    QTemporaryDir m_dir;
    QStringList m_searchPaths;
    QString m_name;
};

} // namespace

TEST(NamespaceComboBoxIcons, EntriesOfAKindShareAnImageAndFoldersOpen)
{
    const ScopedIconTheme theme({QStringLiteral("folder"), QStringLiteral("folder-open"),
                                 QStringLiteral("drive-harddisk"), QStringLiteral("computer"),
                                 QStringLiteral("user-desktop"), QStringLiteral("text-x-generic")});
    ComboSandbox sandbox;
    CNamespaceComboBox combo(sandbox.makeShell(), false);
    ComboOptions options;
    options.showFile = true;
    combo.setOptions(options);
    combo.populate();

    // Alpha (9) and Beta (10) are plain folders, c (3) and d (4) drives.
    EXPECT_EQ(combo.entryImage(9), combo.entryImage(10));
    EXPECT_EQ(combo.entrySelectedImage(9), combo.entrySelectedImage(10));
    EXPECT_NE(combo.entryImage(9), combo.entrySelectedImage(9));
    EXPECT_EQ(combo.entryImage(3), combo.entryImage(4));
    EXPECT_NE(combo.entryImage(3), combo.entryImage(9));
    EXPECT_NE(combo.entryImage(0), combo.entryImage(9));

    ASSERT_TRUE(combo.SetPath(sandbox.path(QStringLiteral("mnt/c/Windows/notes.txt"))));
    const int file = combo.currentIndex();
    EXPECT_EQ(combo.entrySelectedImage(file), combo.entryImage(file));
    EXPECT_NE(combo.entryImage(file), combo.entryImage(9));
    // The drawn decoration of the current entry is its selected image.
    EXPECT_FALSE(combo.itemIcon(file).isNull());
}
