#pragma once

// File names as bytes and as text. Linux file names are byte strings; Qt's own conversion
// replaces bytes that are not valid UTF-8, so such names could not be found again. These two
// functions map each byte of an invalid sequence to the lone surrogate U+DC00 + byte (U+DC80 ..
// U+DCFF) and back, so that any byte string survives bytes -> text -> bytes. Valid UTF-8
// converts as usual.

#include "platform/platformexport.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

namespace pindrel::platform {

// Bytes to text; invalid UTF-8 bytes become U+DC80..U+DCFF.
PINDREL_PLATFORM_EXPORT QString decodeFileName(const QByteArray &pBytes);
// Text to bytes; the surrogates U+DC80..U+DCFF become their byte again, other unpaired
// surrogates become U+FFFD's UTF-8.
PINDREL_PLATFORM_EXPORT QByteArray encodeFileName(const QString &pText);
// Text fit for showing: the escaped bytes appear as U+FFFD.
PINDREL_PLATFORM_EXPORT QString displayFileName(const QString &pText);

} // namespace pindrel::platform
