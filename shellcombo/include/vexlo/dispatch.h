#pragma once

// Late binding for the control and its item objects: a member called by its dispatch identifier
// with its arguments as variants, as automation clients do.
//
// Variants carry bool, qint16 (Integer), qint32 (Long), qint64 (an address: Pidl, SetPidl,
// UshB, WindowHandle), QString, QFont, QObject * (an object; an empty variant is nothing),
// CComboBoxItem (an item object; an empty variant is nothing), a picture (QIcon, QPixmap,
// QBitmap or QImage, for AddCustomIcon, whose picture may be left out) or nothing at all. Arguments
// are coerced as automation does: a String parameter takes a string (an empty variant reads ""); a
// number parameter takes any integer, a bool (true is -1) or a decimal text, and fails with
// kDispOverflow when the value does not fit; a Boolean takes a bool or a number.
//
// Misuse (unknown identifier, wrong kind of call, wrong number or type of arguments) throws
// DispatchError with the automation error code. The control's own property errors (383, 387,
// 394) come through as the VexloError the member raised.

#include "vexlo/vexloexport.h"

#include <QtCore/QVariant>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexlo {

class CVexloCtrl;
class CComboBoxItem;

using Variant = QVariant;

enum class DispatchKind { Method, PropertyGet, PropertyPut };

// _DVexlo
namespace dispid {
inline constexpr int32_t DropDownLines = 1;
inline constexpr int32_t ShowFile = 2;
inline constexpr int32_t Enabled = 3;
inline constexpr int32_t AutoComplete = 4;
inline constexpr int32_t Indent = 5;
inline constexpr int32_t IncludeUrls = 6;
inline constexpr int32_t AutoUpdate = 7;
inline constexpr int32_t Sarvick = 8;
inline constexpr int32_t Quennel = 9;
inline constexpr int32_t EditBoxText = 10;
inline constexpr int32_t UshB = 11;
inline constexpr int32_t ShowOverlayIcons = 12;
inline constexpr int32_t WindowHandle = 13;
inline constexpr int32_t ShowVirtualFolders = 14;
inline constexpr int32_t ShowFullPath = 15;
inline constexpr int32_t TooltipType = 16;
inline constexpr int32_t ShowDrivesOnly = 17;
inline constexpr int32_t SetPath = 0x12;
inline constexpr int32_t SetPidl = 0x13;
inline constexpr int32_t ItemsCount = 0x14;
inline constexpr int32_t SetSpecialFolder = 0x15;
inline constexpr int32_t SelectItem = 0x16;
inline constexpr int32_t SelectedItem = 0x17;
inline constexpr int32_t ComboBoxItem = 0x18;
inline constexpr int32_t GoUp = 0x19;
inline constexpr int32_t AddCustomItem = 0x1A;
inline constexpr int32_t RefreshComboBox = 0x1B;
inline constexpr int32_t DeleteCustomItem = 0x1C;
inline constexpr int32_t AddCustomIcon = 0x1D;
inline constexpr int32_t SetOverlayIcon = 0x1E;
inline constexpr int32_t Font = -512;
inline constexpr int32_t AboutBox = -552;
} // namespace dispid

// _DVexloEvents
namespace eventid {
inline constexpr int32_t ListClosed = 1;
inline constexpr int32_t ListDropDown = 2;
inline constexpr int32_t ItemSelected = 3;
inline constexpr int32_t SelectionChanged = 4;
inline constexpr int32_t OnAfterItemAdd = 5;
inline constexpr int32_t OnBeforeItemDelete = 6;
inline constexpr int32_t KeyDown = -602;
inline constexpr int32_t KeyUp = -604;
inline constexpr int32_t MouseMove = -606;
} // namespace eventid

// IComboBoxItem
namespace itemdispid {
inline constexpr int32_t IconIndex = 1;
inline constexpr int32_t Text = 2;
inline constexpr int32_t OverlayIconIndex = 3;
inline constexpr int32_t UserData = 4;
inline constexpr int32_t ItemIndent = 5;
inline constexpr int32_t DisplayName = 6;
inline constexpr int32_t ItemIndex = 7;
inline constexpr int32_t Path = 8;
inline constexpr int32_t Selected = 9;
inline constexpr int32_t Pidl = 10;
inline constexpr int32_t PreviousItem = 11;
inline constexpr int32_t NextItem = 12;
inline constexpr int32_t Children = 13;
inline constexpr int32_t Attributes = 14;
inline constexpr int32_t IsCustom = 15;
} // namespace itemdispid

// Automation error codes, as the platform numbers them.
inline constexpr uint32_t kDispMemberNotFound = 0x80020003;
inline constexpr uint32_t kDispTypeMismatch = 0x80020005;
inline constexpr uint32_t kDispOverflow = 0x8002000A;
inline constexpr uint32_t kDispBadParamCount = 0x8002000E;

class VEXLO_EXPORT DispatchError : public std::runtime_error
{
public:
    DispatchError(uint32_t pCode, const std::string &pText);
    uint32_t code() const { return m_code; }

private:
    uint32_t m_code;
};

// Calls member pDispId of the control. A method or put without a result returns an empty
// variant.
VEXLO_EXPORT Variant invokeVexlo(CVexloCtrl &pControl, int32_t pDispId, DispatchKind pKind,
                                 const std::vector<Variant> &pArgs);

// Calls member pDispId of an item object.
VEXLO_EXPORT Variant invokeComboBoxItem(CComboBoxItem &pItem, int32_t pDispId, DispatchKind pKind,
                                        const std::vector<Variant> &pArgs);

} // namespace vexlo
