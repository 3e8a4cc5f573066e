#include "dragfiles/windowhandles.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace pindrel {

namespace {

// X resource ids are 29 bits wide.
constexpr quintptr kAssignedBase = 0xE0000000U;

QHash<quintptr, QPointer<QWidget>> &assigned()
{
    static QHash<quintptr, QPointer<QWidget>> table;
    return table;
}

} // namespace

quintptr WindowHandles::assign(QWidget *pWidget)
{
    static quintptr last = kAssignedBase;
    const quintptr handle = ++last;
    assigned().insert(handle, pWidget);
    QObject::connect(pWidget, &QObject::destroyed, [handle] { assigned().remove(handle); });
    return handle;
}

QWidget *WindowHandles::find(quintptr pHandle)
{
    if (pHandle == 0)
        return nullptr;
    const auto found = assigned().constFind(pHandle);
    if (found != assigned().constEnd())
        return found->data();
    return QWidget::find(static_cast<WId>(pHandle));
}

} // namespace pindrel
