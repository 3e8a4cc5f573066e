#include "platform/shellnamespace.h"

#include "platform/filenamecodec.h"
#include "platform/taskallocator.h"
#include "shellns/itemid.h"
#include "shellns/mountcache.h"
#include "shellns/mounttable.h"
#include "shellns/namespaceicons.h"
#include "shellns/naturalcompare.h"
#include "shellns/rawfs.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>

#include <algorithm>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace pindrel::platform {

using itemid::Identifier;
using itemid::Kind;

namespace {

QByteArray pathBytes(const QString &pPath)
{
    return pPath.isEmpty() ? QByteArray() : encodeFileName(QDir::cleanPath(pPath));
}

// What an absolute list stands for, found by walking it from the Desktop.
struct Resolved
{
    enum class What { Desktop, Computer, Home, Documents, Network, Trash, Drive, Entry };
    What what = What::Desktop;
    QByteArray path; // the object's file-system path; "" for the Computer and the trash
    QByteArray contentDir; // where its children are read; "" for the Computer
    QByteArray driveMount; // the drive the list passes through, if any
    std::optional<Identifier> lastId;
};

std::optional<Resolved> resolve(const NamespaceRoots &pRoots, const ItemIdList *pList)
{
    Resolved resolved;
    resolved.path = pathBytes(pRoots.desktopDir);
    resolved.contentDir = resolved.path;
    const int levels = idlist::level(pList);
    const ItemIdList *at = pList;
    for (int i = 0; i < levels; ++i, at = idlist::next(at)) {
        const std::optional<Identifier> id = itemid::read(at);
        if (!id)
            return std::nullopt;
        const auto topLevel = [&](Resolved::What pWhat, const QString &pDir, bool pHasPath) {
            if (i != 0 || pDir.isEmpty())
                return false;
            resolved.what = pWhat;
            resolved.contentDir = pathBytes(pDir);
            resolved.path = pHasPath ? resolved.contentDir : QByteArray();
            return true;
        };
        bool ok = false;
        switch (id->kind) {
        case Kind::Computer:
            ok = i == 0;
            resolved.what = Resolved::What::Computer;
            resolved.path.clear();
            resolved.contentDir.clear();
            break;
        case Kind::Home:
            ok = topLevel(Resolved::What::Home, pRoots.homeDir, true);
            break;
        case Kind::Documents:
            ok = topLevel(Resolved::What::Documents, pRoots.documentsDir, true);
            break;
        case Kind::Network:
            ok = topLevel(Resolved::What::Network, pRoots.networkDir, true);
            break;
        case Kind::Trash:
            ok = topLevel(Resolved::What::Trash, pRoots.trashDir, false);
            break;
        case Kind::Drive:
            // A drive lives under the Computer and nowhere else.
            ok = i == 1 && resolved.what == Resolved::What::Computer;
            resolved.what = Resolved::What::Drive;
            resolved.path = id->payload.toByteArray();
            resolved.contentDir = resolved.path;
            resolved.driveMount = resolved.path;
            break;
        case Kind::Entry:
            ok = !resolved.contentDir.isEmpty();
            resolved.what = Resolved::What::Entry;
            resolved.path = rawfs::child(resolved.contentDir, id->payload);
            resolved.contentDir = resolved.path;
            break;
        }
        if (!ok)
            return std::nullopt;
        resolved.lastId = id;
    }
    return resolved;
}

// The sort key of one identifier among its siblings.
struct SiblingKey
{
    int rank = 0; // the Desktop's own entries first, in their fixed order
    bool folder = true;
    QString name; // entries: the file name; drives: the mount point
    uint8_t flags = 0;
};

int kindRank(Kind pKind)
{
    switch (pKind) {
    case Kind::Computer:
        return 0;
    case Kind::Home:
        return 1;
    case Kind::Documents:
        return 2;
    case Kind::Network:
        return 3;
    case Kind::Trash:
        return 4;
    case Kind::Drive:
        return 5;
    case Kind::Entry:
        return 6;
    }
    return 7;
}

SiblingKey keyOf(Kind pKind, uint8_t pFlags, QByteArrayView pPayload)
{
    SiblingKey key;
    key.rank = kindRank(pKind);
    key.flags = pFlags;
    key.folder = pKind != Kind::Entry || (pFlags & itemid::kFlagFolder) != 0;
    if (pKind == Kind::Entry || pKind == Kind::Drive)
        key.name = decodeFileName(pPayload.toByteArray());
    return key;
}

int compareKeys(const SiblingKey &pA, const SiblingKey &pB)
{
    if (pA.rank != pB.rank)
        return pA.rank < pB.rank ? -1 : 1;
    if (pA.folder != pB.folder)
        return pA.folder ? -1 : 1;
    if (const int byName = naturalCompare(pA.name, pB.name); byName != 0)
        return byName;
    if (pA.flags != pB.flags)
        return pA.flags < pB.flags ? -1 : 1;
    return 0;
}

size_t countAt(const ItemIdList *p)
{
    return static_cast<size_t>(p[0] | (p[1] << 8));
}

// Two sibling identifiers that differ in their bytes. Identifiers of another origin sort after
// ours, by their bytes, so that the order stays total.
int compareSiblings(const ItemIdList *pA, const ItemIdList *pB)
{
    const std::optional<Identifier> a = itemid::read(pA);
    const std::optional<Identifier> b = itemid::read(pB);
    if (a && b)
        return compareKeys(keyOf(a->kind, a->flags, a->payload),
                           keyOf(b->kind, b->flags, b->payload));
    if (a || b)
        return a ? -1 : 1;
    const size_t countA = countAt(pA);
    const size_t countB = countAt(pB);
    const int bytes = std::memcmp(pA, pB, std::min(countA, countB));
    if (bytes != 0)
        return bytes < 0 ? -1 : 1;
    return countA < countB ? -1 : (countA > countB ? 1 : 0);
}

QByteArray parentOf(const QByteArray &pPath)
{
    const qsizetype slash = pPath.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : pPath.left(slash);
}

bool isNetworkType(const QByteArray &pType)
{
    return pType.startsWith("nfs") || pType == "cifs" || pType == "smb3" || pType == "smbfs"
        || pType == "fuse.sshfs" || pType == "fuse.gvfsd-fuse" || pType == "fuse.rclone";
}

// "XDG_TEMPLATES_DIR" and the like from xdg-user-dirs' file; "" when unset or the home folder.
QString xdgUserDir(const QString &pConfigDir, const QByteArray &pKey)
{
    QFile file(QDir(pConfigDir).filePath(QStringLiteral("user-dirs.dirs")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString home = QDir::cleanPath(QDir::homePath());
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith(pKey + '='))
            continue;
        QString value = QFile::decodeName(line.mid(pKey.size() + 1));
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        value.replace(QStringLiteral("$HOME"), home);
        value = QDir::cleanPath(value);
        return value == home || !QDir::isAbsolutePath(value) ? QString() : value;
    }
    return {};
}

} // namespace

NamespaceRoots NamespaceRoots::fromSystem()
{
    NamespaceRoots roots;
    const QString home = QDir::cleanPath(QDir::homePath());
    roots.homeDir = home;
    roots.desktopDir = specialFolderPath(CSIDL_DESKTOP);
    if (roots.desktopDir.isEmpty()) {
        // Without a desktop folder the desktop shows the home folder's entries, as the XDG
        // rules have it.
        roots.desktopDir = home;
    }
    roots.documentsDir = specialFolderPath(CSIDL_PERSONAL);
    roots.picturesDir = specialFolderPath(CSIDL_MYPICTURES);
    roots.musicDir = specialFolderPath(CSIDL_MYMUSIC);
    roots.videosDir = specialFolderPath(CSIDL_MYVIDEO);
    roots.networkDir = specialFolderPath(CSIDL_NETHOOD);
    roots.configDir =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    roots.dataDir =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    roots.templatesDir = xdgUserDir(roots.configDir, QByteArrayLiteral("XDG_TEMPLATES_DIR"));
    roots.trashDir = QDir(roots.dataDir).filePath(QStringLiteral("Trash/files"));
    roots.mountTable = QStringLiteral("/proc/self/mounts");
    roots.mountPlaces = {QStringLiteral("/media"), QStringLiteral("/run/media"),
                         QStringLiteral("/mnt"),
                         QStringLiteral("/run/user/%1/gvfs").arg(::getuid())};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        roots.mountPlaces.append(QDir(runtime).filePath(QStringLiteral("gvfs")));
    roots.removablePlaces = {QStringLiteral("/media"), QStringLiteral("/run/media")};
    roots.labelDir = QStringLiteral("/dev/disk/by-label");
    return roots;
}

ShellNamespace::ShellNamespace(NamespaceRoots pRoots)
    : mRoots(std::move(pRoots))
    , mMounts(std::make_shared<MountCache>(mRoots))
{ }

const NamespaceRoots &ShellNamespace::roots() const
{
    return mRoots;
}

bool ShellNamespace::specialFolderLocation(int pCsidl, ItemIdList **pOut) const
{
    if (pOut == nullptr)
        return false;
    *pOut = nullptr;
    const auto single = [&](Kind pKind, const QString &pDir) {
        if (pKind != Kind::Computer && pKind != Kind::Trash && !rawfs::isDir(pathBytes(pDir)))
            return false;
        itemid::ListBuilder builder;
        builder.append(pKind, itemid::kFlagFolder, {});
        *pOut = builder.take();
        return *pOut != nullptr;
    };
    const auto folder = [&](const QString &pDir) {
        return !pDir.isEmpty() && rawfs::isDir(pathBytes(pDir)) && parseDisplayName(pDir, pOut);
    };
    const auto under = [&](const QString &pBase, const char *pName) {
        return !pBase.isEmpty() && folder(QDir(pBase).filePath(QString::fromLatin1(pName)));
    };
    switch (pCsidl) {
    case CSIDL_DESKTOP:
        *pOut = idlist::empty();
        return *pOut != nullptr;
    case CSIDL_DRIVES:
        return single(Kind::Computer, {});
    case CSIDL_PERSONAL:
    case CSIDL_MYDOCUMENTS:
        return single(Kind::Documents, mRoots.documentsDir);
    case CSIDL_PROFILE:
        return single(Kind::Home, mRoots.homeDir);
    case CSIDL_NETWORK:
        return single(Kind::Network, mRoots.networkDir);
    case CSIDL_BITBUCKET:
        return single(Kind::Trash, {});
    case CSIDL_DESKTOPDIRECTORY:
        return folder(mRoots.desktopDir);
    case CSIDL_NETHOOD:
        return folder(mRoots.networkDir);
    case CSIDL_MYPICTURES:
        return folder(mRoots.picturesDir);
    case CSIDL_MYMUSIC:
        return folder(mRoots.musicDir);
    case CSIDL_MYVIDEO:
        return folder(mRoots.videosDir);
    case CSIDL_TEMPLATES:
        return folder(mRoots.templatesDir);
    case CSIDL_APPDATA:
        return folder(mRoots.configDir);
    case CSIDL_LOCAL_APPDATA:
        return folder(mRoots.dataDir);
    case CSIDL_STARTUP:
        return under(mRoots.configDir, "autostart");
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return under(mRoots.dataDir, "applications");
    case CSIDL_FONTS:
        return under(mRoots.dataDir, "fonts");
    default:
        // The internet, the control panel, printers, favourites, recent documents, "send to",
        // the common (all users) folders, cookies, history, the system folders: nothing here
        // stands for them.
        return false;
    }
}

bool ShellNamespace::parseDisplayName(const QString &pPath, ItemIdList **pOut) const
{
    if (pOut == nullptr)
        return false;
    *pOut = nullptr;
    if (!pPath.startsWith(u'/') || pPath.contains(QChar(u'\0')))
        return false;

    // Resolve "." and ".." by name, as the text says, not through symlinks.
    std::vector<QByteArray> parts;
    for (const QByteArray &part : encodeFileName(pPath).split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    QByteArray clean = "/";
    for (const QByteArray &part : parts)
        clean = rawfs::child(clean, part);

    const std::shared_ptr<const MountSnapshot> mounts = mMounts->snapshot();
    const MountEntry *drive = MountTable::containing(mounts->drives, clean);
    if (drive == nullptr)
        return false;
    const size_t mountLevels =
        drive->mountPoint == "/" ? 0 : static_cast<size_t>(drive->mountPoint.count('/'));

    itemid::ListBuilder builder;
    if (!builder.append(Kind::Computer, itemid::kFlagFolder, {})
        || !builder.append(Kind::Drive, itemid::kFlagFolder, drive->mountPoint))
        return false;
    QByteArray current = drive->mountPoint;
    for (size_t i = mountLevels; i < parts.size(); ++i) {
        current = rawfs::child(current, parts[i]);
        const rawfs::Status status = rawfs::status(current);
        if (!status.exists
            || !builder.append(Kind::Entry, status.isDir ? itemid::kFlagFolder : 0, parts[i]))
            return false;
    }
    *pOut = builder.take();
    return *pOut != nullptr;
}

QString ShellNamespace::pathFromIdList(const ItemIdList *pAbsolute) const
{
    const std::optional<Resolved> resolved = resolve(mRoots, pAbsolute);
    if (!resolved || resolved->path.isEmpty())
        return {};
    return decodeFileName(resolved->path);
}

QString ShellNamespace::displayNameOf(const ItemIdList *pAbsolute) const
{
    const std::optional<Resolved> resolved = resolve(mRoots, pAbsolute);
    if (!resolved)
        return {};
    switch (resolved->what) {
    case Resolved::What::Desktop:
        return QStringLiteral("Desktop");
    case Resolved::What::Computer:
        return QStringLiteral("Computer");
    case Resolved::What::Home:
        return QStringLiteral("Home");
    case Resolved::What::Documents:
        return displayFileName(decodeFileName(rawfs::baseName(resolved->path)));
    case Resolved::What::Network:
        return QStringLiteral("Network");
    case Resolved::What::Trash:
        return QStringLiteral("Trash");
    case Resolved::What::Drive: {
        if (resolved->path == "/")
            return QStringLiteral("File System");
        const std::shared_ptr<const MountSnapshot> mounts = mMounts->snapshot();
        if (const MountEntry *entry = mounts->entryAt(resolved->path)) {
            const QString label = MountTable::volumeLabel(mRoots.labelDir, entry->device);
            if (!label.isEmpty())
                return label;
        }
        return displayFileName(decodeFileName(rawfs::baseName(resolved->path)));
    }
    case Resolved::What::Entry:
        return displayFileName(decodeFileName(resolved->lastId->payload.toByteArray()));
    }
    return {};
}

uint32_t ShellNamespace::attributesOf(const ItemIdList *pAbsolute, uint32_t pMask) const
{
    const std::optional<Resolved> resolved = resolve(mRoots, pAbsolute);
    if (!resolved)
        return 0;
    constexpr uint32_t kBrowsableFolder = SFGAO_FOLDER | SFGAO_BROWSABLE;
    const uint32_t wanted = pMask & ~SFGAO_VALIDATE; // a request, never an answer
    uint32_t attributes = 0;
    switch (resolved->what) {
    case Resolved::What::Desktop:
        attributes = kBrowsableFolder | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR
            | SFGAO_HASSUBFOLDER | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET;
        return attributes & wanted;
    case Resolved::What::Computer:
        // Not in the file system, but the file system lies below it; "/" is always a drive.
        attributes =
            kBrowsableFolder | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER | SFGAO_HASPROPSHEET;
        return attributes & wanted;
    case Resolved::What::Trash:
        attributes = kBrowsableFolder | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET;
        if ((wanted & SFGAO_HASSUBFOLDER) != 0 && rawfs::hasSubfolder(resolved->contentDir))
            attributes |= SFGAO_HASSUBFOLDER;
        return attributes & wanted;
    default:
        break;
    }

    const bool isEntry = resolved->what == Resolved::What::Entry;
    const bool hiddenName = isEntry && resolved->lastId->payload.startsWith('.');
    const rawfs::Status status = rawfs::status(resolved->path);
    if (!status.exists) {
        if ((pMask & SFGAO_VALIDATE) != 0)
            return 0;
        // Gone since the identifier was made: report what the identifier itself says.
        const bool folder = !isEntry || resolved->lastId->isFolder();
        attributes = SFGAO_FILESYSTEM | (folder ? kBrowsableFolder | SFGAO_FILESYSANCESTOR : 0)
            | (hiddenName ? SFGAO_HIDDEN : 0);
        return attributes & wanted;
    }

    attributes = SFGAO_FILESYSTEM | SFGAO_CANLINK | SFGAO_HASPROPSHEET;
    if (status.isDir) {
        attributes |= kBrowsableFolder | SFGAO_FILESYSANCESTOR;
        if (status.writable)
            attributes |= SFGAO_DROPTARGET;
        if ((wanted & SFGAO_HASSUBFOLDER) != 0 && rawfs::hasSubfolder(resolved->path))
            attributes |= SFGAO_HASSUBFOLDER;
    }
    if (status.isLink)
        attributes |= SFGAO_LINK;
    if (!status.writable)
        attributes |= SFGAO_READONLY;
    if (hiddenName)
        attributes |= SFGAO_HIDDEN;
    if (isEntry) {
        attributes |= SFGAO_CANCOPY;
        // Moving, renaming and deleting change the folder that holds the entry.
        if ((wanted & (SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE)) != 0
            && rawfs::writable(parentOf(resolved->path)))
            attributes |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
    }
    if ((wanted & SFGAO_REMOVABLE) != 0) {
        QByteArray mountPoint = resolved->driveMount;
        if (mountPoint.isEmpty()) {
            const std::shared_ptr<const MountSnapshot> mounts = mMounts->snapshot();
            if (const MountEntry *drive = MountTable::containing(mounts->drives, resolved->path))
                mountPoint = drive->mountPoint;
        }
        if (!mountPoint.isEmpty() && MountTable::isRemovable(mRoots, mountPoint))
            attributes |= SFGAO_REMOVABLE;
    }
    return attributes & wanted;
}

int ShellNamespace::compareIds(const ItemIdList *pA, const ItemIdList *pB) const
{
    const int levelA = idlist::level(pA);
    const int levelB = idlist::level(pB);
    const ItemIdList *a = pA;
    const ItemIdList *b = pB;
    for (int i = 0; i < std::min(levelA, levelB); ++i) {
        const size_t count = countAt(a);
        if (count != countAt(b) || std::memcmp(a, b, count) != 0)
            return compareSiblings(a, b);
        a += count;
        b += count;
    }
    return levelA < levelB ? -1 : (levelA > levelB ? 1 : 0);
}

std::vector<ItemIdList *> ShellNamespace::enumChildren(const ItemIdList *pFolder,
                                                       uint32_t pFlags) const
{
    std::vector<ItemIdList *> result;
    const std::optional<Resolved> resolved = resolve(mRoots, pFolder);
    if (!resolved)
        return result;
    const bool folders = (pFlags & SHCONTF_FOLDERS) != 0;
    const bool files = (pFlags & SHCONTF_NONFOLDERS) != 0;
    const bool hidden = (pFlags & SHCONTF_INCLUDEHIDDEN) != 0;

    struct Child
    {
        Kind kind;
        uint8_t flags;
        QByteArray payload;
        SiblingKey key;
    };
    std::vector<Child> children;
    const auto add = [&](Kind pKind, uint8_t pIdFlags, QByteArray pPayload) {
        SiblingKey key = keyOf(pKind, pIdFlags, pPayload);
        children.push_back(Child{pKind, pIdFlags, std::move(pPayload), std::move(key)});
    };

    if (resolved->what == Resolved::What::Desktop && folders) {
        add(Kind::Computer, itemid::kFlagFolder, {});
        if (rawfs::isDir(pathBytes(mRoots.homeDir)))
            add(Kind::Home, itemid::kFlagFolder, {});
        if (rawfs::isDir(pathBytes(mRoots.documentsDir)))
            add(Kind::Documents, itemid::kFlagFolder, {});
        if (rawfs::isDir(pathBytes(mRoots.networkDir)))
            add(Kind::Network, itemid::kFlagFolder, {});
        add(Kind::Trash, itemid::kFlagFolder, {});
    }
    if (resolved->what == Resolved::What::Computer) {
        if (folders) {
            for (const MountEntry &drive : mMounts->snapshot()->drives)
                add(Kind::Drive, itemid::kFlagFolder, drive.mountPoint);
        }
    } else if (!resolved->contentDir.isEmpty()) {
        std::vector<rawfs::Entry> entries;
        rawfs::list(resolved->contentDir, entries);
        for (rawfs::Entry &entry : entries) {
            if ((entry.isDir ? !folders : !files) || (!hidden && entry.name.startsWith('.')))
                continue;
            add(Kind::Entry, entry.isDir ? itemid::kFlagFolder : 0, std::move(entry.name));
        }
    }

    std::sort(children.begin(), children.end(),
              [](const Child &pA, const Child &pB) { return compareKeys(pA.key, pB.key) < 0; });
    result.reserve(children.size());
    for (const Child &child : children) {
        itemid::ListBuilder builder(pFolder);
        if (!builder.append(child.kind, child.flags, child.payload))
            continue; // a name too long for an identifier cannot be shown
        if (ItemIdList *list = builder.take())
            result.push_back(list);
    }
    return result;
}

QIcon ShellNamespace::smallIcon(const ItemIdList *pAbsolute, bool pOpen) const
{
    using Type = QAbstractFileIconProvider::IconType;
    if (!namespaceicons::available())
        return {};
    const std::optional<Resolved> resolved = resolve(mRoots, pAbsolute);
    if (!resolved)
        return {};
    switch (resolved->what) {
    case Resolved::What::Desktop:
        return namespaceicons::themed({"user-desktop", "folder"}, Type::Desktop);
    case Resolved::What::Computer:
        return namespaceicons::themed({"computer"}, Type::Computer);
    case Resolved::What::Home:
        return namespaceicons::themed({"user-home", "folder"}, Type::Folder);
    case Resolved::What::Documents:
        return namespaceicons::themed({"folder-documents", "folder"}, Type::Folder);
    case Resolved::What::Network:
        return namespaceicons::themed({"network-workgroup", "folder-remote"}, Type::Network);
    case Resolved::What::Trash:
        return rawfs::hasEntries(resolved->contentDir)
            ? namespaceicons::themed({"user-trash-full", "user-trash"}, Type::Trashcan)
            : namespaceicons::themed({"user-trash"}, Type::Trashcan);
    case Resolved::What::Drive: {
        if (MountTable::isRemovable(mRoots, resolved->path))
            return namespaceicons::themed({"drive-removable-media", "drive-harddisk"}, Type::Drive);
        const std::shared_ptr<const MountSnapshot> mounts = mMounts->snapshot();
        const MountEntry *entry = mounts->entryAt(resolved->path);
        if (entry && isNetworkType(entry->type))
            return namespaceicons::themed({"folder-remote", "network-server"}, Type::Network);
        return namespaceicons::themed({"drive-harddisk"}, Type::Drive);
    }
    case Resolved::What::Entry:
        break;
    }
    const QString path = decodeFileName(resolved->path);
    const rawfs::Status status = rawfs::status(resolved->path);
    const bool folder = status.exists ? status.isDir : resolved->lastId->isFolder();
    if (!folder)
        return namespaceicons::forFile(path);
    // The user's own places keep their icons wherever they are met.
    const std::pair<const QString *, const char *> places[] = {
        {&mRoots.desktopDir, "user-desktop"},       {&mRoots.homeDir, "user-home"},
        {&mRoots.documentsDir, "folder-documents"}, {&mRoots.picturesDir, "folder-pictures"},
        {&mRoots.musicDir, "folder-music"},         {&mRoots.videosDir, "folder-videos"},
        {&mRoots.templatesDir, "folder-templates"}, {&mRoots.networkDir, "folder-remote"}};
    for (const auto &[place, name] : places) {
        if (!place->isEmpty() && pathBytes(*place) == resolved->path)
            return namespaceicons::themed({name, "folder"}, Type::Folder);
    }
    if (pOpen)
        return namespaceicons::themed({"folder-open", "folder"}, Type::Folder);
    return namespaceicons::themed({"folder"}, Type::Folder);
}

std::vector<QString> ShellNamespace::drives() const
{
    std::vector<QString> result;
    for (const MountEntry &drive : mMounts->snapshot()->drives)
        result.push_back(decodeFileName(drive.mountPoint));
    return result;
}

} // namespace pindrel::platform
