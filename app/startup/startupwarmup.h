#pragma once

// Makes process-wide things on other threads while the bar is being built: the atoms of the
// window-manager properties, the session-bus connection where the session has a bus (the
// platform's accessibility bridge opens it when the first window is shown) and the font
// database (fontconfig's configuration and the font list). Otherwise the first property set,
// the window's first show and the first caption measured would make them on the user-interface
// thread, and the font database is most of what the bar's start costs beyond any other
// window's. All are thread-safe: whoever needs one before the warm-up has made it simply waits
// for it.
//
// Started as soon as the application object exists, so that it runs while the bar's window is
// made; the fonts at a lower priority than the user-interface thread and the X
// server, which the start waits for. None of it touches the program's files or the first copy:
// a second copy that ends at once has still changed nothing.

#include <thread>

namespace pindrel {

class StartupWarmup
{
public:
    // Needs the application object (the platform's font database) to exist.
    StartupWarmup();
    // Waits for the warm-up to finish.
    ~StartupWarmup();

    StartupWarmup(const StartupWarmup &) = delete;
    StartupWarmup &operator=(const StartupWarmup &) = delete;

private:
    std::thread m_bus;
    std::thread m_caches;
};

} // namespace pindrel
