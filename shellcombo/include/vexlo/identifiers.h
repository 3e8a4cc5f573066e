#pragma once

// The control's registered identities, kept as published so that hosts and stored references
// keep working.

#include <cstdint>

namespace vexlo {

inline constexpr char kTypeLibraryName[] = "Vexlo";
inline constexpr char kTypeLibraryId[] = "{0502C911-34E6-4C70-8983-95DC0AB6FD7A}";
inline constexpr int kTypeLibraryMajorVersion = 7;
inline constexpr int kTypeLibraryMinorVersion = 0;
inline constexpr char kHelpFile[] = "Vexlo.chm";

inline constexpr char kControlClassName[] = "Vexlo";
inline constexpr char kControlTypeName[] = "Vexlo.Vexlo";
inline constexpr char kControlClassId[] = "{4036939B-908A-46E1-942E-9C1D17E214DF}";
inline constexpr char kControlProgramId[] = "VEXLO.VexloCtrl.70";
inline constexpr char kDispatchInterfaceId[] = "{9392C794-35EF-4E2D-849B-26770406D1B5}";
inline constexpr char kEventInterfaceId[] = "{2524BC28-CEBB-49B8-B370-3C32727AAA44}";

inline constexpr char kComboBoxItemClassId[] = "{8C226508-0E80-4C11-A954-A52BF7E940BD}";
inline constexpr char kComboBoxItemInterfaceId[] = "{DE66A8D4-3A41-4839-A811-20DA7176421B}";

// The version stamp of the persisted state ("_Version").
inline constexpr int32_t kPersistedVersion = 0x00070000;

} // namespace vexlo
