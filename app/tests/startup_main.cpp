// Test runner of the start-up code. A QApplication exists for the whole run (palette, screens,
// message boxes); without a display the offscreen platform is used. The user's configuration
// folder is a temporary one, so that nothing a test does (the autostart entry) reaches the
// account that runs the tests.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configuration;
    if (!configuration.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuration.path()));
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
