#include "bar/barbuttonaccessible.h"

#include "bar/barbutton.h"

namespace pindrel {

namespace {

QAccessibleInterface *makeInterface(const QString &pClassName, QObject *pObject)
{
    if (pClassName != QLatin1String(BarButton::staticMetaObject.className()))
        return nullptr;
    auto *button = qobject_cast<BarButton *>(pObject);
    if (button == nullptr)
        return nullptr;
    // Qt's accessibility cache owns the interface and deletes it with the button.
    return new BarButtonAccessible(button);
}

} // namespace

BarButtonAccessible::BarButtonAccessible(BarButton *pButton)
    : QAccessibleWidget(pButton, QAccessible::Button)
{ }

BarButton *BarButtonAccessible::button() const
{
    return static_cast<BarButton *>(widget());
}

void BarButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&makeInterface);
        return true;
    }();
    (void)installed;
}

QString BarButtonAccessible::text(QAccessible::Text pText) const
{
    switch (pText) {
    case QAccessible::Name:
        if (!button()->caption().isEmpty())
            return button()->caption();
        return button()->toolTip();
    case QAccessible::Description:
        return button()->toolTip();
    default:
        return QAccessibleWidget::text(pText);
    }
}

QAccessible::State BarButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = false; // the bar never takes the keyboard focus
    return state;
}

QStringList BarButtonAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void BarButtonAccessible::doAction(const QString &pActionName)
{
    if (!widget()->isEnabled())
        return;
    if (pActionName == pressAction())
        button()->animateClick();
    else
        QAccessibleWidget::doAction(pActionName);
}

} // namespace pindrel
