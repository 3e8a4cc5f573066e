#include "startup/startupwarmup.h"

#include <QDBusConnection>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>

namespace pindrel {

StartupWarmup::StartupWarmup()
    : m_thread([] {
        // In the order the bar needs them. The accessibility bridge, made when the bar's window
        // is first shown, connects to the session bus: the connection is made once per process
        // and the thread that asks first waits for it (on a desktop without a bus, for the
        // attempt to start one to fail).
        QDBusConnection::sessionBus();
        // The theme picture is read before the captions are measured.
        QImageReader::supportedImageFormats();
        // Fills the database and the fallback lists of the default face, as the first caption
        // measured will need them. (Each thread loads its own font engines.)
        QFontDatabase::families();
        QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("Pindrel"));
    })
{ }

StartupWarmup::~StartupWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace pindrel
