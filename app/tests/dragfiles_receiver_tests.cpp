// The drop receiver and the bar's handler, with drops that carry real file URLs, on widgets
// under the offscreen platform.

#include "bar_testsupport.h"

#include "bar/barbutton.h"
#include "bar/bardrops.h"
#include "bar/buttonarray.h"
#include "dragfiles/clsdragfiles.h"
#include "dragfiles/conflictdialog.h"
#include "dragfiles/copycontroller.h"
#include "dragfiles/windowhandles.h"
#include "drawer/filelistdroptarget.h"
#include "startup/registry.h"

#include "platform/filenamecodec.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace pindrel {
namespace {

QString makeFile(const QString &pPath, const QByteArray &pContent = "x")
{
    const QByteArray path = platform::encodeFileName(pPath);
    FILE *file = std::fopen(path.constData(), "wb");
    if (file != nullptr) {
        std::fwrite(pContent.constData(), 1, static_cast<size_t>(pContent.size()), file);
        std::fclose(file);
    }
    return pPath;
}

QByteArray uriList(const QStringList &pEntries)
{
    QByteArray text;
    for (const QString &entry : pEntries) {
        text += entry.startsWith(u'/')
            ? "file://" + platform::encodeFileName(entry).toPercentEncoding("/")
            : entry.toUtf8();
        text += "\r\n";
    }
    return text;
}

// What the desktop's drag and drop delivers: enter, move, drop; then the drop message runs.
void dropOn(QWidget *pTarget, const QByteArray &pUriList,
            Qt::KeyboardModifiers pModifiers = Qt::NoModifier)
{
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), pUriList);
    const QPoint point(2, 2);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, pModifiers);
    QCoreApplication::sendEvent(pTarget, &enter);
    QDragMoveEvent move(point, actions, &data, Qt::LeftButton, pModifiers);
    QCoreApplication::sendEvent(pTarget, &move);
    QDropEvent drop(point, actions, &data, Qt::LeftButton, pModifiers);
    QCoreApplication::sendEvent(pTarget, &drop);
    QCoreApplication::sendPostedEvents();
}

struct Dropped
{
    QString path;
    quintptr window;
    int32_t kind;
};

class Receiver : public ::testing::Test
{
protected:
    Receiver()
        : handle(WindowHandles::assign(&target))
    {
        cDrag.setReportOutputs(
            [](const QString &) {},
            [this](const QString &, const QString &pText) { reports.push_back(pText); });
        QObject::connect(&cDrag, &clsDragFiles::DragFiles,
                         [this](const QString &pPath, quintptr pWindow, int32_t pKind) {
                             dropped.push_back({pPath, pWindow, pKind});
                         });
        cDrag.InitDrag(handle);
    }

    QString in(const QString &pName) const { return folder.filePath(pName); }

    QTemporaryDir folder;
    QWidget target;
    quintptr handle;
    clsDragFiles cDrag;
    std::vector<Dropped> dropped;
    std::vector<QString> reports;
};

TEST_F(Receiver, EveryItemInOrderWithItsKindAndWholePath)
{
    QDir(folder.path()).mkdir(QStringLiteral("folder"));
    // Deep enough for a path of 4,000 characters, far past the old 126.
    QString deep = folder.path();
    while (deep.size() + 201 < 3900) {
        deep += u'/' + QString(200, u'd');
        QDir().mkdir(deep);
    }
    const QString longPath = makeFile(deep + u'/' + QString(4000 - deep.size() - 1, u'f'));
    const QString invalidUtf8 =
        platform::decodeFileName(platform::encodeFileName(folder.path()) + "/bytes-\xff\xfe.bin");
    struct Row
    {
        const char *name;
        QStringList entries;
        std::vector<std::pair<QString, int32_t>> expected;
    };
    const std::vector<Row> rows = {
        {"three files",
         {makeFile(in("a.txt")), makeFile(in("b.txt")), makeFile(in("c.txt"))},
         {{in("a.txt"), 0}, {in("b.txt"), 0}, {in("c.txt"), 0}}},
        {"folder then file", {in("folder"), in("a.txt")}, {{in("folder"), 1}, {in("a.txt"), 0}}},
        {"the root", {QStringLiteral("/")}, {{QStringLiteral("/"), 2}}},
        {"a 4000-character path", {longPath}, {{longPath, 0}}},
        {"names a shell would read",
         {makeFile(in("it's \"quoted\".txt")), makeFile(in("$(touch pwned)")),
          makeFile(in("two\nlines")), makeFile(invalidUtf8)},
         {{in("it's \"quoted\".txt"), 0},
          {in("$(touch pwned)"), 0},
          {in("two\nlines"), 0},
          {invalidUtf8, 0}}},
        {"only local files",
         {QStringLiteral("http://example.org/a.txt"), QStringLiteral("file://elsewhere/etc/hosts"),
          QStringLiteral("# a comment"), in("a.txt")},
         {{in("a.txt"), 0}}},
    };
    ASSERT_EQ(longPath.size(), 4000);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        dropped.clear();
        dropOn(&target, uriList(row.entries));
        ASSERT_EQ(dropped.size(), row.expected.size());
        for (size_t i = 0; i < dropped.size(); ++i) {
            EXPECT_EQ(dropped[i].path, row.expected[i].first);
            EXPECT_EQ(dropped[i].kind, row.expected[i].second);
            EXPECT_EQ(dropped[i].window, handle);
        }
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("pwned")));
    EXPECT_TRUE(reports.empty());
}

TEST_F(Receiver, WithdrawnWindowTakesNoMoreDrops)
{
    cDrag.TerminateDrag(handle);
    EXPECT_FALSE(target.acceptDrops());
    dropOn(&target, uriList({makeFile(in("a.txt"))}));
    EXPECT_TRUE(dropped.empty());
    // Withdrawing a window that was never registered says nothing once the registry exists.
    cDrag.TerminateDrag(handle);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Receiver, ShiftAsksForAMove)
{
    bool moves = false;
    QObject::connect(&cDrag, &clsDragFiles::DragFiles, [&] { moves = cDrag.dropMoves(); });
    dropOn(&target, uriList({makeFile(in("a.txt"))}), Qt::ShiftModifier);
    EXPECT_TRUE(moves);
    EXPECT_FALSE(cDrag.dropMoves()) << "only while the drop is reported";
}

TEST_F(Receiver, FileInfoNamesKinds)
{
    QDir(folder.path()).mkdir(QStringLiteral("folder"));
    struct Row
    {
        QString path;
        bool ok;
        QString displayName;
        QString typeFile;
    };
    const std::vector<Row> rows = {
        {in("folder"), true, QStringLiteral("folder"), QStringLiteral("Directorio")},
        {makeFile(in("notes.txt")), true, QStringLiteral("notes.txt"), QStringLiteral("Archivo")},
        {QStringLiteral("/"), true, QStringLiteral("File System"), QStringLiteral("Root Path")},
        {QStringLiteral("relative.txt"), false, QString(), QStringLiteral("Archivo")},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        QString displayName = QStringLiteral("stale");
        QString typeName = QStringLiteral("stale");
        QString typeFile;
        EXPECT_EQ(cDrag.GetFileInfo(row.path, displayName, typeName, typeFile), row.ok);
        EXPECT_EQ(displayName, row.displayName);
        EXPECT_EQ(typeFile, row.typeFile);
        EXPECT_EQ(typeName.isEmpty(), !row.ok);
    }
}

// ---- the bar's handler ----------------------------------------------------------------------

class BarDropsTest : public ::testing::Test
{
protected:
    Form1 &start(const std::string &pConfig)
    {
        bar.writeConfig(pConfig);
        Form1 &form = bar.start();
        // The question of a conflict would wait for an answer nobody gives.
        form.drops()->copies().setConflictAsker(
            [](platform::CopyJob &pJob, const platform::TransferConflict &) {
                pJob.answerConflict(platform::ConflictChoice::Skip, false);
            });
        return form;
    }
    QString in(const QString &pName) const { return files.filePath(pName); }

    test::BarOnFolder bar;
    QTemporaryDir files;
};

TEST_F(BarDropsTest, ProgramFilesOnTheProgramsButton)
{
    makeFile(in("app.exe"));
    makeFile(in("SETUP.BAT"));
    makeFile(in("notes.txt"));
    ::chmod(platform::encodeFileName(makeFile(in("run.sh"), "#!/bin/sh\n")).constData(), 0755);
    makeFile(in("editor.desktop"),
             "[Desktop Entry]\nType=Application\nName=My Editor\nExec=true\n");
    makeFile(in("link.desktop"), "[Desktop Entry]\nType=Link\nName=Web\nURL=http://x/\n");
    Form1 &form = start(test::drawersConfig(0, 0, 390));
    dropOn(form.cmdProg(),
           uriList({in("app.exe"), in("notes.txt"), in("SETUP.BAT"), in("run.sh"),
                    in("editor.desktop"), in("link.desktop")}));
    const std::vector<std::pair<std::string, QString>> expected = {
        {"app", in("app.exe")},
        {"SETUP", in("SETUP.BAT")},
        {"run.sh", in("run.sh")},
        {"My Editor", in("editor.desktop")},
    };
    EXPECT_EQ(bar.readValue("GRAL", "CANTPROG"), std::to_string(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string section = "PROGRAM" + std::to_string(i + 1);
        EXPECT_EQ(bar.readValue(section, "CAPTION"), expected[i].first);
        EXPECT_EQ(bar.readValue(section, "PATH"), expected[i].second.toStdString());
    }
}

TEST_F(BarDropsTest, AFolderThenAFileOnTheAddButtonMakeOneDrawer)
{
    QDir(files.path()).mkdir(QStringLiteral("Projects"));
    Form1 &form = start(test::drawersConfig(0, 0, 390));
    dropOn(form.cmdAdd(), uriList({in("Projects"), makeFile(in("a.txt")), QStringLiteral("/")}));
    EXPECT_EQ(bar.readValue("GRAL", "CANTBOT"), "1");
    EXPECT_EQ(bar.readValue("BUTTON1", "CAPTION"), "Projects");
    EXPECT_EQ(bar.readValue("BUTTON1", "PATH"), in("Projects").toStdString());
    EXPECT_EQ(bar.readValue("BUTTON2", "PATH"), "");
    ASSERT_EQ(form.cmdB().ubound(), 1) << "the buttons were not rebuilt";
}

TEST_F(BarDropsTest, TheHundredAndFirstDrawerIsRefusedWithNothingWritten)
{
    QDir(files.path()).mkdir(QStringLiteral("Projects"));
    Form1 &form = start(test::drawersConfig(100, 0, 390));
    const QByteArray before = [&] {
        QFile config(bar.configPath());
        return config.open(QIODevice::ReadOnly) ? config.readAll() : QByteArray();
    }();
    dropOn(form.cmdAdd(), uriList({in("Projects")}));
    EXPECT_EQ(bar.exclamations, std::vector<QString>{Registry::drawerLimitMessage()});
    QFile config(bar.configPath());
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_EQ(config.readAll(), before);
}

TEST_F(BarDropsTest, FilesOnADrawerButtonAreCopiedIntoItsFolder)
{
    QDir(files.path()).mkdir(QStringLiteral("drawer"));
    const std::string config = "[MAIN]\nPOSITION=TOP\nHEIGHT=390\n[GRAL]\nCANTBOT=2\n"
                               "[BUTTON1]\nCAPTION=One\nPATH="
        + in("drawer").toStdString() + "\n[BUTTON2]\nCAPTION=None\nPATH=\n";
    Form1 &form = start(config);
    ASSERT_EQ(form.cmdB().ubound(), 2);
    QSignalSpy finished(&form.drops()->copies(), &CopyController::jobFinished);
    dropOn(form.cmdB().item(1), uriList({makeFile(in("a.txt"), "first"), makeFile(in("b.txt"))}));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(finished.count(), 1) << "one drop, one copy";
    EXPECT_TRUE(QFileInfo::exists(in("drawer/a.txt")));
    EXPECT_TRUE(QFileInfo::exists(in("drawer/b.txt")));
    EXPECT_TRUE(QFileInfo::exists(in("a.txt"))) << "a copy, not a move";
    EXPECT_TRUE(form.drops()->mCUndo()->isEnabled());

    // A drawer without a folder takes nothing (its folder would be "/").
    QSignalSpy started(&form.drops()->copies(), &CopyController::jobStarted);
    dropOn(form.cmdB().item(2), uriList({in("a.txt")}));
    EXPECT_EQ(started.count(), 0);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/a.txt")));
}

} // namespace
} // namespace pindrel

namespace pindrel {
namespace {

TEST(DrawerListDrops, GoToTheShownFolder)
{
    QTemporaryDir folder;
    QWidget list;
    FileListDropTarget target(&list, [&] { return folder.path(); });
    std::vector<std::pair<QStringList, QString>> dropped;
    QObject::connect(&target, &FileListDropTarget::filesDropped,
                     [&](const QStringList &pPaths, const QString &pFolder, bool) {
                         dropped.emplace_back(pPaths, pFolder);
                     });
    const QString file = makeFile(folder.filePath(QStringLiteral("a.txt")));
    dropOn(&list, uriList({file}));
    ASSERT_EQ(dropped.size(), 1U);
    EXPECT_EQ(dropped[0].first, QStringList{file});
    EXPECT_EQ(dropped[0].second, folder.path());
}

TEST(ConflictQuestion, EachButtonGivesItsAnswer)
{
    const std::vector<std::pair<QString, platform::ConflictChoice>> rows = {
        {QStringLiteral("replace"), platform::ConflictChoice::Replace},
        {QStringLiteral("skip"), platform::ConflictChoice::Skip},
        {QStringLiteral("keepBoth"), platform::ConflictChoice::KeepBoth},
        {QStringLiteral("cancel"), platform::ConflictChoice::Cancel},
    };
    for (const auto &[name, choice] : rows) {
        SCOPED_TRACE(name.toStdString());
        platform::TransferConflict conflict;
        conflict.source = QStringLiteral("/tmp/new/a.txt");
        conflict.target = QStringLiteral("/tmp/old/a.txt");
        auto *dialog = new ConflictDialog(conflict, platform::TransferMode::Copy);
        dialog->applyToAll()->setChecked(name == QLatin1String("replace"));
        std::vector<std::pair<platform::ConflictChoice, bool>> answers;
        QObject::connect(dialog, &ConflictDialog::answered,
                         [&](platform::ConflictChoice pChoice, bool pAll) {
                             answers.emplace_back(pChoice, pAll);
                         });
        dialog->show();
        dialog->button(name)->click();
        ASSERT_EQ(answers.size(), 1U) << "closing answered a second time";
        EXPECT_EQ(answers[0].first, choice);
        EXPECT_EQ(answers[0].second, name == QLatin1String("replace"));
        test::flushDeletions();
    }
}

} // namespace
} // namespace pindrel
