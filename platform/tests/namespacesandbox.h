#pragma once

// A namespace rooted in a temporary folder: home with desktop, documents, pictures and trash
// folders, a network folder, mount points under media/, mnt/ and run/media/, devices and
// label links, and a mount table naming them. Everything is relative to the sandbox root
// unless it starts with '/'.
//
// Tree after construction:
//   home/Desktop/{a2/, a10/, Alpha/, zeta/, .hidden/, notes.txt}
//   home/Documents/letters/        home/Pictures/       home/.local/share/Trash/files/old.txt
//   net/share/                     media/usb/docs/      media/my disk/    media/ram/
//   mnt/data/{inner/, y/}          mnt/cg/              mnt/stack/        run/media/u/STICK/
//   dev/{sdb1, sdc1}               labels/{USB\x20STICK -> ../dev/sdb1, Data\x20Disk ->
//   ../dev/sdc1}

#include "platform/filenamecodec.h"
#include "platform/idlist.h"
#include "platform/shellnamespace.h"
#include "platform/taskallocator.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

class NamespaceSandbox
{
public:
    NamespaceSandbox()
    {
        for (const char *dir :
             {"home/Desktop/a2", "home/Desktop/a10", "home/Desktop/Alpha", "home/Desktop/zeta",
              "home/Desktop/.hidden", "home/Documents/letters", "home/Pictures",
              "home/.local/share/Trash/files", "net/share", "media/usb/docs", "media/my disk",
              "media/ram", "mnt/data/inner", "mnt/data/y", "mnt/cg", "mnt/stack",
              "run/media/u/STICK", "dev", "labels"})
            makeDir(QString::fromLatin1(dir));
        makeFile(QStringLiteral("home/Desktop/notes.txt"), "notes");
        makeFile(QStringLiteral("home/.local/share/Trash/files/old.txt"), "old");
        makeFile(QStringLiteral("dev/sdb1"));
        makeFile(QStringLiteral("dev/sdc1"));
        QFile::link(QStringLiteral("../dev/sdb1"), path(QStringLiteral("labels/USB\\x20STICK")));
        QFile::link(QStringLiteral("../dev/sdc1"), path(QStringLiteral("labels/Data\\x20Disk")));
        writeMountTable(defaultMountTable());
    }

    // Qt's removal cannot name files whose names are not valid UTF-8: remove by bytes first.
    ~NamespaceSandbox()
    {
        if (mDir.isValid()) {
            ::nftw(
                pindrel::platform::encodeFileName(root()).constData(),
                [](const char *pPath, const struct stat *, int, struct FTW *) {
                    ::remove(pPath);
                    return 0;
                },
                16, FTW_DEPTH | FTW_PHYS);
        }
    }
    NamespaceSandbox(const NamespaceSandbox &) = delete;
    NamespaceSandbox &operator=(const NamespaceSandbox &) = delete;

    static QByteArray defaultMountTable()
    {
        return "/dev/root / ext4 rw,relatime 0 0\n"
               "proc /proc proc rw,nosuid 0 0\n"
               "tmpfs /run tmpfs rw 0 0\n"
               "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
               "@R/dev/sdb1 @R/media/usb vfat rw 0 0\n"
               "@R/dev/sdc1 @R/mnt/data ext4 rw 0 0\n"
               "/dev/sdd1 @R/mnt/data/inner ext4 rw 0 0\n"
               "tmpfs @R/media/ram tmpfs rw 0 0\n"
               "cgroup2 @R/mnt/cg cgroup2 rw 0 0\n"
               "/dev/sde1 @R/media/my\\040disk ext4 rw 0 0\n"
               "/dev/sdf1 @R/run/media/u/STICK exfat rw 0 0\n"
               "/dev/sdg1 @R/mnt/stack ext4 rw 0 0\n"
               "portal @R/mnt/stack fuse.portal rw 0 0\n"
               "/dev/sdh1 @R/media/gone ext4 rw 0 0\n"
               "/dev/sdi1 @R/home ext4 rw 0 0\n";
    }

    bool isValid() const { return mDir.isValid(); }
    QString root() const { return QDir::cleanPath(mDir.path()); }

    // The sandbox path of pRelative ("" is the root itself).
    QString path(const QString &pRelative) const
    {
        return pRelative.isEmpty() ? root() : root() + u'/' + pRelative;
    }
    QByteArray rawPath(const QByteArray &pRelative) const
    {
        return pindrel::platform::encodeFileName(root()) + '/' + pRelative;
    }

    void makeDir(const QString &pRelative) const { QDir().mkpath(path(pRelative)); }
    void makeFile(const QString &pRelative, const QByteArray &pContent = {}) const
    {
        QFile file(path(pRelative));
        if (file.open(QIODevice::WriteOnly))
            file.write(pContent);
    }
    // Names Qt cannot represent are made through the system calls directly.
    bool makeRawDir(const QByteArray &pRelative) const
    {
        return ::mkdir(rawPath(pRelative).constData(), 0755) == 0;
    }
    bool makeRawFile(const QByteArray &pRelative) const
    {
        const int fd = ::open(rawPath(pRelative).constData(), O_CREAT | O_WRONLY, 0644);
        return fd >= 0 && ::close(fd) == 0;
    }

    // Writes the mount table; "@R" stands for the sandbox root, written with the table's own
    // escapes.
    void writeMountTable(QByteArray pContent) const
    {
        QByteArray escapedRoot = pindrel::platform::encodeFileName(root());
        escapedRoot.replace("\\", "\\134").replace(" ", "\\040").replace("\t", "\\011");
        pContent.replace("@R", escapedRoot);
        QFile file(path(QStringLiteral("mounts")));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(pContent);
    }

    pindrel::platform::NamespaceRoots roots() const
    {
        pindrel::platform::NamespaceRoots roots;
        roots.desktopDir = path(QStringLiteral("home/Desktop"));
        roots.homeDir = path(QStringLiteral("home"));
        roots.documentsDir = path(QStringLiteral("home/Documents"));
        roots.trashDir = path(QStringLiteral("home/.local/share/Trash/files"));
        roots.networkDir = path(QStringLiteral("net"));
        roots.mountTable = path(QStringLiteral("mounts"));
        roots.mountPlaces = {path(QStringLiteral("media")), path(QStringLiteral("run/media")),
                             path(QStringLiteral("mnt"))};
        roots.removablePlaces = {path(QStringLiteral("media")), path(QStringLiteral("run/media"))};
        roots.labelDir = path(QStringLiteral("labels"));
        roots.picturesDir = path(QStringLiteral("home/Pictures"));
        roots.musicDir = path(QStringLiteral("home/Music")); // not created
        roots.configDir = path(QStringLiteral("home/.config"));
        roots.dataDir = path(QStringLiteral("home/.local/share"));
        return roots;
    }

private:
    QTemporaryDir mDir;
};

// Every namespace case starts and ends with the same number of outstanding allocator blocks.
class LeakCheckedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOutstanding = pindrel::platform::TaskAllocator::instance().outstanding();
    }
    void TearDown() override
    {
        EXPECT_EQ(pindrel::platform::TaskAllocator::instance().outstanding(), mOutstanding)
            << "identifier lists leaked";
    }

private:
    size_t mOutstanding = 0;
};

// Owns the lists an enumeration returned.
struct OwnedLists
{
    explicit OwnedLists(std::vector<pindrel::platform::ItemIdList *> pLists)
    {
        for (pindrel::platform::ItemIdList *list : pLists)
            lists.emplace_back(list);
    }
    size_t size() const { return lists.size(); }
    const pindrel::platform::ItemIdList *operator[](size_t pIndex) const
    {
        return lists[pIndex].get();
    }
    std::vector<pindrel::platform::idlist::Unique> lists;
};
