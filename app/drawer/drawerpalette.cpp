#include "drawer/drawerpalette.h"

#include <cmath>
#include <initializer_list>

namespace pindrel {

namespace {

constexpr double kReadable = 4.5;
constexpr double kReadableDisabled = 3.0;

double linear(double pChannel)
{
    return pChannel <= 0.04045 ? pChannel / 12.92 : std::pow((pChannel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &pColor)
{
    const QColor rgb = pColor.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

QColor mixed(const QColor &pFrom, const QColor &pTo, double pShare)
{
    const auto channel = [pShare](double pA, double pB) { return pA + (pB - pA) * pShare; };
    const QColor from = pFrom.toRgb();
    const QColor to = pTo.toRgb();
    return QColor::fromRgbF(static_cast<float>(channel(from.redF(), to.redF())),
                            static_cast<float>(channel(from.greenF(), to.greenF())),
                            static_cast<float>(channel(from.blueF(), to.blueF())));
}

QColor readableOn(const QColor &pBackground)
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(black, pBackground) >= contrastRatio(white, pBackground) ? black : white;
}

// The foreground faded towards the background as far as it still reads as text.
QColor fadedOn(const QColor &pForeground, const QColor &pBackground)
{
    for (double share = 0.5; share > 0.0; share -= 0.05) {
        const QColor faded = mixed(pForeground, pBackground, share);
        if (contrastRatio(faded, pBackground) >= kReadableDisabled)
            return faded;
    }
    return pForeground;
}

} // namespace

double contrastRatio(const QColor &pFirst, const QColor &pSecond)
{
    const double a = luminance(pFirst);
    const double b = luminance(pSecond);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QPalette drawerPalette(const QPalette &pBase, const QColor &pBackground)
{
    QPalette palette = pBase;
    if (!pBackground.isValid())
        return palette;
    const QColor background = pBackground.toRgb();
    const QColor foreground = readableOn(background);
    // Tools lift off a dark background and sink into a light one, by enough to be seen.
    QColor button = mixed(background, foreground, 0.15);
    QColor buttonText = readableOn(button);
    if (contrastRatio(buttonText, button) < kReadable) {
        button = background;
        buttonText = foreground;
    }
    const bool dark = foreground == QColor(Qt::white);
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::WindowText,
                         disabled ? fadedOn(foreground, background) : foreground);
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText,
                         disabled ? fadedOn(buttonText, button) : buttonText);
        // The bevels and frames of pressed and hovered tools, drawn from the button's shade.
        palette.setColor(group, QPalette::Light, button.lighter(dark ? 170 : 150));
        palette.setColor(group, QPalette::Midlight, button.lighter(dark ? 135 : 125));
        palette.setColor(group, QPalette::Mid, dark ? button.lighter(125) : button.darker(130));
        palette.setColor(group, QPalette::Dark, dark ? button.lighter(150) : button.darker(160));
        palette.setColor(group, QPalette::Shadow, dark ? button.lighter(110) : button.darker(250));
    }
    return palette;
}

} // namespace pindrel
