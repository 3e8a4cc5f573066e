// Custom entries: where AddCustomItem puts them, what DeleteCustomItem removes and in which
// order its events fire, and how the path items fare around them.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloenums.h"

#include <gtest/gtest.h>

#include <functional>

using vexlo::CVexloCtrl;
using add = EventRecorder;

namespace {

const QString kChanged = QStringLiteral("changed");

// A control with its window; the list is, as populated:
//   0 Desktop  1 Computer  2 File System  3 c  4 d  5 Home  6 Documents  7 Trash  8 .hidden
//   9 Alpha  10 Beta
class CustomItemsTest : public ::testing::Test
{
protected:
    std::unique_ptr<CVexloCtrl> makeControl(const std::function<void(CVexloCtrl &)> &pBefore = {})
    {
        auto control = std::make_unique<CVexloCtrl>(sandbox.makeShell());
        control->setAmbientUserMode(false);
        if (pBefore)
            pBefore(*control);
        control->createControlWindow();
        events.listen(control.get());
        return control;
    }
    bool setPath(CVexloCtrl &pControl, const char *pRelative)
    {
        return pControl.SetPath(sandbox.path(QString::fromUtf8(pRelative)));
    }
    static QStringList texts(const CVexloCtrl &pControl)
    {
        QStringList result;
        for (int16_t index = 0; index < pControl.ItemsCount(); ++index)
            result << pControl.ComboBoxItem(index)->Text();
        return result;
    }

    ComboSandbox sandbox;
    EventRecorder events;
};

} // namespace

TEST_F(CustomItemsTest, ThePlacesOfACustomEntry)
{
    struct Row
    {
        const char *name;
        std::function<void(CVexloCtrl &)> before;
        int32_t parent;
        QStringList events; // "" when nothing is added
    };
    const auto drivesOnly = [](CVexloCtrl &pControl) { pControl.ShowDrivesOnly(true); };
    const auto indentTwo = [](CVexloCtrl &pControl) { pControl.Indent(2); };
    const Row rows[] = {
        {"at the end", {}, vexlo::VXOParentNone, {add::add(11, QStringLiteral("Mine"), 0)}},
        {"after the last desktop child",
         {},
         vexlo::VXODesktop,
         {add::add(11, QStringLiteral("Mine"), 1)}},
        {"after the last desktop child, by the indentation step",
         indentTwo,
         vexlo::VXODesktop,
         {add::add(11, QStringLiteral("Mine"), 2)}},
        {"first, when no entry is a desktop child",
         drivesOnly,
         vexlo::VXODesktop,
         {add::add(0, QStringLiteral("Mine"), 1)}},
        {"below the computer", {}, vexlo::VXOMyComputer, {add::add(2, QStringLiteral("Mine"), 2)}},
        {"nowhere without a computer entry", drivesOnly, vexlo::VXOMyComputer, {}},
        {"nowhere for another parent", {}, 7, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        events.clear();
        const auto control = makeControl(row.before);
        const int before = control->ItemsCount();
        events.clear();
        control->AddCustomItem(row.parent, QStringLiteral("Mine"), 5);
        EXPECT_EQ(events.events(), row.events);
        EXPECT_EQ(control->ItemsCount(), before + (row.events.isEmpty() ? 0 : 1));
        if (!row.events.isEmpty()) {
            const int16_t index = static_cast<int16_t>(row.events[0].section(u' ', 1, 1).toInt());
            const vexlo::CComboBoxItem item = *control->ComboBoxItem(index);
            EXPECT_TRUE(item.IsCustom());
            EXPECT_EQ(item.IconIndex(), 5);
            EXPECT_EQ(item.OverlayIconIndex(), vexlo::VXOOverlayIconNone);
        }
    }
}

TEST_F(CustomItemsTest, DeletingRemovesTheFirstEntryWithTheText)
{
    const auto control = makeControl();
    control->AddCustomItem(vexlo::VXOParentNone, QStringLiteral("Twin"), 0);
    control->AddCustomItem(vexlo::VXOMyComputer, QStringLiteral("Twin"), 0);
    control->AddCustomItem(vexlo::VXOParentNone, QStringLiteral("twin"), 0);
    events.clear();

    EXPECT_FALSE(control->DeleteCustomItem(QStringLiteral("TWIN")));
    EXPECT_TRUE(control->DeleteCustomItem(QStringLiteral("Twin")));
    EXPECT_EQ(events.events(), QStringList({add::remove(2, QStringLiteral("Twin"))}));
    EXPECT_EQ(texts(*control).mid(11),
              QStringList({QStringLiteral("Twin"), QStringLiteral("twin")}));
    EXPECT_EQ(control->ComboBoxItem(2)->Text(), QStringLiteral("File System"));
}

TEST_F(CustomItemsTest, DeletingTheSelectedEntrySelectsEntryZeroFirst)
{
    const auto control = makeControl();
    control->AddCustomItem(vexlo::VXOParentNone, QStringLiteral("Mine"), 0);
    ASSERT_TRUE(control->SelectItem(11));
    // SelectionChanged fires while the entry is still in the list.
    QStringList seen;
    QObject::connect(control.get(), &CVexloCtrl::SelectionChanged, control.get(),
                     [&] { seen << texts(*control).last(); });
    events.clear();

    EXPECT_TRUE(control->DeleteCustomItem(QStringLiteral("Mine")));
    EXPECT_EQ(events.events(), QStringList({add::remove(11, QStringLiteral("Mine")), kChanged}));
    EXPECT_EQ(seen, QStringList({QStringLiteral("Mine")}));
    EXPECT_EQ(control->ItemsCount(), 11);
    EXPECT_EQ(control->SelectedItem()->ItemIndex(), 0);
}

TEST_F(CustomItemsTest, PathItemsStayTheirsAroundCustomAndDeletedEntries)
{
    struct Row
    {
        const char *name;
        std::function<void(CVexloCtrl &)> change; // after selecting c:\Windows\System32
        QStringList eventsOfChange;
        QStringList eventsOfNextSelection; // selecting d
    };
    const Row rows[] = {
        {"a custom entry inserted in front of them",
         [](CVexloCtrl &c) { c.AddCustomItem(vexlo::VXOMyComputer, QStringLiteral("Mine"), 0); },
         {add::add(2, QStringLiteral("Mine"), 2)},
         {add::remove(6, QStringLiteral("System32")), add::remove(5, QStringLiteral("Windows")),
          kChanged}},
        {"an ancestor deleted by its text",
         [](CVexloCtrl &c) { EXPECT_TRUE(c.DeleteCustomItem(QStringLiteral("Windows"))); },
         {add::remove(4, QStringLiteral("Windows"))},
         {add::remove(4, QStringLiteral("System32")), kChanged}},
        {"the selected one deleted by its text",
         [](CVexloCtrl &c) { EXPECT_TRUE(c.DeleteCustomItem(QStringLiteral("System32"))); },
         {add::remove(5, QStringLiteral("System32")), add::remove(4, QStringLiteral("Windows")),
          kChanged},
         {kChanged}},
        {"the entry in front of them deleted by its text",
         [](CVexloCtrl &c) { EXPECT_TRUE(c.DeleteCustomItem(QStringLiteral("File System"))); },
         {add::remove(2, QStringLiteral("File System"))},
         {add::remove(4, QStringLiteral("System32")), add::remove(3, QStringLiteral("Windows")),
          kChanged}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl();
        ASSERT_TRUE(setPath(*control, "mnt/c/Windows/System32"));
        events.clear();
        row.change(*control);
        EXPECT_EQ(events.events(), row.eventsOfChange);
        events.clear();
        ASSERT_TRUE(setPath(*control, "mnt/d"));
        EXPECT_EQ(events.events(), row.eventsOfNextSelection);
        EXPECT_EQ(control->SelectedItem()->Text(), QStringLiteral("d"));
        EXPECT_FALSE(texts(*control).contains(QStringLiteral("System32")));
        EXPECT_TRUE(control->listWindow()->pathItems().empty());
    }
}

TEST_F(CustomItemsTest, CustomEntriesGoWithTheWindow)
{
    const auto control = makeControl();
    control->AddCustomItem(vexlo::VXOParentNone, QStringLiteral("Mine"), 0);
    control->RefreshComboBox();
    EXPECT_EQ(control->ItemsCount(), 11);
    EXPECT_FALSE(texts(*control).contains(QStringLiteral("Mine")));
}
