#pragma once

// A dispatch table: the members of one automation object by dispatch identifier, each with its
// kind of call, its number of arguments and the function that runs it. The control and its
// item object both dispatch through one.

#include "dispatchvalues.h"
#include "vexlo/dispatch.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vexlo {

template<typename Object>
struct DispatchMember
{
    using Call = Variant (*)(Object &pObject, const std::vector<Variant> &pArgs);

    int32_t id;
    DispatchKind kind;
    size_t leastArguments;
    size_t mostArguments;
    Call call;
};

// Runs the member pDispId of pTable on pObject; fails with the automation error for an unknown
// identifier, a kind of call the member does not have, or a wrong number of arguments.
template<typename Object>
Variant dispatchThrough(std::span<const DispatchMember<Object>> pTable, Object &pObject,
                        int32_t pDispId, DispatchKind pKind, const std::vector<Variant> &pArgs)
{
    bool known = false;
    for (const DispatchMember<Object> &member : pTable) {
        if (member.id != pDispId)
            continue;
        known = true;
        if (member.kind != pKind)
            continue;
        if (pArgs.size() < member.leastArguments || pArgs.size() > member.mostArguments)
            dispatchvalues::fail(kDispBadParamCount, "wrong number of arguments");
        return member.call(pObject, pArgs);
    }
    dispatchvalues::fail(kDispMemberNotFound,
                         known ? "member not found: no such kind of call"
                               : "member not found: unknown identifier");
}

} // namespace vexlo
