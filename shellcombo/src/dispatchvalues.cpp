#include "dispatchvalues.h"

#include <limits>

namespace vexlo {

DispatchError::DispatchError(uint32_t pCode, const std::string &pText)
    : std::runtime_error(pText)
    , m_code(pCode)
{ }

namespace dispatchvalues {

void fail(uint32_t pCode, const std::string &pText)
{
    throw DispatchError(pCode, pText);
}

namespace {

qlonglong integerOf(const Variant &pValue)
{
    switch (pValue.typeId()) {
    case QMetaType::UnknownType:
        return 0; // an empty variant reads as 0
    case QMetaType::Bool:
        return pValue.toBool() ? -1 : 0; // the automation True
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return pValue.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong value = pValue.toULongLong();
        if (value > static_cast<qulonglong>(std::numeric_limits<qlonglong>::max()))
            fail(kDispOverflow, "overflow: the argument does not fit its parameter");
        return static_cast<qlonglong>(value);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qlonglong value = pValue.toString().trimmed().toLongLong(&ok);
        if (!ok)
            fail(kDispTypeMismatch,
                 "type mismatch: \"" + pValue.toString().toStdString() + "\" is not a number");
        return value;
    }
    default:
        fail(kDispTypeMismatch, "type mismatch: a number was expected");
    }
}

template<typename Integer>
Integer inRange(qlonglong pValue)
{
    if (pValue < std::numeric_limits<Integer>::min()
        || pValue > std::numeric_limits<Integer>::max())
        fail(kDispOverflow, "overflow: the argument does not fit its parameter");
    return static_cast<Integer>(pValue);
}

} // namespace

bool toBool(const Variant &pValue)
{
    if (pValue.typeId() == QMetaType::Bool)
        return pValue.toBool();
    return integerOf(pValue) != 0;
}

int16_t toInt16(const Variant &pValue)
{
    return inRange<int16_t>(integerOf(pValue));
}

int32_t toInt32(const Variant &pValue)
{
    return inRange<int32_t>(integerOf(pValue));
}

uint32_t toUInt32(const Variant &pValue)
{
    const qlonglong value = integerOf(pValue);
    if (value < 0)
        return static_cast<uint32_t>(inRange<int32_t>(value));
    return inRange<uint32_t>(value);
}

intptr_t toAddress(const Variant &pValue)
{
    return inRange<intptr_t>(integerOf(pValue));
}

QString toString(const Variant &pValue)
{
    if (!pValue.isValid())
        return {};
    if (pValue.typeId() != QMetaType::QString)
        fail(kDispTypeMismatch, "type mismatch: a String argument was expected");
    return pValue.toString();
}

QFont toFont(const Variant &pValue)
{
    if (pValue.typeId() != QMetaType::QFont)
        fail(kDispTypeMismatch, "type mismatch: a font object was expected");
    return pValue.value<QFont>();
}

QObject *toObject(const Variant &pValue)
{
    if (!pValue.isValid())
        return nullptr;
    if (pValue.typeId() != QMetaType::QObjectStar)
        fail(kDispTypeMismatch, "type mismatch: an object was expected");
    return pValue.value<QObject *>();
}

Variant fromInt16(int16_t pValue)
{
    return QVariant::fromValue(static_cast<qint16>(pValue));
}

Variant fromInt32(int32_t pValue)
{
    return QVariant::fromValue(static_cast<qint32>(pValue));
}

Variant fromAddress(intptr_t pValue)
{
    return QVariant::fromValue(static_cast<qint64>(pValue));
}

Variant fromItem(const std::optional<CComboBoxItem> &pItem)
{
    return pItem ? QVariant::fromValue(*pItem) : QVariant();
}

} // namespace dispatchvalues
} // namespace vexlo
