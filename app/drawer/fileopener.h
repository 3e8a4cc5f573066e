#pragma once

// How the drawer's file list opens a file the user opens (double click, Enter, "Open"), the way
// the desktop's file managers do it:
//   - a native program (ELF, with the execute permission) starts directly;
//   - an executable text file, a script, starts only when the user says so ("Run"); "Open"
//     opens it with the default application instead, "Cancel" leaves it;
//   - a desktop launcher (.desktop) starts as the desktop starts it (Shell::open), at once when
//     it is executable and the user's own, else only after the user has agreed;
//   - anything else opens with the desktop's default application.
// Nothing goes through a command shell: a name with quotes, "$(...)", line breaks or a leading
// "-" reaches the program whole.

#include <QString>

class QWidget;

namespace pindrel {

namespace platform {
class Shell;
}

class OpenQuestions;

class FileOpener
{
public:
    enum class Kind { Document, Program, Script, Launcher };

    static Kind kindOf(const QString &pPath);

    // Why a launcher is not to be trusted as it stands; empty when it is (it is executable and
    // belongs to the user).
    static QString launcherDistrust(const QString &pPath);

    // The command a launcher runs, as its "Exec" entry gives it (its "URL" for a link); empty
    // when it names none.
    static QString launcherCommand(const QString &pPath);

    // Opens pPath as described above, asking through pQuestions where it must. pParent owns
    // the questions; when it goes away while one is up, nothing more happens (pShell is then
    // not touched again). True when something was started or opened.
    static bool open(QWidget *pParent, const QString &pPath, platform::Shell &pShell,
                     OpenQuestions &pQuestions);
};

} // namespace pindrel
