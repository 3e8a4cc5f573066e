#pragma once

// The control's enumerations, with the values hosts already use.

#include <cstdint>

namespace vexlo {

enum VXOOverlayIconTypes : int32_t {
    VXOOverlayIconNone = 0,
    VXOOverlayIconShare = 1,
    VXOOverlayIconShortcut = 2,
};

// The shell's attribute bits (the same values as pindrel::platform's SFGAO_ constants). Ghosted
// and Hidden share a bit, as do HasSubfolder and ContentsMask.
enum VXOAttributeTypes : uint32_t {
    CanCopy = 0x1,
    CanMove = 0x2,
    CanLink = 0x4,
    CanRename = 0x10,
    CanDelete = 0x20,
    HasPropsheet = 0x40,
    Droptarget = 0x100,
    CapabilityMask = 0x177,
    Link = 0x10000,
    Share = 0x20000,
    Readonly = 0x40000,
    Ghosted = 0x80000,
    Hidden = 0x80000,
    DisplayAttrMask = 0xF0000,
    Nonenumerated = 0x100000,
    NewContent = 0x200000,
    Validate = 0x1000000,
    Removable = 0x2000000,
    Compressed = 0x4000000,
    Browsable = 0x8000000,
    FilesysAncestor = 0x10000000,
    Folder = 0x20000000,
    FileSys = 0x40000000,
    HasSubfolder = 0x80000000,
    ContentsMask = 0x80000000,
};

enum VXOTooltipTypes : int32_t {
    VXONone = 0,
    VXOPath = 1,
    VXOShellInfotip = 2,
    VXOBoth = 3,
};

enum VXOCustomItemParents : int32_t {
    VXODesktop = 0,
    VXOMyComputer = 1,
    VXOParentNone = 2,
};

// The shell's special-folder numbers. Numbers without a counterpart on this desktop make
// SetSpecialFolder report failure.
enum SpecialFolders : int32_t {
    DESKTOP = 0,
    INTERNET = 1,
    PROGRAMS = 2,
    CONTROLS = 3,
    PRINTERS = 4,
    PERSONAL = 5,
    FAVORITES = 6,
    STARTUP = 7,
    RECENT = 8,
    SENDTO = 9,
    BITBUCKET = 10,
    STARTMENU = 11,
    DESKTOPDIRECTORY = 16,
    DRIVES = 17,
    NETWORK = 18,
    NETHOOD = 19,
    FONTS = 20,
    TEMPLATES = 21,
    COMMON_STARTMENU = 22,
    COMMON_PROGRAMS = 23,
    COMMON_STARTUP = 24,
    COMMON_DESKTOPDIRECTORY = 25,
    APPDATA = 26,
    PRINTHOOD = 27,
    ALTSTARTUP = 29,
    COMMON_ALTSTARTUP = 30,
    COMMON_FAVORITES = 31,
    INTERNET_CACHE = 32,
    COOKIES = 33,
    HISTORY = 34,
};

} // namespace vexlo
