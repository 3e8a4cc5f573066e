#pragma once

// The property pages' site in Designer: values are read from the control on the form and
// written through the form's cursor, so that each change is one step on Designer's undo stack
// and shows in its property editor at once. Without a form (a control outside one), written to
// the control itself.

#include "vexlo/propertypagesite.h"

#include <QtCore/QPointer>

class QDesignerFormWindowInterface;

namespace vexlo {

class CVexloCtrl;

class DesignerPropertySite : public PropertyPageSite
{
public:
    DesignerPropertySite(CVexloCtrl *pControl, QDesignerFormWindowInterface *pForm);

    QVariant readProperty(const char *pName) const override;
    void writeProperty(const char *pName, const QVariant &pValue) override;
    void showAbout() override;

private:
    QPointer<CVexloCtrl> m_control;
    QPointer<QDesignerFormWindowInterface> m_form;
};

} // namespace vexlo
