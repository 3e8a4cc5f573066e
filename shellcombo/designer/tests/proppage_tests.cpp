// The property pages: their controls, the exchange with the control's properties, and the
// validation of the two numbers.

#include "vexlo/fontproppage.h"
#include "vexlo/propertiesdialog.h"
#include "vexlo/propertypagesite.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloproppage.h"

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>

#include <gtest/gtest.h>

#include <map>

using vexlo::CVexloPropPage;

namespace {

// A site over a table of values that records what is written.
class RecordingSite : public vexlo::PropertyPageSite
{
public:
    QVariant readProperty(const char *pName) const override
    {
        const auto found = values.find(pName);
        return found == values.end() ? QVariant() : found->second;
    }
    void writeProperty(const char *pName, const QVariant &pValue) override
    {
        values[pName] = pValue;
        written << QString::fromLatin1(pName);
    }
    void showAbout() override { ++abouts; }

    std::map<std::string, QVariant> values{{"enabled", true},
                                           {"ShowFile", false},
                                           {"AutoComplete", true},
                                           {"IncludeUrls", true},
                                           {"ShowOverlayIcons", true},
                                           {"ShowVirtualFolders", true},
                                           {"DropDownLines", 8},
                                           {"Indent", 1},
                                           {"ShowFullPath", false},
                                           {"TooltipType", 3},
                                           {"ShowDrivesOnly", false},
                                           {"AutoUpdate", true},
                                           {"font", QApplication::font()}};
    QStringList written;
    int abouts = 0;
};

template<typename Control>
Control *control(QWidget &pPage, const char *pName)
{
    return pPage.findChild<Control *>(QString::fromLatin1(pName));
}

// Types pText into a number box as a user would, replacing what it holds.
void typeInto(QSpinBox *pBox, const QString &pText)
{
    pBox->setFocus();
    pBox->selectAll();
    QTest::keyClicks(pBox, pText);
}

void closeMessages()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(widget))
            widget->close();
    }
}

} // namespace

TEST(PropertyPage, TheNumbersAreCheckedAgainstTheirRangesWhenThePageApplies)
{
    struct Row
    {
        const char *name;
        const char *box;
        const char *typed;
        bool accepted;
    };
    const Row rows[] = {
        {"no drop-down lines", "DropDownLines", "0", false},
        {"one drop-down line", "DropDownLines", "1", true},
        {"a hundred drop-down lines", "DropDownLines", "100", true},
        {"too many drop-down lines", "DropDownLines", "101", false},
        {"no indentation", "Indent", "0", true},
        {"too much indentation", "Indent", "250", false},
        {"a negative indentation", "Indent", "-1", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSite site;
        CVexloPropPage page(site);
        page.show();
        QApplication::setActiveWindow(&page);
        typeInto(control<QSpinBox>(page, row.box), QString::fromUtf8(row.typed));
        EXPECT_EQ(page.apply(), row.accepted);
        if (row.accepted) {
            EXPECT_EQ(site.values[row.box], QVariant(QString::fromUtf8(row.typed).toInt()));
            EXPECT_EQ(page.refusal(), QString());
        } else {
            EXPECT_TRUE(site.written.isEmpty()); // nothing at all is applied
            EXPECT_TRUE(page.refusal().startsWith(QStringLiteral("Please enter an integer")));
            EXPECT_TRUE(control<QSpinBox>(page, row.box)->hasFocus());
        }
        closeMessages();
    }
}

TEST(PropertyPage, TheArrowsKeepToTheRange)
{
    RecordingSite site;
    site.values["DropDownLines"] = 1;
    site.values["Indent"] = 100;
    CVexloPropPage page(site);
    auto *lines = control<QSpinBox>(page, "DropDownLines");
    auto *indent = control<QSpinBox>(page, "Indent");
    lines->stepBy(-1);
    indent->stepBy(1);
    EXPECT_EQ(lines->value(), 1);
    EXPECT_EQ(indent->value(), 100);
    lines->stepBy(3);
    EXPECT_EQ(lines->value(), 4);
}

TEST(PropertyPage, LoadsAndAppliesEveryProperty)
{
    RecordingSite site;
    site.values["ShowFile"] = true;
    site.values["TooltipType"] = 2;
    CVexloPropPage page(site);
    EXPECT_TRUE(control<QCheckBox>(page, "ShowFile")->isChecked());
    EXPECT_EQ(control<QComboBox>(page, "TooltipType")->currentIndex(), 2);

    control<QCheckBox>(page, "ShowDrivesOnly")->setChecked(true);
    control<QComboBox>(page, "TooltipType")->setCurrentIndex(0);
    ASSERT_TRUE(page.apply());
    EXPECT_EQ(site.values["ShowDrivesOnly"], QVariant(true));
    EXPECT_EQ(site.values["TooltipType"], QVariant(0));
    EXPECT_EQ(site.written.size(), 12); // every box but the font, which has its own page

    QTest::mouseClick(control<QPushButton>(page, "About"), Qt::LeftButton);
    EXPECT_EQ(site.abouts, 1);
}

TEST(PropertyPage, ThePagesOnAControl)
{
    // At run time too: the pages set the control's persisted state, as a form does.
    vexlo::CVexloCtrl controlOnForm;
    vexlo::ControlPropertySite site(&controlOnForm);
    vexlo::PropertiesDialog dialog(site);
    auto *tabs = dialog.findChild<QTabWidget *>();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Font"));
    QPushButton *apply = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Apply);
    EXPECT_FALSE(apply->isEnabled());

    dialog.show();
    QTest::mouseClick(control<QCheckBox>(*dialog.generalPage(), "ShowDrivesOnly"), Qt::LeftButton);
    typeInto(control<QSpinBox>(*dialog.generalPage(), "Indent"), QStringLiteral("0"));
    EXPECT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_TRUE(controlOnForm.ShowDrivesOnly());
    EXPECT_EQ(controlOnForm.Indent(), 0);
    EXPECT_FALSE(apply->isEnabled());

    // OK with a value the page refuses keeps the dialog, on that page.
    typeInto(control<QSpinBox>(*dialog.generalPage(), "DropDownLines"), QStringLiteral("0"));
    tabs->setCurrentIndex(1);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(controlOnForm.DropDownLines(), 8);
    closeMessages();
}
