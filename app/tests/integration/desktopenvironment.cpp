#include "desktopenvironment.h"

namespace {

DesktopEnvironment *runningEnvironment = nullptr;

} // namespace

DesktopEnvironment::DesktopEnvironment() = default;

DesktopEnvironment::~DesktopEnvironment() = default;

DesktopEnvironment *DesktopEnvironment::instance()
{
    return runningEnvironment;
}

void DesktopEnvironment::SetUp()
{
    ASSERT_TRUE(m_runtimeFolder.isValid() && m_configFolder.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtimeFolder.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit());

    m_session = std::make_unique<XSession>(XSession::Kind::Desktop);
    ASSERT_TRUE(m_session->isRunning()) << m_session->error().toStdString();
    qputenv("DISPLAY", m_session->display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");

    m_display = std::make_unique<XDisplay>(m_session->display());
    ASSERT_TRUE(m_display->isConnected())
        << "cannot connect to " << qPrintable(m_session->display());
    const auto screen = m_display->geometry(m_display->root());
    ASSERT_TRUE(screen.has_value());
    m_screenGeometry = *screen;
    const auto panel = m_display->panel();
    ASSERT_TRUE(panel.has_value()) << "no taskbar in the session";
    const auto panelGeometry = m_display->geometry(*panel);
    ASSERT_TRUE(panelGeometry.has_value());
    m_panelGeometry = *panelGeometry;
    m_baselineWorkArea = m_display->workArea();
    // The cases work their expectations out from this layout: a taskbar across the bottom
    // that the work area leaves out.
    ASSERT_EQ(m_panelGeometry.bottom(), m_screenGeometry.bottom());
    ASSERT_EQ(m_panelGeometry.width(), m_screenGeometry.width());
    ASSERT_EQ(m_baselineWorkArea, QRect(0, 0, m_screenGeometry.width(), m_panelGeometry.top()));
    runningEnvironment = this;
}

void DesktopEnvironment::TearDown()
{
    runningEnvironment = nullptr;
    // The connection goes before the server.
    m_display.reset();
    m_session.reset();
}
