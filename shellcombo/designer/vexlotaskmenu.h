#pragma once

// The control's entries on Designer's task menu (the context menu of a control on a form):
// its property pages, which double-clicking the control opens too, and its verb, the about
// box.

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>

class QAction;

namespace vexlo {

class CVexloCtrl;

class VexloTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    VexloTaskMenu(CVexloCtrl *pControl, QObject *pParent);

    QAction *preferredEditAction() const override;
    QList<QAction *> taskActions() const override;

private:
    void editProperties();

    QPointer<CVexloCtrl> m_control;
    QAction *m_properties;
    QAction *m_about;
};

} // namespace vexlo
