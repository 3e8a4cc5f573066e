#pragma once

// A throw-away X session (scripts/xsession.sh) for the life of one object: a virtual screen
// with openbox and a tint2 panel at the bottom, or with --bare the X server alone.

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QTemporaryDir>

class XSession
{
public:
    enum class Kind { Desktop, BareServer };

    // Starts the session and waits until it is ready (the script waits for the window manager,
    // the panel and the work area). pOptions go to the script as they are (--wm, --size,
    // --monitors, --dpi). isRunning() tells whether it came up.
    explicit XSession(Kind pKind, const QStringList &pOptions = {});
    ~XSession();

    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    bool isRunning() const { return !m_display.isEmpty(); }
    // ":N", the value for DISPLAY.
    QString display() const { return m_display; }
    // The script's complaint when the session did not come up.
    QString error() const { return m_error; }

private:
    bool runScript(const QStringList &pArguments);

    QTemporaryDir m_folder;
    QString m_display;
    QString m_error;
};
