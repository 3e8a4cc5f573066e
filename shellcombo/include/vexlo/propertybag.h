#pragma once

// Where the control's persisted state goes: named values of four kinds. A bag holds what was
// written under each name; reading gives the value converted to the kind asked for, or nothing
// when the name is absent or its value cannot be read as that kind (the control then takes the
// property's default).

#include "vexlo/vexloexport.h"

#include <QtCore/QString>
#include <QtCore/QVariant>

#include <optional>

namespace vexlo {

// The variant types of the kinds: bool, qint16, qint32 and QFont.
enum class PropertyKind { Boolean, Integer16, Integer32, Font };

class VEXLO_EXPORT PropertyBag
{
public:
    virtual ~PropertyBag();

    virtual std::optional<QVariant> read(const QString &pName, PropertyKind pKind) const = 0;
    // pValue holds the kind's type.
    virtual void write(const QString &pName, PropertyKind pKind, const QVariant &pValue) = 0;

    // pValue as the kind's type: a Boolean from a bool, a number (non-zero is true) or the
    // texts "true"/"false"; an integer from a number or a decimal text within the kind's range
    // (true is -1); a font from a font or QFont::toString's text. Nothing otherwise.
    static std::optional<QVariant> coerce(const QVariant &pValue, PropertyKind pKind);
};

} // namespace vexlo
