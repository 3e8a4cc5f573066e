#pragma once

// The desktop's installed application launchers (the .desktop files of the applications
// folders, as GIO finds them), seen from the programs they start: for a program file, the Icon
// of a launcher whose Exec runs it.
//
// Read once, on the first question, and again after GIO reports that the installed launchers
// changed (it watches the folders while the user-interface thread's event loop runs). When
// several launchers start the same program, one whose Exec names the program alone (with field
// codes at most) wins over one that hands it arguments (a script run by an interpreter, say);
// among equals the first GIO lists wins, as the desktop's own order of folders has it.

#include <QtCore/QByteArray>
#include <QtCore/QString>

namespace pindrel::platform {

class InstalledLaunchers
{
public:
    InstalledLaunchers() = delete;

    // The Icon entry of the launcher that starts the program pProgram (a path as text), empty
    // when no installed launcher starts it.
    static QString iconFor(const QString &pProgram);

    // The program file a path leads to, symbolic links followed, as bytes; empty when the path
    // leads nowhere.
    static QByteArray resolved(const QByteArray &pNativePath);
};

} // namespace pindrel::platform
