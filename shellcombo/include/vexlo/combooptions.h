#pragma once

// The control's properties that steer how the list window inserts and selects entries. The
// control hands them to its list window; the list window reads them as each step runs, so a
// change acts on what is inserted or selected afterwards.

namespace vexlo {

struct ComboOptions
{
    int indent = 1; // indentation step, in the list's 10-pixel units
    bool showFile = false; // files may be selected
    bool showVirtualFolders = true; // objects outside the file system are listed and selectable
    bool showDrivesOnly = false; // only the drives are listed, and selections fall to them
    bool showFullPath = false; // the selected file-system object shows its path
    bool showOverlayIcons = true; // shared and linked objects get an overlay
};

} // namespace vexlo
