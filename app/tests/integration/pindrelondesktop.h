#pragma once

// What the cases of the integration tests share: the INI text helpers and the fixture that
// starts portable copies of the program on the shared desktop and watches them from outside
// through X (window geometry, properties, the work area), driving them with xdotool.

#include "desktopenvironment.h"
#include "portablecopy.h"
#include "xdisplay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

inline void PrintTo(const QRect &pRect, std::ostream *pStream)
{
    *pStream << "QRect(" << pRect.x() << ", " << pRect.y() << ", " << pRect.width() << " x "
             << pRect.height() << ")";
}

// Bounds for waits that normally end in a fraction of a second; wide enough for a sanitizer
// build on a busy machine.
inline constexpr int kTimeoutMs = 20000;
// MAIN HEIGHT 390 twips at 96 DPI (15 twips per pixel).
inline constexpr int kBarHeight = 26;

struct IniEntry
{
    QString section;
    QString key;
    QString value;

    bool operator==(const IniEntry &) const = default;
};
using IniEntries = std::vector<IniEntry>;

inline void PrintTo(const IniEntry &pEntry, std::ostream *pStream)
{
    *pStream << "[" << qPrintable(pEntry.section) << "] " << qPrintable(pEntry.key) << "="
             << qPrintable(pEntry.value);
}

// An INI file holding pEntries, each section once, sections in the order they first appear.
inline QByteArray iniText(const IniEntries &pEntries)
{
    QStringList sections;
    for (const IniEntry &entry : pEntries) {
        if (!sections.contains(entry.section))
            sections << entry.section;
    }
    QByteArray text;
    for (const QString &section : sections) {
        text += '[' + section.toLatin1() + "]\n";
        for (const IniEntry &entry : pEntries) {
            if (entry.section == section)
                text += entry.key.toLatin1() + '=' + entry.value.toLatin1() + '\n';
        }
    }
    return text;
}

// The entries of an INI file in file order; blank lines skipped.
inline IniEntries parseIni(const QByteArray &pText)
{
    IniEntries entries;
    QString section;
    for (const QByteArray &rawLine : pText.split('\n')) {
        const QString line = QString::fromLatin1(rawLine).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        entries.push_back(
            {section, line.left(equals), equals < 0 ? QString() : line.mid(equals + 1)});
    }
    return entries;
}

// One drawer after the given settings: the first-run question stays away (it is modal and
// would keep the bar from showing).
inline IniEntries withOneDrawer(IniEntries pEntries,
                                const QString &pDrawerCount = QStringLiteral("1"))
{
    pEntries.push_back({QStringLiteral("GRAL"), QStringLiteral("CANTBOT"), pDrawerCount});
    pEntries.push_back(
        {QStringLiteral("BUTTON1"), QStringLiteral("CAPTION"), QStringLiteral("Temp")});
    pEntries.push_back({QStringLiteral("BUTTON1"), QStringLiteral("PATH"), QDir::tempPath()});
    pEntries.push_back({QStringLiteral("BUTTON1"), QStringLiteral("ICON"), QString()});
    return pEntries;
}

inline IniEntry position(const char *pEdge)
{
    return {QStringLiteral("MAIN"), QStringLiteral("POSITION"), QString::fromLatin1(pEdge)};
}

class PindrelOnDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        environment = DesktopEnvironment::instance();
        ASSERT_NE(environment, nullptr) << "the desktop session did not come up";
        ASSERT_TRUE(copy.isValid()) << copy.error().toStdString();
        screen = environment->screenGeometry();
        panel = environment->panelGeometry();
        baseline = environment->baselineWorkArea();
    }

    void TearDown() override
    {
        if (environment == nullptr)
            return;
        for (const auto &process : processes)
            stop(*process);
        // The next case must find the desktop as the taskbar alone leaves it.
        EXPECT_EQ(settledWorkArea(baseline), baseline) << "the work area was not given back";
    }

    XDisplay &x() { return environment->display(); }

    bool waitUntil(const std::function<bool()> &pCondition, int pTimeoutMs = kTimeoutMs)
    {
        return x().waitUntil(pCondition, pTimeoutMs);
    }

    bool writeConfig(const IniEntries &pEntries) { return copy.writeConfig(iniText(pEntries)); }

    QProcess &start()
    {
        processes.push_back(copy.start());
        return *processes.back();
    }

    static bool isRunning(QProcess &pProcess) { return pProcess.state() != QProcess::NotRunning; }

    static std::string describe(QProcess &pProcess)
    {
        QString text = isRunning(pProcess)
            ? QStringLiteral("running")
            : QStringLiteral("ended with exit code %1").arg(pProcess.exitCode());
        const QByteArray output = pProcess.readAll();
        if (!output.isEmpty())
            text += QStringLiteral("; output:\n") + QString::fromLocal8Bit(output);
        return text.toStdString();
    }

    // The first viewable window of the process that satisfies pMatches.
    std::optional<xcb_window_t> windowOf(QProcess &pProcess,
                                         const std::function<bool(xcb_window_t)> &pMatches)
    {
        for (const xcb_window_t window : x().viewableWindowsOf(pProcess.processId())) {
            if (pMatches(window))
                return window;
        }
        return std::nullopt;
    }

    bool isDock(xcb_window_t pWindow)
    {
        return x()
            .atomNames(pWindow, "_NET_WM_WINDOW_TYPE")
            .contains(QStringLiteral("_NET_WM_WINDOW_TYPE_DOCK"));
    }

    // Waits until the process has mapped a window matching pMatches; nullopt when the time is
    // up or the process ended first.
    std::optional<xcb_window_t> waitForWindow(QProcess &pProcess,
                                              const std::function<bool(xcb_window_t)> &pMatches)
    {
        std::optional<xcb_window_t> found;
        waitUntil([&] {
            if (!isRunning(pProcess))
                return true;
            found = windowOf(pProcess, pMatches);
            return found.has_value();
        });
        return found;
    }

    // The bar: the process's dock window, once mapped.
    std::optional<xcb_window_t> waitForBar(QProcess &pProcess)
    {
        return waitForWindow(pProcess, [&](xcb_window_t pWindow) { return isDock(pWindow); });
    }

    // The first-run question: a dialog titled "Pindrel".
    std::optional<xcb_window_t> waitForQuestion(QProcess &pProcess)
    {
        return waitForWindow(pProcess, [&](xcb_window_t pWindow) {
            return x().title(pWindow) == QLatin1String("Pindrel")
                && x().atomNames(pWindow, "_NET_WM_WINDOW_TYPE")
                       .contains(QStringLiteral("_NET_WM_WINDOW_TYPE_DIALOG"));
        });
    }

    // Answers the question with Escape, its Cancel key, once the window manager has given it
    // the keyboard.
    void cancelQuestion(xcb_window_t pQuestion)
    {
        ASSERT_TRUE(waitUntil([&] { return x().activeWindow() == pQuestion; }))
            << "the question never got the focus";
        runXdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    }

    bool waitForExit(QProcess &pProcess)
    {
        return waitUntil([&] { return !isRunning(pProcess); });
    }

    // The window's geometry once it is pExpected, or as it is when the time is up: the window
    // manager may still be placing a window that has just been mapped.
    QRect settledGeometry(xcb_window_t pWindow, const QRect &pExpected)
    {
        waitUntil([&] { return x().geometry(pWindow) == pExpected; });
        return x().geometry(pWindow).value_or(QRect());
    }

    // The work area once it is pExpected, or as it is when the time is up: the window manager
    // recomputes it after it has seen a strut change.
    QRect settledWorkArea(const QRect &pExpected)
    {
        waitUntil([&] { return x().workArea() == pExpected; });
        return x().workArea();
    }

    static void runXdotool(const QStringList &pArguments)
    {
        QProcess xdotool;
        xdotool.setProcessChannelMode(QProcess::MergedChannels);
        xdotool.start(QStringLiteral("xdotool"), pArguments);
        ASSERT_TRUE(xdotool.waitForFinished(kTimeoutMs)) << "xdotool did not finish";
        ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAll().toStdString();
    }

    // Asks the program to end as the session's logout would (SIGTERM), killing it when it
    // does not.
    void stop(QProcess &pProcess)
    {
        if (!isRunning(pProcess))
            return;
        pProcess.terminate();
        if (!waitForExit(pProcess)) {
            pProcess.kill();
            pProcess.waitForFinished();
        }
    }

    QRect dockedAtTop() const { return QRect(0, 0, screen.width(), kBarHeight); }
    QRect workAreaBelowBar() const
    {
        return QRect(0, kBarHeight, baseline.width(), baseline.height() - kBarHeight);
    }

    DesktopEnvironment *environment = nullptr;
    PortableCopy copy;
    QRect screen;
    QRect panel;
    QRect baseline;
    std::vector<std::unique_ptr<QProcess>> processes;
};
