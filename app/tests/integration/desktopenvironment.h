#pragma once

// The world of the integration tests, shared by every case: a desktop session of their own
// (never the user's display), the tests' X connection to it, and private XDG folders so that
// the program's single-instance lock and any user configuration stay inside the test run.
//
// Programs started by the cases inherit DISPLAY, QT_QPA_PLATFORM=xcb, XDG_RUNTIME_DIR and
// XDG_CONFIG_HOME from this process.

#include "xdisplay.h"
#include "xsession.h"

#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class DesktopEnvironment final : public ::testing::Environment
{
public:
    DesktopEnvironment();
    ~DesktopEnvironment() override;

    void SetUp() override;
    void TearDown() override;

    // The running environment; null outside the test run or when it failed to come up.
    static DesktopEnvironment *instance();

    XDisplay &display() { return *m_display; }
    // The work area with the taskbar alone, taken before any case ran.
    QRect baselineWorkArea() const { return m_baselineWorkArea; }
    // The taskbar's rectangle on the screen.
    QRect panelGeometry() const { return m_panelGeometry; }
    QRect screenGeometry() const { return m_screenGeometry; }

private:
    QTemporaryDir m_runtimeFolder;
    QTemporaryDir m_configFolder;
    std::unique_ptr<XSession> m_session;
    std::unique_ptr<XDisplay> m_display;
    QRect m_baselineWorkArea;
    QRect m_panelGeometry;
    QRect m_screenGeometry;
};
