#pragma once

// Late binding for clsIni: a member called by its dispatch identifier with its arguments as
// variants, as automation clients do. Misuse (unknown identifier, wrong kind of call, wrong
// number or type of arguments) throws DispatchError with the automation error code.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "txini/export.h"

namespace txini {

class _clsIni;

using Variant = std::variant<std::monostate, bool, int16_t, int32_t, std::string>;

enum class DispatchKind { Method, PropertyGet, PropertyPut };

namespace dispid {
inline constexpr int32_t getLeerClave = 0x60030003;
inline constexpr int32_t doAdd = 0x60030004;
inline constexpr int32_t doDelete = 0x60030005;
inline constexpr int32_t doSeleccionarArchivo = 0x60030008;
inline constexpr int32_t getLeerValor = 0x60030009;
inline constexpr int32_t getLeerSeccion = 0x6003000A;
inline constexpr int32_t File = 0x68030000;
inline constexpr int32_t getExisteSeccion = 0x6003000D;
inline constexpr int32_t getExisteClave = 0x6003000E;
inline constexpr int32_t getExisteValor = 0x6003000F;
inline constexpr int32_t getCantidadSecciones = 0x60030010;
inline constexpr int32_t getCantidadClaves = 0x60030011;
} // namespace dispid

// Automation error codes, as the platform numbers them.
inline constexpr uint32_t kDispMemberNotFound = 0x80020003;
inline constexpr uint32_t kDispTypeMismatch = 0x80020005;
inline constexpr uint32_t kDispOverflow = 0x8002000A;
inline constexpr uint32_t kDispBadParamCount = 0x8002000E;

class TXINI_EXPORT DispatchError : public std::runtime_error
{
public:
    DispatchError(uint32_t pCode, const std::string &pText);
    uint32_t code() const { return m_code; }

private:
    uint32_t m_code;
};

// Calls the member pDispId of pObject. Optional arguments may be left out; a method without a
// result returns an empty variant. Arguments are coerced as automation does: a String parameter
// takes a string (an empty variant reads as ""); an Integer or Long parameter takes an int16,
// an int32, a bool (true is -1) or a string holding a decimal integer (an empty variant reads as
// 0). A number out of the parameter's range gives kDispOverflow, anything else
// kDispTypeMismatch. A File get takes no argument, a File put exactly one.
TXINI_EXPORT Variant invokeClsIni(_clsIni &pObject, int32_t pDispId, DispatchKind pKind,
                                  const std::vector<Variant> &pArgs);

} // namespace txini
