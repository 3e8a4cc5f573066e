// The shell namespace tests run inside one QGuiApplication on the offscreen platform (icons
// need one); every case builds its own sandbox of folders and never reads the real account.

#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (!runtime.isValid())
        return 1;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
