#include "platform/eventlog.h"

#include <syslog.h>

namespace pindrel::platform {

void logError(const QString &pText)
{
    // openlog keeps the identity pointer: a string with static storage.
    static const char identity[] = "Pindrel";
    openlog(identity, LOG_PID, LOG_USER);
    syslog(LOG_ERR, "%s", pText.toUtf8().constData());
    closelog();
}

} // namespace pindrel::platform
