#pragma once

// A property bag over QSettings: each property is a key of the settings' current group, as text
// a person can read and edit (Booleans "true"/"false", integers in decimal, a font as
// QFont::toString gives it). The settings object stays the caller's and must outlive the bag.

#include "vexlo/propertybag.h"

class QSettings;

namespace vexlo {

class VEXLO_EXPORT SettingsPropertyBag : public PropertyBag
{
public:
    explicit SettingsPropertyBag(QSettings &pSettings);

    std::optional<QVariant> read(const QString &pName, PropertyKind pKind) const override;
    void write(const QString &pName, PropertyKind pKind, const QVariant &pValue) override;

private:
    QSettings &m_settings;
};

} // namespace vexlo
