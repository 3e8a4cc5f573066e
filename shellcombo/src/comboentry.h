#pragma once

// One entry of the list window: what is shown and the entry's item record.

#include "itemrecord.h"

#include <QtCore/QString>

#include <cstdint>

namespace vexlo {

struct ComboEntry
{
    QString text; // at most 259 characters
    int image = 0; // private image index
    int selectedImage = 0; // the open icon for a folder, else the same as image
    int overlay = 0; // 0 none, 1 share, 2 shortcut, 3..15 added overlays
    int indent = 0; // in the list's 10-pixel units
    ItemRecord record;
    // Tells the entry apart from every other entry of the model, whatever index it moves to;
    // given by the model when the entry is inserted.
    uint64_t serial = 0;
};

} // namespace vexlo
