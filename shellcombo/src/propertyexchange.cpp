#include "propertyexchange.h"

namespace vexlo {

PropertyExchange::PropertyExchange(Direction pDirection, const PropertyBag *pSource,
                                   PropertyBag *pTarget)
    : m_direction(pDirection)
    , m_source(pSource)
    , m_target(pTarget)
{ }

PropertyExchange PropertyExchange::loading(const PropertyBag &pBag)
{
    return PropertyExchange(Direction::Load, &pBag, nullptr);
}

PropertyExchange PropertyExchange::saving(PropertyBag &pBag)
{
    return PropertyExchange(Direction::Save, nullptr, &pBag);
}

PropertyExchange PropertyExchange::resetting()
{
    return PropertyExchange(Direction::Reset, nullptr, nullptr);
}

std::optional<QVariant> PropertyExchange::incoming(const QString &pName, PropertyKind pKind) const
{
    if (m_direction != Direction::Load)
        return std::nullopt;
    return m_source->read(pName, pKind);
}

void PropertyExchange::outgoing(const QString &pName, PropertyKind pKind, const QVariant &pValue)
{
    if (m_direction == Direction::Save)
        m_target->write(pName, pKind, pValue);
}

void PropertyExchange::exchange(const QString &pName, bool &pValue, bool pDefault)
{
    if (m_direction == Direction::Save) {
        outgoing(pName, PropertyKind::Boolean, QVariant(pValue));
        return;
    }
    const std::optional<QVariant> value = incoming(pName, PropertyKind::Boolean);
    pValue = value ? value->toBool() : pDefault;
}

void PropertyExchange::exchange(const QString &pName, int16_t &pValue, int16_t pDefault)
{
    if (m_direction == Direction::Save) {
        outgoing(pName, PropertyKind::Integer16, QVariant::fromValue(static_cast<qint16>(pValue)));
        return;
    }
    const std::optional<QVariant> value = incoming(pName, PropertyKind::Integer16);
    pValue = value ? static_cast<int16_t>(value->toInt()) : pDefault;
}

void PropertyExchange::exchange(const QString &pName, int32_t &pValue, int32_t pDefault)
{
    if (m_direction == Direction::Save) {
        outgoing(pName, PropertyKind::Integer32, QVariant::fromValue(static_cast<qint32>(pValue)));
        return;
    }
    const std::optional<QVariant> value = incoming(pName, PropertyKind::Integer32);
    pValue = value ? static_cast<int32_t>(value->toInt()) : pDefault;
}

void PropertyExchange::exchange(const QString &pName, QFont &pValue, const QFont &pDefault)
{
    if (m_direction == Direction::Save) {
        outgoing(pName, PropertyKind::Font, QVariant(pValue));
        return;
    }
    const std::optional<QVariant> value = incoming(pName, PropertyKind::Font);
    pValue = value ? value->value<QFont>() : pDefault;
}

} // namespace vexlo
