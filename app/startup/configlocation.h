#pragma once

// Where config.ini lives.
//
// In the program's folder (the folder of the executable), so that a portable install keeps
// its configuration beside the program. When the program cannot write there (an installed
// program under /usr or /opt), in the user's configuration folder instead:
// $XDG_CONFIG_HOME/pindrel/config.ini (~/.config/pindrel/config.ini by default), so that the
// settings are not lost at every exit. A program installed under /usr (the Debian package puts
// it in /usr/lib/pindrel/bin) counts as unwritable whoever runs it: root must not leave its
// settings in the system's folders either.
//
// The answer is a path, never an error: a config.ini that turns out to be a directory, or a
// user folder that cannot be created, still gives its path; the store then reads nothing
// there and its writes fail quietly.

#include <functional>

#include <QString>

namespace pindrel {

using FolderWritableTest = std::function<bool(const QString &pFolder)>;

// Whether a new file can be created in pFolder: a probe file is created there and removed
// again. Asking for permission bits would not do: they say nothing about read-only mounts,
// and root passes them everywhere.
bool canCreateFilesIn(const QString &pFolder);

// $XDG_CONFIG_HOME/pindrel (the generic configuration location followed by "/pindrel").
QString userConfigFolder();

// pProgramFolder + "/config.ini" when pIsWritable says the program folder takes new files;
// otherwise pUserFolder + "/config.ini", with pUserFolder created (with its parents) if it
// does not exist yet.
QString chooseConfigFile(const QString &pProgramFolder, const QString &pUserFolder,
                         const FolderWritableTest &pIsWritable = canCreateFilesIn);

// Whether pFolder lies in the system's own tree (/usr), which belongs to the package manager.
bool isSystemFolder(const QString &pFolder);

// The configuration file of this run: chooseConfigFile with the application's folder
// (QCoreApplication::applicationDirPath), userConfigFolder() and a test that takes a system
// folder as unwritable. Needs a QCoreApplication.
QString configFilePath();

} // namespace pindrel
