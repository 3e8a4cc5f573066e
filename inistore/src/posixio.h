#pragma once

// Small pieces of POSIX file access the engine's file handling shares (Linux only).

#include <cstdint>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace txini::posix {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int pFd = -1)
        : m_fd(pFd)
    { }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    void reset(int pFd = -1);

private:
    int m_fd;
};

// The whole content from offset 0, whatever the descriptor's position. False on a read error.
bool readAll(int pFd, uint64_t pSizeHint, std::string &pBytes);
// All of pBytes at pOffset. False on a write error (errno tells).
bool writeAll(int pFd, std::string_view pBytes, off_t pOffset);
// Makes the file hold exactly pBytes, on disk: written from the start, cut to its size, flushed.
bool rewrite(int pFd, std::string_view pBytes);
// Flushes a folder, so that a rename or a new name in it is on disk too.
void syncFolder(const std::string &pFolder);

} // namespace txini::posix
