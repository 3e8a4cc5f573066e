#pragma once

// Owner of an xcb reply: xcb hands replies out with malloc, so they go back with free. Not part
// of the library's surface.

#include <cstdlib>
#include <memory>

namespace pindrel::platform {

struct XcbReplyDeleter
{
    void operator()(void *pReply) const { std::free(pReply); }
};

template<typename T>
using Reply = std::unique_ptr<T, XcbReplyDeleter>;

} // namespace pindrel::platform
