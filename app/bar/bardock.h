#pragma once

// BarDock: where the bar sits on the desktop and the band it reserves there.
//
// The bar docks on the primary monitor (platform::AppBarService::screenRect, in device pixels):
// as wide as that monitor, at its top or bottom edge, beside whatever else reserves space there.
// Registration follows the app-bar protocol step by step (RegistrarBarra): register, ask for
// the taskbar, cut its side off the monitor, shape the rest for the edge, query, set. Every
// rectangle here is in device pixels; the caller moves its window to what comes back.

#include "platform/appbar.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace pindrel {

// Bar heights that can be drawn and used, in device-independent pixels: a bar lower than this
// cannot hold a readable button, one higher than a third of its monitor hides the desktop.
inline constexpr int kMinimumBarHeight = 16;

// pHeight bounded to kMinimumBarHeight .. a third of pMonitorHeight (never below the minimum).
int boundedBarHeight(int pHeight, int pMonitorHeight);

class BarDock
{
public:
    BarDock();
    ~BarDock();

    BarDock(const BarDock &) = delete;
    BarDock &operator=(const BarDock &) = delete;

    // Replaces the app-bar service; the desktop's own (platform::createAppBarService) is made on
    // first use otherwise.
    void setService(std::unique_ptr<platform::AppBarService> pService);
    platform::AppBarService &service();

    // The monitor the bar belongs on, device pixels.
    platform::AppBarRect monitor();

    bool isRegistered() const { return m_registered; }
    // The record of the last registration (its rc is the band reserved).
    const platform::AppBarData &record() const { return m_record; }

    // RegistrarBarra for window pWindow, pWidth x pHeight device pixels, on edge pEdge (1 top,
    // 3 bottom): the rectangle to move the bar to, or nothing when the bar is registered
    // already or the desktop refuses it (it is then left unregistered).
    std::optional<platform::AppBarRect> registerBar(quintptr pWindow, uint32_t pEdge, int pWidth,
                                                    int pHeight);
    // QuitarBarra: gives the band back when registered.
    void remove();
    // RestaurarAreaTrabajo: asks for the whole monitor as the work area.
    void restoreWorkArea();

private:
    std::unique_ptr<platform::AppBarService> m_service;
    platform::AppBarData m_record;
    bool m_registered = false;
};

} // namespace pindrel
