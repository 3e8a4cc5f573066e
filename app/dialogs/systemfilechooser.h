#pragma once

// The choosers as Qt's file dialogs, modal over their owner.

#include "dialogs/filechooser.h"

#include <QString>

class QFileDialog;

namespace pindrel {

class SystemFileChooser : public FileChooser
{
public:
    std::optional<QString> chooseFolder(QWidget *pOwner, const QString &pPrompt) override;
    std::optional<QString> chooseFile(QWidget *pOwner, const QString &pTitle,
                                      const QString &pStartFolder,
                                      const QList<FileFilter> &pFilters) override;

    // The filter as the file dialog takes it: the description followed by the pattern in
    // brackets, which the dialog hides again, so the user sees the description as it stands.
    // "*.*" becomes "*": here a file name need not contain a dot.
    static QString nameFilter(const FileFilter &pFilter);

    // The position of the dialog's selected filter among its name filters, -1 for none. With
    // the filter details hidden the dialog names the selected filter by its description alone.
    static int selectedFilter(const QFileDialog &pDialog);
};

} // namespace pindrel
