#include "vexlo/vexloerror.h"

namespace vexlo {

VexloError::VexloError(int32_t pNumber)
    : std::runtime_error(textOf(pNumber).toStdString())
    , m_number(pNumber)
{ }

QString VexloError::text() const
{
    return textOf(m_number);
}

QString VexloError::textOf(int32_t pNumber)
{
    switch (pNumber) {
    case kErrorPropertyReadOnly:
        return QStringLiteral("Property is read-only");
    case kErrorPropertyNotSettable:
        return QStringLiteral("Property cannot be set on this control");
    case kErrorPropertyWriteOnly:
        return QStringLiteral("Property is write-only");
    default:
        return {};
    }
}

} // namespace vexlo
