// Late binding: the control's and the item object's members by dispatch identifier.

#include "combosandbox.h"

#include "vexlo/dispatch.h"
#include "vexlo/namespacecombobox.h"
#include "vexlo/vexloctrl.h"
#include "vexlo/vexloenums.h"
#include "vexlo/vexloerror.h"

#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace pf = pindrel::platform;
using vexlo::CComboBoxItem;
using vexlo::CVexloCtrl;
using vexlo::DispatchError;
using vexlo::DispatchKind;
using vexlo::Variant;
namespace dispid = vexlo::dispid;
namespace itemdispid = vexlo::itemdispid;

namespace {

class DispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        control.setAmbientUserMode(false);
        control.createControlWindow();
    }
    Variant get(int32_t pId, std::vector<Variant> pArgs = {})
    {
        return vexlo::invokeVexlo(control, pId, DispatchKind::PropertyGet, pArgs);
    }
    Variant put(int32_t pId, const Variant &pValue)
    {
        return vexlo::invokeVexlo(control, pId, DispatchKind::PropertyPut, {pValue});
    }
    Variant call(int32_t pId, std::vector<Variant> pArgs = {})
    {
        return vexlo::invokeVexlo(control, pId, DispatchKind::Method, pArgs);
    }
    // The automation code of the DispatchError pAction throws; 0 when none.
    static uint32_t codeOf(const std::function<void()> &pAction)
    {
        try {
            pAction();
        } catch (const DispatchError &error) {
            return error.code();
        }
        return 0;
    }

    ComboSandbox sandbox;
    std::shared_ptr<pf::ShellNamespace> shell = sandbox.makeShell();
    CVexloCtrl control{shell};
};

QVariant int16(int pValue)
{
    return QVariant::fromValue(static_cast<qint16>(pValue));
}

} // namespace

TEST_F(DispatchTest, PropertiesPutAndGet)
{
    struct Row
    {
        const char *name;
        int32_t id;
        Variant written;
        Variant read;
    };
    QFont font = QApplication::font();
    font.setBold(true);
    const Row rows[] = {
        {"DropDownLines", dispid::DropDownLines, int16(5), int16(5)},
        {"DropDownLines from text", dispid::DropDownLines, QStringLiteral("6"), int16(6)},
        {"ShowFile", dispid::ShowFile, true, true},
        {"Enabled from a number", dispid::Enabled, 0, false},
        {"EditBoxText", dispid::EditBoxText, QStringLiteral("/x"), QStringLiteral("/x")},
        {"AutoComplete", dispid::AutoComplete, false, false},
        {"EditBoxText without AutoComplete", dispid::EditBoxText, QStringLiteral("/y"), QString()},
        {"Indent from a Long", dispid::Indent, 3, int16(3)},
        {"IncludeUrls", dispid::IncludeUrls, false, false},
        {"AutoUpdate", dispid::AutoUpdate, false, false},
        {"UshB reads 0", dispid::UshB, 0, QVariant::fromValue<qint32>(0)},
        {"ShowOverlayIcons", dispid::ShowOverlayIcons, false, false},
        {"ShowVirtualFolders", dispid::ShowVirtualFolders, false, false},
        {"ShowFullPath", dispid::ShowFullPath, true, true},
        {"TooltipType", dispid::TooltipType, 2, QVariant::fromValue<qint32>(2)},
        {"ShowDrivesOnly", dispid::ShowDrivesOnly, true, true},
        {"Font", dispid::Font, font, font},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(put(row.id, row.written).isValid());
        const Variant read = get(row.id);
        EXPECT_EQ(read.typeId(), row.read.typeId());
        EXPECT_EQ(read, row.read);
    }
}

TEST_F(DispatchTest, PropertyErrorsComeThroughAsTheControlRaisedThem)
{
    const auto numberOf = [](const std::function<void()> &pAction) {
        try {
            pAction();
        } catch (const vexlo::VexloError &error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { put(dispid::WindowHandle, 1); }), 383);
    EXPECT_EQ(numberOf([&] { get(dispid::Quennel); }), 394);
    EXPECT_EQ(numberOf([&] { get(dispid::Sarvick); }), 394);
    EXPECT_EQ(numberOf([&] { put(dispid::Quennel, Variant()); }), 0); // nothing ends it
    control.setAmbientUserMode(true);
    EXPECT_EQ(numberOf([&] { put(dispid::ShowDrivesOnly, true); }), 387);
    EXPECT_EQ(get(dispid::WindowHandle).toLongLong(),
              reinterpret_cast<qlonglong>(control.listWindow()));
}

TEST_F(DispatchTest, Misuse)
{
    struct Row
    {
        const char *name;
        std::function<void()> action;
        uint32_t code;
    };
    const Row rows[] = {
        {"unknown identifier", [&] { get(999); }, vexlo::kDispMemberNotFound},
        {"a property called as a method", [&] { call(dispid::ShowFile); },
         vexlo::kDispMemberNotFound},
        {"a read-only property written", [&] { put(dispid::ItemsCount, 1); },
         vexlo::kDispMemberNotFound},
        {"a method with too few arguments", [&] { call(dispid::SetPath); },
         vexlo::kDispBadParamCount},
        {"a get with an argument too many", [&] { get(dispid::ShowFile, {1}); },
         vexlo::kDispBadParamCount},
        {"a number beyond an Integer", [&] { put(dispid::DropDownLines, 40000); },
         vexlo::kDispOverflow},
        {"a font where a Boolean goes", [&] { put(dispid::ShowFile, QApplication::font()); },
         vexlo::kDispTypeMismatch},
        {"a number where a String goes", [&] { call(dispid::SetPath, {5}); },
         vexlo::kDispTypeMismatch},
        {"text that is no number", [&] { put(dispid::Indent, QStringLiteral("two")); },
         vexlo::kDispTypeMismatch},
        {"a text where a font goes", [&] { put(dispid::Font, QStringLiteral("Sans")); },
         vexlo::kDispTypeMismatch},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(codeOf(row.action), row.code);
    }
}

TEST_F(DispatchTest, Methods)
{
    EXPECT_EQ(get(dispid::ItemsCount), int16(11));
    EXPECT_EQ(call(dispid::SetPath, {sandbox.path(QStringLiteral("mnt/c/Windows"))}),
              QVariant(true));
    EXPECT_EQ(call(dispid::SetPath, {QStringLiteral("nowhere")}), QVariant(false));
    EXPECT_EQ(get(dispid::ItemsCount), int16(12));

    Variant selected = get(dispid::SelectedItem);
    ASSERT_TRUE(selected.canConvert<CComboBoxItem>());
    EXPECT_EQ(selected.value<CComboBoxItem>().Text(), QStringLiteral("Windows"));
    EXPECT_FALSE(get(dispid::ComboBoxItem, {int16(12)}).isValid());
    EXPECT_EQ(get(dispid::ComboBoxItem, {3}).value<CComboBoxItem>().Text(), QStringLiteral("c"));

    EXPECT_FALSE(call(dispid::GoUp).isValid());
    EXPECT_EQ(get(dispid::SelectedItem).value<CComboBoxItem>().Text(), QStringLiteral("c"));
    EXPECT_EQ(call(dispid::SetSpecialFolder, {vexlo::DRIVES}), QVariant(true));
    EXPECT_EQ(call(dispid::SelectItem, {int16(4)}), QVariant(true));
    EXPECT_EQ(call(dispid::SelectItem, {int16(11)}), QVariant(false));

    // SetPidl takes an address; 0 is the desktop.
    const auto folder = parsePath(*shell, sandbox.path(QStringLiteral("mnt/d/Data")));
    EXPECT_EQ(call(dispid::SetPidl, {QVariant::fromValue(reinterpret_cast<qint64>(folder.get()))}),
              QVariant(true));
    EXPECT_EQ(get(dispid::SelectedItem).value<CComboBoxItem>().Text(), QStringLiteral("Data"));
    EXPECT_EQ(call(dispid::SetPidl, {0}), QVariant(true));
    EXPECT_EQ(get(dispid::SelectedItem).value<CComboBoxItem>().ItemIndex(), 0);

    EXPECT_FALSE(call(dispid::RefreshComboBox).isValid());
    EXPECT_EQ(get(dispid::ItemsCount), int16(11));
}

TEST_F(DispatchTest, ItemObjectMembers)
{
    CComboBoxItem drive = *control.ComboBoxItem(3);
    const auto itemGet = [&](int32_t pId, std::vector<Variant> pArgs = {}) {
        return vexlo::invokeComboBoxItem(drive, pId, DispatchKind::PropertyGet, pArgs);
    };
    const auto itemPut = [&](int32_t pId, const Variant &pValue) {
        return vexlo::invokeComboBoxItem(drive, pId, DispatchKind::PropertyPut, {pValue});
    };

    EXPECT_EQ(itemGet(itemdispid::Text), QVariant(QStringLiteral("c")));
    EXPECT_EQ(itemGet(itemdispid::ItemIndent), int16(2));
    EXPECT_EQ(itemGet(itemdispid::Pidl).toLongLong(),
              reinterpret_cast<qlonglong>(control.listWindow()->entryIdList(3)));
    EXPECT_EQ(itemGet(itemdispid::NextItem).value<CComboBoxItem>().Text(), QStringLiteral("d"));
    // A Long: the bits asked for, HasSubfolder (bit 31) as the sign.
    EXPECT_EQ(itemGet(itemdispid::Attributes, {static_cast<qint32>(vexlo::Folder | vexlo::Link)}),
              QVariant::fromValue<qint32>(vexlo::Folder));
    const auto documents = specialFolder(*shell, vexlo::PERSONAL);
    ASSERT_TRUE(control.SetPidl(documents.get()));
    CComboBoxItem withFolders = *control.SelectedItem();
    EXPECT_LT(vexlo::invokeComboBoxItem(withFolders, itemdispid::Attributes,
                                        DispatchKind::PropertyGet,
                                        {QVariant::fromValue<qint64>(0x80000000LL)})
                  .toInt(),
              0);

    itemPut(itemdispid::UserData, QVariant::fromValue(QStringList{QStringLiteral("kept")}));
    EXPECT_EQ(itemGet(itemdispid::UserData).toStringList(), QStringList{QStringLiteral("kept")});
    itemPut(itemdispid::Text, QStringLiteral("Drive C"));
    EXPECT_EQ(control.ComboBoxItem(3)->Text(), QStringLiteral("Drive C"));

    CComboBoxItem first = *control.ComboBoxItem(0);
    EXPECT_FALSE(
        vexlo::invokeComboBoxItem(first, itemdispid::PreviousItem, DispatchKind::PropertyGet, {})
            .isValid());
    EXPECT_EQ(codeOf([&] { itemPut(itemdispid::DisplayName, QStringLiteral("x")); }),
              vexlo::kDispMemberNotFound);
    EXPECT_EQ(codeOf([&] { itemGet(itemdispid::Attributes); }), vexlo::kDispBadParamCount);
}

TEST_F(DispatchTest, CustomItemsIconsAndOverlaysLateBound)
{
    // Each of the four has a row of its own in the table: none fails with member-not-found.
    EXPECT_FALSE(
        call(dispid::AddCustomItem, {vexlo::VXOParentNone, QStringLiteral("Mine"), 2}).isValid());
    EXPECT_EQ(get(dispid::ComboBoxItem, {int16(11)}).value<CComboBoxItem>().Text(),
              QStringLiteral("Mine"));
    EXPECT_EQ(call(dispid::DeleteCustomItem, {QStringLiteral("Mine")}), QVariant(true));
    EXPECT_EQ(call(dispid::DeleteCustomItem, {QStringLiteral("Mine")}), QVariant(false));

    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    const Variant image = call(dispid::AddCustomIcon, {QString(), QIcon(picture)});
    EXPECT_EQ(image.typeId(), QMetaType::Int);
    EXPECT_GE(image.toInt(), 2);
    EXPECT_EQ(call(dispid::AddCustomIcon, {QStringLiteral("/nowhere/x.ico")}),
              QVariant::fromValue<qint32>(-1));
    EXPECT_EQ(call(dispid::AddCustomIcon, {QString(), QStringLiteral("no picture")}),
              QVariant::fromValue<qint32>(-1));
    EXPECT_EQ(call(dispid::SetOverlayIcon, {image}), QVariant::fromValue<qint32>(3));

    EXPECT_EQ(codeOf([&] {
                  call(dispid::AddCustomItem, {0, QStringLiteral("x")});
              }),
              vexlo::kDispBadParamCount);
    EXPECT_EQ(codeOf([&] { call(dispid::SetOverlayIcon, {QStringLiteral("three")}); }),
              vexlo::kDispTypeMismatch);
}
