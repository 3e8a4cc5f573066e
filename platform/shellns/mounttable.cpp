#include "shellns/mounttable.h"

#include "platform/filenamecodec.h"
#include "shellns/naturalcompare.h"
#include "shellns/rawfs.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <algorithm>

namespace pindrel::platform {

namespace {

// Kernel and desktop plumbing that never holds the user's files. A tmpfs or ramfs is
// plumbing too, except where the user mounts things (see userDrives).
bool isPseudoType(const QByteArray &pType)
{
    static const QByteArrayView kPseudo[] = {
        "proc",        "sysfs",      "devtmpfs",      "devpts",      "cgroup", "cgroup2",
        "securityfs",  "debugfs",    "tracefs",       "pstore",      "bpf",    "mqueue",
        "hugetlbfs",   "configfs",   "fusectl",       "binfmt_misc", "autofs", "rpc_pipefs",
        "nsfs",        "efivarfs",   "selinuxfs",     "overlay",     "nfsd",   "rootfs",
        "fuse.portal", "fuse.lxcfs", "fuse.snapfuse", "ramfs",       "tmpfs"};
    return std::any_of(std::begin(kPseudo), std::end(kPseudo),
                       [&](QByteArrayView pName) { return pType == pName; });
}

bool isMemoryType(const QByteArray &pType)
{
    return pType == "tmpfs" || pType == "ramfs";
}

QByteArray cleanPlace(const QString &pPlace)
{
    if (pPlace.isEmpty())
        return {};
    return encodeFileName(QDir::cleanPath(pPlace));
}

bool isOctal(char pChar)
{
    return pChar >= '0' && pChar <= '7';
}

int hexValue(char pChar)
{
    if (pChar >= '0' && pChar <= '9')
        return pChar - '0';
    if (pChar >= 'a' && pChar <= 'f')
        return pChar - 'a' + 10;
    if (pChar >= 'A' && pChar <= 'F')
        return pChar - 'A' + 10;
    return -1;
}

// udev's encoding of label link names: \xHH for unsafe characters.
QByteArray unescapeHex(const QByteArray &pName)
{
    QByteArray out;
    out.reserve(pName.size());
    for (qsizetype i = 0; i < pName.size(); ++i) {
        if (pName[i] == '\\' && i + 3 < pName.size() && pName[i + 1] == 'x'
            && hexValue(pName[i + 2]) >= 0 && hexValue(pName[i + 3]) >= 0) {
            out.append(static_cast<char>(hexValue(pName[i + 2]) * 16 + hexValue(pName[i + 3])));
            i += 3;
        } else {
            out.append(pName[i]);
        }
    }
    return out;
}

} // namespace

QByteArray MountTable::unescape(QByteArrayView pField)
{
    QByteArray out;
    out.reserve(pField.size());
    for (qsizetype i = 0; i < pField.size(); ++i) {
        if (pField[i] == '\\' && i + 3 < pField.size() && isOctal(pField[i + 1])
            && isOctal(pField[i + 2]) && isOctal(pField[i + 3])) {
            const int value =
                (pField[i + 1] - '0') * 64 + (pField[i + 2] - '0') * 8 + (pField[i + 3] - '0');
            out.append(static_cast<char>(value & 0xFF));
            i += 3;
        } else {
            out.append(pField[i]);
        }
    }
    return out;
}

std::vector<MountEntry> MountTable::parse(QByteArrayView pContent)
{
    std::vector<MountEntry> entries;
    qsizetype lineStart = 0;
    while (lineStart < pContent.size()) {
        qsizetype lineEnd = pContent.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = pContent.size();
        const QByteArrayView line = pContent.sliced(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        // Fields are separated by runs of blanks or tabs; escapes keep those out of fields.
        std::vector<QByteArrayView> fields;
        qsizetype at = 0;
        while (at < line.size() && fields.size() < 4) {
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
                ++at;
            const qsizetype start = at;
            while (at < line.size() && line[at] != ' ' && line[at] != '\t')
                ++at;
            if (at > start)
                fields.push_back(line.sliced(start, at - start));
        }
        if (fields.size() < 4)
            continue;
        MountEntry entry{unescape(fields[0]), unescape(fields[1]), unescape(fields[2]),
                         unescape(fields[3])};
        if (!entry.mountPoint.startsWith('/'))
            continue;
        entry.mountPoint = encodeFileName(QDir::cleanPath(decodeFileName(entry.mountPoint)));
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool MountTable::isUnder(const QByteArray &pPath, const QByteArray &pFolder)
{
    if (pFolder.isEmpty())
        return false;
    if (pFolder == "/")
        return pPath.startsWith('/');
    return pPath == pFolder || (pPath.startsWith(pFolder) && pPath.at(pFolder.size()) == '/');
}

bool MountTable::isRemovable(const NamespaceRoots &pRoots, const QByteArray &pMountPoint)
{
    return std::any_of(pRoots.removablePlaces.cbegin(), pRoots.removablePlaces.cend(),
                       [&](const QString &pPlace) {
                           const QByteArray place = cleanPlace(pPlace);
                           return pMountPoint != place && isUnder(pMountPoint, place);
                       });
}

std::vector<MountEntry> MountTable::userDrives(const NamespaceRoots &pRoots,
                                               const std::vector<MountEntry> &pTable)
{
    std::vector<QByteArray> places;
    for (const QString &place : pRoots.mountPlaces) {
        QByteArray clean = cleanPlace(place);
        if (!clean.isEmpty())
            places.push_back(std::move(clean));
    }
    const auto inPlace = [&](const QByteArray &pMountPoint) {
        return std::any_of(places.cbegin(), places.cend(),
                           [&](const QByteArray &pPlace) { return isUnder(pMountPoint, pPlace); });
    };

    std::vector<QByteArray> seen;
    std::vector<MountEntry> drives;
    bool haveRoot = false;
    // From the last line back: the first entry met for a mount point is the one on top, and it
    // hides the earlier ones even when it is not wanted itself.
    for (auto it = pTable.rbegin(); it != pTable.rend(); ++it) {
        const MountEntry &entry = *it;
        if (std::find(seen.cbegin(), seen.cend(), entry.mountPoint) != seen.cend())
            continue;
        seen.push_back(entry.mountPoint);
        bool wanted = false;
        if (entry.mountPoint == "/") {
            // The root file system is always shown, whatever it is (an overlay in a container).
            wanted = true;
            haveRoot = true;
        } else if (entry.mountPoint == "/home") {
            wanted = !isPseudoType(entry.type);
        } else if (inPlace(entry.mountPoint)) {
            wanted = !isPseudoType(entry.type) || isMemoryType(entry.type);
        }
        // A stale line for a folder that is gone is no drive either.
        if (wanted && (entry.mountPoint == "/" || rawfs::isDir(entry.mountPoint)))
            drives.push_back(entry);
    }
    if (!haveRoot)
        drives.push_back(MountEntry{{}, QByteArrayLiteral("/"), {}, {}});
    std::sort(drives.begin(), drives.end(), [](const MountEntry &pA, const MountEntry &pB) {
        return naturalCompare(decodeFileName(pA.mountPoint), decodeFileName(pB.mountPoint)) < 0;
    });
    return drives;
}

const MountEntry *MountTable::containing(const std::vector<MountEntry> &pDrives,
                                         const QByteArray &pPath)
{
    const MountEntry *best = nullptr;
    for (const MountEntry &drive : pDrives) {
        if (isUnder(pPath, drive.mountPoint)
            && (best == nullptr || drive.mountPoint.size() > best->mountPoint.size()))
            best = &drive;
    }
    return best;
}

QString MountTable::volumeLabel(const QString &pLabelDir, const QByteArray &pDevice)
{
    if (pLabelDir.isEmpty() || !pDevice.startsWith('/'))
        return {};
    const QString device = QFileInfo(decodeFileName(pDevice)).canonicalFilePath();
    if (device.isEmpty())
        return {};
    const QDir labels(pLabelDir);
    const QStringList names =
        labels.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (QFileInfo(labels.filePath(name)).canonicalFilePath() == device)
            return displayFileName(decodeFileName(unescapeHex(QFile::encodeName(name))));
    }
    return {};
}

} // namespace pindrel::platform
