#pragma once

// The control's registered identities, kept as published so that hosts and stored references
// keep working. The control's metadata (its Q_CLASSINFO) and the Designer plugin's metadata
// carry the same texts; the macros are their one source.

#include <cstdint>

#define VEXLO_CONTROL_CLASS_ID "{4036939B-908A-46E1-942E-9C1D17E214DF}"
#define VEXLO_CONTROL_PROGRAM_ID "VEXLO.VexloCtrl.70"
#define VEXLO_CONTROL_REGISTERED_NAME "Ornalis Vexlo ActiveX Control 7.0"
#define VEXLO_DISPATCH_INTERFACE_ID "{9392C794-35EF-4E2D-849B-26770406D1B5}"
#define VEXLO_EVENT_INTERFACE_ID "{2524BC28-CEBB-49B8-B370-3C32727AAA44}"
#define VEXLO_TYPE_LIBRARY_ID "{0502C911-34E6-4C70-8983-95DC0AB6FD7A}"
#define VEXLO_TYPE_LIBRARY_VERSION "7.0"
#define VEXLO_PROPERTY_PAGE_CLASS_ID "{620337C7-93C7-4863-A03E-86010FE90646}"
#define VEXLO_FONT_PAGE_CLASS_ID "{0BE35200-8F91-11CE-9DE3-00AA004BB851}"
#define VEXLO_CATEGORY_SAFE_FOR_SCRIPTING "{7DD95801-9882-11CF-9FA9-00AA006C42C4}"
#define VEXLO_CATEGORY_SAFE_FOR_INITIALIZING "{7DD95802-9882-11CF-9FA9-00AA006C42C4}"
#define VEXLO_MISC_STATUS "0x20191"

namespace vexlo {

inline constexpr char kTypeLibraryName[] = "Vexlo";
inline constexpr char kTypeLibraryId[] = VEXLO_TYPE_LIBRARY_ID;
inline constexpr int kTypeLibraryMajorVersion = 7;
inline constexpr int kTypeLibraryMinorVersion = 0;
inline constexpr char kHelpFile[] = "Vexlo.chm";

inline constexpr char kControlClassName[] = "Vexlo";
inline constexpr char kControlTypeName[] = "Vexlo.Vexlo";
inline constexpr char kControlClassId[] = VEXLO_CONTROL_CLASS_ID;
inline constexpr char kControlProgramId[] = VEXLO_CONTROL_PROGRAM_ID;
inline constexpr char kControlRegisteredName[] = VEXLO_CONTROL_REGISTERED_NAME; // string 1
inline constexpr char kDispatchInterfaceId[] = VEXLO_DISPATCH_INTERFACE_ID;
inline constexpr char kEventInterfaceId[] = VEXLO_EVENT_INTERFACE_ID;

inline constexpr char kComboBoxItemClassId[] = "{8C226508-0E80-4C11-A954-A52BF7E940BD}";
inline constexpr char kComboBoxItemInterfaceId[] = "{DE66A8D4-3A41-4839-A811-20DA7176421B}";

// The property page, and the control's pages in their order: its own, then the font page.
inline constexpr char kPropertyPageClassId[] = VEXLO_PROPERTY_PAGE_CLASS_ID;
inline constexpr char kPropertyPageProgramId[] = "VEXLO.VexloPropPage.70";
inline constexpr char kPropertyPageRegisteredName[] = "Vexlo Property Page"; // string 2
inline constexpr char kFontPageClassId[] = VEXLO_FONT_PAGE_CLASS_ID;

// Registration facts: activate when visible, set client site first, inside-out, cannot link
// inside, recompose on resize; the toolbox picture; the component categories with their
// descriptions (locale 0x409).
inline constexpr uint32_t kMiscStatus = 0x20191;
inline constexpr int kToolboxBitmapResource = 1;
inline constexpr char kCategorySafeForScripting[] = VEXLO_CATEGORY_SAFE_FOR_SCRIPTING;
inline constexpr char kCategorySafeForScriptingText[] = "Controls that are safely scriptable";
inline constexpr char kCategorySafeForInitializing[] = VEXLO_CATEGORY_SAFE_FOR_INITIALIZING;
inline constexpr char kCategorySafeForInitializingText[] =
    "Controls safely initializable from persistent data";
inline constexpr uint32_t kCategoryLocale = 0x409;

// The control's verb (string 202), which shows the about box.
inline constexpr char kAboutVerbText[] = "&About Vexlo Control...";

// The version stamp of the persisted state ("_Version").
inline constexpr int32_t kPersistedVersion = 0x00070000;

} // namespace vexlo
