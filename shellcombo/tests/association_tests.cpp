// The control and its companions: what it tells them, what they tell it, and that it does not
// answer back.

#include "combosandbox.h"

#include "vexlo/association.h"
#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"

#include <QtCore/QObject>
#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

namespace pf = pindrel::platform;
using vexlo::CVexloCtrl;

namespace {

// A companion recording every message with the folder's path and how many SelectionChanged the
// control had fired by then.
class RecordingCompanion : public QObject, public vexlo::IShellCompanion
{
public:
    RecordingCompanion(const pf::ShellNamespace &pShell, const QSignalSpy &pSelections,
                       intptr_t pHandle)
        : m_shell(pShell)
        , m_selections(pSelections)
        , m_handle(pHandle)
    { }

    struct Message
    {
        uint32_t number;
        QString path; // "<desktop>" for nullptr
        qsizetype selectionsBefore;
    };

    void setAssociatedControl(CVexloCtrl *pControl) override { control = pControl; }
    intptr_t companionWindowHandle() const override
    {
        ++handleReads;
        return m_handle;
    }
    intptr_t companionMessage(uint32_t pMessage, const pf::ItemIdList *pAbsolute) override
    {
        messages.push_back(
            {pMessage, pAbsolute ? m_shell.pathFromIdList(pAbsolute) : QStringLiteral("<desktop>"),
             m_selections.count()});
        return 0;
    }

    CVexloCtrl *control = nullptr;
    mutable int handleReads = 0;
    std::vector<Message> messages;

private:
    const pf::ShellNamespace &m_shell;
    const QSignalSpy &m_selections;
    intptr_t m_handle;
};

class AssociationTest : public ::testing::Test
{
protected:
    void SetUp() override { control.createControlWindow(); }

    QString path(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }
    pf::idlist::Unique parsed(const char *pRelative) const
    {
        return parsePath(*shell, path(pRelative));
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell = sandbox.makeShell();
    CVexloCtrl control{shell};
    QSignalSpy selections{&control, &CVexloCtrl::SelectionChanged};
    QSignalSpy chosen{&control, &CVexloCtrl::ItemSelected};
};

TEST_F(AssociationTest, AChosenDriveReachesTheFileListBeforeTheEvents)
{
    RecordingCompanion list(*shell, selections, 42);
    control.Quennel(&list);
    EXPECT_EQ(list.control, &control);

    // Entry 3 is the drive "c"; the user's choice arrives as the combo box's activation.
    emit control.listWindow()->activated(3);
    ASSERT_EQ(list.messages.size(), 1u);
    EXPECT_EQ(list.messages[0].number, vexlo::kListFolderMessage);
    EXPECT_EQ(list.messages[0].path, path("mnt/c"));
    EXPECT_EQ(list.messages[0].selectionsBefore, 0);
    EXPECT_EQ(selections.count(), 1);
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(AssociationTest, TheTreeIsToldFirstAndTheHandleIsAskedOnce)
{
    RecordingCompanion tree(*shell, selections, 7);
    RecordingCompanion list(*shell, selections, 8);
    control.Sarvick(&tree);
    control.Quennel(&list);
    ASSERT_TRUE(control.SetPath(path("mnt/d/Data")));
    ASSERT_TRUE(control.SetPidl(nullptr));
    ASSERT_EQ(tree.messages.size(), 2u);
    ASSERT_EQ(list.messages.size(), 2u);
    EXPECT_EQ(tree.messages[0].number, vexlo::kTreeFolderMessage);
    EXPECT_EQ(tree.messages[0].path, path("mnt/d/Data"));
    EXPECT_EQ(list.messages[1].path, QStringLiteral("<desktop>"));
    EXPECT_EQ(tree.handleReads, 1);
    EXPECT_EQ(list.handleReads, 1);
}

TEST_F(AssociationTest, ACompanionsFolderIsShownWithoutAnEcho)
{
    RecordingCompanion list(*shell, selections, 42);
    control.Quennel(&list);
    const auto folder = parsed("mnt/c/home/Documents/Letters/2024");
    ASSERT_TRUE(folder);

    EXPECT_EQ(control.listWindowMessage(vexlo::kComboFolderMessage, folder.get()), 0);
    EXPECT_EQ(control.listWindow()->entryPath(control.listWindow()->logicalSelection()),
              path("mnt/c/home/Documents/Letters/2024"));
    EXPECT_EQ(selections.count(), 1);
    EXPECT_TRUE(list.messages.empty());

    // The same through UshB; after it the control tells the companion again.
    const auto other = parsed("mnt/d/Data");
    control.UshB(reinterpret_cast<intptr_t>(other.get()));
    EXPECT_EQ(selections.count(), 2);
    EXPECT_TRUE(list.messages.empty());
    ASSERT_TRUE(control.SetPath(path("mnt/c")));
    EXPECT_EQ(list.messages.size(), 1u);

    // Other message numbers do nothing.
    EXPECT_EQ(control.listWindowMessage(vexlo::kListFolderMessage, folder.get()), 0);
    EXPECT_EQ(selections.count(), 3);
}

TEST_F(AssociationTest, NoHandleNoMessagesAndClearingEndsTheAssociation)
{
    RecordingCompanion silent(*shell, selections, 0);
    control.Quennel(&silent);
    ASSERT_TRUE(control.SetPath(path("mnt/c")));
    EXPECT_TRUE(silent.messages.empty());
    EXPECT_EQ(silent.handleReads, 1);

    control.Quennel(nullptr);
    EXPECT_EQ(silent.control, nullptr);
    ASSERT_TRUE(control.SetPath(path("mnt/d")));
    EXPECT_EQ(silent.handleReads, 1);

    // A plain object (no companion interface) is accepted and never sent anything.
    QObject plain;
    control.Quennel(&plain);
    EXPECT_TRUE(control.SetPath(path("mnt/c")));
}

TEST_F(AssociationTest, ASecondCompanionKeepsTheFirstOnesHandle)
{
    RecordingCompanion first(*shell, selections, 5);
    RecordingCompanion second(*shell, selections, 0);
    control.Quennel(&first);
    ASSERT_TRUE(control.SetPath(path("mnt/c")));
    control.Quennel(&second);
    ASSERT_TRUE(control.SetPath(path("mnt/d")));
    // The handle read from the first is still taken as known: the second is told.
    EXPECT_EQ(second.handleReads, 0);
    EXPECT_EQ(second.messages.size(), 1u);
}

} // namespace
