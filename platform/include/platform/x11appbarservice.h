#pragma once

// The app-bar service over an EWMH window manager. createAppBarService() builds it on Qt's own
// X connection; tests build it on a connection of their own to reach a second display.

#include "platform/appbar.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
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
    void beginSequence() override;
    void endSequence() override;

    // True when a window manager runs (a valid _NET_SUPPORTING_WM_CHECK) and lists one of the
    // strut properties in _NET_SUPPORTED: the condition newBar checks.
    bool windowManagerReservesSpace() const;

private:
    // A band reserved by one window along one edge, in root-window pixels.
    struct Band
    {
        uint32_t edge;
        AppBarRect rect;
        uint32_t window = 0;
    };

    // What one look at the server finds: every window's struts, and the work area.
    struct Look
    {
        std::vector<Band> bands;
        std::optional<AppBarRect> workArea;
    };

    // The bands of everything that reserves space but pOwnWindow: the struts of every other
    // window, and the bands the work area leaves out that no strut explains (a panel the window
    // manager draws itself). Read from the server, or within a sequence from the look taken at
    // its first call.
    std::vector<Band> otherBands(quintptr pOwnWindow) const;
    Look readLook() const;
    // The work area's insets from the root's edges that no other window's strut explains. An
    // inset that pOwn (the bar's own bands) explains hides whatever the window manager reserves
    // beneath it; the band seen there before the bar reserved its own is taken instead.
    std::vector<Band> workAreaBands(const AppBarRect &pWorkArea, const std::vector<Band> &pOthers,
                                    const std::vector<Band> &pOwn) const;
    // The bands one window's struts reserve: the partial struts when it has them, else the
    // full-length ones.
    std::vector<Band> bandsFrom(const std::optional<std::vector<uint32_t>> &pPartial,
                                const std::optional<std::vector<uint32_t>> &pFull) const;
    AppBarRect rootRect() const;

    // On Qt's connection the process's shared EWMH connection (its atoms are interned once);
    // on any other connection one of its own.
    std::unique_ptr<EwmhConnection> m_ownEwmh;
    EwmhConnection *m_ewmh = nullptr;
    std::set<quintptr> m_registered;
    int m_sequenceDepth = 0;
    mutable std::optional<Look> m_look; // within a sequence
    // The band each bar reserved last; kept after removal, while the window manager may still
    // show it in the work area.
    std::map<quintptr, Band> m_reserved;
    // Per edge, the band last seen in the work area that no strut explained.
    mutable std::array<std::optional<Band>, 4> m_workAreaBands;
};

} // namespace pindrel::platform
