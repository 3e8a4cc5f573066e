// The control: defaults, the design-time and run-time rules of its properties, its window, its
// size and its methods.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloenums.h"
#include "vexlo/vexloerror.h"

#include "platform/taskallocator.h"

#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>

#include <gtest/gtest.h>

#include <functional>

namespace pf = pindrel::platform;
using vexlo::CVexloCtrl;
using vexlo::VexloError;

namespace {

class VexloCtrlTest : public ::testing::Test
{
protected:
    std::unique_ptr<CVexloCtrl> makeControl(bool pUserMode = true)
    {
        auto control = std::make_unique<CVexloCtrl>(shell);
        control->setAmbientUserMode(pUserMode);
        return control;
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell = sandbox.makeShell();
};

// The number of the VexloError pAction raises; 0 when it raises none.
int32_t errorOf(const std::function<void()> &pAction)
{
    try {
        pAction();
    } catch (const VexloError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST_F(VexloCtrlTest, DefaultsOfANewControl)
{
    const auto control = makeControl();
    EXPECT_EQ(control->DropDownLines(), 8);
    EXPECT_EQ(control->Indent(), 1);
    EXPECT_EQ(control->TooltipType(), 3);
    EXPECT_FALSE(control->ShowFile());
    EXPECT_FALSE(control->ShowFullPath());
    EXPECT_FALSE(control->ShowDrivesOnly());
    EXPECT_TRUE(control->Enabled());
    EXPECT_TRUE(control->AutoComplete());
    EXPECT_TRUE(control->IncludeUrls());
    EXPECT_TRUE(control->AutoUpdate());
    EXPECT_TRUE(control->ShowOverlayIcons());
    EXPECT_TRUE(control->ShowVirtualFolders());
    EXPECT_EQ(control->UshB(), 0);
    EXPECT_EQ(control->WindowHandle(), 0);
    EXPECT_EQ(control->size(), QSize(200, 90));
    EXPECT_FALSE(control->isModified());
    EXPECT_TRUE(control->ambientUserMode());
}

TEST_F(VexloCtrlTest, ErrorTexts)
{
    EXPECT_EQ(VexloError(383).text(), QStringLiteral("Property is read-only"));
    EXPECT_EQ(VexloError(387).text(), QStringLiteral("Property cannot be set on this control"));
    EXPECT_EQ(VexloError(394).text(), QStringLiteral("Property is write-only"));
    EXPECT_STREQ(VexloError(394).what(), "Property is write-only");
}

TEST_F(VexloCtrlTest, PropertyRulesAtDesignAndRunTime)
{
    struct Row
    {
        const char *name;
        bool userMode;
        std::function<void(CVexloCtrl &)> write;
        int32_t error;
        std::function<bool(const CVexloCtrl &)> valueAfter; // true when the value is as expected
        bool modified;
    };
    const Row rows[] = {
        {"ShowDrivesOnly at run time", true, [](CVexloCtrl &c) { c.ShowDrivesOnly(true); }, 387,
         [](const CVexloCtrl &c) { return !c.ShowDrivesOnly(); }, false},
        {"ShowDrivesOnly at design time", false, [](CVexloCtrl &c) { c.ShowDrivesOnly(true); }, 0,
         [](const CVexloCtrl &c) { return c.ShowDrivesOnly(); }, true},
        {"ShowDrivesOnly unchanged at design time", false,
         [](CVexloCtrl &c) { c.ShowDrivesOnly(false); }, 0,
         [](const CVexloCtrl &c) { return !c.ShowDrivesOnly(); }, false},
        {"ShowVirtualFolders at run time", true, [](CVexloCtrl &c) { c.ShowVirtualFolders(false); },
         0, [](const CVexloCtrl &c) { return c.ShowVirtualFolders(); }, false},
        {"ShowVirtualFolders at design time", false,
         [](CVexloCtrl &c) { c.ShowVirtualFolders(false); }, 0,
         [](const CVexloCtrl &c) { return !c.ShowVirtualFolders(); }, true},
        {"reading Quennel", true, [](CVexloCtrl &c) { c.Quennel(); }, 394, nullptr, false},
        {"reading Sarvick at design time", false, [](CVexloCtrl &c) { c.Sarvick(); }, 394, nullptr,
         false},
        {"writing Quennel", true, [](CVexloCtrl &c) { c.Quennel(&c); }, 0, nullptr, false},
        {"writing WindowHandle", true, [](CVexloCtrl &c) { c.WindowHandle(5); }, 383,
         [](const CVexloCtrl &c) { return c.WindowHandle() == 0; }, false},
        {"writing WindowHandle at design time", false, [](CVexloCtrl &c) { c.WindowHandle(5); },
         383, nullptr, false},
        {"AutoComplete at run time", true, [](CVexloCtrl &c) { c.AutoComplete(false); }, 0,
         [](const CVexloCtrl &c) { return !c.AutoComplete(); }, false},
        {"AutoComplete at design time", false, [](CVexloCtrl &c) { c.AutoComplete(false); }, 0,
         [](const CVexloCtrl &c) { return !c.AutoComplete(); }, true},
        {"Indent at run time", true, [](CVexloCtrl &c) { c.Indent(2); }, 0,
         [](const CVexloCtrl &c) { return c.Indent() == 2; }, false},
        {"Indent at design time", false, [](CVexloCtrl &c) { c.Indent(2); }, 0,
         [](const CVexloCtrl &c) { return c.Indent() == 2; }, true},
        {"IncludeUrls at run time", true, [](CVexloCtrl &c) { c.IncludeUrls(false); }, 0,
         [](const CVexloCtrl &c) { return !c.IncludeUrls(); }, false},
        {"IncludeUrls at design time", false, [](CVexloCtrl &c) { c.IncludeUrls(false); }, 0,
         [](const CVexloCtrl &c) { return !c.IncludeUrls(); }, true},
        {"ShowFullPath unchanged", true, [](CVexloCtrl &c) { c.ShowFullPath(false); }, 0, nullptr,
         false},
        {"ShowFullPath changed", true, [](CVexloCtrl &c) { c.ShowFullPath(true); }, 0,
         [](const CVexloCtrl &c) { return c.ShowFullPath(); }, true},
        {"TooltipType unchanged", true, [](CVexloCtrl &c) { c.TooltipType(3); }, 0, nullptr, false},
        {"TooltipType changed", true, [](CVexloCtrl &c) { c.TooltipType(0); }, 0,
         [](const CVexloCtrl &c) { return c.TooltipType() == 0; }, true},
        {"DropDownLines", true, [](CVexloCtrl &c) { c.DropDownLines(4); }, 0,
         [](const CVexloCtrl &c) { return c.DropDownLines() == 4; }, true},
        {"ShowFile", true, [](CVexloCtrl &c) { c.ShowFile(true); }, 0,
         [](const CVexloCtrl &c) { return c.ShowFile(); }, true},
        {"Enabled", true, [](CVexloCtrl &c) { c.Enabled(false); }, 0,
         [](const CVexloCtrl &c) { return !c.Enabled(); }, true},
        {"ShowOverlayIcons", true, [](CVexloCtrl &c) { c.ShowOverlayIcons(false); }, 0,
         [](const CVexloCtrl &c) { return !c.ShowOverlayIcons(); }, true},
        {"AutoUpdate", true, [](CVexloCtrl &c) { c.AutoUpdate(false); }, 0,
         [](const CVexloCtrl &c) { return !c.AutoUpdate(); }, true},
        {"UshB", true, [](CVexloCtrl &c) { c.UshB(0); }, 0,
         [](const CVexloCtrl &c) { return c.UshB() == 0; }, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl(row.userMode);
        EXPECT_EQ(errorOf([&] { row.write(*control); }), row.error);
        if (row.valueAfter) {
            EXPECT_TRUE(row.valueAfter(*control));
        }
        EXPECT_EQ(control->isModified(), row.modified);
    }
}

TEST_F(VexloCtrlTest, WindowStyleFollowsAutoCompleteAndDrivesOnly)
{
    struct Row
    {
        const char *name;
        bool autoComplete;
        bool drivesOnly;
        bool editable;
        int entries;
    };
    const Row rows[] = {
        {"completion", true, false, true, 11},
        {"no completion", false, false, false, 11},
        {"drives only", true, true, false, 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl(false);
        control->AutoComplete(row.autoComplete);
        control->ShowDrivesOnly(row.drivesOnly);
        control->createControlWindow();
        ASSERT_NE(control->listWindow(), nullptr);
        EXPECT_EQ(control->listWindow()->isEditable(), row.editable);
        EXPECT_EQ(control->ItemsCount(), row.entries);
        EXPECT_EQ(control->WindowHandle(), reinterpret_cast<intptr_t>(control->listWindow()));
        EXPECT_EQ(control->SelectedItem()->ItemIndex(), 0);
    }
}

TEST_F(VexloCtrlTest, EditBoxTextNeedsAutoCompleteAndAnEditBox)
{
    const auto control = makeControl();
    control->createControlWindow();
    control->EditBoxText(QStringLiteral("/typed"));
    EXPECT_EQ(control->EditBoxText(), QStringLiteral("/typed"));
    control->AutoComplete(false); // the edit box stays until the window is made anew
    EXPECT_EQ(control->EditBoxText(), QString());
    control->EditBoxText(QStringLiteral("/ignored"));
    EXPECT_EQ(control->listWindow()->lineEdit()->text(), QStringLiteral("/typed"));

    control->RefreshComboBox();
    EXPECT_EQ(control->listWindow()->lineEdit(), nullptr);
    EXPECT_EQ(control->EditBoxText(), QString());
}

TEST_F(VexloCtrlTest, MethodsWithoutAWindowDoNothing)
{
    const auto control = makeControl();
    EventRecorder events;
    events.listen(control.get());
    EXPECT_FALSE(control->SetPath(sandbox.path(QStringLiteral("mnt/c"))));
    EXPECT_FALSE(control->SetPidl(nullptr));
    EXPECT_FALSE(control->SetSpecialFolder(0));
    EXPECT_FALSE(control->SelectItem(0));
    control->GoUp();
    EXPECT_EQ(control->ItemsCount(), 0);
    EXPECT_FALSE(control->SelectedItem().has_value());
    EXPECT_FALSE(control->ComboBoxItem(0).has_value());
    EXPECT_TRUE(events.events().isEmpty());
}

TEST_F(VexloCtrlTest, MethodsAndEventsGoThroughTheControl)
{
    const auto control = makeControl();
    EventRecorder events;
    events.listen(control.get());
    control->createControlWindow();
    EXPECT_EQ(events.count(QStringLiteral("add ")), 11);
    events.clear();

    EXPECT_TRUE(control->SetPath(sandbox.path(QStringLiteral("mnt/c/Windows/System32"))));
    EXPECT_EQ(events.events(),
              QStringList({EventRecorder::add(4, QStringLiteral("Windows"), 3),
                           EventRecorder::add(5, QStringLiteral("System32"), 4),
                           QStringLiteral("changed")}));
    EXPECT_EQ(control->SelectedItem()->Text(), QStringLiteral("System32"));
    EXPECT_EQ(control->ComboBoxItem(3)->Text(), QStringLiteral("c"));
    EXPECT_FALSE(control->ComboBoxItem(control->ItemsCount()).has_value());

    // UshB selects the list at the address it is given.
    const auto folder = parsePath(*shell, sandbox.path(QStringLiteral("mnt/d/Data")));
    control->UshB(reinterpret_cast<intptr_t>(folder.get()));
    EXPECT_EQ(control->SelectedItem()->Text(), QStringLiteral("Data"));
    EXPECT_EQ(control->UshB(), 0);
}

TEST_F(VexloCtrlTest, IndentAtRunTimeActsOnEntriesInsertedLater)
{
    const auto control = makeControl();
    control->createControlWindow();
    control->Indent(2);
    EXPECT_EQ(control->ComboBoxItem(3)->ItemIndent(), 2); // c, inserted before
    ASSERT_TRUE(control->SetPath(sandbox.path(QStringLiteral("mnt/c/Windows"))));
    EXPECT_EQ(control->SelectedItem()->ItemIndent(), 6);
}

TEST_F(VexloCtrlTest, RefreshRemovesEveryEntryAndPopulatesAnew)
{
    const auto control = makeControl();
    control->createControlWindow();
    ASSERT_TRUE(control->SetPath(sandbox.path(QStringLiteral("mnt/c/Windows/System32"))));
    const int before = control->ItemsCount();
    EventRecorder events;
    events.listen(control.get());

    control->RefreshComboBox();
    ASSERT_EQ(events.events().size(), before + 11);
    EXPECT_EQ(events.events().first(), EventRecorder::remove(before - 1, QStringLiteral("Beta")));
    EXPECT_EQ(events.events()[before - 1], EventRecorder::remove(0, QStringLiteral("Desktop")));
    EXPECT_EQ(events.events()[before], EventRecorder::add(0, QStringLiteral("Desktop"), 0));
    EXPECT_EQ(events.count(QStringLiteral("changed")), 0);
    EXPECT_EQ(control->ItemsCount(), 11);
    EXPECT_EQ(control->SelectedItem()->ItemIndex(), 0);
    EXPECT_TRUE(control->listWindow()->pathItems().empty());
}

TEST_F(VexloCtrlTest, ClosingTheControlRemovesEveryEntryAndFreesEveryList)
{
    const size_t before = pf::TaskAllocator::instance().outstanding();
    EventRecorder events;
    {
        const auto control = makeControl();
        events.listen(control.get());
        control->createControlWindow();
        ASSERT_TRUE(control->SetPath(sandbox.path(QStringLiteral("mnt/d/Data/Deep"))));
        events.clear();
        control->destroyControlWindow();
        EXPECT_EQ(control->listWindow(), nullptr);
        EXPECT_EQ(control->WindowHandle(), 0);
    }
    EXPECT_EQ(events.count(QStringLiteral("delete ")), 13);
    EXPECT_EQ(pf::TaskAllocator::instance().outstanding(), before);
}

TEST_F(VexloCtrlTest, EnabledReachesTheListWindow)
{
    const auto control = makeControl();
    control->Enabled(false);
    control->createControlWindow();
    EXPECT_FALSE(control->listWindow()->isEnabled());
    control->Enabled(true);
    EXPECT_TRUE(control->listWindow()->isEnabled());
}

TEST_F(VexloCtrlTest, SizeFollowsTheClosedComboBox)
{
    const auto control = makeControl();
    control->show();
    ASSERT_NE(control->listWindow(), nullptr); // made when first shown
    const int closed = control->listWindow()->sizeHint().height();
    EXPECT_EQ(control->height(), closed);
    EXPECT_EQ(control->width(), 200);

    control->resize(320, 150);
    EXPECT_TRUE(QTest::qWaitFor([&] { return control->height() == closed; }));
    EXPECT_EQ(control->width(), 320);
    EXPECT_EQ(control->listWindow()->geometry(), QRect(0, 0, 320, closed));
    EXPECT_EQ(control->sizeHint().height(), closed);
}

TEST_F(VexloCtrlTest, DropDownHeightFromRowsAtCreationAndFromTheFieldLater)
{
    const auto control = makeControl();
    control->createControlWindow();
    const int row = control->listWindow()->rowHeight();
    EXPECT_EQ(control->dropDownHeight(), row * 9 + 9);
    control->DropDownLines(3);
    const int field = control->listWindow()->sizeHint().height();
    EXPECT_EQ(control->dropDownHeight(), field * 4 + 9);
}

TEST_F(VexloCtrlTest, FontReachesTheListWindowAndTheHeightFollows)
{
    const auto control = makeControl();
    control->show();
    const int before = control->height();
    QFont large = control->Font();
    large.setPointSize(large.pointSize() * 3);
    control->Font(large);
    EXPECT_TRUE(control->isModified());
    EXPECT_EQ(control->listWindow()->font().pointSize(), large.pointSize());
    const int closed = control->listWindow()->sizeHint().height();
    EXPECT_GT(closed, before);
    EXPECT_TRUE(QTest::qWaitFor([&] { return control->height() == closed; }));
    EXPECT_EQ(control->dropDownHeight(), closed * 9 + 9);
}

TEST_F(VexloCtrlTest, StockKeyAndMouseEvents)
{
    const auto control = makeControl();
    QStringList seen;
    bool swallow = false;
    QObject::connect(control.get(), &CVexloCtrl::KeyDown, [&](int16_t &pKeyCode, int16_t pShift) {
        seen.append(QStringLiteral("down %1 %2").arg(pKeyCode).arg(pShift));
        if (swallow)
            pKeyCode = 0;
    });
    QObject::connect(control.get(), &CVexloCtrl::KeyUp, [&](int16_t &pKeyCode, int16_t pShift) {
        seen.append(QStringLiteral("up %1 %2").arg(pKeyCode).arg(pShift));
    });
    QObject::connect(
        control.get(), &CVexloCtrl::MouseMove,
        [&](int16_t pButton, int16_t pShift, int pX, int pY) {
            seen.append(
                QStringLiteral("move %1 %2 %3 %4").arg(pButton).arg(pShift).arg(pX).arg(pY));
        });

    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier);
    QApplication::sendEvent(control.get(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F2, Qt::ControlModifier);
    QApplication::sendEvent(control.get(), &release);
    swallow = true;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    down.ignore();
    QApplication::sendEvent(control.get(), &down);
    EXPECT_TRUE(down.isAccepted());
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 7), QPointF(12, 7), Qt::NoButton,
                     Qt::RightButton, Qt::AltModifier);
    QApplication::sendEvent(control.get(), &move);

    EXPECT_EQ(seen,
              QStringList({QStringLiteral("down 65 1"), QStringLiteral("up 113 2"),
                           QStringLiteral("down 40 0"), QStringLiteral("move 2 4 12 7")}));
}
