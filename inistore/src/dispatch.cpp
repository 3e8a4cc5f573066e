#include "txini/dispatch.h"

#include <array>
#include <charconv>
#include <limits>
#include <type_traits>

#include "textrules.h"
#include "txini/clsini.h"

namespace txini {

namespace {

using Arguments = std::vector<Variant>;

[[noreturn]] void fail(uint32_t pCode, const std::string &pText)
{
    throw DispatchError(pCode, pText);
}

std::string toString(const Variant &pValue)
{
    if (std::holds_alternative<std::monostate>(pValue))
        return {}; // an empty variant reads as an empty string
    if (const auto *text = std::get_if<std::string>(&pValue))
        return *text;
    fail(kDispTypeMismatch, "type mismatch: a String argument was expected");
}

template<typename Integer>
Integer inRange(int64_t pValue)
{
    if (pValue < std::numeric_limits<Integer>::min()
        || pValue > std::numeric_limits<Integer>::max())
        fail(kDispOverflow, "overflow: the argument does not fit its parameter");
    return static_cast<Integer>(pValue);
}

// A decimal integer with an optional sign, spaces around it allowed.
int64_t parseInteger(const std::string &pText)
{
    std::string_view digits = rules::trimSpaces(pText);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (digits.empty() || error == std::errc::invalid_argument
        || end != digits.data() + digits.size())
        fail(kDispTypeMismatch, "type mismatch: \"" + pText + "\" is not a number");
    if (error == std::errc::result_out_of_range || magnitude > (uint64_t{1} << 62))
        fail(kDispOverflow, "overflow: \"" + pText + "\" is too large");
    const auto value = static_cast<int64_t>(magnitude);
    return negative ? -value : value;
}

template<typename Integer>
Integer toInteger(const Variant &pValue)
{
    return std::visit(
        [](const auto &pHeld) -> Integer {
            using Held = std::decay_t<decltype(pHeld)>;
            if constexpr (std::is_same_v<Held, std::monostate>)
                return 0;
            else if constexpr (std::is_same_v<Held, bool>)
                return pHeld ? -1 : 0; // the automation True
            else if constexpr (std::is_same_v<Held, std::string>)
                return inRange<Integer>(parseInteger(pHeld));
            else
                return inRange<Integer>(pHeld);
        },
        pValue);
}

struct Member
{
    int32_t id;
    DispatchKind kind;
    size_t leastArguments;
    size_t mostArguments;
    Variant (*call)(_clsIni &pObject, const Arguments &pArgs);
};

// The dispatch table: one row per member and kind of call.
const std::array<Member, 13> kMembers{{
    {dispid::getLeerClave, DispatchKind::Method, 2, 2,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getLeerClave(toString(pArgs[0]), toInteger<int16_t>(pArgs[1]));
     }},
    {dispid::doAdd, DispatchKind::Method, 3, 3,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         pObject.doAdd(toString(pArgs[0]), toString(pArgs[1]), toString(pArgs[2]));
         return {};
     }},
    {dispid::doDelete, DispatchKind::Method, 1, 2,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         pObject.doDelete(toString(pArgs[0]),
                          pArgs.size() > 1 ? toString(pArgs[1]) : std::string());
         return {};
     }},
    {dispid::doSeleccionarArchivo, DispatchKind::Method, 1, 1,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         pObject.doSeleccionarArchivo(toInteger<int32_t>(pArgs[0]));
         return {};
     }},
    {dispid::getLeerValor, DispatchKind::Method, 2, 2,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getLeerValor(toString(pArgs[0]), toString(pArgs[1]));
     }},
    {dispid::getLeerSeccion, DispatchKind::Method, 1, 1,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getLeerSeccion(toInteger<int16_t>(pArgs[0]));
     }},
    {dispid::File, DispatchKind::PropertyGet, 0, 0,
     [](_clsIni &pObject, const Arguments &) -> Variant { return pObject.File(); }},
    {dispid::File, DispatchKind::PropertyPut, 1, 1,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         pObject.File(toString(pArgs[0]));
         return {};
     }},
    {dispid::getExisteSeccion, DispatchKind::Method, 1, 1,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getExisteSeccion(toString(pArgs[0]));
     }},
    {dispid::getExisteClave, DispatchKind::Method, 2, 2,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getExisteClave(toString(pArgs[0]), toString(pArgs[1]));
     }},
    {dispid::getExisteValor, DispatchKind::Method, 2, 2,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getExisteValor(toString(pArgs[0]), toString(pArgs[1]));
     }},
    {dispid::getCantidadSecciones, DispatchKind::Method, 0, 0,
     [](_clsIni &pObject, const Arguments &) -> Variant { return pObject.getCantidadSecciones(); }},
    {dispid::getCantidadClaves, DispatchKind::Method, 1, 1,
     [](_clsIni &pObject, const Arguments &pArgs) -> Variant {
         return pObject.getCantidadClaves(toString(pArgs[0]));
     }},
}};

} // namespace

DispatchError::DispatchError(uint32_t pCode, const std::string &pText)
    : std::runtime_error(pText)
    , m_code(pCode)
{ }

Variant invokeClsIni(_clsIni &pObject, int32_t pDispId, DispatchKind pKind,
                     const std::vector<Variant> &pArgs)
{
    for (const Member &member : kMembers) {
        if (member.id != pDispId || member.kind != pKind)
            continue;
        if (pArgs.size() < member.leastArguments || pArgs.size() > member.mostArguments)
            fail(kDispBadParamCount, "wrong number of arguments");
        return member.call(pObject, pArgs);
    }
    // An identifier called the wrong way (a method as a property, say) is not found either.
    fail(kDispMemberNotFound, "no member " + std::to_string(pDispId) + " of that kind");
}

} // namespace txini
