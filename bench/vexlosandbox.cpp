#include "vexlosandbox.h"

#include <QtCore/QDir>
#include <QtCore/QFile>

VexloSandbox::VexloSandbox(bool pSharesAndLinks, const QString &pParent)
    : m_dir((pParent.isEmpty() ? QDir::tempPath() : pParent) + QStringLiteral("/vexlo-XXXXXX"))
{
    const auto makeDir = [this](const QString &pRelative) { QDir().mkpath(path(pRelative)); };
    QByteArray mounts = "/dev/root / ext4 rw 0 0\n";
    for (int drive = 0; drive < kDrives; ++drive) {
        const QString name = QStringLiteral("mnt/d%1").arg(drive, 2, 10, QChar(u'0'));
        makeDir(name);
        mounts += "/dev/sd" + QByteArray::number(drive) + ' ' + QFile::encodeName(path(name))
            + " ext4 rw 0 0\n";
    }
    makeDir(QStringLiteral("shares"));
    makeDir(QStringLiteral("mnt/d01/targets"));
    for (int folder = 0; folder < kDesktopFolders; ++folder) {
        const QString desktopFolder = QStringLiteral("mnt/d00/home/Desktop/folder%1").arg(folder);
        if (pSharesAndLinks && folder % 4 == 1) {
            QFile::link(path(QStringLiteral("mnt/d01/targets")), path(desktopFolder));
            continue;
        }
        makeDir(desktopFolder);
        if (!pSharesAndLinks || folder % 4 != 0)
            continue;
        QFile share(path(QStringLiteral("shares/share%1").arg(folder)));
        if (share.open(QIODevice::WriteOnly))
            share.write("path=" + QFile::encodeName(path(desktopFolder)) + "\n");
    }
    makeDir(QStringLiteral("mnt/d00/home/Documents"));
    makeDir(QStringLiteral("mnt/d00/home/.trash"));
    makeDir(QStringLiteral("labels"));
    QString chain = QStringLiteral("mnt/d01");
    for (int level = 1; level <= kDepth; ++level)
        chain += QStringLiteral("/l%1").arg(level, 2, 10, QChar(u'0'));
    makeDir(chain);
    m_deepFolder = path(chain);

    QFile table(path(QStringLiteral("mounts")));
    if (table.open(QIODevice::WriteOnly))
        table.write(mounts);

    pindrel::platform::NamespaceRoots roots;
    roots.desktopDir = path(QStringLiteral("mnt/d00/home/Desktop"));
    roots.homeDir = path(QStringLiteral("mnt/d00/home"));
    roots.documentsDir = path(QStringLiteral("mnt/d00/home/Documents"));
    roots.trashDir = path(QStringLiteral("mnt/d00/home/.trash"));
    roots.mountTable = path(QStringLiteral("mounts"));
    roots.mountPlaces = {path(QStringLiteral("mnt"))};
    roots.labelDir = path(QStringLiteral("labels"));
    m_shell = std::make_shared<pindrel::platform::ShellNamespace>(roots);
}
