#pragma once

// The X tests' world: Qt on the xcb platform, on the display in DISPLAY or, when there is none,
// on a session of their own (openbox and a tint2 panel at the bottom of a 1280x800 screen).

#include "xsession.h"

#include <QtGui/QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

class X11TestEnvironment final : public ::testing::Environment
{
public:
    X11TestEnvironment(int &pArgc, char **pArgv);
    ~X11TestEnvironment() override;

    void SetUp() override;
    void TearDown() override;

    // True when the tests run on their own session, whose layout (the panel, the screen size)
    // they may rely on; false on a display they were given.
    static bool ownSession();

private:
    int &m_argc;
    char **m_argv;
    std::unique_ptr<XSession> m_session;
    std::unique_ptr<QGuiApplication> m_application;
};

// For cases that check the layout of the tests' own session.
#define REQUIRE_OWN_SESSION() \
    do { \
        if (!X11TestEnvironment::ownSession()) \
            GTEST_SKIP() << "needs the tests' own X session (run without DISPLAY)"; \
    } while (false)
