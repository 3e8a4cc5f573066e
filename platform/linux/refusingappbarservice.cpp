#include "refusingappbarservice.h"

#include "primaryscreen.h"

namespace pindrel::platform {

bool RefusingAppBarService::newBar(AppBarData &)
{
    return false;
}

bool RefusingAppBarService::getTaskbarPos(AppBarData &)
{
    return false;
}

void RefusingAppBarService::queryPos(AppBarData &) { }

void RefusingAppBarService::setPos(AppBarData &) { }

void RefusingAppBarService::remove(AppBarData &) { }

bool RefusingAppBarService::setWorkArea(const AppBarRect &)
{
    return false;
}

AppBarRect RefusingAppBarService::screenRect() const
{
    return primaryScreenRect().value_or(AppBarRect{});
}

AppBarRect RefusingAppBarService::workArea() const
{
    return screenRect();
}

} // namespace pindrel::platform
