#include "dialogs/qtopenfiledialog.h"

#include "dialogs/systemfilechooser.h"

#include "platform/filenamecodec.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QWidget>

namespace pindrel {

namespace {

constexpr int32_t kAllowMultiSelect = txini::kOfnAllowMultiSelect;

QString untilNul(const std::string &pBuffer)
{
    return platform::decodeFileName(
        QByteArray::fromStdString(pBuffer.substr(0, pBuffer.find('\0'))));
}

// Writes pText and a closing NUL over the start of pBuffer, which holds pCapacity bytes.
bool writeBuffer(std::string &pBuffer, uint32_t pCapacity, const QByteArray &pText)
{
    if (static_cast<uint64_t>(pText.size()) + 1 > pCapacity)
        return false;
    if (pBuffer.size() < pCapacity)
        pBuffer.resize(pCapacity, '\0');
    pBuffer.replace(0, static_cast<size_t>(pText.size()) + 1, pText.toStdString() + '\0');
    return true;
}

QString folderOf(const QString &pPath)
{
    const qsizetype slash = pPath.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : pPath.left(slash);
}

QString nameOf(const QString &pPath)
{
    return pPath.mid(pPath.lastIndexOf(u'/') + 1);
}

QWidget *ownerOf(int32_t pWindow)
{
    if (pWindow != 0) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->internalWinId() == static_cast<WId>(static_cast<uint32_t>(pWindow)))
                return window;
        }
    }
    return QApplication::activeWindow();
}

} // namespace

QStringList QtOpenFileDialog::nameFilters(const std::string &pFilter)
{
    QStringList filters;
    const QStringList parts =
        platform::decodeFileName(QByteArray::fromStdString(pFilter)).split(QChar(0));
    // A description without a pattern ends the list, as an empty one does.
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty() && !parts[i + 1].isEmpty();
         i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            // Here a file name need not contain a dot.
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return filters;
}

void QtOpenFileDialog::prepare(QFileDialog &pDialog, const txini::OpenFileName &pRecord)
{
    const QString title = untilNul(pRecord.title);
    if (!title.isEmpty())
        pDialog.setWindowTitle(title);
    pDialog.setAcceptMode(QFileDialog::AcceptOpen);
    pDialog.setFileMode((pRecord.flags & kAllowMultiSelect) != 0 ? QFileDialog::ExistingFiles
                                                                 : QFileDialog::ExistingFile);
    pDialog.setOption(QFileDialog::HideNameFilterDetails, true);

    const QStringList filters = nameFilters(pRecord.filter);
    if (!filters.isEmpty()) {
        pDialog.setNameFilters(filters);
        const int index = pRecord.filterIndex >= 1 && pRecord.filterIndex <= filters.size()
            ? pRecord.filterIndex - 1
            : 0;
        pDialog.selectNameFilter(filters[index]);
    }

    // A file named with its folder starts the dialog there; else the initial folder counts.
    const QString file = untilNul(pRecord.file);
    const QString initial = untilNul(pRecord.initialDir);
    if (file.contains(u'/')) {
        pDialog.setDirectory(folderOf(file));
        pDialog.selectFile(nameOf(file));
    } else {
        pDialog.setDirectory(initial.isEmpty() ? QDir::currentPath() : initial);
        if (!file.isEmpty())
            pDialog.selectFile(file);
    }
}

bool QtOpenFileDialog::fill(txini::OpenFileName &pRecord, const QStringList &pFiles,
                            int pFilterIndex)
{
    if (pFiles.isEmpty())
        return false;
    const QString first = pFiles.constFirst();
    const QString folder = folderOf(first);
    const QByteArray name = platform::encodeFileName(nameOf(first));
    const QByteArray folderBytes = platform::encodeFileName(folder);
    QByteArray chosen;
    qsizetype nameOffset = 0;
    if (pFiles.size() == 1) {
        chosen = platform::encodeFileName(first);
        nameOffset = chosen.size() - name.size();
    } else {
        nameOffset = folderBytes.size() + 1;
        // The folder, then each name, NUL-separated; the closing NUL makes two.
        chosen = folderBytes;
        for (const QString &file : pFiles)
            chosen += '\0' + platform::encodeFileName(nameOf(file));
        chosen += '\0';
    }
    if (!writeBuffer(pRecord.file, pRecord.maxFile, chosen))
        return false;

    writeBuffer(pRecord.fileTitle, pRecord.maxFileTitle, name);
    writeBuffer(pRecord.initialDir,
                std::max<uint32_t>(static_cast<uint32_t>(pRecord.initialDir.size()),
                                   static_cast<uint32_t>(folderBytes.size()) + 1),
                folderBytes);
    pRecord.filterIndex = pFilterIndex;
    pRecord.fileOffset = static_cast<uint16_t>(nameOffset);
    // The extension of the first name; with several files the platform leaves it 0.
    const qsizetype dot = name.lastIndexOf('.');
    pRecord.fileExtension = static_cast<uint16_t>(
        pFiles.size() == 1 ? nameOffset + (dot < 0 ? name.size() : dot + 1) : 0);
    return true;
}

bool QtOpenFileDialog::getOpenFileName(txini::OpenFileName &pRecord)
{
    QFileDialog dialog(ownerOf(pRecord.hwndOwner));
    prepare(dialog, pRecord);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const int filterIndex =
        static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
    return fill(pRecord, dialog.selectedFiles(), filterIndex);
}

} // namespace pindrel
