#pragma once

// What passes between the control and its companion controls (a file list through Quennel, a
// folder tree through Sarvick).
//
// A companion is a QObject that also implements IShellCompanion. When associated it is given the
// control (and nothing when the association ends); the control asks it once for its window
// handle and, while that handle is non-zero, tells it every folder the control selects with a
// synchronous message carrying the folder's absolute identifier list (nullptr for the desktop,
// valid only during the call). A companion tells the control its own folder changes through
// CVexloCtrl::listWindowMessage(kComboFolderMessage, list) or UshB; the control then selects
// that folder quietly and does not tell the companions back.

#include "vexlo/vexloexport.h"

#include "platform/idlist.h"

#include <cstdint>

namespace vexlo {

class CVexloCtrl;

// Message numbers.
inline constexpr uint32_t kListFolderMessage = 0xB000; // control -> file list
inline constexpr uint32_t kTreeFolderMessage = 0xB001; // control -> folder tree
inline constexpr uint32_t kComboFolderMessage = 0xB003; // companion -> control's list window

// The companions' own property numbers the interface below stands for.
namespace companion {
inline constexpr int32_t kFileListControl = 28; // file list: the associated control
inline constexpr int32_t kFileListWindowHandle = 26;
inline constexpr int32_t kFolderTreeControl = 26; // folder tree: the associated control
inline constexpr int32_t kFolderTreeWindowHandle = 23;
} // namespace companion

class VEXLO_EXPORT IShellCompanion
{
public:
    virtual ~IShellCompanion() = default;

    // The associated control, or nullptr when the association ends. The companion does not own
    // it.
    virtual void setAssociatedControl(CVexloCtrl *pControl) = 0;
    // The companion's window handle; 0 means it is not to be sent messages.
    virtual intptr_t companionWindowHandle() const = 0;
    // kListFolderMessage or kTreeFolderMessage with the folder now selected.
    virtual intptr_t companionMessage(uint32_t pMessage,
                                      const pindrel::platform::ItemIdList *pAbsolute) = 0;

protected:
    IShellCompanion() = default;
    IShellCompanion(const IShellCompanion &) = default;
    IShellCompanion &operator=(const IShellCompanion &) = default;
};

} // namespace vexlo
