// The bar on the desktops people have, each case on a virtual desktop of its own: window
// managers that draw their own panel (icewm, fluxbox), RandR monitors made with
// xrandr --setmonitor (and changed while the bar runs), and device pixel ratios of 1.5 and 2.
// Everything is checked from outside, in the X server's device pixels.

#include "portablecopy.h"
#include "xdisplay.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

// Beside QRect, where the test framework's printer looks for it.
static void PrintTo(const QRect &pRect, std::ostream *pStream)
{
    *pStream << "QRect(" << pRect.x() << ", " << pRect.y() << ", " << pRect.width() << " x "
             << pRect.height() << ")";
}

namespace {

constexpr int kTimeoutMs = 20000;
constexpr int kBarHeight = 26; // MAIN HEIGHT 390 twips at scale 1

struct Desktop
{
    QStringList options; // for xsession.sh
    QByteArray scaleFactor; // QT_SCALE_FACTOR, empty for none
};

class OnItsOwnDesktop : public ::testing::Test
{
protected:
    void bringUp(const Desktop &pDesktop)
    {
        ASSERT_TRUE(m_runtime.isValid() && m_config.isValid() && m_copy.isValid());
        m_session = std::make_unique<XSession>(XSession::Kind::Desktop, pDesktop.options);
        ASSERT_TRUE(m_session->isRunning()) << m_session->error().toStdString();
        m_display = std::make_unique<XDisplay>(m_session->display());
        ASSERT_TRUE(m_display->isConnected());
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("DISPLAY"), m_session->display());
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        m_environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
        if (!pDesktop.scaleFactor.isEmpty())
            m_environment.insert(QStringLiteral("QT_SCALE_FACTOR"),
                                 QString::fromLatin1(pDesktop.scaleFactor));
    }

    void TearDown() override
    {
        stop();
        m_display.reset();
        m_session.reset();
    }

    // Ends the program as a session's end does (SIGTERM), and waits for it.
    void stop()
    {
        if (m_program && m_program->state() != QProcess::NotRunning) {
            m_program->terminate();
            if (!m_program->waitForFinished(kTimeoutMs))
                m_program->kill();
            m_program->waitForFinished();
        }
    }

    XDisplay &x() { return *m_display; }

    bool waitUntil(const std::function<bool()> &pCondition)
    {
        return x().waitUntil(pCondition, kTimeoutMs);
    }

    // Starts the copy with drawer 1 on /tmp (its geometry from pDrawer) at pPosition.
    void start(const char *pPosition, const QByteArray &pDrawer = {})
    {
        ASSERT_TRUE(m_copy.writeConfig(QByteArray("[MAIN]\nPOSITION=") + pPosition
                                       + "\n[GRAL]\nCANTBOT=1\n[BUTTON1]\nCAPTION=Temp\n"
                                         "PATH=/tmp\n"
                                       + pDrawer));
        m_program = std::make_unique<QProcess>();
        m_program->setProcessEnvironment(m_environment);
        m_program->setProcessChannelMode(QProcess::MergedChannels);
        m_program->start(m_copy.programFile(), QStringList());
        ASSERT_TRUE(m_program->waitForStarted(kTimeoutMs));
    }

    std::string output() { return m_program->readAll().toStdString(); }

    // The first viewable window of the program whose type list holds pType.
    std::optional<xcb_window_t> waitForWindow(const char *pType)
    {
        std::optional<xcb_window_t> found;
        waitUntil([&] {
            for (const xcb_window_t window : x().viewableWindowsOf(m_program->processId())) {
                if (x().atomNames(window, "_NET_WM_WINDOW_TYPE").contains(QLatin1String(pType)))
                    found = window;
            }
            return found.has_value() || m_program->state() == QProcess::NotRunning;
        });
        return found;
    }

    // The bar's geometry and partial strut once both are pBar and pStrut, or as they are when
    // the time is up.
    void expectDocked(xcb_window_t pBar, const QRect &pExpected,
                      const std::vector<uint32_t> &pStrut)
    {
        waitUntil([&] {
            return x().geometry(pBar) == pExpected
                && x().cardinals(pBar, "_NET_WM_STRUT_PARTIAL") == pStrut;
        });
        EXPECT_EQ(x().geometry(pBar).value_or(QRect()), pExpected);
        EXPECT_EQ(x().cardinals(pBar, "_NET_WM_STRUT_PARTIAL").value_or(std::vector<uint32_t>()),
                  pStrut);
    }

    static void xrandr(const QStringList &pArguments, const QString &pDisplay)
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), pDisplay);
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral("xrandr"), pArguments);
        ASSERT_TRUE(tool.waitForFinished(kTimeoutMs));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAll().toStdString();
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_config;
    PortableCopy m_copy;
    std::unique_ptr<XSession> m_session;
    std::unique_ptr<XDisplay> m_display;
    QProcessEnvironment m_environment;
    std::unique_ptr<QProcess> m_program;
};

// Partial struts: left, right, top, bottom, then the start and end of each.
std::vector<uint32_t> topStrut(int pHeight, int pLeft, int pRight)
{
    return {0,
            0,
            static_cast<uint32_t>(pHeight),
            0,
            0,
            0,
            0,
            0,
            static_cast<uint32_t>(pLeft),
            static_cast<uint32_t>(pRight - 1),
            0,
            0};
}

std::vector<uint32_t> bottomStrut(int pFromRootBottom, int pLeft, int pRight)
{
    return {0,
            0,
            0,
            static_cast<uint32_t>(pFromRootBottom),
            0,
            0,
            0,
            0,
            0,
            0,
            static_cast<uint32_t>(pLeft),
            static_cast<uint32_t>(pRight - 1)};
}

// ---- window managers with a panel of their own ----------------------------------------------

struct PanelRow
{
    const char *name;
    const char *windowManager;
    const char *position;
};

void PrintTo(const PanelRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class BesideThePanel : public OnItsOwnDesktop, public ::testing::WithParamInterface<PanelRow>
{
};

// The panels reserve their band only in the work area, with no strut the bar could see: the
// bar at the bottom sits on the panel's top, never over it.
TEST_P(BesideThePanel, SitsBesideTheWindowManagersPanel)
{
    const PanelRow &row = GetParam();
    ASSERT_NO_FATAL_FAILURE(
        bringUp({{QStringLiteral("--wm"), QLatin1String(row.windowManager)}, {}}));
    const QRect before = x().workArea();
    ASSERT_LT(before.bottom(), 799) << "the panel reserves nothing";
    ASSERT_NO_FATAL_FAILURE(start(row.position));
    const auto bar = waitForWindow("_NET_WM_WINDOW_TYPE_DOCK");
    ASSERT_TRUE(bar) << output();
    if (QLatin1String(row.position) == QLatin1String("TOP")) {
        expectDocked(*bar, QRect(0, 0, 1280, kBarHeight), topStrut(kBarHeight, 0, 1280));
    } else {
        const int top = before.bottom() + 1 - kBarHeight;
        expectDocked(*bar, QRect(0, top, 1280, kBarHeight), bottomStrut(800 - top, 0, 1280));
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, BesideThePanel,
                         ::testing::Values(PanelRow{"icewm_top", "icewm", "TOP"},
                                           PanelRow{"icewm_bottom", "icewm", "BOTTOM"},
                                           PanelRow{"fluxbox_top", "fluxbox", "TOP"},
                                           PanelRow{"fluxbox_bottom", "fluxbox", "BOTTOM"}),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- monitors ---------------------------------------------------------------------------------

struct MonitorRow
{
    const char *name;
    const char *size;
    const char *monitors; // for xsession.sh --monitors, the primary marked with "*"
    const char *position;
    QRect primary;
    int rootHeight;
};

void PrintTo(const MonitorRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class OnThePrimaryMonitor : public OnItsOwnDesktop, public ::testing::WithParamInterface<MonitorRow>
{
};

// The bar docks on the primary monitor, as wide as it; its strut counts from the root window's
// edge and its range stays on that monitor, so the others' windows are not pushed.
TEST_P(OnThePrimaryMonitor, DocksAcrossThePrimaryAlone)
{
    const MonitorRow &row = GetParam();
    ASSERT_NO_FATAL_FAILURE(bringUp({{QStringLiteral("--size"), QLatin1String(row.size),
                                      QStringLiteral("--monitors"), QLatin1String(row.monitors)},
                                     {}}));
    ASSERT_NO_FATAL_FAILURE(start(row.position));
    const auto bar = waitForWindow("_NET_WM_WINDOW_TYPE_DOCK");
    ASSERT_TRUE(bar) << output();
    const QRect &m = row.primary;
    if (QLatin1String(row.position) == QLatin1String("TOP")) {
        expectDocked(*bar, QRect(m.x(), m.y(), m.width(), kBarHeight),
                     topStrut(m.y() + kBarHeight, m.x(), m.x() + m.width()));
        return;
    }
    // At the bottom: above the taskbar where it stands on the primary monitor.
    int bottom = m.y() + m.height();
    if (const auto panel = x().panel()) {
        const QRect band = x().geometry(*panel).value_or(QRect());
        if (band.intersects(m))
            bottom = std::min(bottom, band.top());
    }
    const int top = bottom - kBarHeight;
    expectDocked(*bar, QRect(m.x(), top, m.width(), kBarHeight),
                 bottomStrut(row.rootHeight - top, m.x(), m.x() + m.width()));
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, OnThePrimaryMonitor,
    ::testing::Values(MonitorRow{"primary_left_beside_a_taller_one_bottom", "2560x1080",
                                 "*1280x800+0+0,1280x1080+1280+0", "BOTTOM", QRect(0, 0, 1280, 800),
                                 1080},
                      MonitorRow{"primary_right_top", "2560x1080", "1280x1080+0+0,*1280x800+1280+0",
                                 "TOP", QRect(1280, 0, 1280, 800), 1080},
                      MonitorRow{"primary_right_bottom", "2560x1080",
                                 "1280x1080+0+0,*1280x800+1280+0", "BOTTOM",
                                 QRect(1280, 0, 1280, 800), 1080},
                      MonitorRow{"three_primary_in_the_middle_bottom", "3840x1080",
                                 "1280x1080+0+0,*1024x768+1280+0,1280x800+2304+0", "BOTTOM",
                                 QRect(1280, 0, 1024, 768), 1080}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

// Monitors changed while the bar runs: it gives the old band back and takes the new one at once.
// The server announces a monitor defined or removed with xrandr only by a ConfigureNotify of the
// root window, no RandR notification.
TEST_F(OnItsOwnDesktop, FollowsTheMonitorsAsTheyChange)
{
    ASSERT_NO_FATAL_FAILURE(
        bringUp({{QStringLiteral("--size"), QStringLiteral("2560x1080"),
                  QStringLiteral("--monitors"), QStringLiteral("*1280x800+0+0,1280x1080+1280+0")},
                 {}}));
    ASSERT_NO_FATAL_FAILURE(start("TOP"));
    const auto bar = waitForWindow("_NET_WM_WINDOW_TYPE_DOCK");
    ASSERT_TRUE(bar) << output();
    expectDocked(*bar, QRect(0, 0, 1280, kBarHeight), topStrut(kBarHeight, 0, 1280));

    const QString display = m_session->display();
    // A monitor cannot be defined again under its name: it is taken away first. The bar follows
    // every step as it comes, so no step before the last may leave it where the change ends.
    struct Change
    {
        const char *name;
        std::vector<QStringList> steps; // xrandr's arguments, one call each
        QRect expected;
    };
    const QStringList withoutM1{QStringLiteral("--delmonitor"), QStringLiteral("M1")};
    const QStringList withoutM2{QStringLiteral("--delmonitor"), QStringLiteral("M2")};
    const Change changes[] = {
        {"the primary moves to the right",
         {withoutM2,
          {QStringLiteral("--setmonitor"), QStringLiteral("*M2"),
           QStringLiteral("1280/338x800/211+1280+0"), QStringLiteral("none")}},
         QRect(1280, 0, 1280, kBarHeight)},
        {"the primary is resized and lowered",
         {withoutM2,
          {QStringLiteral("--setmonitor"), QStringLiteral("*M2"),
           QStringLiteral("1024/270x768/203+1280+100"), QStringLiteral("none")}},
         QRect(1280, 100, 1024, kBarHeight)},
        // The server's own monitor of the output is all that is left.
        {"one monitor is left", {withoutM2, withoutM1}, QRect(0, 0, 2560, kBarHeight)},
    };
    for (const Change &change : changes) {
        SCOPED_TRACE(change.name);
        for (const QStringList &step : change.steps)
            ASSERT_NO_FATAL_FAILURE(xrandr(step, display));
        const QRect &e = change.expected;
        expectDocked(*bar, e, topStrut(e.y() + kBarHeight, e.x(), e.x() + e.width()));
    }
}

// Started again and again beside a second monitor, the bar maps and docks every time, however
// late Qt learns the screens.
TEST_F(OnItsOwnDesktop, MapsAtEveryStartBesideASecondMonitor)
{
    ASSERT_NO_FATAL_FAILURE(
        bringUp({{QStringLiteral("--size"), QStringLiteral("2560x1080"),
                  QStringLiteral("--monitors"), QStringLiteral("*1280x800+0+0,1280x1080+1280+0")},
                 {}}));
    for (int run = 1; run <= 4; ++run) {
        SCOPED_TRACE(run);
        ASSERT_NO_FATAL_FAILURE(start("TOP"));
        const auto bar = waitForWindow("_NET_WM_WINDOW_TYPE_DOCK");
        ASSERT_TRUE(bar) << output();
        expectDocked(*bar, QRect(0, 0, 1280, kBarHeight), topStrut(kBarHeight, 0, 1280));
        stop();
    }
}

// ---- scaling ------------------------------------------------------------------------------

struct ScaleRow
{
    const char *name;
    Desktop desktop;
    double ratio;
};

void PrintTo(const ScaleRow &pRow, std::ostream *pStream)
{
    *pStream << pRow.name;
}

class AtEveryScale : public OnItsOwnDesktop, public ::testing::WithParamInterface<ScaleRow>
{
};

// The bar, its strut and a drawer's stored place in device pixels: twips are measured at the
// logical DPI, so the same config.ini puts everything at the same physical place whatever the
// scale.
TEST_P(AtEveryScale, BarStrutAndDrawerAgreeInDevicePixels)
{
    const ScaleRow &row = GetParam();
    ASSERT_NO_FATAL_FAILURE(bringUp(row.desktop));
    // 1500 twips = 100 pixels at scale 1; the size 4500 x 3000 twips = 300 x 200, which leaves
    // the drawer on the screen at scale 2 too (640 x 400 device-independent pixels).
    ASSERT_NO_FATAL_FAILURE(start("TOP", "LEFT=1500\nTOP=1500\nWIDTH=4500\nHEIGHT=3000\n"));
    const auto bar = waitForWindow("_NET_WM_WINDOW_TYPE_DOCK");
    ASSERT_TRUE(bar) << output();
    const auto device = [&row](double pPixels) {
        return static_cast<int>(std::lround(pPixels * row.ratio));
    };
    const int height = device(kBarHeight);
    expectDocked(*bar, QRect(0, 0, 1280, height), topStrut(height, 0, 1280));

    // A click on drawer 1's button (750 twips from the left) opens it at its stored place.
    QProcess xdotool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_session->display());
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QStringLiteral("--sync"),
                   QString::number(device(50) + 6), QString::number(height / 2),
                   QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(xdotool.waitForFinished(kTimeoutMs));
    const auto drawer = waitForWindow("_NET_WM_WINDOW_TYPE_UTILITY");
    ASSERT_TRUE(drawer) << output();
    QRect client;
    std::vector<uint32_t> frame;
    const QRect wantedClient(0, 0, device(300), device(200));
    // The frame's corner where the stored place says, the client area as large as it says.
    const auto placed = [&] {
        client = x().geometry(*drawer).value_or(QRect());
        frame = x().cardinals(*drawer, "_NET_FRAME_EXTENTS").value_or(std::vector<uint32_t>());
        if (frame.size() < 4)
            return false;
        const int frameLeft = client.x() - static_cast<int>(frame[0]);
        const int frameTop = client.y() - static_cast<int>(frame[2]);
        return std::abs(frameLeft - device(100)) <= 1 && std::abs(frameTop - device(100)) <= 1
            && std::abs(client.width() - wantedClient.width()) <= 1
            && std::abs(client.height() - wantedClient.height()) <= 1;
    };
    EXPECT_TRUE(waitUntil(placed)) << "client " << ::testing::PrintToString(client)
                                   << ", frame extents " << ::testing::PrintToString(frame);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, AtEveryScale,
    ::testing::Values(
        ScaleRow{"scale_1", {{}, {}}, 1.0},
        ScaleRow{"xft_dpi_144", {{QStringLiteral("--dpi"), QStringLiteral("144")}, {}}, 1.5},
        ScaleRow{"xft_dpi_192", {{QStringLiteral("--dpi"), QStringLiteral("192")}, {}}, 2.0},
        ScaleRow{"qt_scale_factor_2", {{}, "2"}, 2.0}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
