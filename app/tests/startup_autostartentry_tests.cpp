// The autostart entry: written and removed in a temporary autostart folder, and started as the
// desktop's session starts it (through GIO), so that the quoting of awkward program paths is
// proven by the program really running.

#include "startup/autostartentry.h"
#include "startup_testsupport.h"

#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

TEST(AutostartEntry, EnablingWritesTheEntryAndDisablingRemovesIt)
{
    test::TempConfig folder;
    const AutostartEntry entry(folder.folder() + QStringLiteral("/config/autostart"),
                               QStringLiteral("/opt/pindrel/pindrel"));
    EXPECT_EQ(entry.filePath(),
              folder.folder() + QStringLiteral("/config/autostart/pindrel.desktop"));
    EXPECT_FALSE(entry.isEnabled());
    EXPECT_TRUE(entry.setEnabled(false)) << "nothing to remove is no failure";
    ASSERT_TRUE(entry.setEnabled(true));
    EXPECT_TRUE(entry.isEnabled());
    EXPECT_EQ(test::readBytes(entry.filePath()),
              "[Desktop Entry]\nType=Application\nName=Pindrel\n"
              "Comment=Drawers of folders and programs on a bar\n"
              "Exec=\"/opt/pindrel/pindrel\"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    ASSERT_TRUE(entry.setEnabled(false));
    EXPECT_FALSE(entry.isEnabled());
}

TEST(AutostartEntry, RefusesWhatItCannotWrite)
{
    test::TempConfig folder;
    // Bytes that are not UTF-8 have no place in a desktop entry; a "%" no launcher finds.
    for (const QString &program :
         {QString::fromUtf8("/opt/caf") + QChar(0xDCE9), QStringLiteral("/opt/100%/pindrel")}) {
        const AutostartEntry entry(folder.folder(), program);
        EXPECT_FALSE(entry.setEnabled(true)) << program.toStdString();
        EXPECT_FALSE(entry.isEnabled());
    }
    // The autostart folder cannot be made where a file is.
    test::writeBytes(folder.folder() + QStringLiteral("/autostart"), "file");
    const AutostartEntry blocked(folder.folder() + QStringLiteral("/autostart"),
                                 QStringLiteral("/opt/pindrel/pindrel"));
    EXPECT_FALSE(blocked.setEnabled(true));
}

// Program paths a shell or the entry's own syntax would take apart: the session starts exactly
// that file, which leaves a marker behind.
TEST(AutostartEntry, TheSessionStartsExactlyThisProgram)
{
    const char *names[] = {"plain",
                           "with space",
                           "quote\"s and 'apostrophes'",
                           "dollar $HOME and `tick`",
                           "back\\slash",
                           "semi;colon&amp",
                           "new\nline\ttab"};
    test::TempConfig folder;
    const QString marker = folder.folder() + QStringLiteral("/marker");
    for (const char *name : names) {
        SCOPED_TRACE(name);
        QFile::remove(marker);
        const QString program = folder.folder() + QStringLiteral("/bin/") + QString::fromUtf8(name);
        ASSERT_TRUE(QDir().mkpath(folder.folder() + QStringLiteral("/bin")));
        test::writeBytes(program,
                         "#!/bin/sh\nprintf '%s|%s' \"$0\" \"$#\" > '" + marker.toStdString()
                             + ".tmp'\nmv '" + marker.toStdString() + ".tmp' '"
                             + marker.toStdString() + "'\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const AutostartEntry entry(folder.folder() + QStringLiteral("/autostart"), program);
        ASSERT_TRUE(entry.setEnabled(true));

        platform::Shell shell;
        ASSERT_TRUE(shell.open(entry.filePath()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10000));
        EXPECT_EQ(QString::fromStdString(test::readBytes(marker)), program + QStringLiteral("|0"));
    }
}

} // namespace
} // namespace pindrel
