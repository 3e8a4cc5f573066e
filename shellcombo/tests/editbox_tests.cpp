// The tooltip of the selection and the keys and clicks the list window handles itself.

#include "combosandbox.h"
#include "eventrecorder.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloenums.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QHelpEvent>
#include <QtGui/QShortcut>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolTip>
#include <QtWidgets/QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

using vexlo::CNamespaceComboBox;
using vexlo::CVexloCtrl;

namespace {

class EditBoxTest : public ::testing::Test
{
protected:
    // A run-time control in a dialog with a default button and a Home shortcut, shown and
    // focused, as a host's window would hold it.
    std::unique_ptr<CVexloCtrl> makeControl(int32_t pTooltipType = vexlo::VXOBoth)
    {
        auto control = std::make_unique<CVexloCtrl>(sandbox.makeShell(), &dialog);
        control->TooltipType(pTooltipType);
        layout->addWidget(control.get());
        defaultButton->setDefault(true);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        control->createControlWindow();
        control->listWindow()->setFocus();
        events.listen(control.get());
        return control;
    }
    QString path(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }
    static QLineEdit *editBox(const CVexloCtrl &pControl)
    {
        return pControl.listWindow()->lineEdit();
    }
    // Types pText into the edit box, replacing what is there, and presses pKey.
    static void typeAndPress(CVexloCtrl &pControl, const QString &pText, Qt::Key pKey)
    {
        editBox(pControl)->setText(pText);
        QTest::keyClick(pControl.listWindow(), pKey);
    }

    ComboSandbox sandbox;
    QDialog dialog;
    QVBoxLayout *layout = new QVBoxLayout(&dialog);
    QPushButton *defaultButton = new QPushButton(QStringLiteral("OK"), &dialog);
    EventRecorder events;
};

} // namespace

TEST_F(EditBoxTest, TheTipOfTheSelectionByTooltipType)
{
    sandbox.makeFile(QStringLiteral("mnt/c/Windows/System32/a.dll"));
    sandbox.makeFile(QStringLiteral("mnt/c/Windows/System32/b.dll"));
    struct Row
    {
        const char *name;
        int32_t type;
        std::function<bool(CVexloCtrl &)> select;
        QString tip; // {path} is the System32 folder's path
    };
    const auto system32 = [this](CVexloCtrl &c) {
        return c.SetPath(path("mnt/c/Windows/System32"));
    };
    const QString info = QStringLiteral("Type: Folder\nContents: 2 items\nModified: ");
    const Row rows[] = {
        {"path", vexlo::VXOPath, system32, QStringLiteral("{path}")},
        {"path and info tip", vexlo::VXOBoth, system32, QStringLiteral("{path}\n") + info},
        {"info tip", vexlo::VXOShellInfotip, system32, info},
        {"the desktop", vexlo::VXOPath, [](CVexloCtrl &c) { return c.SetSpecialFolder(0); },
         QStringLiteral("Desktop")},
        {"outside the file system", vexlo::VXOBoth,
         [](CVexloCtrl &c) { return c.SetSpecialFolder(vexlo::DRIVES); },
         QStringLiteral("Computer")},
        {"a custom entry", vexlo::VXOBoth,
         [](CVexloCtrl &c) {
             c.AddCustomItem(vexlo::VXOParentNone, QStringLiteral("Mine"), 0);
             return c.SelectItem(static_cast<int16_t>(c.ItemsCount() - 1));
         },
         QStringLiteral("Mine")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl(row.type);
        ASSERT_TRUE(control->listWindow()->hasTooltip());
        ASSERT_TRUE(row.select(*control));
        QString expected = row.tip;
        expected.replace(QStringLiteral("{path}"), path("mnt/c/Windows/System32"));
        const QString tip = control->listWindow()->tooltipText();
        // The modification time is the clock's: only its line's start is compared.
        EXPECT_EQ(tip.left(expected.size()), expected);
        EXPECT_EQ(tip.count(u'\n'), expected.count(u'\n'));
    }
}

TEST_F(EditBoxTest, NoTipWithoutATooltipWindow)
{
    const auto control = makeControl(vexlo::VXONone);
    control->TooltipType(vexlo::VXOBoth); // too late: the window was made without one
    ASSERT_TRUE(control->SetPath(path("mnt/c/Windows")));
    EXPECT_FALSE(control->listWindow()->hasTooltip());
    EXPECT_EQ(control->listWindow()->tooltipText(), QString());

    CVexloCtrl designed(sandbox.makeShell());
    designed.setAmbientUserMode(false);
    designed.createControlWindow();
    EXPECT_FALSE(designed.listWindow()->hasTooltip());
}

TEST_F(EditBoxTest, LongTipsWrapWithinTheTipWidth)
{
    QString deep = QStringLiteral("mnt/d");
    for (int level = 0; level < 12; ++level)
        deep += QStringLiteral("/a folder with a rather long name %1").arg(level);
    sandbox.makeDir(deep);
    const auto control = makeControl(vexlo::VXOPath);
    ASSERT_TRUE(control->SetPath(sandbox.path(deep)));

    for (QWidget *tool : {static_cast<QWidget *>(control->listWindow()),
                          static_cast<QWidget *>(editBox(*control))}) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), tool->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tool, &help);
        const QString shown = QToolTip::text();
        ASSERT_GT(shown.count(u'\n'), 1);
        const QFontMetrics metrics(QToolTip::font());
        for (const QString &line : shown.split(u'\n'))
            EXPECT_LE(metrics.horizontalAdvance(line), 512) << qPrintable(line);
        EXPECT_EQ(QString(shown).remove(u'\n').remove(u' '), sandbox.path(deep).remove(u' '));
    }
}

TEST_F(EditBoxTest, EnterAppliesTheTypedPathAndEscUndoesAChoice)
{
    struct Row
    {
        const char *name;
        QString typed;
        Qt::Key key;
        QStringList events;
        QString selected; // the entry then selected
        QString editText; // what the edit box then shows
    };
    const QString nowhere = path("mnt/c/nowhere");
    const Row rows[] = {
        {"a folder",
         path("mnt/d/Data"),
         Qt::Key_Return,
         {EventRecorder::add(5, QStringLiteral("Data"), 3), QStringLiteral("changed")},
         QStringLiteral("Data"),
         QStringLiteral("Data")},
        {"from the keypad",
         path("mnt/d/Data"),
         Qt::Key_Enter,
         {EventRecorder::add(5, QStringLiteral("Data"), 3), QStringLiteral("changed")},
         QStringLiteral("Data"),
         QStringLiteral("Data")},
        {"a path that does not parse",
         nowhere,
         Qt::Key_Return,
         {},
         QStringLiteral("Desktop"),
         nowhere},
        {"a relative path",
         QStringLiteral("Windows"),
         Qt::Key_Return,
         {},
         QStringLiteral("Desktop"),
         QStringLiteral("Windows")},
        {"a file",
         path("mnt/c/Windows/notes.txt"),
         Qt::Key_Return,
         {},
         QStringLiteral("Desktop"),
         path("mnt/c/Windows/notes.txt")},
        {"Esc after typing",
         path("mnt/d"),
         Qt::Key_Escape,
         {},
         QStringLiteral("Desktop"),
         QStringLiteral("Desktop")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl();
        QSignalSpy accepted(defaultButton, &QPushButton::clicked);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        events.clear();
        typeAndPress(*control, row.typed, row.key);
        EXPECT_EQ(events.events(), row.events);
        EXPECT_EQ(control->SelectedItem()->Text(), row.selected);
        EXPECT_EQ(control->EditBoxText(), row.editText);
        // Neither the default button nor the dialog's Esc saw the key.
        EXPECT_EQ(accepted.count(), 0);
        EXPECT_EQ(rejected.count(), 0);
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST_F(EditBoxTest, EscGoesBackToTheLogicalSelectionAfterACustomChoice)
{
    const auto control = makeControl();
    ASSERT_TRUE(control->SetPath(path("mnt/d/Data")));
    control->AddCustomItem(vexlo::VXOParentNone, QStringLiteral("Mine"), 0);
    ASSERT_TRUE(control->SelectItem(static_cast<int16_t>(control->ItemsCount() - 1)));
    ASSERT_EQ(control->SelectedItem()->Text(), QStringLiteral("Mine"));
    events.clear();

    QTest::keyClick(control->listWindow(), Qt::Key_Escape);
    // Data went with the custom choice; its place is what the control keeps.
    EXPECT_EQ(control->SelectedItem()->ItemIndex(), control->listWindow()->logicalSelection());
    EXPECT_EQ(control->EditBoxText(), control->SelectedItem()->Text());
    EXPECT_TRUE(events.events().isEmpty());
}

TEST_F(EditBoxTest, TheKeysDoNotReachTheWindowsShortcuts)
{
    const auto control = makeControl();
    int fired = 0;
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_End),
                                    QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Escape)}) {
        auto *shortcut = new QShortcut(key, &dialog);
        QObject::connect(shortcut, &QShortcut::activated, &dialog, [&] { ++fired; });
    }
    editBox(*control)->setText(QStringLiteral("/abc"));
    editBox(*control)->setCursorPosition(4);
    QTest::keyClick(control->listWindow(), Qt::Key_Home);
    EXPECT_EQ(editBox(*control)->cursorPosition(), 0);
    QTest::keyClick(control->listWindow(), Qt::Key_End);
    QTest::keyClick(control->listWindow(), Qt::Key_Left);
    EXPECT_EQ(editBox(*control)->cursorPosition(), 3);
    QTest::keyClick(control->listWindow(), Qt::Key_Escape);
    EXPECT_EQ(fired, 0);
}

TEST_F(EditBoxTest, TheFirstClickAfterGainingFocusSelectsTheWholeText)
{
    const auto control = makeControl();
    ASSERT_TRUE(control->SetPath(path("mnt/d/Data")));
    defaultButton->setFocus();
    QLineEdit *edit = editBox(*control);
    ASSERT_FALSE(edit->hasSelectedText());

    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(edit->selectedText(), QStringLiteral("Data"));

    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
    QApplication::processEvents();
    EXPECT_FALSE(edit->hasSelectedText());
}
