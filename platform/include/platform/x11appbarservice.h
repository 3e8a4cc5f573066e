#pragma once

// The app-bar service over an EWMH window manager. createAppBarService() builds it on Qt's own
// X connection; tests build it on a connection of their own to reach a second display.

#include "platform/appbar.h"

#include <memory>
#include <set>
#include <vector>

struct xcb_connection_t;

namespace pindrel::platform {

class EwmhConnection;

class PINDREL_PLATFORM_EXPORT X11AppBarService final : public AppBarService
{
public:
    // Works on the root window of screen pScreenNumber of pConnection, which is not owned and
    // must outlive this object. On Qt's own connection screenRect() is Qt's primary screen;
    // on any other it is the root window.
    X11AppBarService(xcb_connection_t *pConnection, int pScreenNumber);
    ~X11AppBarService() override;

    X11AppBarService(const X11AppBarService &) = delete;
    X11AppBarService &operator=(const X11AppBarService &) = delete;

    bool newBar(AppBarData &pData) override;
    bool getTaskbarPos(AppBarData &pData) override;
    void queryPos(AppBarData &pData) override;
    void setPos(AppBarData &pData) override;
    void remove(AppBarData &pData) override;
    bool setWorkArea(const AppBarRect &pRect) override;
    AppBarRect screenRect() const override;
    AppBarRect workArea() const override;

    // True when a window manager runs (a valid _NET_SUPPORTING_WM_CHECK) and lists one of the
    // strut properties in _NET_SUPPORTED: the condition newBar checks.
    bool windowManagerReservesSpace() const;

private:
    // A band reserved by one window along one edge, in root-window pixels.
    struct Band
    {
        uint32_t edge;
        AppBarRect rect;
    };

    std::vector<Band> otherBands(quintptr pOwnWindow) const;
    std::vector<Band> bandsOf(uint32_t pWindow) const;
    AppBarRect rootRect() const;

    std::unique_ptr<EwmhConnection> m_ewmh;
    std::set<quintptr> m_registered;
};

} // namespace pindrel::platform
