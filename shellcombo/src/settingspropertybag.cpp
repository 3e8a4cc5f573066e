#include "vexlo/settingspropertybag.h"

#include <QtCore/QSettings>
#include <QtGui/QFont>

namespace vexlo {

SettingsPropertyBag::SettingsPropertyBag(QSettings &pSettings)
    : m_settings(pSettings)
{ }

std::optional<QVariant> SettingsPropertyBag::read(const QString &pName, PropertyKind pKind) const
{
    if (!m_settings.contains(pName))
        return std::nullopt;
    return coerce(m_settings.value(pName), pKind);
}

void SettingsPropertyBag::write(const QString &pName, PropertyKind pKind, const QVariant &pValue)
{
    // Plain text for every kind, so that the file reads and edits by hand; QSettings would
    // store a font as an opaque blob.
    switch (pKind) {
    case PropertyKind::Boolean:
        m_settings.setValue(pName,
                            pValue.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        break;
    case PropertyKind::Integer16:
    case PropertyKind::Integer32:
        m_settings.setValue(pName, QString::number(pValue.toLongLong()));
        break;
    case PropertyKind::Font:
        m_settings.setValue(pName, pValue.value<QFont>().toString());
        break;
    }
}

} // namespace vexlo
