#pragma once

// The widths of many captions in one font, measured on a second thread while the caller goes on
// (making the buttons that will show them): shaping a hundred captions is most of what the
// drawer buttons' rebuild costs, and it needs nothing of the buttons. Each width is what
// captionWidthTwips gives. Should no thread start, the captions are measured in the
// constructor instead.
//
// The widths are ready before the thread has ended (a thread that measured text leaves its own
// font engines to free): at() waits only for them, and the object may be kept until the thread
// is surely gone, the destructor waiting for it.

#include <QFont>
#include <QString>

#include <future>
#include <thread>
#include <vector>

namespace pindrel {

class CaptionWidths
{
public:
    // Starts measuring pCaptions in pFont at pTwipsPerPixel.
    CaptionWidths(const QFont &pFont, const std::vector<QString> &pCaptions, float pTwipsPerPixel);
    // Waits for the thread to end.
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
    std::thread m_thread;
    std::vector<float> m_widths;
};

} // namespace pindrel
