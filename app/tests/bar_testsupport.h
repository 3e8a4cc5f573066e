#pragma once

// Helpers of the bar's button, menu and dialog tests: a program folder with its config.ini and
// a bar started on it offscreen (docked through a scripted app-bar service, the first-run
// question answered Cancel, message boxes recorded instead of shown), a shell that records
// what it would have opened, and a chooser that answers from a script.

#include "bar/form1.h"
#include "dialogs/filechooser.h"
#include "startup/appstate.h"
#include "startup/questionasker.h"

#include "platform/appbar.h"
#include "platform/shell.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pindrel::test {

// Docks on a 1280 × 800 screen with a 30-pixel taskbar at the bottom; counts removals.
class DockingAppBar : public platform::AppBarService
{
public:
    explicit DockingAppBar(int &pRemovals)
        : m_removals(pRemovals)
    { }
    bool newBar(platform::AppBarData &) override { return true; }
    bool getTaskbarPos(platform::AppBarData &pData) override;
    void queryPos(platform::AppBarData &) override { }
    void setPos(platform::AppBarData &) override { }
    void remove(platform::AppBarData &) override { ++m_removals; }
    bool setWorkArea(const platform::AppBarRect &) override { return false; }
    platform::AppBarRect screenRect() const override { return {0, 0, 1280, 800}; }
    platform::AppBarRect workArea() const override { return {0, 0, 1280, 770}; }

private:
    int &m_removals;
};

class CancelAsker : public QuestionAsker
{
public:
    Answer ask(const QString &, const QString &) override { return Answer::Cancel; }
};

// Records instead of starting anything.
class RecordingShell : public platform::Shell
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workDir;
    };
    std::vector<QUrl> opened;
    std::vector<Start> started;
    std::vector<QString> launched;

protected:
    bool startDetached(const QString &pProgram, const QStringList &pArgs,
                       const QString &pWorkDir) override
    {
        started.push_back({pProgram, pArgs, pWorkDir});
        return true;
    }
    bool openWithDefaultHandler(const QUrl &pUrl) override
    {
        opened.push_back(pUrl);
        return true;
    }
    bool launchDesktopEntry(const QString &pPath) override
    {
        launched.push_back(pPath);
        return true;
    }
};

// Answers each chooser call with the next scripted answer (nothing = cancelled) and records
// what it was asked.
class ScriptedChooser : public FileChooser
{
public:
    struct Call
    {
        QString kind; // "folder" or "file"
        QString title;
        QString startFolder;
        QList<FileFilter> filters;
    };
    std::deque<std::optional<QString>> answers;
    std::vector<Call> calls;

    std::optional<QString> chooseFolder(QWidget *pOwner, const QString &pPrompt) override;
    std::optional<QString> chooseFile(QWidget *pOwner, const QString &pTitle,
                                      const QString &pStartFolder,
                                      const QList<FileFilter> &pFilters) override;

private:
    std::optional<QString> next();
};

// A program folder (with background/ and icons/ as the build lays them out) and a bar on it.
class BarOnFolder
{
public:
    BarOnFolder();
    ~BarOnFolder();

    QString folder() const { return m_folder.path(); }
    QString configPath() const;
    QString filePath(const QString &pName) const;
    void writeConfig(const std::string &pBytes) const;
    std::string readValue(const std::string &pSection, const std::string &pKey) const;

    // Starts the bar; its shell is a RecordingShell, its exclamations are recorded.
    Form1 &start();
    Form1 &bar() { return *m_bar; }
    AppState &state() { return m_state; }
    RecordingShell &shell() { return *m_shell; }

    std::vector<QString> exclamations;
    int removals = 0;

private:
    QTemporaryDir m_folder;
    AppState m_state;
    CancelAsker m_asker;
    std::unique_ptr<Form1> m_bar;
    RecordingShell *m_shell = nullptr;
};

// config.ini text: docked at the top, pHeight twips high, button style pStyle, pCount drawers
// "Drawer <n>" on /tmp whose ICON is pIcon.
std::string drawersConfig(int pCount, int pStyle, int pHeight, const std::string &pIcon = {});

// Deletes the widgets scheduled for deletion, as the next turn of the event loop would.
void flushDeletions();

} // namespace pindrel::test
