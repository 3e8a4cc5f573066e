#pragma once

// A property bag in memory, keeping its names in the order they were first written.

#include "vexlo/propertybag.h"

#include <QtCore/QStringList>

#include <utility>
#include <vector>

namespace vexlo {

class VEXLO_EXPORT MemoryPropertyBag : public PropertyBag
{
public:
    std::optional<QVariant> read(const QString &pName, PropertyKind pKind) const override;
    void write(const QString &pName, PropertyKind pKind, const QVariant &pValue) override;

    // The names, in the order of their first writing.
    QStringList names() const;
    // The value as written; an invalid variant when absent.
    QVariant value(const QString &pName) const;
    // Stores a value as it is, of any type (to hand the control what another writer left).
    void setValue(const QString &pName, const QVariant &pValue);
    void remove(const QString &pName);
    void clear() { m_values.clear(); }

private:
    std::vector<std::pair<QString, QVariant>> m_values;
};

} // namespace vexlo
