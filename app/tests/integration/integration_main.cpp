// The program under a real X server with a real window manager and taskbar.

#include "desktopenvironment.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // GoogleTest owns its environments and deletes them at exit.
    ::testing::AddGlobalTestEnvironment(std::make_unique<DesktopEnvironment>().release());
    return RUN_ALL_TESTS();
}
