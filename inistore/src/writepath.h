#pragma once

// Where a write to a path really goes (Linux only): the path with every symbolic link on the
// way followed, so that the file a link stands for is replaced and the link itself stays.
//
// A link is followed only where the kernel's protection of links in shared folders would
// follow it: in a folder that everyone may write to and that has the sticky bit (such as /tmp),
// only a link owned by the caller or by the folder's owner. That protection is applied whatever
// the system's own setting of it, since a program that writes settings must not be steered into
// another user's files. A dangling link leads to the file it names, which the write creates.

#include <string>

namespace txini {

struct WritePath
{
    std::string path; // absolute, no link in it except in parts that do not exist yet
    int error = 0; // 0, or the errno of the failure: EPERM for a link that is not followed,
                   // ELOOP for too many links, ENOENT for a folder on the way that is missing
};

WritePath resolveWritePath(const std::string &pPath);

} // namespace txini
