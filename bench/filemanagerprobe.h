#pragma once

// Times a desktop file manager opening a folder, for comparison with a drawer: from starting
// its command to its window being mapped (reported by the X server), both for a first start
// ("cold": the program starts, then opens its window) and for a second folder opened by the
// already running program in a new window ("warm"). Needs an X display.

#include <QString>

#include <optional>

struct FileManagerTiming
{
    std::optional<double> coldMs; // first start to its window mapped
    std::optional<double> warmMs; // a new window of the running program mapped
    std::optional<double> residentMiB; // the running program's resident memory afterwards
};

// pProgram is the file manager's path; pFolder the folder to open; pSmallFolder a small folder
// the warm run starts the program on first. Nothing is measured (empty optionals) when the
// display cannot be reached or no window appears within the time out.
FileManagerTiming timeFileManager(const QString &pProgram, const QString &pFolder,
                                  const QString &pSmallFolder);
