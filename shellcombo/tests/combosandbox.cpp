#include "combosandbox.h"

#include <QtCore/QDir>
#include <QtCore/QFile>

namespace pf = pindrel::platform;

ComboSandbox::ComboSandbox()
{
    for (const char *dir :
         {"mnt/c/Windows/System32", "mnt/c/Program Files/App", "mnt/c/home/Desktop/.hidden",
          "mnt/c/home/Desktop/Alpha", "mnt/c/home/Desktop/Beta",
          "mnt/c/home/Documents/Letters/2024", "mnt/c/home/.trash", "mnt/c/home/.local/share",
          "mnt/d/Data/Deep", "labels"})
        makeDir(QString::fromLatin1(dir));
    makeFile(QStringLiteral("mnt/c/Windows/notes.txt"));

    m_roots.desktopDir = path(QStringLiteral("mnt/c/home/Desktop"));
    m_roots.homeDir = path(QStringLiteral("mnt/c/home"));
    m_roots.documentsDir = path(QStringLiteral("mnt/c/home/Documents"));
    m_roots.trashDir = path(QStringLiteral("mnt/c/home/.trash"));
    m_roots.mountTable = path(QStringLiteral("mounts"));
    m_roots.mountPlaces = {path(QStringLiteral("mnt"))};
    m_roots.labelDir = path(QStringLiteral("labels"));
    m_roots.dataDir = path(QStringLiteral("mnt/c/home/.local/share"));
    m_drives = {QStringLiteral("mnt/c"), QStringLiteral("mnt/d")};
    writeMountTable();
}

QString ComboSandbox::root() const
{
    return QDir::cleanPath(m_dir.path());
}

QString ComboSandbox::path(const QString &pRelative) const
{
    return pRelative.isEmpty() ? root() : root() + u'/' + pRelative;
}

void ComboSandbox::makeDir(const QString &pRelative) const
{
    QDir().mkpath(path(pRelative));
}

void ComboSandbox::makeFile(const QString &pRelative) const
{
    QFile file(path(pRelative));
    if (file.open(QIODevice::WriteOnly))
        file.write("x");
}

void ComboSandbox::addDrive(const QString &pRelative)
{
    makeDir(pRelative);
    m_drives.append(pRelative);
    writeMountTable();
}

void ComboSandbox::writeMountTable() const
{
    QByteArray table = "/dev/root / ext4 rw 0 0\nproc /proc proc rw 0 0\n";
    int device = 0;
    for (const QString &drive : m_drives)
        table += "/dev/sd" + QByteArray::number(++device) + ' ' + QFile::encodeName(path(drive))
            + " ext4 rw 0 0\n";
    QFile file(m_roots.mountTable);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(table);
}

std::shared_ptr<pf::ShellNamespace> ComboSandbox::makeShell() const
{
    return std::make_shared<pf::ShellNamespace>(m_roots);
}

pf::idlist::Unique parsePath(const pf::ShellNamespace &pShell, const QString &pPath)
{
    pf::ItemIdList *list = nullptr;
    pShell.parseDisplayName(pPath, &list);
    return pf::idlist::Unique(list);
}

pf::idlist::Unique specialFolder(const pf::ShellNamespace &pShell, int pCsidl)
{
    pf::ItemIdList *list = nullptr;
    pShell.specialFolderLocation(pCsidl, &list);
    return pf::idlist::Unique(list);
}
