#include "startup/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

#include "startup/numberconversion.h"

namespace pindrel {

namespace {

constexpr float kTwipsPerInch = 1440.0F;
constexpr float kTwipsPerPixelAt96Dpi = 15.0F;

const QScreen *screenOrPrimary(const QScreen *pScreen)
{
    if (pScreen != nullptr)
        return pScreen;
    // primaryScreen() needs a GUI application; before one exists there is no screen.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    return QGuiApplication::primaryScreen();
}

float factorFor(qreal pDotsPerInch)
{
    if (!(pDotsPerInch > 0.0))
        return kTwipsPerPixelAt96Dpi;
    return kTwipsPerInch / static_cast<float>(pDotsPerInch);
}

} // namespace

float twipsPerPixelX(const QScreen *pScreen)
{
    const QScreen *screen = screenOrPrimary(pScreen);
    return screen == nullptr ? kTwipsPerPixelAt96Dpi : factorFor(screen->logicalDotsPerInchX());
}

float twipsPerPixelY(const QScreen *pScreen)
{
    const QScreen *screen = screenOrPrimary(pScreen);
    return screen == nullptr ? kTwipsPerPixelAt96Dpi : factorFor(screen->logicalDotsPerInchY());
}

float twipsPerPixel(const QScreen *pScreen)
{
    return twipsPerPixelX(pScreen);
}

int toPixels(float pTwips, float pTwipsPerPixel)
{
    if (!(pTwipsPerPixel > 0.0F) || std::isnan(pTwips))
        return 0;
    const double pixels =
        roundHalfEven(static_cast<double>(pTwips) / static_cast<double>(pTwipsPerPixel));
    if (pixels >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (pixels <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(pixels);
}

float toTwips(int pPixels, float pTwipsPerPixel)
{
    return static_cast<float>(pPixels) * pTwipsPerPixel;
}

} // namespace pindrel
