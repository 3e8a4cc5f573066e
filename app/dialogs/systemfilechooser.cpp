#include "dialogs/systemfilechooser.h"

#include "dialogs/programfilefilter.h"

#include <QDir>
#include <QFileDialog>

#include <algorithm>

namespace pindrel {

QString SystemFileChooser::nameFilter(const FileFilter &pFilter)
{
    const QString pattern =
        pFilter.pattern == QLatin1String("*.*") ? QStringLiteral("*") : pFilter.pattern;
    return pFilter.description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

int SystemFileChooser::selectedFilter(const QFileDialog &pDialog)
{
    const QString selected = pDialog.selectedNameFilter();
    const QStringList filters = pDialog.nameFilters();
    for (int index = 0; index < filters.size(); ++index) {
        const QString &filter = filters[index];
        // "Description (patterns)" shows as "Description".
        const qsizetype open = filter.lastIndexOf(u'(');
        const QString description =
            filter.endsWith(u')') && open >= 0 ? filter.left(open).trimmed() : filter;
        if (filter == selected || description == selected)
            return index;
    }
    return -1;
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
    for (const FileFilter &filter : pFilters)
        filters.append(nameFilter(filter));
    ProgramFileFilter *programs = nullptr;
    if (std::any_of(pFilters.begin(), pFilters.end(),
                    [](const FileFilter &pFilter) { return pFilter.programsOnly; })) {
        // Only Qt's own dialog takes a narrower view of the folder: the desktop's dialog
        // would list every file under a filter of programs.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        programs = new ProgramFileFilter(&dialog);
        dialog.setProxyModel(programs);
        QObject::connect(&dialog, &QFileDialog::filterSelected, programs,
                         [programs, &dialog, &pFilters] {
                             const int index = selectedFilter(dialog);
                             programs->setActive(index >= 0 && pFilters[index].programsOnly);
                         });
    }
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (programs != nullptr)
        programs->setActive(pFilters.constFirst().programsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace pindrel
