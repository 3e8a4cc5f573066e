// The icon of a program file, on a sandbox of installed launchers and an icon theme made for
// the run. GIO reads where launchers are installed once per process, so the sandbox is set up
// in main() before anything asks.

#include "themesandbox.h"

#include "platform/programicon.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using pindrel::platform::ProgramIcon;

namespace {

QTemporaryDir *g_sandbox = nullptr;

QString sandboxPath(const QString &pName)
{
    return g_sandbox->filePath(pName);
}

bool writeFile(const QString &pPath, const QByteArray &pContent, bool pExecutable = false)
{
    QDir().mkpath(QFileInfo(pPath).path());
    QFile file(pPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(pContent) != pContent.size())
        return false;
    file.close();
    if (pExecutable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    return true;
}

bool installLauncher(const QString &pName, const QString &pExec, const char *pIcon)
{
    return writeFile(sandboxPath(QStringLiteral("data/applications/") + pName),
                     "[Desktop Entry]\nType=Application\nName=" + pName.toUtf8()
                         + "\nExec=" + pExec.toUtf8() + "\nIcon=" + pIcon + "\n");
}

QString program(const char *pName)
{
    return sandboxPath(QStringLiteral("bin/") + QString::fromLatin1(pName));
}

bool makeProgram(const char *pName)
{
    return writeFile(program(pName), "#!/bin/sh\nexit 0\n", true);
}

bool savePicture(const QString &pPath, const QColor &pColor, int pSide)
{
    QImage image(pSide, pSide, QImage::Format_ARGB32);
    image.fill(pColor);
    return image.save(pPath);
}

QColor centre(const QIcon &pIcon)
{
    return pIcon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

const QStringList kThemeIcons = {
    QStringLiteral("tool-icon"),
    QStringLiteral("interpreter-icon"),
    QStringLiteral("script-icon"),
    QStringLiteral("late-icon"),
    QStringLiteral("named-icon"),
    QStringLiteral("application-x-executable"),
    QStringLiteral("application-x-desktop"),
    QStringLiteral("text-plain"),
    QStringLiteral("folder"),
};

class ProgramIconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_theme.addTheme(QStringLiteral("sandbox"), kThemeIcons));
        QIcon::setThemeName(QStringLiteral("sandbox"));
    }

    ThemeSandbox m_theme;
};

TEST_F(ProgramIconTest, ByKindOfFile)
{
    const QString picture = sandboxPath(QStringLiteral("pictures/red.png"));
    ASSERT_TRUE(QDir().mkpath(sandboxPath(QStringLiteral("pictures"))));
    ASSERT_TRUE(savePicture(picture, Qt::red, 16));
    const auto launcher = [](const char *pName, const QByteArray &pIcon) {
        const QString path = sandboxPath(QStringLiteral("work/") + QString::fromLatin1(pName));
        return writeFile(path,
                         "[Desktop Entry]\nType=Application\nName=x\nExec=true\nIcon=" + pIcon
                             + "\n")
            ? path
            : QString();
    };
    ASSERT_TRUE(writeFile(sandboxPath(QStringLiteral("work/notes.txt")), "text\n"));
    ASSERT_TRUE(makeProgram("unlisted"));
    ASSERT_TRUE(QFile::link(program("tool"), program("tool-link")));

    struct Row
    {
        const char *name;
        QString path;
        const char *themeIcon; // null: not a theme icon
    };
    const Row rows[] = {
        {"launcher naming a theme icon", launcher("named.desktop", "named-icon"), "named-icon"},
        {"theme name with a picture's extension", launcher("ext.desktop", "named-icon.png"),
         "named-icon"},
        {"launcher without a usable icon", launcher("none.desktop", "no-such-icon"),
         "application-x-desktop"},
        {"program an installed launcher starts", program("tool"), "tool-icon"},
        {"through a symbolic link", program("tool-link"), "tool-icon"},
        {"the launcher that starts it alone wins", program("interpreter"), "interpreter-icon"},
        {"program no launcher starts", program("unlisted"), "application-x-executable"},
        {"document", sandboxPath(QStringLiteral("work/notes.txt")), "text-plain"},
        {"folder", sandboxPath(QStringLiteral("work")), "folder"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.path.isEmpty());
        EXPECT_EQ(ProgramIcon::forFile(row.path).name(), QString::fromLatin1(row.themeIcon));
    }

    const QIcon fromPicture = ProgramIcon::forFile(launcher("picture.desktop", picture.toUtf8()));
    EXPECT_EQ(centre(fromPicture), QColor(Qt::red));

    for (const QString &nothing :
         {sandboxPath(QStringLiteral("work/gone")), QString(), QStringLiteral("   ")}) {
        EXPECT_TRUE(ProgramIcon::forFile(nothing).isNull()) << nothing.toStdString();
    }
}

TEST_F(ProgramIconTest, FollowsChangesToPicturesAndInstalledLaunchers)
{
    const QString picture = sandboxPath(QStringLiteral("pictures/changing.png"));
    ASSERT_TRUE(QDir().mkpath(sandboxPath(QStringLiteral("pictures"))));
    ASSERT_TRUE(savePicture(picture, Qt::red, 16));
    EXPECT_EQ(centre(ProgramIcon::fromIconEntry(picture)), QColor(Qt::red));
    ASSERT_TRUE(savePicture(picture, Qt::green, 24));
    EXPECT_EQ(centre(ProgramIcon::fromIconEntry(picture)), QColor(Qt::green));

    ASSERT_TRUE(makeProgram("late"));
    EXPECT_EQ(ProgramIcon::forFile(program("late")).name(),
              QStringLiteral("application-x-executable"));
    ASSERT_TRUE(installLauncher(QStringLiteral("late.desktop"), program("late"), "late-icon"));
    // The desktop reports the new launcher through the event loop.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return ProgramIcon::forFile(program("late")).name() == QLatin1String("late-icon"); },
        20000));
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 1;
    g_sandbox = &sandbox;
    qputenv("XDG_RUNTIME_DIR", sandbox.filePath(QStringLiteral("runtime")).toLocal8Bit());
    QDir().mkpath(sandbox.filePath(QStringLiteral("runtime")));
    // Launchers only from the sandbox; the system's folders stay for the MIME database.
    qputenv("XDG_DATA_HOME", sandbox.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    const bool installed = makeProgram("tool") && makeProgram("interpreter")
        && installLauncher(QStringLiteral("tool.desktop"), program("tool") + QStringLiteral(" %U"),
                           "tool-icon")
        && installLauncher(QStringLiteral("a-script.desktop"),
                           program("interpreter") + QStringLiteral(" /opt/script"), "script-icon")
        && installLauncher(QStringLiteral("z-interpreter.desktop"), program("interpreter"),
                           "interpreter-icon");
    if (!installed)
        return 1;
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
