// The item object: what it reads and writes, for shell, desktop, custom and missing entries.

#include "combosandbox.h"

#include "vexlo/comboboxitem.h"
#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloenums.h"

#include <gtest/gtest.h>

namespace pf = pindrel::platform;
using vexlo::CComboBoxItem;
using vexlo::CNamespaceComboBox;

namespace {

// Without options: 0 Desktop  1 Computer  2 File System  3 c  4 d  5 Home  6 Documents
// 7 Trash  8 .hidden  9 Alpha  10 Beta
class ComboBoxItemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.isValid());
        combo->populate();
    }
    CComboBoxItem item(int pIndex)
    {
        return CComboBoxItem(combo.get(), static_cast<int16_t>(pIndex));
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell = sandbox.makeShell();
    std::unique_ptr<CNamespaceComboBox> combo = std::make_unique<CNamespaceComboBox>(shell, false);
};

} // namespace

TEST_F(ComboBoxItemTest, DesktopEntry)
{
    const CComboBoxItem desktop = item(0);
    EXPECT_EQ(desktop.Pidl(), 0);
    EXPECT_FALSE(desktop.IsCustom());
    EXPECT_EQ(desktop.Path(), sandbox.path(QStringLiteral("mnt/c/home/Desktop")));
    EXPECT_EQ(desktop.DisplayName(), QStringLiteral("Desktop"));
    EXPECT_EQ(desktop.Text(), QStringLiteral("Desktop"));
    EXPECT_EQ(desktop.Attributes(vexlo::Folder | vexlo::Link), vexlo::Folder);
    EXPECT_TRUE(desktop.Selected());
    EXPECT_EQ(desktop.ItemIndex(), 0);
}

TEST_F(ComboBoxItemTest, ShellEntry)
{
    const CComboBoxItem drive = item(4);
    EXPECT_EQ(drive.Text(), QStringLiteral("d"));
    EXPECT_EQ(drive.DisplayName(), QStringLiteral("d"));
    EXPECT_EQ(drive.Path(), sandbox.path(QStringLiteral("mnt/d")));
    EXPECT_EQ(drive.ItemIndent(), 2);
    EXPECT_FALSE(drive.Selected());
    EXPECT_FALSE(drive.IsCustom());
    // The address is the entry's own list.
    ASSERT_NE(drive.Pidl(), 0);
    const auto *list = reinterpret_cast<const pf::ItemIdList *>(drive.Pidl());
    EXPECT_EQ(list, combo->entryIdList(4));
    EXPECT_EQ(shell->pathFromIdList(list), drive.Path());
    EXPECT_EQ(drive.Attributes(vexlo::Folder | vexlo::FileSys | vexlo::Link),
              vexlo::Folder | vexlo::FileSys);
    // The trash is neither in the file system nor its ancestor.
    EXPECT_EQ(item(7).Attributes(vexlo::FileSys | vexlo::FilesysAncestor), 0u);
}

TEST_F(ComboBoxItemTest, CustomEntry)
{
    const int index = combo->insertCustomEntry(-1, QStringLiteral("Mine"), 3, 1);
    const CComboBoxItem custom = item(index);
    EXPECT_EQ(custom.Pidl(), -1);
    EXPECT_TRUE(custom.IsCustom());
    EXPECT_EQ(custom.Path(), QString());
    EXPECT_EQ(custom.DisplayName(), QString());
    EXPECT_EQ(custom.Attributes(0xFFFFFFFFu), 0u);
    EXPECT_EQ(custom.Text(), QStringLiteral("Mine"));
    EXPECT_EQ(custom.IconIndex(), 3);
    EXPECT_EQ(custom.OverlayIconIndex(), vexlo::VXOOverlayIconNone);
}

TEST_F(ComboBoxItemTest, UserDataIsSharedByEveryItemObjectOfTheEntry)
{
    CComboBoxItem writer = item(3);
    EXPECT_FALSE(writer.UserData().isValid());
    writer.UserData(QStringLiteral("first"));
    writer.UserData(QStringLiteral("second"));
    EXPECT_EQ(item(3).UserData(), QVariant(QStringLiteral("second")));
    EXPECT_FALSE(item(4).UserData().isValid());
}

TEST_F(ComboBoxItemTest, AnItemObjectReadsWhateverEntryIsAtItsIndex)
{
    const CComboBoxItem fifth = item(5);
    EXPECT_EQ(fifth.Text(), QStringLiteral("Home"));
    combo->insertCustomEntry(4, QStringLiteral("Inserted"), 0, 0);
    // Home moved to 6; index 5 now holds d.
    EXPECT_EQ(fifth.Text(), QStringLiteral("d"));
    EXPECT_EQ(fifth.ItemIndex(), 5);
}

TEST_F(ComboBoxItemTest, Neighbours)
{
    EXPECT_FALSE(item(0).PreviousItem().has_value());
    const int last = combo->count() - 1;
    EXPECT_FALSE(item(last).NextItem().has_value());
    ASSERT_TRUE(item(4).PreviousItem().has_value());
    EXPECT_EQ(item(4).PreviousItem()->Text(), QStringLiteral("c"));
    ASSERT_TRUE(item(4).NextItem().has_value());
    EXPECT_EQ(item(4).NextItem()->ItemIndex(), 5);
}

TEST_F(ComboBoxItemTest, ChildrenCountByTheIndentationStep)
{
    struct Row
    {
        const char *name;
        int indent;
        int index;
        int children;
    };
    const Row rows[] = {
        {"desktop, step 1", 1, 0, 7},  {"computer, step 1", 1, 1, 3},
        {"drive, step 1", 1, 3, 0},    {"desktop, step 2", 2, 0, 7},
        {"computer, step 2", 2, 1, 3}, {"a leaf desktop child, step 2", 2, 10, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        CNamespaceComboBox list(shell, false);
        vexlo::ComboOptions options;
        options.indent = row.indent;
        list.setOptions(options);
        list.populate();
        EXPECT_EQ(CComboBoxItem(&list, static_cast<int16_t>(row.index)).Children(), row.children);
    }
}

TEST_F(ComboBoxItemTest, ChildrenOfPathItems)
{
    ASSERT_TRUE(combo->SetPath(sandbox.path(QStringLiteral("mnt/c/Windows/System32"))));
    EXPECT_EQ(item(3).Children(), 1); // c: Windows
    EXPECT_EQ(item(4).Children(), 1); // Windows: System32
    EXPECT_EQ(item(5).Children(), 0);
    EXPECT_TRUE(item(5).Selected());
}

TEST_F(ComboBoxItemTest, Writes)
{
    CComboBoxItem drive = item(4);
    drive.Text(QString(300, u'x'));
    EXPECT_EQ(drive.Text().size(), CNamespaceComboBox::kMaxTextLength);
    drive.IconIndex(7);
    EXPECT_EQ(drive.IconIndex(), 7);
    EXPECT_EQ(combo->entrySelectedImage(4), 7);
    drive.OverlayIconIndex(vexlo::VXOOverlayIconShortcut);
    EXPECT_EQ(drive.OverlayIconIndex(), vexlo::VXOOverlayIconShortcut);
    drive.ItemIndent(5);
    EXPECT_EQ(drive.ItemIndent(), 5);
    // The shell side is not a field and does not change.
    EXPECT_EQ(drive.DisplayName(), QStringLiteral("d"));
}

TEST_F(ComboBoxItemTest, MissingIndexReadsEmptyAndIgnoresWrites)
{
    for (int index : {-1, combo->count(), 1000}) {
        SCOPED_TRACE(index);
        CComboBoxItem missing = item(index);
        missing.Text(QStringLiteral("x"));
        missing.UserData(QStringLiteral("x"));
        missing.IconIndex(4);
        EXPECT_EQ(missing.Text(), QString());
        EXPECT_FALSE(missing.UserData().isValid());
        EXPECT_EQ(missing.IconIndex(), 0);
        EXPECT_EQ(missing.Pidl(), 0);
        EXPECT_EQ(missing.Path(), QString());
        EXPECT_EQ(missing.DisplayName(), QString());
        EXPECT_FALSE(missing.Selected());
        EXPECT_FALSE(missing.IsCustom());
        EXPECT_EQ(missing.Attributes(0xFFFFFFFFu), 0u);
        EXPECT_EQ(missing.Children(), 0);
    }
}

TEST_F(ComboBoxItemTest, ItemOfADestroyedListWindowReadsEmpty)
{
    const CComboBoxItem drive = item(4);
    combo.reset();
    EXPECT_EQ(drive.combo(), nullptr);
    EXPECT_EQ(drive.Text(), QString());
    EXPECT_FALSE(drive.NextItem().has_value());
    EXPECT_EQ(drive.Pidl(), 0);
}
