#include "vexlotaskmenu.h"

#include "designerpropertysite.h"

#include "vexlo/identifiers.h"
#include "vexlo/propertiesdialog.h"
#include "vexlo/vexloctrl.h"

#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtGui/QAction>

namespace vexlo {

VexloTaskMenu::VexloTaskMenu(CVexloCtrl *pControl, QObject *pParent)
    : QObject(pParent)
    , m_control(pControl)
    , m_properties(new QAction(QStringLiteral("Vexlo &Properties..."), this))
    , m_about(new QAction(QString::fromLatin1(kAboutVerbText), this))
{
    m_properties->setObjectName(QStringLiteral("vexloProperties"));
    m_about->setObjectName(QStringLiteral("vexloAbout"));
    connect(m_properties, &QAction::triggered, this, &VexloTaskMenu::editProperties);
    connect(m_about, &QAction::triggered, this, [this] {
        if (m_control)
            m_control->AboutBox();
    });
}

QAction *VexloTaskMenu::preferredEditAction() const
{
    return m_properties;
}

QList<QAction *> VexloTaskMenu::taskActions() const
{
    return {m_properties, m_about};
}

void VexloTaskMenu::editProperties()
{
    if (!m_control)
        return;
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(m_control);
    DesignerPropertySite site(m_control, form);
    PropertiesDialog dialog(site, form ? static_cast<QWidget *>(form) : m_control.data());
    dialog.exec();
}

} // namespace vexlo
