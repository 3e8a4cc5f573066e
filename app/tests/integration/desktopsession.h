#pragma once

// A throw-away desktop for the life of one object, brought up by scripts/xsession.sh: a virtual
// 1280 x 800 screen with openbox as the window manager and a tint2 taskbar, 30 pixels high,
// across the bottom edge.

#include <QString>
#include <QTemporaryDir>

class DesktopSession
{
public:
    // Starts the session and returns once the script says it is ready (window manager running,
    // taskbar docked, work area updated). The session also ends by itself when this process
    // ends, so a crashed test leaves no servers behind.
    DesktopSession();
    // Stops what the constructor started and waits for it to go.
    ~DesktopSession();

    DesktopSession(const DesktopSession &) = delete;
    DesktopSession &operator=(const DesktopSession &) = delete;

    bool isRunning() const { return !m_display.isEmpty(); }
    // ":N", the value for DISPLAY; empty when the session did not come up.
    QString display() const { return m_display; }
    // Why the session did not come up.
    QString error() const { return m_error; }

private:
    bool runScript(const QStringList &pArguments);

    QTemporaryDir m_folder;
    QString m_display;
    QString m_error;
};
