#include "vexlo/memorypropertybag.h"

#include <algorithm>

namespace vexlo {

std::optional<QVariant> MemoryPropertyBag::read(const QString &pName, PropertyKind pKind) const
{
    const QVariant stored = value(pName);
    if (!stored.isValid())
        return std::nullopt;
    return coerce(stored, pKind);
}

void MemoryPropertyBag::write(const QString &pName, PropertyKind, const QVariant &pValue)
{
    setValue(pName, pValue);
}

QStringList MemoryPropertyBag::names() const
{
    QStringList names;
    for (const auto &[name, value] : m_values)
        names.append(name);
    return names;
}

QVariant MemoryPropertyBag::value(const QString &pName) const
{
    const auto found = std::find_if(m_values.begin(), m_values.end(),
                                    [&](const auto &pPair) { return pPair.first == pName; });
    return found == m_values.end() ? QVariant() : found->second;
}

void MemoryPropertyBag::setValue(const QString &pName, const QVariant &pValue)
{
    const auto found = std::find_if(m_values.begin(), m_values.end(),
                                    [&](const auto &pPair) { return pPair.first == pName; });
    if (found != m_values.end())
        found->second = pValue;
    else
        m_values.emplace_back(pName, pValue);
}

void MemoryPropertyBag::remove(const QString &pName)
{
    std::erase_if(m_values, [&](const auto &pPair) { return pPair.first == pName; });
}

} // namespace vexlo
