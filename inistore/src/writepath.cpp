#include "writepath.h"

#include <cerrno>
#include <climits>
#include <deque>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace txini {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaximumLinks = 40;

void pushComponents(std::string_view pPath, std::deque<std::string> &pPending)
{
    // In front of what is still pending, in order.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= pPath.size()) {
        const size_t slash = pPath.find('/', start);
        const size_t end = slash == std::string_view::npos ? pPath.size() : slash;
        if (end > start)
            parts.emplace_back(pPath.substr(start, end - start));
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    pPending.insert(pPending.begin(), parts.begin(), parts.end());
}

std::string parentOf(const std::string &pPath)
{
    const size_t slash = pPath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : pPath.substr(0, slash);
}

std::string joined(const std::string &pFolder, const std::string &pName)
{
    return pFolder == "/" ? "/" + pName : pFolder + "/" + pName;
}

// The kernel's rule for links in sticky folders open to everyone.
bool mayFollow(const struct stat &pLink, const std::string &pFolder)
{
    if (pLink.st_uid == ::geteuid())
        return true;
    struct stat folder = {};
    if (::stat(pFolder.c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || folder.st_uid == pLink.st_uid;
}

} // namespace

WritePath resolveWritePath(const std::string &pPath)
{
    WritePath result;
    if (pPath.empty()) {
        result.error = ENOENT;
        return result;
    }
    std::string resolved = "/";
    if (pPath.front() != '/') {
        char current[PATH_MAX];
        if (::getcwd(current, sizeof current) == nullptr) {
            result.error = errno;
            return result;
        }
        resolved = current;
    }
    std::deque<std::string> pending;
    pushComponents(pPath, pending);
    int links = 0;
    while (!pending.empty()) {
        const std::string name = std::move(pending.front());
        pending.pop_front();
        if (name == ".")
            continue;
        if (name == "..") {
            resolved = parentOf(resolved);
            continue;
        }
        const std::string candidate = joined(resolved, name);
        struct stat info = {};
        if (::lstat(candidate.c_str(), &info) != 0) {
            if (errno == ENOENT && pending.empty()) {
                resolved = candidate; // the file the write creates
                break;
            }
            result.error = errno;
            return result;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = candidate;
            continue;
        }
        if (!mayFollow(info, resolved)) {
            result.error = EPERM;
            return result;
        }
        if (++links > kMaximumLinks) {
            result.error = ELOOP;
            return result;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(candidate.c_str(), target, sizeof target);
        if (length < 0 || static_cast<size_t>(length) >= sizeof target) {
            result.error = length < 0 ? errno : ENAMETOOLONG;
            return result;
        }
        const std::string_view text(target, static_cast<size_t>(length));
        if (!text.empty() && text.front() == '/')
            resolved = "/";
        pushComponents(text, pending);
    }
    result.path = std::move(resolved);
    return result;
}

} // namespace txini
