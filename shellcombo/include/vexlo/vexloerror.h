#pragma once

// The errors the control raises on property access, with the texts of its string table.
// Methods never raise: they report failure through their results.

#include "vexlo/vexloexport.h"

#include <QtCore/QString>

#include <cstdint>
#include <stdexcept>

namespace vexlo {

inline constexpr int32_t kErrorPropertyReadOnly = 383; // "Property is read-only"
inline constexpr int32_t kErrorPropertyNotSettable =
    387; // "Property cannot be set on this control"
inline constexpr int32_t kErrorPropertyWriteOnly = 394; // "Property is write-only"

class VEXLO_EXPORT VexloError : public std::runtime_error
{
public:
    // An error with its number and the control's text for it ("" for a number it has none for).
    explicit VexloError(int32_t pNumber);

    int32_t number() const { return m_number; }
    QString text() const;

    // The control's text for error pNumber; "" for any other number.
    static QString textOf(int32_t pNumber);

private:
    int32_t m_number;
};

} // namespace vexlo
