#pragma once

// Argument coercion and result wrapping shared by the control's and the item object's dispatch
// tables. Failures throw DispatchError.

#include "vexlo/comboboxitem.h"
#include "vexlo/dispatch.h"

#include <QtGui/QFont>

#include <cstdint>
#include <optional>

namespace vexlo::dispatchvalues {

[[noreturn]] void fail(uint32_t pCode, const std::string &pText);

bool toBool(const Variant &pValue);
int16_t toInt16(const Variant &pValue);
int32_t toInt32(const Variant &pValue);
// Long parameters that carry bit masks take the full unsigned range too.
uint32_t toUInt32(const Variant &pValue);
intptr_t toAddress(const Variant &pValue);
QString toString(const Variant &pValue);
QFont toFont(const Variant &pValue);
QObject *toObject(const Variant &pValue); // nullptr for an empty variant (nothing)

Variant fromInt16(int16_t pValue);
Variant fromInt32(int32_t pValue);
Variant fromAddress(intptr_t pValue);
Variant fromItem(const std::optional<CComboBoxItem> &pItem);

} // namespace vexlo::dispatchvalues
