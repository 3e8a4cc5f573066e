#pragma once

// The settings dialog's "Programs" page: the list ListP of the programs, each row a program's
// caption with its number as item data, and the commands that change the list at once through
// the program editor and the registry (each rebuilding the program menu).
//
//   cmdAdd "Add"        the editor in add mode; afterwards the new last row is selected when
//                       the number of programs changed, else the row that was selected
//   cmdMod "Configure"  with a row selected: the editor for its program; the row stays selected
//   cmdDel "Delete"     with a row selected, after "You will delete the selected program. Are
//                       you sure?" (OK and Cancel, Cancel the default) is answered OK: the
//                       program deleted, the same row position selected, or the last row
//   cmdUp, cmdDown      with a row selected: the program moved up or down one place, the
//                       selection following it; on the first (last) row nothing moves
//
// On ListP: Enter or a double click configures, Shift+Up and Shift+Down move, Insert adds,
// Delete deletes. While ListP has the focus the dialog's default button is not the default, so
// Enter stays with the list; it is the default again once the list loses the focus.

#include <QWidget>

#include <cstdint>
#include <functional>

class QDialog;
class QListWidget;
class QPushButton;

namespace pindrel {

class AppState;
class FileChooser;
class Registry;

class ProgramListPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kProgramRole = Qt::UserRole;

    ProgramListPage(AppState &pState, Registry &pRegistry, QWidget *pParent = nullptr);
    ~ProgramListPage() override;

    // Clears the list and adds one row per program, 1 to the number of programs.
    void refill();

    void cmdAdd_Click();
    void cmdMod_Click();
    void cmdDel_Click();
    void cmdUp_Click();
    void cmdDown_Click();

    // The selected row, -1 for none.
    int selectedRow() const;

    // How the program editor is shown modally (QDialog::exec by default), the chooser it uses
    // (not owned, null for the system's), and how the deletion is confirmed (true for OK; by
    // default a message box titled "Pindrel").
    void setDialogRunner(std::function<void(QDialog &)> pRunner);
    void setFileChooser(FileChooser *pChooser) { m_fileChooser = pChooser; }
    void setConfirmation(std::function<bool(const QString &)> pConfirm);
    // The dialog's default button, which gives way while ListP has the focus.
    void setDefaultButton(QPushButton *pButton) { m_defaultButton = pButton; }

    QListWidget *ListP() const { return m_listP; }
    QPushButton *cmdAdd() const { return m_cmdAdd; }
    QPushButton *cmdMod() const { return m_cmdMod; }
    QPushButton *cmdDel() const { return m_cmdDel; }
    QPushButton *cmdUp() const { return m_cmdUp; }
    QPushButton *cmdDown() const { return m_cmdDown; }

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void buildControls();
    void openEditor(int16_t pIndex);
    int16_t programOfRow(int pRow) const;
    void selectRow(int pRow);
    bool listKey(int pKey, Qt::KeyboardModifiers pModifiers);

    AppState &m_state;
    Registry &m_registry;
    std::function<void(QDialog &)> m_runDialog;
    std::function<bool(const QString &)> m_confirm;
    FileChooser *m_fileChooser = nullptr;
    QPushButton *m_defaultButton = nullptr;

    QListWidget *m_listP = nullptr;
    QPushButton *m_cmdAdd = nullptr;
    QPushButton *m_cmdMod = nullptr;
    QPushButton *m_cmdDel = nullptr;
    QPushButton *m_cmdUp = nullptr;
    QPushButton *m_cmdDown = nullptr;
};

} // namespace pindrel
