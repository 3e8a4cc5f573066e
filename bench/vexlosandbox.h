#pragma once

// The path combo benchmarks' namespace, in a temporary folder: mnt/dNN for 50 drives,
// home/Desktop/folderNNN (200 of them) on drive d00, and a folder chain l01/l02/.../l20 on drive
// d01. With pSharesAndLinks every fourth desktop folder is shared (a user share naming it, in
// shareFolder()) and every fourth other one is a link to a folder on d01.

#include "platform/shellnamespace.h"

#include <QtCore/QString>
#include <QtCore/QTemporaryDir>

#include <memory>

class VexloSandbox
{
public:
    static constexpr int kDrives = 50;
    static constexpr int kDesktopFolders = 200;
    static constexpr int kDepth = 20;

    // In pParent (the system's temporary folder when empty).
    explicit VexloSandbox(bool pSharesAndLinks = false, const QString &pParent = {});

    std::shared_ptr<const pindrel::platform::ShellNamespace> shell() const { return m_shell; }
    const QString &deepFolder() const { return m_deepFolder; }
    QString shareFolder() const { return path(QStringLiteral("shares")); }

private:
    QString path(const QString &pRelative) const { return m_dir.path() + u'/' + pRelative; }

    QTemporaryDir m_dir;
    QString m_deepFolder;
    std::shared_ptr<pindrel::platform::ShellNamespace> m_shell;
};
