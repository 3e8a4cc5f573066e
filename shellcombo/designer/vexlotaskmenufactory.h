#pragma once

// Gives Designer the control's task menu for each control on a form.

#include <QtDesigner/QExtensionFactory>

namespace vexlo {

class VexloTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit VexloTaskMenuFactory(QExtensionManager *pParent);

protected:
    QObject *createExtension(QObject *pObject, const QString &pInterface,
                             QObject *pParent) const override;
};

} // namespace vexlo
