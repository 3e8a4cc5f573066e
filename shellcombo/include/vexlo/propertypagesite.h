#pragma once

// What a property page is bound to: the properties of one control, read and written by name
// (the Qt property names of CVexloCtrl, "enabled" and "font" for the widget's own), and the
// control's about box. A form designer gives a site that writes through its own undo stack;
// ControlPropertySite writes to the control directly.

#include "vexlo/vexloexport.h"

#include <QtCore/QPointer>
#include <QtCore/QVariant>

namespace vexlo {

class CVexloCtrl;

class VEXLO_EXPORT PropertyPageSite
{
public:
    virtual ~PropertyPageSite();

    virtual QVariant readProperty(const char *pName) const = 0;
    virtual void writeProperty(const char *pName, const QVariant &pValue) = 0;
    virtual void showAbout() = 0;

protected:
    PropertyPageSite() = default;
    PropertyPageSite(const PropertyPageSite &) = default;
    PropertyPageSite &operator=(const PropertyPageSite &) = default;
};

class VEXLO_EXPORT ControlPropertySite : public PropertyPageSite
{
public:
    explicit ControlPropertySite(CVexloCtrl *pControl);

    QVariant readProperty(const char *pName) const override;
    void writeProperty(const char *pName, const QVariant &pValue) override;
    void showAbout() override;

private:
    QPointer<CVexloCtrl> m_control;
};

} // namespace vexlo
