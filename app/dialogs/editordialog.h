#pragma once

// What the two editor dialogs (drawers and programs) share: a fixed dialog with a design
// caption, the choosers they browse with, and how their validation messages are shown.

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace pindrel {

class FileChooser;

class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    ~EditorDialog() override;

    // The choosers the dialog's buttons use (not owned); null brings back the system's.
    void setFileChooser(FileChooser *pChooser);
    // How the validation messages are shown; by default a message box with an exclamation
    // icon titled "Pindrel".
    void setExclamation(std::function<void(const QString &)> pShow);

protected:
    EditorDialog(const QString &pDesignCaption, QWidget *pParent);

    FileChooser &chooser();
    void exclaim(const QString &pText) { m_showExclamation(pText); }

private:
    FileChooser *m_chooser = nullptr;
    std::unique_ptr<FileChooser> m_systemChooser;
    std::function<void(const QString &)> m_showExclamation;
};

} // namespace pindrel
