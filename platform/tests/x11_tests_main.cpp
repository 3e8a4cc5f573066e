#include "x11testenvironment.h"

namespace {

bool startedOwnSession = false;

} // namespace

X11TestEnvironment::X11TestEnvironment(int &pArgc, char **pArgv)
    : m_argc(pArgc)
    , m_argv(pArgv)
{ }

X11TestEnvironment::~X11TestEnvironment() = default;

void X11TestEnvironment::SetUp()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        m_session = std::make_unique<XSession>(XSession::Kind::Desktop);
        ASSERT_TRUE(m_session->isRunning()) << m_session->error().toStdString();
        qputenv("DISPLAY", m_session->display().toLocal8Bit());
        startedOwnSession = true;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void X11TestEnvironment::TearDown()
{
    // Qt's connection must close before the server goes.
    m_application.reset();
    m_session.reset();
}

bool X11TestEnvironment::ownSession()
{
    return startedOwnSession;
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // GoogleTest owns its environments and deletes them at exit.
    ::testing::AddGlobalTestEnvironment(std::make_unique<X11TestEnvironment>(argc, argv).release());
    return RUN_ALL_TESTS();
}
