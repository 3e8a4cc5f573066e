#pragma once

// Natural, case-insensitive ordering of names (internal): runs of ASCII digits compare by
// their value ("a2" < "a10"), everything else by case-folded character. Names that this
// ordering finds equal ("A1", "a01") are then ordered by their exact text, so the result is 0
// only for identical names.

#include <QtCore/QStringView>

namespace pindrel::platform {

int naturalCompare(QStringView pA, QStringView pB);

} // namespace pindrel::platform
