// Completion in the edit box, driven by real key events: what is suggested and appended for a
// typed path, names that are not valid UTF-8, the recently used locations, and a folder too
// large to be read while the user waits.

#include "combosandbox.h"

#include "vexlo/namespacecombobox.h"
#include "vexlo/pathcompleter.h"
#include "vexlo/vexloctrl.h"

#include "platform/filenamecodec.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using vexlo::CVexloCtrl;

namespace {

class CompletionTest : public ::testing::Test
{
protected:
    std::unique_ptr<CVexloCtrl> makeControl(bool pIncludeUrls = true)
    {
        auto control = std::make_unique<CVexloCtrl>(sandbox.makeShell());
        control->IncludeUrls(pIncludeUrls);
        control->resize(400, 30);
        control->show();
        QApplication::setActiveWindow(control.get());
        control->listWindow()->setFocus();
        return control;
    }
    static vexlo::PathCompleter *completer(const CVexloCtrl &pControl)
    {
        return pControl.listWindow()->pathCompleter();
    }
    static QLineEdit *editBox(const CVexloCtrl &pControl)
    {
        return pControl.listWindow()->lineEdit();
    }
    // Types pKeys as key events and waits until the suggestions for them are shown.
    static bool typeAndWait(CVexloCtrl &pControl, const QString &pKeys)
    {
        QSignalSpy suggested(completer(pControl), &vexlo::PathCompleter::suggested);
        for (const QChar key : pKeys) {
            // QTest's key table knows ASCII only; other letters come as a keyboard layout
            // sends them, as text with no key code.
            if (key.unicode() < 0x80)
                QTest::keyClick(pControl.listWindow(), key.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, pControl.listWindow(), Qt::Key_unknown,
                                    QString(key), Qt::NoModifier);
        }
        return !suggested.isEmpty() || suggested.wait(5000);
    }
    QString path(const char *pRelative) const { return sandbox.path(QString::fromUtf8(pRelative)); }

    ComboSandbox sandbox;
};

} // namespace

TEST_F(CompletionTest, TypingTheStartOfASubfolderOffersIt)
{
    struct Row
    {
        const char *name;
        const char *typed; // after the sandbox's "mnt/c/"
        QStringList suggested; // after the sandbox's "mnt/c/"
        const char *appended; // the selected part the edit box adds; "" for none
    };
    sandbox.makeDir(QStringLiteral("mnt/c/.config"));
    sandbox.makeDir(QStringLiteral("mnt/c/windows old"));
    // Sorted by code unit: U+00FF before U+0101 ("Ā" folded), an order a comparison of the
    // units' low bytes first would turn round.
    sandbox.makeDir(QStringLiteral("mnt/c/\u00ffes"));
    sandbox.makeDir(QStringLiteral("mnt/c/\u0100bc"));
    const Row rows[] = {
        {"a subfolder", "Win", {"Windows/", "windows old/"}, "dows/"},
        {"regardless of case", "win", {"Windows/", "windows old/"}, "dows old/"},
        {"files too", "Windows/n", {"Windows/notes.txt"}, "otes.txt"},
        {"the whole folder",
         "",
         {"home/", "Program Files/", "Windows/", "windows old/", "\u00ffes/", "\u0100bc/"},
         ""},
        {"beyond Latin-1", "\u0100", {"\u0100bc/"}, "bc/"},
        {"dot entries once a dot is typed", ".", {".config/"}, "config/"},
        {"nothing that matches", "Q", {}, ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto control = makeControl();
        editBox(*control)->setText(path("mnt/c"));
        ASSERT_TRUE(typeAndWait(*control, QStringLiteral("/") + QString::fromUtf8(row.typed)));
        QStringList expected;
        for (const QString &suggestion : row.suggested)
            expected << path("mnt/c/") + suggestion;
        EXPECT_EQ(completer(*control)->suggestions(), expected);
        EXPECT_EQ(completer(*control)->popupVisible(), !expected.isEmpty());
        EXPECT_EQ(editBox(*control)->selectedText(), QString::fromUtf8(row.appended));
        EXPECT_EQ(editBox(*control)->text(),
                  path("mnt/c/") + QString::fromUtf8(row.typed) + QString::fromUtf8(row.appended));
    }
}

TEST_F(CompletionTest, DeletingTheAppendedPartDoesNotAppendAgainAndEnterApplies)
{
    const auto control = makeControl();
    editBox(*control)->setText(path("mnt/c"));
    ASSERT_TRUE(typeAndWait(*control, QStringLiteral("/Win")));
    ASSERT_EQ(editBox(*control)->selectedText(), QStringLiteral("dows/"));
    QTest::keyClick(control->listWindow(), Qt::Key_Backspace);
    EXPECT_EQ(editBox(*control)->text(), path("mnt/c/Win"));

    // Down moves into the suggestions, which puts the first in the edit box; Enter applies it.
    ASSERT_TRUE(completer(*control)->popupVisible());
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(editBox(*control)->text(), path("mnt/c/Windows/"));
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(completer(*control)->popupVisible());
    EXPECT_EQ(control->SelectedItem()->Text(), QStringLiteral("Windows"));
}

TEST_F(CompletionTest, NamesThatAreNotValidUtf8AreOfferedAndSelectable)
{
    const QByteArray folder = QFile::encodeName(path("mnt/d/Data")) + "/caf\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const auto control = makeControl();
    editBox(*control)->setText(path("mnt/d/Data"));
    ASSERT_TRUE(typeAndWait(*control, QStringLiteral("/c")));
    const QStringList suggestions = completer(*control)->suggestions();
    ASSERT_EQ(suggestions.size(), 1);
    // The edit box holds the name's bytes as escapes, so the path parses back to the folder.
    EXPECT_EQ(pindrel::platform::encodeFileName(suggestions[0]), folder + '/');
    QTest::keyClick(control->listWindow(), Qt::Key_Return);
    EXPECT_EQ(control->SelectedItem()->Path(), suggestions[0].chopped(1));
    EXPECT_EQ(control->SelectedItem()->Text(), QStringLiteral("caf\ufffd"));
}

TEST_F(CompletionTest, RecentlyUsedLocationsWithIncludeUrls)
{
    sandbox.makeFile(QStringLiteral("mnt/d/Data/report.odt"));
    QFile list(sandbox.path(QStringLiteral("mnt/c/home/.local/share/recently-used.xbel")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n"
               "<bookmark href=\"file://"
               + QUrl::toPercentEncoding(path("mnt/d/Data/report.odt"), "/")
               + "\" added=\"2024-01-01T10:00:00Z\" modified=\"2024-01-02T10:00:00Z\" "
                 "visited=\"2024-01-02T10:00:00Z\"/>\n"
                 "<bookmark href=\"file://"
               + QUrl::toPercentEncoding(path("mnt/d/Data/Deep"), "/")
               + "\" modified=\"2024-03-01T10:00:00Z\" visited=\"2024-03-01T10:00:00Z\"/>\n"
                 "<bookmark href=\"https://example.org/x\" modified=\"2024-05-01T10:00:00Z\"/>\n"
                 "<bookmark href=\"file://"
               + QUrl::toPercentEncoding(path("mnt/gone.txt"), "/")
               + "\" modified=\"2024-05-01T10:00:00Z\"/>\n</xbel>\n");
    list.close();
    for (const bool includeUrls : {true, false}) {
        SCOPED_TRACE(includeUrls);
        const auto control = makeControl(includeUrls);
        editBox(*control)->setText(path("mnt"));
        ASSERT_TRUE(typeAndWait(*control, QStringLiteral("/")));
        const QStringList recent = {path("mnt/d/Data/Deep/"), path("mnt/d/Data/report.odt")};
        const QStringList suggestions = completer(*control)->suggestions();
        EXPECT_EQ(suggestions.mid(0, 2) == recent, includeUrls);
        EXPECT_EQ(suggestions.mid(suggestions.size() - 2),
                  QStringList({path("mnt/c/"), path("mnt/d/")}));
    }
}

TEST_F(CompletionTest, AFolderOf100000EntriesIsReadWhileTheEditBoxGoesOn)
{
    // In memory where the machine has a memory file system: only reading the folder is looked
    // at, and writing 100,000 entries to a disk takes seconds.
    const QTemporaryDir memory(QDir(QStringLiteral("/dev/shm")).exists()
                                   ? QStringLiteral("/dev/shm/vexlo-completion-XXXXXX")
                                   : sandbox.path(QStringLiteral("big-XXXXXX")));
    ASSERT_TRUE(memory.isValid());
    const QString big = QDir::cleanPath(memory.path());
    const QByteArray bigBytes = QFile::encodeName(big);
    for (int entry = 0; entry < 100000; ++entry) {
        const QByteArray name = bigBytes + "/entry" + QByteArray::number(entry);
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const auto control = makeControl();
    editBox(*control)->setText(big);

    // The event loop keeps running between the keystroke and the suggestions: the user-interface
    // thread does not read the folder.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(0);
    QSignalSpy suggested(completer(*control), &vexlo::PathCompleter::suggested);
    QTest::keyClick(control->listWindow(), Qt::Key_Slash);
    const int ticksAfterKey = ticks;
    // Keys typed while the folder is read are taken at once, and the suggestions that come
    // are those of everything typed.
    QTest::keyClicks(control->listWindow(), QStringLiteral("entry9999"));
    EXPECT_EQ(editBox(*control)->text(), big + QStringLiteral("/entry9999"));
    ASSERT_TRUE(suggested.wait(20000));
    EXPECT_GT(ticks, ticksAfterKey);
    EXPECT_EQ(completer(*control)->suggestions(),
              QStringList({big + QStringLiteral("/entry9999"), big + QStringLiteral("/entry99990"),
                           big + QStringLiteral("/entry99991"), big + QStringLiteral("/entry99992"),
                           big + QStringLiteral("/entry99993"), big + QStringLiteral("/entry99994"),
                           big + QStringLiteral("/entry99995"), big + QStringLiteral("/entry99996"),
                           big + QStringLiteral("/entry99997"), big + QStringLiteral("/entry99998"),
                           big + QStringLiteral("/entry99999")}));
}
