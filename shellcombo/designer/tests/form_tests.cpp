// The control in a real container: a form in Designer's format that holds it, compiled by uic
// into this program, and loaded at run time by QUiLoader through the installed plugin.

#include "ui_pathform.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"

#include <QtCore/QFile>
#include <QtUiTools/QUiLoader>
#include <QtWidgets/QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace {

// What the form sets, as the control then reads.
void expectFormsProperties(vexlo::CVexloCtrl &pControl)
{
    EXPECT_TRUE(pControl.ambientUserMode()); // a program runs the form
    EXPECT_EQ(pControl.DropDownLines(), 12);
    EXPECT_TRUE(pControl.ShowFile());
    EXPECT_EQ(pControl.Indent(), 0);
    EXPECT_FALSE(pControl.IncludeUrls());
    EXPECT_TRUE(pControl.ShowFullPath());
    EXPECT_EQ(pControl.TooltipType(), 1);
    EXPECT_TRUE(pControl.ShowDrivesOnly());
    EXPECT_FALSE(pControl.AutoUpdate());
    EXPECT_TRUE(pControl.AutoComplete()); // not set: the default
    // Shown, it makes its window as the form has it: drives only, without an edit box.
    pControl.window()->show();
    ASSERT_NE(pControl.listWindow(), nullptr);
    EXPECT_FALSE(pControl.listWindow()->isEditable());
    ASSERT_GE(pControl.ItemsCount(), 1);
    for (int16_t index = 0; index < pControl.ItemsCount(); ++index)
        EXPECT_EQ(pControl.ComboBoxItem(index)->ItemIndent(), 0);
    EXPECT_TRUE(pControl.listWindow()->hasTooltip());
}

} // namespace

TEST(Forms, AFormCompiledByUicHoldsTheControlAsItSetsIt)
{
    QWidget form;
    Ui::PathForm ui;
    ui.setupUi(&form);
    ASSERT_NE(ui.folder, nullptr);
    EXPECT_EQ(ui.label->buddy(), ui.folder);
    expectFormsProperties(*ui.folder);
}

TEST(Forms, QUiLoaderFindsTheControlThroughTheInstalledPlugin)
{
    QUiLoader loader;
    loader.clearPluginPaths();
    EXPECT_FALSE(loader.availableWidgets().contains(QStringLiteral("vexlo::CVexloCtrl")));

    QUiLoader installed;
    installed.clearPluginPaths();
    installed.addPluginPath(QStringLiteral(VEXLO_INSTALLED_PLUGIN_DIR));
    ASSERT_TRUE(installed.availableWidgets().contains(QStringLiteral("vexlo::CVexloCtrl")))
        << "no plugin in " VEXLO_INSTALLED_PLUGIN_DIR;
    QFile file(QStringLiteral(VEXLO_PATHFORM_UI));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::unique_ptr<QWidget> form(installed.load(&file));
    ASSERT_NE(form, nullptr) << installed.errorString().toStdString();
    auto *control = form->findChild<vexlo::CVexloCtrl *>(QStringLiteral("folder"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("label"))->buddy(), control);
    expectFormsProperties(*control);
}
