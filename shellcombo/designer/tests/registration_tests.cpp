// Registering the control with Qt Designer: the link in the user's Designer plugin folder and
// the two result codes.

#include "vexlo/registration.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using vexlo::kSelfRegClassFailed;
using vexlo::kSelfRegOk;
using vexlo::kSelfRegTypeLibraryFailed;

namespace {

class RegistrationTest : public ::testing::Test
{
protected:
    QString user() const { return home.path() + QStringLiteral("/.designer/plugins"); }
    QString link() const { return user() + QStringLiteral("/libvexlodesigner.so"); }
    static QString plugin()
    {
        return QFileInfo(QStringLiteral(VEXLO_BUILD_PLUGIN)).canonicalFilePath();
    }

    QTemporaryDir home;
};

} // namespace

TEST_F(RegistrationTest, RegisteringTwiceAndUnregisteringTwiceSucceed)
{
    EXPECT_EQ(vexlo::registerDesignerPlugin(plugin(), user()), kSelfRegOk);
    EXPECT_EQ(QFileInfo(link()).symLinkTarget(), plugin());
    EXPECT_EQ(vexlo::registerDesignerPlugin(plugin(), user()), kSelfRegOk);
    EXPECT_EQ(QDir(user()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);

    EXPECT_EQ(vexlo::unregisterDesignerPlugin(user()), kSelfRegOk);
    EXPECT_FALSE(QFileInfo(link()).exists() || QFileInfo(link()).isSymLink());
    EXPECT_EQ(vexlo::unregisterDesignerPlugin(user()), kSelfRegOk);
}

TEST_F(RegistrationTest, ResultCodes)
{
    struct Row
    {
        const char *name;
        QString plugin;
        std::function<void()> before;
        int32_t result;
    };
    const QString notOurs = home.path() + QStringLiteral("/libother.so");
    const Row rows[] = {
        {"no plugin", home.path() + QStringLiteral("/gone.so"), {}, kSelfRegTypeLibraryFailed},
        {"a file that is no plugin", notOurs,
         [&] {
             QFile file(notOurs);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("not a library");
         },
         kSelfRegTypeLibraryFailed},
        {"a file where the folder goes", plugin(),
         [&] {
             QDir().mkpath(home.path() + QStringLiteral("/.designer"));
             QFile file(user());
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         },
         kSelfRegClassFailed},
        {"someone else's link in the way", plugin(),
         [&] {
             QDir().mkpath(user());
             ASSERT_TRUE(QFile::link(notOurs, link()));
         },
         kSelfRegOk},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        if (row.before)
            row.before();
        EXPECT_EQ(vexlo::registerDesignerPlugin(row.plugin, user()), row.result);
    }
    EXPECT_EQ(QFileInfo(link()).symLinkTarget(), plugin()); // the last row's link replaced
}

TEST_F(RegistrationTest, TheModuleEntryPointsRegisterThePluginBesideIt)
{
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    EXPECT_EQ(QFileInfo(vexlo::designerPluginPath()).canonicalFilePath(), plugin());
    EXPECT_EQ(DllRegisterServer(), kSelfRegOk);
    EXPECT_EQ(QFileInfo(link()).symLinkTarget(), plugin());
    EXPECT_EQ(DllUnregisterServer(), kSelfRegOk);
    EXPECT_FALSE(QFileInfo(link()).isSymLink());
    qputenv("HOME", realHome);
}
