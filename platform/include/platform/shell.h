#pragma once

// The shell automation object: opens folders, documents and programs the way the desktop does.
// Nothing goes through a command shell: programs are started directly, everything else goes to
// the desktop's default handler for its type (what xdg-open does).

#include "platform/platformexport.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

class QUrl;

namespace pindrel::platform {

class PINDREL_PLATFORM_EXPORT Shell
{
public:
    Shell() = default;
    virtual ~Shell();

    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // The shell's Open verb. A program (see isRunnable) is started directly, in its own folder,
    // without arguments; a folder or any other file opens with the desktop's default handler.
    // False for an empty or missing path, or when nothing could be started.
    bool open(const QString &pPath);

    // Starts the program pFile directly with pArgs, in pWorkDir (the current folder when
    // empty). A relative pFile is taken in pWorkDir. Only a runnable file starts: a Windows
    // program (for example the updater "update.exe" built for Windows) cannot run here, so the
    // call returns false quietly and nothing happens.
    bool shellExecute(const QString &pFile, const QStringList &pArgs, const QString &pWorkDir);

    // Opens a URL (a web page, a mail address, a local file) with the desktop's default handler.
    bool openUrl(const QUrl &pUrl);

    // Starts pPath directly, as open() starts a program: in its own folder, without arguments,
    // never through a command shell. False when it is not runnable (see isRunnable).
    bool run(const QString &pPath);

    // Opens pPath with the desktop's default application for its type, also when it is a
    // program or a script: what a user asks for who wants to read a script, not run it.
    bool openWithDefaultApplication(const QString &pPath);

    // True for a regular file that this system can execute itself: it has the execute
    // permission and is a native program (ELF) or a script with a "#!" line.
    static bool isRunnable(const QString &pPath);

protected:
    // The two ways out of the object; a test replaces them to see what would have happened.
    virtual bool startDetached(const QString &pProgram, const QStringList &pArgs,
                               const QString &pWorkDir);
    virtual bool openWithDefaultHandler(const QUrl &pUrl);
};

} // namespace pindrel::platform
