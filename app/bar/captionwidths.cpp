#include "bar/captionwidths.h"

#include "bar/drawerbuttonlayout.h"

#include <system_error>

namespace pindrel {

CaptionWidths::CaptionWidths(const QFont &pFont, const std::vector<QString> &pCaptions,
                             float pTwipsPerPixel)
{
    // Font and captions go to the thread as copies (shared, not duplicated). Qt's fonts may be
    // used on any thread: a thread that finds a font's engine loaded by another one loads its
    // own.
    std::packaged_task<std::vector<float>()> task(
        [font = pFont, captions = pCaptions, pTwipsPerPixel] {
            return measure(font, captions, pTwipsPerPixel);
        });
    m_pending = task.get_future();
    try {
        m_thread = std::thread(std::move(task));
    } catch (const std::system_error &) {
        m_pending = {};
        m_widths = measure(pFont, pCaptions, pTwipsPerPixel); // no thread: measured here
    }
}

CaptionWidths::~CaptionWidths()
{
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<float> CaptionWidths::measure(const QFont &pFont, const std::vector<QString> &pCaptions,
                                          float pTwipsPerPixel)
{
    std::vector<float> widths;
    widths.reserve(pCaptions.size());
    for (const QString &caption : pCaptions)
        widths.push_back(captionWidthTwips(pFont, caption, pTwipsPerPixel));
    return widths;
}

float CaptionWidths::at(size_t pIndex)
{
    if (m_pending.valid())
        m_widths = m_pending.get();
    return pIndex < m_widths.size() ? m_widths[pIndex] : 0.0F;
}

} // namespace pindrel
