#include "vexlotaskmenufactory.h"

#include "vexlotaskmenu.h"

#include "vexlo/vexloctrl.h"

#include <QtDesigner/QDesignerTaskMenuExtension>

namespace vexlo {

VexloTaskMenuFactory::VexloTaskMenuFactory(QExtensionManager *pParent)
    : QExtensionFactory(pParent)
{ }

QObject *VexloTaskMenuFactory::createExtension(QObject *pObject, const QString &pInterface,
                                               QObject *pParent) const
{
    if (pInterface != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
        return nullptr;
    auto *control = qobject_cast<CVexloCtrl *>(pObject);
    return control ? new VexloTaskMenu(control, pParent) : nullptr;
}

} // namespace vexlo
