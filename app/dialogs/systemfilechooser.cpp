#include "dialogs/systemfilechooser.h"

#include "dialogs/programfilefilter.h"

#include <QDir>
#include <QFileDialog>

namespace pindrel {

QString SystemFileChooser::nameFilter(const FileFilter &pFilter)
{
    const QString pattern =
        pFilter.pattern == QLatin1String("*.*") ? QStringLiteral("*") : pFilter.pattern;
    return pFilter.description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

std::optional<QString> SystemFileChooser::chooseFolder(QWidget *pOwner, const QString &pPrompt)
{
    // The browser opens at the user's home, the root of the places a desktop shows; the
    // whole file system is reachable from there.
    const QString folder = QFileDialog::getExistingDirectory(pOwner, pPrompt, QDir::homePath(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

std::optional<QString> SystemFileChooser::chooseFile(QWidget *pOwner, const QString &pTitle,
                                                     const QString &pStartFolder,
                                                     const QList<FileFilter> &pFilters)
{
    QFileDialog dialog(pOwner, pTitle, pStartFolder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList filters;
    QStringList programFilters;
    ProgramFileFilter *programs = nullptr;
    for (const FileFilter &filter : pFilters) {
        filters.append(nameFilter(filter));
        if (filter.programsOnly)
            programFilters.append(filters.last());
    }
    if (!programFilters.isEmpty()) {
        // Only Qt's own dialog takes a narrower view of the folder: the desktop's dialog
        // would list every file under a filter of programs.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        programs = new ProgramFileFilter(&dialog);
        dialog.setProxyModel(programs);
        QObject::connect(&dialog, &QFileDialog::filterSelected, programs,
                         [programs, programFilters](const QString &pFilter) {
                             programs->setActive(programFilters.contains(pFilter));
                         });
    }
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (programs != nullptr)
        programs->setActive(programFilters.contains(dialog.selectedNameFilter()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace pindrel
