#pragma once

// One pass over the control's persisted properties, in one direction: loading from a bag (an
// absent or unreadable value gives the default), saving to a bag, or resetting every property
// to its default. The control lists its properties once, in order, and runs that list in every
// direction, so that the three can never disagree on names, kinds, order or defaults.

#include "vexlo/propertybag.h"

#include <QtGui/QFont>

#include <cstdint>

namespace vexlo {

class PropertyExchange
{
public:
    enum class Direction { Load, Save, Reset };

    static PropertyExchange loading(const PropertyBag &pBag);
    static PropertyExchange saving(PropertyBag &pBag);
    static PropertyExchange resetting();

    Direction direction() const { return m_direction; }

    void exchange(const QString &pName, bool &pValue, bool pDefault);
    void exchange(const QString &pName, int16_t &pValue, int16_t pDefault);
    void exchange(const QString &pName, int32_t &pValue, int32_t pDefault);
    void exchange(const QString &pName, QFont &pValue, const QFont &pDefault);

private:
    PropertyExchange(Direction pDirection, const PropertyBag *pSource, PropertyBag *pTarget);

    // The value to take on loading or resetting; nothing on saving.
    std::optional<QVariant> incoming(const QString &pName, PropertyKind pKind) const;
    void outgoing(const QString &pName, PropertyKind pKind, const QVariant &pValue);

    Direction m_direction;
    const PropertyBag *m_source;
    PropertyBag *m_target;
};

} // namespace vexlo
