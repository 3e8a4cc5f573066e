#pragma once

// The monitors of the desktop and the news that they changed. On X11 they are the RandR
// monitors of the screen (RandR 1.5: what xrandr --listmonitors shows, user-defined ones made
// with --setmonitor included), read straight from the server in device pixels, whatever Qt has
// made of them so far; elsewhere they are Qt's screens.

#include "platform/appbar.h"
#include "platform/platformexport.h"

#include <QtCore/QAbstractNativeEventFilter>
#include <QtCore/QObject>
#include <QtCore/QString>

#include <cstdint>
#include <vector>

namespace pindrel::platform {

struct Monitor
{
    AppBarRect rect; // device pixels, in the root window's coordinates
    bool primary = false;
    QString name;

    bool operator==(const Monitor &) const = default;
};

// The active monitors now, in the server's order. Never empty while a screen exists: without
// RandR monitors the whole root window (or Qt's primary screen) is the one monitor.
PINDREL_PLATFORM_EXPORT std::vector<Monitor> currentMonitors();

// The monitor marked primary; without one, the one holding the root's origin, else the first.
// Null for an empty list.
PINDREL_PLATFORM_EXPORT const Monitor *primaryMonitor(const std::vector<Monitor> &pMonitors);

// The monitor that shares the most area with pRect, else the one whose centre is nearest to
// pRect's centre. Null for an empty list.
PINDREL_PLATFORM_EXPORT const Monitor *nearestMonitor(const std::vector<Monitor> &pMonitors,
                                                      const AppBarRect &pRect);

// Tells when the monitors change: added, removed, resized, moved, or the primary one changed.
// It listens on Qt's X connection to the RandR notifications and to the root window's
// ConfigureNotify (all that the server sends when a monitor is defined or removed), and to Qt's
// own screen signals, for other platforms; it reads the monitors anew each time. changed()
// comes only when the list really differs from the one before, once per change, on the
// user-interface thread.
class PINDREL_PLATFORM_EXPORT MonitorWatcher final : public QObject,
                                                     public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit MonitorWatcher(QObject *pParent = nullptr);
    ~MonitorWatcher() override;

    const std::vector<Monitor> &monitors() const { return m_monitors; }

    // Reads the monitors now; emits changed() when they differ from the last reading.
    void refresh();

    bool nativeEventFilter(const QByteArray &pEventType, void *pMessage, qintptr *pResult) override;

signals:
    void changed();

private:
    std::vector<Monitor> m_monitors;
    int m_randrFirstEvent = -1;
    uint32_t m_root = 0; // the root window (xcb_window_t), 0 without an X connection
};

} // namespace pindrel::platform
