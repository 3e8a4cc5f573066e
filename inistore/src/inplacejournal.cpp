#include "inplacejournal.h"

#include "posixio.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace txini {

namespace {

constexpr std::string_view kMagic = "txini-journal 1 ";

// FNV-1a, 64 bits: enough to tell a record cut short by a power cut from a whole one.
uint64_t checksum(std::string_view pFirst, std::string_view pSecond)
{
    uint64_t hash = 14695981039346656037ULL;
    for (const std::string_view part : {pFirst, pSecond}) {
        for (const char c : part)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

std::string absoluteVariable(const char *pName)
{
    const char *value = std::getenv(pName);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

bool isFolder(const std::string &pPath)
{
    struct stat info = {};
    return ::stat(pPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The journal folder by the environment alone, so that every process of the user picks the
// same one.
std::string journalFolder()
{
    if (const std::string state = absoluteVariable("XDG_STATE_HOME"); !state.empty())
        return state + "/txini";
    if (const std::string home = absoluteVariable("HOME"); !home.empty() && isFolder(home))
        return home + "/.local/state/txini";
    if (const std::string runtime = absoluteVariable("XDG_RUNTIME_DIR"); !runtime.empty())
        return runtime + "/txini";
    // A user without a home (a service): a folder of its own among the temporary files, used
    // only while nobody else has taken its name (see isPrivate).
    std::string temporary = absoluteVariable("TMPDIR");
    if (temporary.empty())
        temporary = "/tmp";
    return temporary + "/txini-" + std::to_string(::geteuid());
}

// Makes pPath and the folders above it that are missing, private to the user.
void makeFolders(const std::string &pPath)
{
    for (size_t slash = pPath.find('/', 1); slash != std::string::npos;
         slash = pPath.find('/', slash + 1))
        ::mkdir(pPath.substr(0, slash).c_str(), 0700);
    ::mkdir(pPath.c_str(), 0700);
}

// Ours alone: not a link, owned by us, writable by nobody else.
bool isPrivate(const struct stat &pInfo)
{
    return pInfo.st_uid == ::geteuid() && (pInfo.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Whether pCurrent is what a rewrite from pOld to pNew can leave behind when cut short: each
// byte the old or the new one at its place (or nothing yet, in a part the rewrite was adding),
// and a size between the two.
bool isBetween(std::string_view pCurrent, std::string_view pOld, std::string_view pNew)
{
    const size_t size = pCurrent.size();
    if (size < std::min(pOld.size(), pNew.size()) || size > std::max(pOld.size(), pNew.size()))
        return false;
    for (size_t i = 0; i < size; ++i) {
        const char c = pCurrent[i];
        const bool asNew = i < pNew.size() && c == pNew[i];
        const bool asOld = i < pOld.size() ? c == pOld[i] : c == '\0';
        if (!asNew && !asOld)
            return false;
    }
    return true;
}

} // namespace

InPlaceJournal::InPlaceJournal(uint64_t pDevice, uint64_t pInode)
    : m_device(pDevice)
    , m_inode(pInode)
{ }

std::string InPlaceJournal::folder(bool pCreate)
{
    std::string folder = journalFolder();
    if (pCreate)
        makeFolders(folder);
    struct stat info = {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || !isPrivate(info))
        return {};
    return folder;
}

std::string InPlaceJournal::recordPath() const
{
    const std::string folder = InPlaceJournal::folder(false);
    if (folder.empty())
        return {};
    char name[64];
    std::snprintf(name, sizeof name, "/%llx-%llx.journal",
                  static_cast<unsigned long long>(m_device),
                  static_cast<unsigned long long>(m_inode));
    return folder + name;
}

bool InPlaceJournal::begin(std::string_view pOld, std::string_view pNew)
{
    const std::string folder = InPlaceJournal::folder(true);
    if (folder.empty())
        return false;
    const std::string record = recordPath();
    std::string temporary = folder + "/.record-XXXXXX";
    posix::Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a chain of concatenations.
    std::string header(kMagic);
    header += std::to_string(pOld.size());
    header += ' ';
    header += std::to_string(pNew.size());
    header += ' ';
    header += std::to_string(checksum(pOld, pNew));
    header += '\n';
    const bool written = posix::writeAll(fd.get(), header, 0)
        && posix::writeAll(fd.get(), pOld, static_cast<off_t>(header.size()))
        && posix::writeAll(fd.get(), pNew, static_cast<off_t>(header.size() + pOld.size()))
        && ::fsync(fd.get()) == 0;
    fd.reset();
    if (!written || ::rename(temporary.c_str(), record.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The record's name must be on disk before the file is touched.
    posix::syncFolder(folder);
    return true;
}

void InPlaceJournal::finish()
{
    const std::string record = recordPath();
    if (!record.empty())
        ::unlink(record.c_str());
}

bool InPlaceJournal::exists() const
{
    const std::string record = recordPath();
    struct stat info = {};
    return !record.empty() && ::lstat(record.c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && isPrivate(info);
}

std::optional<std::pair<std::string, std::string>> InPlaceJournal::readRecord() const
{
    const std::string record = recordPath();
    if (record.empty())
        return std::nullopt;
    posix::Descriptor fd(::open(record.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info = {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || !isPrivate(info))
        return std::nullopt;
    std::string bytes;
    if (!posix::readAll(fd.get(), static_cast<uint64_t>(info.st_size), bytes))
        return std::nullopt;

    // "txini-journal 1 <old size> <new size> <checksum>\n", then the old and the new content.
    const std::string_view text(bytes);
    const size_t end = text.find('\n');
    if (text.substr(0, kMagic.size()) != kMagic || end == std::string_view::npos)
        return std::nullopt;
    uint64_t sizes[3] = {};
    const char *at = text.data() + kMagic.size();
    const char *const headerEnd = text.data() + end;
    for (uint64_t &number : sizes) {
        const auto [next, error] = std::from_chars(at, headerEnd, number);
        if (error != std::errc())
            return std::nullopt;
        at = next < headerEnd && *next == ' ' ? next + 1 : next;
    }
    const std::string_view body = text.substr(end + 1);
    if (at != headerEnd || body.size() != sizes[0] + sizes[1])
        return std::nullopt;
    const std::string_view oldContent = body.substr(0, sizes[0]);
    const std::string_view newContent = body.substr(sizes[0]);
    if (checksum(oldContent, newContent) != sizes[2])
        return std::nullopt;
    return std::make_pair(std::string(oldContent), std::string(newContent));
}

std::optional<std::string> InPlaceJournal::pendingContent(std::string_view pCurrent) const
{
    auto record = readRecord();
    if (!record || !isBetween(pCurrent, record->first, record->second))
        return std::nullopt;
    return std::move(record->second);
}

} // namespace txini
