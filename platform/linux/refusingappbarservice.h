#pragma once

// The app-bar service where the desktop offers none (no X11 window manager to talk to): every
// registration is refused, so the bar stays where the program put it. Not part of the library's
// surface.

#include "platform/appbar.h"

namespace pindrel::platform {

class RefusingAppBarService final : public AppBarService
{
public:
    bool newBar(AppBarData &pData) override;
    bool getTaskbarPos(AppBarData &pData) override;
    void queryPos(AppBarData &pData) override;
    void setPos(AppBarData &pData) override;
    void remove(AppBarData &pData) override;
    bool setWorkArea(const AppBarRect &pRect) override;
    AppBarRect screenRect() const override;
    // The whole screen: without a window manager nothing reserves space.
    AppBarRect workArea() const override;
};

} // namespace pindrel::platform
