#include "dialogs/buildinfo.h"

// The build passes these to this file alone, so that a new version or address recompiles one
// file.
#ifndef PINDREL_VERSION_MAJOR
#error "the build must define PINDREL_VERSION_MAJOR, _MINOR and _REVISION"
#endif
#ifndef PINDREL_WEBSITE_URL
#error "the build must define PINDREL_WEBSITE_URL"
#endif

namespace pindrel {

ProgramVersion programVersion()
{
    return {PINDREL_VERSION_MAJOR, PINDREL_VERSION_MINOR, PINDREL_VERSION_REVISION};
}

QUrl websiteUrl()
{
    return QUrl(QStringLiteral(PINDREL_WEBSITE_URL));
}

QString platformLine()
{
    // The bar docks through EWMH on X11; on a Wayland session it runs under XWayland.
#if defined(Q_OS_LINUX)
    return QStringLiteral("For Linux (X11, and Wayland through XWayland)");
#elif defined(Q_OS_WIN)
    return QStringLiteral("For Windows");
#else
    return QStringLiteral("For Unix (X11)");
#endif
}

} // namespace pindrel
