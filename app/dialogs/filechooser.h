#pragma once

// The system's choosers as the dialogs use them: a folder browser and an open-file dialog,
// each owned by the dialog that shows it. A chooser answers with the full path chosen, or with
// nothing when the user cancels. SystemFileChooser shows Qt's dialogs; tests script the
// answers.

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace pindrel {

// One entry of an open-file dialog's filter list: the text the user sees and the pattern it
// stands for ("*.ico"; "*.*" matches every file, with or without an extension). A filter of
// programs lists, of the files its pattern matches, only those that can be started: files with
// the execute permission and desktop-entry launchers.
struct FileFilter
{
    QString description;
    QString pattern;
    bool programsOnly = false;
    bool operator==(const FileFilter &) const = default;
};

class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // A folder of the file system, browsing from the top of the user's places, with pPrompt
    // shown to the user. Only folders can be chosen.
    virtual std::optional<QString> chooseFolder(QWidget *pOwner, const QString &pPrompt) = 0;

    // An existing file, in a dialog titled pTitle that starts in pStartFolder with pFilters
    // listed in order and the first one selected.
    virtual std::optional<QString> chooseFile(QWidget *pOwner, const QString &pTitle,
                                              const QString &pStartFolder,
                                              const QList<FileFilter> &pFilters) = 0;

protected:
    FileChooser() = default;
    FileChooser(const FileChooser &) = default;
    FileChooser &operator=(const FileChooser &) = default;
};

} // namespace pindrel
