#pragma once

// The shell namespace over the file system: the Desktop (the empty identifier list) holds the
// Computer, the user's home and documents, the network places, the trash and the entries of the
// desktop directory; the Computer holds the drives (the mounted file systems a user cares
// about); a drive, and every folder, holds its directory entries.
//
// Identifiers are this layer's own encoding: a kind byte, a flag byte and a payload. Desktop
// children other than file-system entries carry only their kind; a drive carries its mount
// point; a file-system entry carries the raw bytes of its file name (so names that are not
// valid UTF-8 survive) and whether it was a folder when the identifier was made.
//
// Paths are QStrings in which file-name bytes that are not valid UTF-8 appear as the lone
// surrogates U+DC80..U+DCFF (see filenamecodec.h); parseDisplayName turns them back into the
// same bytes, so such names round-trip. Display names show them as U+FFFD instead.
//
// All methods are const and thread-safe: one object may be used from several threads. The
// mount table is read on every call that needs it, so mounts and unmounts show without a
// refresh; it is parsed again only when its text changed (copies of a namespace share that
// parsed table).

#include "platform/idlist.h"
#include "platform/platformexport.h"
#include "platform/shellfolders.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtGui/QIcon>

#include <cstdint>
#include <memory>
#include <vector>

namespace pindrel::platform {

class MountCache;

// Where the namespace is rooted. Tests point every member at a sandbox.
struct PINDREL_PLATFORM_EXPORT NamespaceRoots
{
    QString desktopDir; // the Desktop's folder (its children come from here)
    QString homeDir;
    QString documentsDir; // "" = none (the desktop shows no documents entry)
    QString trashDir; // the trash's files folder
    QString networkDir; // "" = none (no network entry)
    QString mountTable; // a /proc/self/mounts-format file
    // Folders under which (or at which) a mount counts as a drive; "/" and "/home" always do.
    QStringList mountPlaces;
    // Folders under which a mount counts as removable.
    QStringList removablePlaces;
    QString labelDir; // volume labels: symlinks named by label pointing at the device
    // Further places for special folders ("" = none).
    QString picturesDir, musicDir, videosDir, templatesDir;
    QString configDir; // $XDG_CONFIG_HOME (application data; "autostart" under it)
    QString dataDir; // $XDG_DATA_HOME ("applications" and "fonts" under it)

    // The running account: XDG user folders, /proc/self/mounts, ~/.local/share/Trash/files,
    // $XDG_RUNTIME_DIR/gvfs, /media, /run/media, /mnt and /run/user/<uid>/gvfs,
    // /dev/disk/by-label.
    static NamespaceRoots fromSystem();
};

// Attribute bits, with the values of the shell's published flags.
inline constexpr uint32_t SFGAO_CANCOPY = 0x1;
inline constexpr uint32_t SFGAO_CANMOVE = 0x2;
inline constexpr uint32_t SFGAO_CANLINK = 0x4;
inline constexpr uint32_t SFGAO_CANRENAME = 0x10;
inline constexpr uint32_t SFGAO_CANDELETE = 0x20;
inline constexpr uint32_t SFGAO_HASPROPSHEET = 0x40;
inline constexpr uint32_t SFGAO_DROPTARGET = 0x100;
inline constexpr uint32_t SFGAO_CAPABILITYMASK = 0x177;
inline constexpr uint32_t SFGAO_LINK = 0x10000;
inline constexpr uint32_t SFGAO_SHARE = 0x20000;
inline constexpr uint32_t SFGAO_READONLY = 0x40000;
inline constexpr uint32_t SFGAO_GHOSTED = 0x80000;
inline constexpr uint32_t SFGAO_HIDDEN = 0x80000;
inline constexpr uint32_t SFGAO_DISPLAYATTRMASK = 0xF0000;
inline constexpr uint32_t SFGAO_NONENUMERATED = 0x100000;
inline constexpr uint32_t SFGAO_NEWCONTENT = 0x200000;
inline constexpr uint32_t SFGAO_VALIDATE = 0x1000000;
inline constexpr uint32_t SFGAO_REMOVABLE = 0x2000000;
inline constexpr uint32_t SFGAO_COMPRESSED = 0x4000000;
inline constexpr uint32_t SFGAO_BROWSABLE = 0x8000000;
inline constexpr uint32_t SFGAO_FILESYSANCESTOR = 0x10000000;
inline constexpr uint32_t SFGAO_FOLDER = 0x20000000;
inline constexpr uint32_t SFGAO_FILESYSTEM = 0x40000000;
inline constexpr uint32_t SFGAO_HASSUBFOLDER = 0x80000000;
inline constexpr uint32_t SFGAO_CONTENTSMASK = 0x80000000;

enum EnumFlags : uint32_t {
    SHCONTF_FOLDERS = 0x20,
    SHCONTF_NONFOLDERS = 0x40,
    SHCONTF_INCLUDEHIDDEN = 0x80,
};

// Special-folder numbers (CSIDL) understood by specialFolderLocation, beyond those of
// shellfolders.h.
inline constexpr int CSIDL_PROGRAMS = 2; // $XDG_DATA_HOME/applications
inline constexpr int CSIDL_STARTUP = 7; // $XDG_CONFIG_HOME/autostart
inline constexpr int CSIDL_BITBUCKET = 10; // the trash
inline constexpr int CSIDL_STARTMENU = 11; // $XDG_DATA_HOME/applications
inline constexpr int CSIDL_DRIVES = 17; // the Computer
inline constexpr int CSIDL_NETWORK = 18; // the network places
inline constexpr int CSIDL_FONTS = 20; // $XDG_DATA_HOME/fonts
inline constexpr int CSIDL_TEMPLATES = 21; // the XDG templates folder

class PINDREL_PLATFORM_EXPORT ShellNamespace
{
public:
    explicit ShellNamespace(NamespaceRoots pRoots = NamespaceRoots::fromSystem());

    const NamespaceRoots &roots() const;

    // All returned lists are new; the caller frees them with idlist::free. False/nullptr on
    // failure, with *pOut set to nullptr.

    // The absolute list of special folder pCsidl: 0 the Desktop, 17 the Computer, 5 and 12 the
    // documents entry, 40 the home entry, 18 the network entry, 10 the trash; the folders of
    // the other places (desktop directory 16, pictures 39, music 13, videos 14, templates 21,
    // application data 26, local application data 28, network folder 19, programs 2, start
    // menu 11, startup 7, fonts 20) as their parsed paths. False ("no such folder") for numbers
    // without a counterpart here and for places that do not exist.
    bool specialFolderLocation(int pCsidl, ItemIdList **pOut) const;

    // An absolute path of an existing object to its absolute list through the Computer and the
    // drive with the longest mount point containing it. "." and ".." are resolved by name, a
    // trailing separator is ignored. False for a relative, empty or missing path.
    bool parseDisplayName(const QString &pPath, ItemIdList **pOut) const;

    // The file-system path of an absolute list: the desktop directory for the Desktop; "" when
    // the object has none (the Computer, the trash) or the list is malformed.
    QString pathFromIdList(const ItemIdList *pAbsolute) const;

    // The object's name within its parent: "Desktop", "Computer", "Home", the documents
    // folder's name, "Network", "Trash", a drive's label or mount point name ("File System"
    // for "/"), a file's name. "" for a malformed list.
    QString displayNameOf(const ItemIdList *pAbsolute) const;

    // The attributes of the object among the bits of pMask:
    // - every folder: Folder, Browsable (a file list can show it in place), HasSubfolder when
    //   asked for (a look that stops at the first subdirectory);
    // - the Desktop, home, documents, network folder, drives and their entries: FileSys, and
    //   FilesysAncestor for folders; the Computer: FilesysAncestor only; the trash: neither
    //   (it is virtual; its entries are in the file system);
    // - ReadOnly: not writable by this process, or without any write permission bit; Link: a
    //   symbolic link; Hidden: a name starting with '.'; Removable: on (or being) a mount
    //   under roots.removablePlaces; CanCopy, CanLink, HasPropSheet for file-system objects,
    //   CanMove, CanRename, CanDelete when the parent folder is writable, DropTarget for
    //   writable folders;
    // - Share is never reported (this layer does not know the desktop's sharing).
    // With Validate in pMask, an object that no longer exists gives 0; without it, a vanished
    // file-system object reports what its identifier says (Folder, FileSys, FilesysAncestor
    // for folders, Hidden for dot names). Validate itself is never part of the result.
    uint32_t attributesOf(const ItemIdList *pAbsolute, uint32_t pMask) const;

    // Orders two absolute lists: identifier by identifier from the top, the first difference
    // decides (a parent before its descendants). Among siblings: the Desktop's own entries in
    // the order Computer, Home, Documents, Network, Trash; then folders before files; then
    // names, natural ("a2" < "a10") and case-insensitive, with the raw bytes as the last
    // word, so that 0 means the same object. Drives order by mount point the same way.
    int compareIds(const ItemIdList *pA, const ItemIdList *pB) const;

    // The children of a folder as new absolute lists, sorted with compareIds. pFlags combines
    // EnumFlags: folders, non-folders, hidden (dot) entries. Empty for a file, a missing
    // folder or an unreadable one.
    std::vector<ItemIdList *> enumChildren(const ItemIdList *pFolder, uint32_t pFlags) const;

    // The object's small icon from the icon theme and the MIME database (pOpen: a folder's
    // open icon), falling back to the icon provider's icons. A null icon when no
    // QGuiApplication exists. Call it from the GUI thread only.
    QIcon smallIcon(const ItemIdList *pAbsolute, bool pOpen = false) const;

    // Mount points shown under the Computer, in their order ("/" first).
    std::vector<QString> drives() const;

private:
    NamespaceRoots mRoots;
    std::shared_ptr<MountCache> mMounts;
};

} // namespace pindrel::platform
