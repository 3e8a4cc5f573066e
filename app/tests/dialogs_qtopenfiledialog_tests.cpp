// The INI store's open-file dialog as Qt's: the record translated into the dialog and the
// choice written back into the record's buffers, and clsFileIni::ShowOpen through a real
// QFileDialog answered by the test.

#include "dialogs/qtopenfiledialog.h"
#include "dialogs/systemfilechooser.h"
#include "startup_testsupport.h"

#include "txini/clsfileini.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace pindrel {
namespace {

using namespace std::string_literals;

std::string untilNul(const std::string &pBuffer)
{
    return pBuffer.substr(0, pBuffer.find('\0'));
}

TEST(QtOpenFileDialog, FiltersOfTheRecord)
{
    struct Row
    {
        const char *name;
        std::string filter;
        QStringList expected;
    };
    const Row rows[] = {
        {"pairs",
         "Text (*.txt)\0*.txt\0All files\0*.*\0\0"s,
         {QStringLiteral("Text (*.txt) (*.txt)"), QStringLiteral("All files (*)")}},
        {"several_patterns",
         "Documents\0*.doc; *.rtf\0\0"s,
         {QStringLiteral("Documents (*.doc *.rtf)")}},
        {"pattern_missing", "Lonely\0"s, {}},
        {"none", ""s, {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(QtOpenFileDialog::nameFilters(row.filter), row.expected) << row.name;
}

TEST(QtOpenFileDialog, PrepareTakesTitleFolderFilterAndMode)
{
    test::TempConfig folder;
    txini::OpenFileName record;
    record.title = "Pick one";
    record.filter = "Text\0*.txt\0Pictures\0*.png\0\0"s;
    record.filterIndex = 2;
    record.initialDir = folder.folder().toStdString() + std::string(20, '\0');
    record.file = std::string(260, '\0');
    {
        QFileDialog dialog;
        QtOpenFileDialog::prepare(dialog, record);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Pick one"));
        EXPECT_EQ(SystemFileChooser::selectedFilter(dialog), 1);
        EXPECT_EQ(dialog.directory().path(), folder.folder());
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    }
    // A file named with its folder starts there; an index past the list selects the first.
    record.file = "/tmp/notes.txt"s + std::string(10, '\0');
    record.filterIndex = 9;
    record.flags = txini::kOfnAllowMultiSelect;
    QFileDialog dialog;
    QtOpenFileDialog::prepare(dialog, record);
    EXPECT_EQ(dialog.directory().path(), QStringLiteral("/tmp"));
    EXPECT_EQ(SystemFileChooser::selectedFilter(dialog), 0);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
}

TEST(QtOpenFileDialog, FillWritesTheBuffersOrFailsWhenTooSmall)
{
    txini::OpenFileName record;
    record.file = std::string(260, 'x');
    record.fileTitle = std::string(260, 'x');
    ASSERT_TRUE(QtOpenFileDialog::fill(record, {QStringLiteral("/data/report.final.txt")}, 2));
    EXPECT_EQ(record.file.substr(0, 23), "/data/report.final.txt\0"s);
    EXPECT_EQ(record.file.size(), 260U);
    EXPECT_EQ(untilNul(record.fileTitle), "report.final.txt");
    EXPECT_EQ(untilNul(record.initialDir), "/data");
    EXPECT_EQ(record.fileOffset, 6);
    EXPECT_EQ(record.fileExtension, 19);
    EXPECT_EQ(record.filterIndex, 2);

    ASSERT_TRUE(QtOpenFileDialog::fill(
        record, {QStringLiteral("/data/a.txt"), QStringLiteral("/data/b")}, 1));
    EXPECT_EQ(record.file.substr(0, 15), "/data\0a.txt\0b\0\0"s);
    EXPECT_EQ(record.fileOffset, 6);

    txini::OpenFileName small;
    small.maxFile = 8;
    small.file = std::string(8, '\0');
    EXPECT_FALSE(QtOpenFileDialog::fill(small, {QStringLiteral("/data/long-name")}, 1));
    EXPECT_EQ(small.file, std::string(8, '\0'));
}

// Answers the next file dialog once it is up: chooses pFile, or cancels when it is empty.
void answerFileDialog(const QString &pFile)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, pFile] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->deleteLater();
        if (pFile.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(pFile);
        static_cast<QDialog *>(dialog)->accept();
    });
    timer->start(10);
}

TEST(QtOpenFileDialog, ShowOpenAsksThroughQt)
{
    test::TempConfig folder;
    const QString chosen = folder.folder() + QStringLiteral("/settings.ini");
    test::writeBytes(chosen, "[A]\n");
    txini::installOpenFileDialog(std::make_shared<QtOpenFileDialog>());

    txini::clsFileIni files;
    files.InitDir = folder.folder().toStdString();
    files.CancelError = true;
    answerFileDialog(chosen);
    EXPECT_TRUE(files.ShowOpen(std::nullopt, "Choose"s, "INI files|*.ini|"s));
    EXPECT_EQ(files.FileName, chosen.toStdString());
    EXPECT_EQ(files.FileTitle, "settings.ini");
    EXPECT_EQ(files.Err().Number, 0);

    answerFileDialog(QString());
    EXPECT_FALSE(files.ShowOpen());
    EXPECT_EQ(files.Err().Number, txini::kErrorOpenCancelled);
    EXPECT_EQ(files.FileName, chosen.toStdString()) << "a cancelled dialog changes nothing";
    txini::installOpenFileDialog(nullptr);
}

} // namespace
} // namespace pindrel
