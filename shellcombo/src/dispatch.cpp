// The control's dispatch table: one row per member and kind of call.

#include "vexlo/dispatch.h"

#include "dispatchtable.h"
#include "dispatchvalues.h"
#include "vexlo/vexloctrl.h"

#include <array>

namespace vexlo {

namespace {

using namespace dispatchvalues;
using Arguments = std::vector<Variant>;
using Member = DispatchMember<CVexloCtrl>;

constexpr DispatchKind kGet = DispatchKind::PropertyGet;
constexpr DispatchKind kPut = DispatchKind::PropertyPut;
constexpr DispatchKind kMethod = DispatchKind::Method;

// Rows for properties whose get and put differ only in the value's type.
template<bool (CVexloCtrl::*Get)() const>
Variant getBool(CVexloCtrl &pControl, const Arguments &)
{
    return (pControl.*Get)();
}

template<void (CVexloCtrl::*Put)(bool)>
Variant putBool(CVexloCtrl &pControl, const Arguments &pArgs)
{
    (pControl.*Put)(toBool(pArgs[0]));
    return {};
}

template<int16_t (CVexloCtrl::*Get)() const>
Variant getInt16(CVexloCtrl &pControl, const Arguments &)
{
    return fromInt16((pControl.*Get)());
}

template<void (CVexloCtrl::*Put)(int16_t)>
Variant putInt16(CVexloCtrl &pControl, const Arguments &pArgs)
{
    (pControl.*Put)(toInt16(pArgs[0]));
    return {};
}

const auto kMembers = std::to_array<Member>({
    {dispid::DropDownLines, kGet, 0, 0, &getInt16<&CVexloCtrl::DropDownLines>},
    {dispid::DropDownLines, kPut, 1, 1, &putInt16<&CVexloCtrl::DropDownLines>},
    {dispid::ShowFile, kGet, 0, 0, &getBool<&CVexloCtrl::ShowFile>},
    {dispid::ShowFile, kPut, 1, 1, &putBool<&CVexloCtrl::ShowFile>},
    {dispid::Enabled, kGet, 0, 0, &getBool<&CVexloCtrl::Enabled>},
    {dispid::Enabled, kPut, 1, 1, &putBool<&CVexloCtrl::Enabled>},
    {dispid::AutoComplete, kGet, 0, 0, &getBool<&CVexloCtrl::AutoComplete>},
    {dispid::AutoComplete, kPut, 1, 1, &putBool<&CVexloCtrl::AutoComplete>},
    {dispid::Indent, kGet, 0, 0, &getInt16<&CVexloCtrl::Indent>},
    {dispid::Indent, kPut, 1, 1, &putInt16<&CVexloCtrl::Indent>},
    {dispid::IncludeUrls, kGet, 0, 0, &getBool<&CVexloCtrl::IncludeUrls>},
    {dispid::IncludeUrls, kPut, 1, 1, &putBool<&CVexloCtrl::IncludeUrls>},
    {dispid::AutoUpdate, kGet, 0, 0, &getBool<&CVexloCtrl::AutoUpdate>},
    {dispid::AutoUpdate, kPut, 1, 1, &putBool<&CVexloCtrl::AutoUpdate>},
    {dispid::Sarvick, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) {
         return QVariant::fromValue(pControl.Sarvick());
     }},
    {dispid::Sarvick, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.Sarvick(toObject(pArgs[0]));
         return {};
     }},
    {dispid::Quennel, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) {
         return QVariant::fromValue(pControl.Quennel());
     }},
    {dispid::Quennel, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.Quennel(toObject(pArgs[0]));
         return {};
     }},
    {dispid::EditBoxText, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) -> Variant { return pControl.EditBoxText(); }},
    {dispid::EditBoxText, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.EditBoxText(toString(pArgs[0]));
         return {};
     }},
    {dispid::UshB, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) { return fromInt32(pControl.UshB()); }},
    {dispid::UshB, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.UshB(toAddress(pArgs[0]));
         return {};
     }},
    {dispid::ShowOverlayIcons, kGet, 0, 0, &getBool<&CVexloCtrl::ShowOverlayIcons>},
    {dispid::ShowOverlayIcons, kPut, 1, 1, &putBool<&CVexloCtrl::ShowOverlayIcons>},
    {dispid::WindowHandle, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) { return fromAddress(pControl.WindowHandle()); }},
    {dispid::WindowHandle, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.WindowHandle(toAddress(pArgs[0]));
         return {};
     }},
    {dispid::ShowVirtualFolders, kGet, 0, 0, &getBool<&CVexloCtrl::ShowVirtualFolders>},
    {dispid::ShowVirtualFolders, kPut, 1, 1, &putBool<&CVexloCtrl::ShowVirtualFolders>},
    {dispid::ShowFullPath, kGet, 0, 0, &getBool<&CVexloCtrl::ShowFullPath>},
    {dispid::ShowFullPath, kPut, 1, 1, &putBool<&CVexloCtrl::ShowFullPath>},
    {dispid::TooltipType, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) { return fromInt32(pControl.TooltipType()); }},
    {dispid::TooltipType, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.TooltipType(toInt32(pArgs[0]));
         return {};
     }},
    {dispid::ShowDrivesOnly, kGet, 0, 0, &getBool<&CVexloCtrl::ShowDrivesOnly>},
    {dispid::ShowDrivesOnly, kPut, 1, 1, &putBool<&CVexloCtrl::ShowDrivesOnly>},
    {dispid::Font, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) -> Variant { return pControl.Font(); }},
    {dispid::Font, kPut, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.Font(toFont(pArgs[0]));
         return {};
     }},
    {dispid::SetPath, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         return pControl.SetPath(toString(pArgs[0]));
     }},
    {dispid::SetPidl, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         // The list is given by its address; it stays the caller's.
         return pControl.SetPidl(reinterpret_cast<const CVexloCtrl::ItemIdList *>(
             toAddress(pArgs[0])));
     }},
    {dispid::ItemsCount, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) { return fromInt16(pControl.ItemsCount()); }},
    {dispid::SetSpecialFolder, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         return pControl.SetSpecialFolder(toInt32(pArgs[0]));
     }},
    {dispid::SelectItem, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         return pControl.SelectItem(toInt16(pArgs[0]));
     }},
    {dispid::SelectedItem, kGet, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) { return fromItem(pControl.SelectedItem()); }},
    {dispid::ComboBoxItem, kGet, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) {
         return fromItem(pControl.ComboBoxItem(toInt16(pArgs[0])));
     }},
    {dispid::GoUp, kMethod, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) -> Variant {
         pControl.GoUp();
         return {};
     }},
    {dispid::AddCustomItem, kMethod, 3, 3,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         pControl.AddCustomItem(toInt32(pArgs[0]), toString(pArgs[1]), toInt32(pArgs[2]));
         return {};
     }},
    {dispid::DeleteCustomItem, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) -> Variant {
         return pControl.DeleteCustomItem(toString(pArgs[0]));
     }},
    {dispid::AddCustomIcon, kMethod, 1, 2,
     [](CVexloCtrl &pControl, const Arguments &pArgs) {
         // The picture goes as it is: a kind the control cannot take gives -1, not an error.
         return fromInt32(
             pControl.AddCustomIcon(toString(pArgs[0]), pArgs.size() > 1 ? pArgs[1] : Variant()));
     }},
    {dispid::SetOverlayIcon, kMethod, 1, 1,
     [](CVexloCtrl &pControl, const Arguments &pArgs) {
         return fromInt32(pControl.SetOverlayIcon(toInt32(pArgs[0])));
     }},
    {dispid::RefreshComboBox, kMethod, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) -> Variant {
         pControl.RefreshComboBox();
         return {};
     }},
    {dispid::AboutBox, kMethod, 0, 0,
     [](CVexloCtrl &pControl, const Arguments &) -> Variant {
         pControl.AboutBox();
         return {};
     }},
});

} // namespace

Variant invokeVexlo(CVexloCtrl &pControl, int32_t pDispId, DispatchKind pKind,
                    const std::vector<Variant> &pArgs)
{
    return dispatchThrough<CVexloCtrl>(kMembers, pControl, pDispId, pKind, pArgs);
}

} // namespace vexlo
