#include "bar/drawerbuttonlayout.h"

#include "startup/twips.h"

#include <QFontMetrics>

namespace pindrel {

FixedButtonsPlacement placeFixedButtons(const TwipsRect &pAdd, const TwipsRect &pProg,
                                        float pInnerHeight)
{
    FixedButtonsPlacement placement;
    if (pAdd.top + pAdd.height + kButtonGap + pProg.height <= pInnerHeight) {
        placement.stacked = true;
        placement.progLeft = pAdd.left;
        placement.progTop = pAdd.top + pAdd.height + kButtonGap;
        placement.firstDrawerLeft = pAdd.left + pAdd.width + kButtonGap;
    } else {
        placement.progLeft = pAdd.left + pAdd.width + kButtonGap;
        placement.progTop = pAdd.top;
        placement.firstDrawerLeft = placement.progLeft + pProg.width + kButtonGap;
    }
    return placement;
}

std::optional<float> drawerButtonWidth(int32_t pStyle, float pCaptionWidth,
                                       int32_t pPictureWidthHimetric, float pTemplateHeight)
{
    switch (static_cast<ButtonStyle>(pStyle)) {
    case ButtonStyle::TextOnly:
        return pCaptionWidth + 2 * kButtonGap;
    case ButtonStyle::TextAndIcon:
        // Picture objects give their width in hundredths of a millimetre; the bar has always
        // added that number to twips unchanged, so a 32-pixel icon widens a button by 847.
        return pCaptionWidth + 2 * kButtonGap + static_cast<float>(pPictureWidthHimetric);
    case ButtonStyle::IconOnly:
        return pTemplateHeight;
    }
    return std::nullopt;
}

float captionWidthTwips(const QFont &pFont, const QString &pCaption, float pTwipsPerPixel)
{
    if (pCaption.isEmpty())
        return 0;
    const QFontMetrics metrics(pFont);
    // Lines end at CR LF, CR or LF. Split by hand: a regular expression costs a compilation at
    // the first caption, while the bar is starting.
    int widest = 0;
    qsizetype start = 0;
    const qsizetype size = pCaption.size();
    for (qsizetype i = 0; i <= size; ++i) {
        const bool end = i == size;
        const QChar c = end ? QChar() : pCaption.at(i);
        if (!end && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        widest = std::max(widest, metrics.horizontalAdvance(pCaption.mid(start, i - start)));
        if (!end && c == QLatin1Char('\r') && i + 1 < size
            && pCaption.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    return toTwips(widest, pTwipsPerPixel);
}

QString trimSpaces(const QString &pText)
{
    qsizetype first = 0;
    qsizetype last = pText.size();
    while (first < last && pText.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && pText.at(last - 1) == QLatin1Char(' '))
        --last;
    return pText.mid(first, last - first);
}

} // namespace pindrel
