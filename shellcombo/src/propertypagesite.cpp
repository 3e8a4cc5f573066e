#include "vexlo/propertypagesite.h"

#include "vexlo/vexloctrl.h"

namespace vexlo {

PropertyPageSite::~PropertyPageSite() = default;

ControlPropertySite::ControlPropertySite(CVexloCtrl *pControl)
    : m_control(pControl)
{ }

QVariant ControlPropertySite::readProperty(const char *pName) const
{
    return m_control ? m_control->property(pName) : QVariant();
}

void ControlPropertySite::writeProperty(const char *pName, const QVariant &pValue)
{
    if (m_control)
        m_control->setProperty(pName, pValue);
}

void ControlPropertySite::showAbout()
{
    if (m_control)
        m_control->AboutBox();
}

} // namespace vexlo
