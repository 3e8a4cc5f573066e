#pragma once

// A shell namespace rooted in a temporary folder, with two drives mounted under mnt/ (named by
// their mount points, "c" and "d") beside the root file system, which the namespace always
// lists. Everything is relative to the sandbox root.
//
//   mnt/c/Windows/System32/          mnt/c/Windows/notes.txt      mnt/c/Program Files/App/
//   mnt/c/home/Desktop/{.hidden/, Alpha/, Beta/} mnt/c/home/Documents/Letters/2024/
//   mnt/c/home/.trash/               mnt/d/Data/Deep/             labels/ (no labels)
//   mnt/c/home/.local/share/ (the user's data: the recently-used list goes here)
//
// The desktop shows: Computer (File System, c, d), Home, Documents, Trash, .hidden, Alpha, Beta.

#include "qtprinters.h"

#include "platform/idlist.h"
#include "platform/shellnamespace.h"

#include <QtCore/QString>
#include <QtCore/QTemporaryDir>

#include <memory>

class ComboSandbox
{
public:
    ComboSandbox();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const;
    // The sandbox path of pRelative.
    QString path(const QString &pRelative) const;
    void makeDir(const QString &pRelative) const;
    void makeFile(const QString &pRelative) const;
    // Mounts a further drive at pRelative (a folder made here) by rewriting the mount table.
    void addDrive(const QString &pRelative);

    const pindrel::platform::NamespaceRoots &roots() const { return m_roots; }
    std::shared_ptr<pindrel::platform::ShellNamespace> makeShell() const;

private:
    void writeMountTable() const;

    QTemporaryDir m_dir;
    pindrel::platform::NamespaceRoots m_roots;
    QStringList m_drives;
};

// The parsed list of a path, owned; null when it does not parse.
pindrel::platform::idlist::Unique parsePath(const pindrel::platform::ShellNamespace &pShell,
                                            const QString &pPath);
// The special folder's list, owned; null when there is none.
pindrel::platform::idlist::Unique specialFolder(const pindrel::platform::ShellNamespace &pShell,
                                                int pCsidl);
