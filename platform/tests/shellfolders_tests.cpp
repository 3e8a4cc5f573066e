// The special folders against a private home: user-dirs.dirs decides the XDG folders, a folder
// that does not exist gives "", numbers without a Linux counterpart give "".

#include "platform/shellfolders.h"

#include "scopedenvironment.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

using namespace pindrel::platform;

namespace {

struct FolderCase
{
    const char *name;
    int csidl;
    const char *expected; // relative to the temporary root; nullptr = ""
};

class SpecialFolders : public ::testing::TestWithParam<FolderCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        const QDir root(m_root.path());
        for (const char *folder :
             {"home/Bureau", "home/Mes documents", "home/Pics", "home/Vids", "config", "run/gvfs"})
            ASSERT_TRUE(root.mkpath(QString::fromLatin1(folder)));
        QFile dirs(root.filePath(QStringLiteral("config/user-dirs.dirs")));
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        // Music points at a folder that was never made; Videos is disabled (set to $HOME);
        // Pictures is absolute.
        dirs.write("# written by the test\n"
                   "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n"
                   "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents\"\n"
                   "XDG_MUSIC_DIR=\"$HOME/Music\"\n"
                   "XDG_VIDEOS_DIR=\"$HOME\"\n"
                   "XDG_PICTURES_DIR=\""
                   + root.filePath(QStringLiteral("home/Pics")).toUtf8() + "\"\n");
        dirs.close();

        m_environment.set("HOME", root.filePath(QStringLiteral("home")));
        m_environment.set("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")));
        m_environment.set("XDG_DATA_HOME", root.filePath(QStringLiteral("data-never-made")));
        m_environment.set("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("run")));
    }

    QString expected(const char *pRelative) const
    {
        return pRelative == nullptr ? QString()
                                    : QDir(m_root.path()).filePath(QString::fromUtf8(pRelative));
    }

    QTemporaryDir m_root;
    ScopedEnvironment m_environment;
};

} // namespace

TEST_P(SpecialFolders, MapsTheNumberToItsFolder)
{
    const FolderCase &row = GetParam();
    EXPECT_EQ(specialFolderPath(row.csidl), expected(row.expected)) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpecialFolders,
    ::testing::Values(FolderCase{"Desktop", CSIDL_DESKTOP, "home/Bureau"},
                      FolderCase{"DesktopDirectory", CSIDL_DESKTOPDIRECTORY, "home/Bureau"},
                      FolderCase{"Documents", CSIDL_PERSONAL, "home/Mes documents"},
                      FolderCase{"MyDocuments", CSIDL_MYDOCUMENTS, "home/Mes documents"},
                      FolderCase{"Pictures", CSIDL_MYPICTURES, "home/Pics"},
                      FolderCase{"MusicFolderMissing", CSIDL_MYMUSIC, nullptr},
                      FolderCase{"VideosDisabled", CSIDL_MYVIDEO, nullptr},
                      FolderCase{"Profile", CSIDL_PROFILE, "home"},
                      FolderCase{"NetworkPlaces", CSIDL_NETHOOD, "run/gvfs"},
                      FolderCase{"AppData", CSIDL_APPDATA, "config"},
                      FolderCase{"LocalAppDataMissing", CSIDL_LOCAL_APPDATA, nullptr},
                      FolderCase{"StartMenu", 11, nullptr}, FolderCase{"Programs", 2, nullptr},
                      FolderCase{"RecycleBin", 10, nullptr}, FolderCase{"Computer", 17, nullptr},
                      FolderCase{"Negative", -1, nullptr}),
    [](const ::testing::TestParamInfo<FolderCase> &pInfo) {
        return std::string(pInfo.param.name);
    });

TEST(SpecialFoldersNetwork, WithoutAMountFolderThereIsNoNetworkFolder)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    ScopedEnvironment environment;
    environment.set("XDG_RUNTIME_DIR", runtime.path());
    EXPECT_EQ(specialFolderPath(CSIDL_NETHOOD), QString());
}
