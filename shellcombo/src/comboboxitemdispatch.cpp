// The item object's dispatch table: one row per member and kind of call.

#include "vexlo/dispatch.h"

#include "dispatchtable.h"
#include "dispatchvalues.h"
#include "vexlo/comboboxitem.h"

#include <array>

namespace vexlo {

namespace {

using namespace dispatchvalues;
using Arguments = std::vector<Variant>;
using Member = DispatchMember<CComboBoxItem>;

constexpr DispatchKind kGet = DispatchKind::PropertyGet;
constexpr DispatchKind kPut = DispatchKind::PropertyPut;

const auto kMembers = std::to_array<Member>({
    {itemdispid::IconIndex, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromInt32(pItem.IconIndex()); }},
    {itemdispid::IconIndex, kPut, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) -> Variant {
         pItem.IconIndex(toInt32(pArgs[0]));
         return {};
     }},
    {itemdispid::Text, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) -> Variant { return pItem.Text(); }},
    {itemdispid::Text, kPut, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) -> Variant {
         pItem.Text(toString(pArgs[0]));
         return {};
     }},
    {itemdispid::OverlayIconIndex, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromInt32(pItem.OverlayIconIndex()); }},
    {itemdispid::OverlayIconIndex, kPut, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) -> Variant {
         pItem.OverlayIconIndex(toInt32(pArgs[0]));
         return {};
     }},
    {itemdispid::UserData, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return pItem.UserData(); }},
    {itemdispid::UserData, kPut, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) -> Variant {
         pItem.UserData(pArgs[0]); // any variant
         return {};
     }},
    {itemdispid::ItemIndent, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromInt16(pItem.ItemIndent()); }},
    {itemdispid::ItemIndent, kPut, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) -> Variant {
         pItem.ItemIndent(toInt16(pArgs[0]));
         return {};
     }},
    {itemdispid::DisplayName, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) -> Variant { return pItem.DisplayName(); }},
    {itemdispid::ItemIndex, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromInt16(pItem.ItemIndex()); }},
    {itemdispid::Path, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) -> Variant { return pItem.Path(); }},
    {itemdispid::Selected, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) -> Variant { return pItem.Selected(); }},
    {itemdispid::Pidl, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromAddress(pItem.Pidl()); }},
    {itemdispid::PreviousItem, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromItem(pItem.PreviousItem()); }},
    {itemdispid::NextItem, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromItem(pItem.NextItem()); }},
    {itemdispid::Children, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) { return fromInt16(pItem.Children()); }},
    {itemdispid::Attributes, kGet, 1, 1,
     [](CComboBoxItem &pItem, const Arguments &pArgs) {
         // A Long: bit 31 (HasSubfolder) reads back as a negative number.
         return fromInt32(static_cast<int32_t>(pItem.Attributes(toUInt32(pArgs[0]))));
     }},
    {itemdispid::IsCustom, kGet, 0, 0,
     [](CComboBoxItem &pItem, const Arguments &) -> Variant { return pItem.IsCustom(); }},
});

} // namespace

Variant invokeComboBoxItem(CComboBoxItem &pItem, int32_t pDispId, DispatchKind pKind,
                           const std::vector<Variant> &pArgs)
{
    return dispatchThrough<CComboBoxItem>(kMembers, pItem, pDispId, pKind, pArgs);
}

} // namespace vexlo
