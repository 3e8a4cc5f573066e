#include "designerpropertysite.h"

#include "vexlo/vexloctrl.h"

#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

namespace vexlo {

DesignerPropertySite::DesignerPropertySite(CVexloCtrl *pControl,
                                           QDesignerFormWindowInterface *pForm)
    : m_control(pControl)
    , m_form(pForm)
{ }

QVariant DesignerPropertySite::readProperty(const char *pName) const
{
    return m_control ? m_control->property(pName) : QVariant();
}

void DesignerPropertySite::writeProperty(const char *pName, const QVariant &pValue)
{
    if (!m_control || readProperty(pName) == pValue)
        return; // an unchanged value is no step to undo
    if (m_form && m_form->cursor())
        m_form->cursor()->setWidgetProperty(m_control, QString::fromLatin1(pName), pValue);
    else
        m_control->setProperty(pName, pValue);
}

void DesignerPropertySite::showAbout()
{
    if (m_control)
        m_control->AboutBox();
}

} // namespace vexlo
