#pragma once

// The widths of many captions in one font, measured on a second thread while the caller goes on
// (making the buttons that will show them): shaping a hundred captions is most of what the
// drawer buttons' rebuild costs, and it needs nothing of the buttons. Each width is what
// captionWidthTwips gives. Should no thread start, the captions are measured in the
// constructor instead.

#include <QFont>
#include <QString>

#include <future>
#include <vector>

namespace pindrel {

class CaptionWidths
{
public:
    // Starts measuring pCaptions in pFont at pTwipsPerPixel.
    CaptionWidths(const QFont &pFont, std::vector<QString> pCaptions, float pTwipsPerPixel);
    // Waits for the measuring to end.
    ~CaptionWidths();

    CaptionWidths(const CaptionWidths &) = delete;
    CaptionWidths &operator=(const CaptionWidths &) = delete;

    // The width of caption pIndex in twips (0 outside the list); waits for the measuring the
    // first time.
    float at(size_t pIndex);

private:
    static std::vector<float> measure(const QFont &pFont, const std::vector<QString> &pCaptions,
                                      float pTwipsPerPixel);

    std::future<std::vector<float>> m_pending;
    std::vector<float> m_widths;
};

} // namespace pindrel
