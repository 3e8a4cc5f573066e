#pragma once

// The drop receiver as the drawer buttons' rebuild sees it: a button is registered as a drop
// target when it is created and withdrawn before it is removed, by its window identity
// (BarButton::hWnd). The bar's drop receiver implements it; until one is set the rebuild
// registers nothing.

#include <QtGlobal>

namespace pindrel {

class DragTargets
{
public:
    virtual ~DragTargets() = default;

    virtual void InitDrag(quintptr pHWnd) = 0;
    virtual void TerminateDrag(quintptr pHWnd) = 0;

protected:
    DragTargets() = default;
    DragTargets(const DragTargets &) = default;
    DragTargets &operator=(const DragTargets &) = default;
};

} // namespace pindrel
