#include "posixio.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace txini::posix {

void Descriptor::reset(int pFd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = pFd;
}

bool readAll(int pFd, uint64_t pSizeHint, std::string &pBytes)
{
    pBytes.clear();
    pBytes.reserve(static_cast<size_t>(pSizeHint));
    char chunk[65536];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(pFd, chunk, sizeof chunk, offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        pBytes.append(chunk, static_cast<size_t>(got));
        offset += got;
    }
}

bool writeAll(int pFd, std::string_view pBytes, off_t pOffset)
{
    size_t done = 0;
    while (done < pBytes.size()) {
        const ssize_t put = ::pwrite(pFd, pBytes.data() + done, pBytes.size() - done,
                                     pOffset + static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

bool rewrite(int pFd, std::string_view pBytes)
{
    return writeAll(pFd, pBytes, 0) && ::ftruncate(pFd, static_cast<off_t>(pBytes.size())) == 0
        && ::fsync(pFd) == 0;
}

void syncFolder(const std::string &pFolder)
{
    Descriptor folder(::open(pFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

} // namespace txini::posix
