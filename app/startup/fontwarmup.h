#pragma once

// Starts the font database on a second thread while the start sequence reads its settings,
// talks to the window manager and loads the drawers' pictures. The first measurement of a
// caption would otherwise fill it on the user-interface thread, and that is most of what the
// bar's start costs beyond any other window's. The font database is thread-safe: a caption
// measured before the warm-up is done simply waits for it.

#include <thread>

namespace pindrel {

class FontWarmup
{
public:
    // Needs the application object (the platform's font database) to exist.
    FontWarmup();
    // Waits for the warm-up to finish.
    ~FontWarmup();

    FontWarmup(const FontWarmup &) = delete;
    FontWarmup &operator=(const FontWarmup &) = delete;

private:
    std::thread m_thread;
};

} // namespace pindrel
