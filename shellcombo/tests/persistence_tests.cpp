// The persisted state: names, kinds, order, defaults, the version stamp, reset, and the round
// trip through both bags.

#include "combosandbox.h"

#include "vexlo/identifiers.h"
#include "vexlo/memorypropertybag.h"
#include "vexlo/namespacecombobox.h"
#include "vexlo/settingspropertybag.h"
#include "vexlo/vexloctrl.h"

#include <QtCore/QFile>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <cmath>

namespace pf = pindrel::platform;
using vexlo::CVexloCtrl;
using vexlo::MemoryPropertyBag;
using vexlo::PropertyKind;

namespace {

class PersistenceTest : public ::testing::Test
{
protected:
    std::unique_ptr<CVexloCtrl> makeControl(bool pUserMode = false)
    {
        auto control = std::make_unique<CVexloCtrl>(shell);
        control->setAmbientUserMode(pUserMode);
        return control;
    }

    // Every persisted property away from its default, as a designer would leave them.
    void changeEverything(CVexloCtrl &pControl) const
    {
        pControl.Enabled(false);
        pControl.DropDownLines(12);
        pControl.AutoComplete(false);
        pControl.Font(changedFont());
        pControl.Indent(2);
        pControl.IncludeUrls(false);
        pControl.AutoUpdate(false);
        pControl.ShowFile(true);
        pControl.ShowOverlayIcons(false);
        pControl.ShowVirtualFolders(false);
        pControl.ShowFullPath(true);
        pControl.TooltipType(1);
        pControl.ShowDrivesOnly(true);
    }

    static QFont changedFont()
    {
        QFont font = QApplication::font();
        font.setPointSize(font.pointSize() + 5);
        font.setItalic(true);
        return font;
    }

    static void expectEverythingChanged(const CVexloCtrl &pControl)
    {
        EXPECT_FALSE(pControl.Enabled());
        EXPECT_EQ(pControl.DropDownLines(), 12);
        EXPECT_FALSE(pControl.AutoComplete());
        EXPECT_EQ(pControl.Font().pointSize(), changedFont().pointSize());
        EXPECT_TRUE(pControl.Font().italic());
        EXPECT_EQ(pControl.Indent(), 2);
        EXPECT_FALSE(pControl.IncludeUrls());
        EXPECT_FALSE(pControl.AutoUpdate());
        EXPECT_TRUE(pControl.ShowFile());
        EXPECT_FALSE(pControl.ShowOverlayIcons());
        EXPECT_FALSE(pControl.ShowVirtualFolders());
        EXPECT_TRUE(pControl.ShowFullPath());
        EXPECT_EQ(pControl.TooltipType(), 1);
        EXPECT_TRUE(pControl.ShowDrivesOnly());
    }

    static void expectDefaults(const CVexloCtrl &pControl)
    {
        EXPECT_TRUE(pControl.Enabled());
        EXPECT_EQ(pControl.DropDownLines(), 8);
        EXPECT_TRUE(pControl.AutoComplete());
        EXPECT_EQ(pControl.Font(), QApplication::font());
        EXPECT_EQ(pControl.Indent(), 1);
        EXPECT_TRUE(pControl.IncludeUrls());
        EXPECT_TRUE(pControl.AutoUpdate());
        EXPECT_FALSE(pControl.ShowFile());
        EXPECT_TRUE(pControl.ShowOverlayIcons());
        EXPECT_TRUE(pControl.ShowVirtualFolders());
        EXPECT_FALSE(pControl.ShowFullPath());
        EXPECT_EQ(pControl.TooltipType(), 3);
        EXPECT_FALSE(pControl.ShowDrivesOnly());
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell = sandbox.makeShell();
};

} // namespace

TEST_F(PersistenceTest, NamesKindsOrderAndDefaults)
{
    const auto control = makeControl();
    MemoryPropertyBag bag;
    control->saveProperties(bag);

    EXPECT_EQ(bag.names(),
              QString::fromLatin1("_Version _ExtentX _ExtentY _StockProps Enabled DropDownLines "
                                  "AutoComplete Font Indent IncludeUrls AutoUpdate ShowFile "
                                  "ShowOverlayIcons ShowVirtualFolders ShowFullPath TooltipType "
                                  "ShowDrivesOnly")
                  .split(u' '));
    struct Row
    {
        const char *name;
        QMetaType::Type kind;
        QVariant value;
    };
    const auto himetric = [](int pPixels, int pDpi) {
        return static_cast<int>(std::lround(pPixels * 2540.0 / pDpi));
    };
    const Row rows[] = {
        {"_Version", QMetaType::Int, 0x00070000},
        {"_ExtentX", QMetaType::Int, himetric(200, control->logicalDpiX())},
        {"_ExtentY", QMetaType::Int, himetric(90, control->logicalDpiY())},
        {"_StockProps", QMetaType::Int, 0},
        {"Enabled", QMetaType::Bool, true},
        {"DropDownLines", QMetaType::Short, QVariant::fromValue<qint16>(8)},
        {"AutoComplete", QMetaType::Bool, true},
        {"Font", QMetaType::QFont, QApplication::font()},
        {"Indent", QMetaType::Short, QVariant::fromValue<qint16>(1)},
        {"IncludeUrls", QMetaType::Bool, true},
        {"AutoUpdate", QMetaType::Bool, true},
        {"ShowFile", QMetaType::Bool, false},
        {"ShowOverlayIcons", QMetaType::Bool, true},
        {"ShowVirtualFolders", QMetaType::Bool, true},
        {"ShowFullPath", QMetaType::Bool, false},
        {"TooltipType", QMetaType::Int, 3},
        {"ShowDrivesOnly", QMetaType::Bool, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QVariant saved = bag.value(QString::fromLatin1(row.name));
        EXPECT_EQ(saved.typeId(), row.kind);
        EXPECT_EQ(saved, row.value);
    }
    EXPECT_EQ(bag.value(QStringLiteral("_Version")).toInt(), vexlo::kPersistedVersion);
}

TEST_F(PersistenceTest, RoundTripInMemory)
{
    const auto designed = makeControl();
    changeEverything(*designed);
    designed->resize(300, 40);
    ASSERT_TRUE(designed->isModified());
    MemoryPropertyBag bag;
    designed->saveProperties(bag);
    EXPECT_FALSE(designed->isModified());

    const auto loaded = makeControl(true);
    loaded->setModified(true);
    loaded->loadProperties(bag);
    expectEverythingChanged(*loaded);
    EXPECT_EQ(loaded->width(), 300);
    EXPECT_FALSE(loaded->isModified());
}

TEST_F(PersistenceTest, RoundTripThroughSettings)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("combo.ini"));
    {
        const auto designed = makeControl();
        changeEverything(*designed);
        QSettings settings(file, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("combo"));
        vexlo::SettingsPropertyBag bag(settings);
        designed->saveProperties(bag);
    }
    {
        QFile text(file);
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const QByteArray content = text.readAll();
        EXPECT_TRUE(content.contains("ShowFile=true")) << content.constData();
        EXPECT_TRUE(content.contains("_Version=458752")) << content.constData();
        EXPECT_TRUE(content.contains("DropDownLines=12")) << content.constData();
    }
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("combo"));
    const vexlo::SettingsPropertyBag bag(settings);
    const auto loaded = makeControl(true);
    loaded->loadProperties(bag);
    expectEverythingChanged(*loaded);
}

TEST_F(PersistenceTest, AbsentAndUnreadableValuesTakeTheirDefaults)
{
    const auto control = makeControl();
    changeEverything(*control);
    MemoryPropertyBag bag;
    bag.setValue(QStringLiteral("DropDownLines"), QStringLiteral("many"));
    bag.setValue(QStringLiteral("Indent"), 70000); // beyond a 16-bit integer
    bag.setValue(QStringLiteral("Font"), 12);
    bag.setValue(QStringLiteral("ShowFile"), QStringLiteral("maybe"));
    bag.setValue(QStringLiteral("Enabled"), QStringLiteral("false")); // readable text
    bag.setValue(QStringLiteral("TooltipType"), QStringLiteral(" 2 ")); // readable text
    control->loadProperties(bag);

    EXPECT_EQ(control->DropDownLines(), 8);
    EXPECT_EQ(control->Indent(), 1);
    EXPECT_EQ(control->Font(), QApplication::font());
    EXPECT_FALSE(control->ShowFile());
    EXPECT_FALSE(control->Enabled());
    EXPECT_EQ(control->TooltipType(), 2);
    EXPECT_TRUE(control->ShowOverlayIcons()); // absent
    EXPECT_FALSE(control->ShowDrivesOnly()); // absent
}

TEST_F(PersistenceTest, ResetGivesEveryDefault)
{
    const auto control = makeControl();
    changeEverything(*control);
    control->resize(400, 50);
    control->resetProperties();
    expectDefaults(*control);
    EXPECT_EQ(control->size(), QSize(200, 90));
    EXPECT_FALSE(control->isModified());

    MemoryPropertyBag reset;
    control->saveProperties(reset);
    MemoryPropertyBag fresh;
    makeControl()->saveProperties(fresh);
    for (const QString &name : fresh.names())
        EXPECT_EQ(reset.value(name), fresh.value(name)) << name.toStdString();
}

TEST_F(PersistenceTest, DrivesOnlyControlIsRecreatedAsADropDownListOfDrives)
{
    MemoryPropertyBag bag;
    {
        const auto designed = makeControl();
        designed->ShowDrivesOnly(true);
        designed->saveProperties(bag);
    }
    const auto running = makeControl(true);
    running->loadProperties(bag);
    running->createControlWindow();
    ASSERT_NE(running->listWindow(), nullptr);
    EXPECT_FALSE(running->listWindow()->isEditable());
    ASSERT_EQ(running->ItemsCount(), 3);
    for (int16_t index = 0; index < 3; ++index) {
        EXPECT_EQ(running->ComboBoxItem(index)->ItemIndent(), 0);
        EXPECT_FALSE(running->ComboBoxItem(index)->Path().isEmpty());
    }
}
