#include "startup/fontwarmup.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

namespace pindrel {

FontWarmup::FontWarmup()
    : m_thread([] {
        // Fills the database and loads the engine of the default face, as the first caption
        // measured will need it.
        QFontDatabase::families();
        QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("Pindrel"));
    })
{ }

FontWarmup::~FontWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace pindrel
