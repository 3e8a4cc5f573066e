// The theme icon cache on icon themes made in a temporary folder, and the choice of the icon
// theme from the desktop's GTK settings.

#include "scopedenvironment.h"
#include "themesandbox.h"

#include "platform/themeiconcache.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QIcon>
#include <QtGui/QImage>

#include <gtest/gtest.h>

using pindrel::platform::ThemeIconCache;

TEST(ThemeIconCache, AnswersTheExactNameOnly)
{
    ThemeSandbox sandbox;
    ASSERT_TRUE(sandbox.addTheme(QStringLiteral("plain"),
                                 {QStringLiteral("folder"), QStringLiteral("user-home")}));
    QIcon::setThemeName(QStringLiteral("plain"));
    struct Row
    {
        const char *name;
        const char *lookup;
        bool found;
    };
    const Row rows[] = {
        {"an icon the theme has", "folder", true},
        {"another", "user-home", true},
        {"a longer name is not answered with a shorter one", "folder-open", false},
        {"a name the theme lacks", "drive-harddisk", false},
        {"no name at all", "", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QIcon icon = ThemeIconCache::themed(QString::fromLatin1(row.lookup));
        EXPECT_EQ(!icon.isNull(), row.found);
        if (row.found) {
            EXPECT_EQ(icon.name(), QString::fromLatin1(row.lookup));
        }
    }
    const QIcon first = ThemeIconCache::firstThemed({"folder-open", "missing", "user-home"});
    EXPECT_EQ(first.name(), QStringLiteral("user-home"));
    EXPECT_TRUE(ThemeIconCache::firstThemed({"missing", "also-missing"}).isNull());
}

TEST(ThemeIconCache, LooksEachNameUpOncePerTheme)
{
    ThemeSandbox sandbox;
    ASSERT_TRUE(sandbox.addTheme(QStringLiteral("first"), {QStringLiteral("folder")}));
    ASSERT_TRUE(sandbox.addTheme(QStringLiteral("second"), {QStringLiteral("computer")}));
    QIcon::setThemeName(QStringLiteral("first"));

    const int start = ThemeIconCache::lookups();
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(ThemeIconCache::themed(QStringLiteral("folder")).isNull());
        EXPECT_TRUE(ThemeIconCache::themed(QStringLiteral("computer")).isNull());
        ThemeIconCache::provided(QAbstractFileIconProvider::Drive);
    }
    // A missing name is remembered as missing, like a found one.
    EXPECT_EQ(ThemeIconCache::lookups() - start, 3);

    // Another theme: the answers of the first are forgotten.
    QIcon::setThemeName(QStringLiteral("second"));
    EXPECT_TRUE(ThemeIconCache::themed(QStringLiteral("folder")).isNull());
    EXPECT_EQ(ThemeIconCache::themed(QStringLiteral("computer")).name(),
              QStringLiteral("computer"));
    EXPECT_EQ(ThemeIconCache::lookups() - start, 5);
}

TEST(ThemeIconCache, AdoptsTheDesktopsTheme)
{
    struct Row
    {
        const char *name;
        const char *current; // the theme Qt has before
        const char *userSettings; // gtk-3.0/settings.ini of the user; null: no file
        const char *systemSettings; // gtk-3.0/settings.ini in XDG_CONFIG_DIRS; null: no file
        bool withAdwaita;
        const char *expected;
    };
    const Row rows[] = {
        {"the user's theme", "hicolor", "[Settings]\ngtk-icon-theme-name=Mine\n", nullptr, true,
         "Mine"},
        {"quoted and padded", "", "[Settings]\ngtk-icon-theme-name = \"Mine\"\n", nullptr, true,
         "Mine"},
        {"the system's when the user names none", "hicolor", "[Settings]\ngtk-font-name=Sans 10\n",
         "[Settings]\ngtk-icon-theme-name=Mine\n", true, "Mine"},
        {"the user's file decides over the system's", "hicolor",
         "[Settings]\ngtk-icon-theme-name=Adwaita\n", "[Settings]\ngtk-icon-theme-name=Mine\n",
         true, "Adwaita"},
        {"a theme not installed gives the default", "hicolor",
         "[Settings]\ngtk-icon-theme-name=Elsewhere\n", nullptr, true, "Adwaita"},
        {"a name leading out of the theme folders", "hicolor",
         "[Settings]\ngtk-icon-theme-name=../Mine\n", nullptr, true, "Adwaita"},
        {"no settings at all", "hicolor", nullptr, nullptr, true, "Adwaita"},
        {"no default installed either", "hicolor", nullptr, nullptr, false, "hicolor"},
        {"a theme Qt already chose stays", "Chosen", "[Settings]\ngtk-icon-theme-name=Mine\n",
         nullptr, true, "Chosen"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ThemeSandbox sandbox;
        ASSERT_TRUE(sandbox.addTheme(QStringLiteral("Mine"), {QStringLiteral("folder")}));
        ASSERT_TRUE(sandbox.addTheme(QStringLiteral("Chosen"), {QStringLiteral("folder")}));
        if (row.withAdwaita) {
            ASSERT_TRUE(sandbox.addTheme(QStringLiteral("Adwaita"), {QStringLiteral("folder")}));
        }
        QTemporaryDir config;
        ScopedEnvironment environment;
        environment.set("XDG_CONFIG_HOME", config.filePath(QStringLiteral("user")));
        environment.set("XDG_CONFIG_DIRS", config.filePath(QStringLiteral("system")));
        const auto write = [&config](const char *pWho, const char *pText) {
            if (pText == nullptr)
                return true;
            const QString folder =
                config.filePath(QString::fromLatin1(pWho)) + QStringLiteral("/gtk-3.0");
            QFile file(folder + QStringLiteral("/settings.ini"));
            return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly)
                && file.write(pText) > 0;
        };
        ASSERT_TRUE(write("user", row.userSettings));
        ASSERT_TRUE(write("system", row.systemSettings));
        QIcon::setThemeName(QString::fromLatin1(row.current));

        EXPECT_EQ(ThemeIconCache::adoptDesktopTheme(), QString::fromLatin1(row.expected));
        EXPECT_EQ(QIcon::themeName(), QString::fromLatin1(row.expected));
    }
}
