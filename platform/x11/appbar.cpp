#include "platform/appbar.h"

#include "ewmhconnection.h"
#include "linux/refusingappbarservice.h"
#include "platform/x11appbarservice.h"

namespace pindrel::platform {

AppBarService::~AppBarService() = default;

std::unique_ptr<AppBarService> createAppBarService()
{
    if (EwmhConnection *qt = EwmhConnection::forQt())
        return std::make_unique<X11AppBarService>(qt->connection(), qt->screenNumber());
    return std::make_unique<RefusingAppBarService>();
}

} // namespace pindrel::platform
