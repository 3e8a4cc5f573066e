#include "modulepath.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <filesystem>
#include <vector>

namespace txini {

namespace {

// Any address inside this module identifies it to the loader.
void moduleAnchor() { }

#ifdef _WIN32
std::string moduleFile()
{
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&moduleAnchor), &module))
        return {};
    // GetModuleFileNameA fills the buffer completely when the name is cut: grow until it fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}
#else
std::string moduleFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&moduleAnchor), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string file = info.dli_fname;
    // The loader reports the name it was given; a relative one is made absolute while the
    // working folder is most likely still the one it was loaded from.
    if (!file.empty() && file.front() != '/') {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(file, error);
        if (!error)
            file = absolute.string();
    }
    return file;
}
#endif

bool isSeparator(char pChar)
{
#ifdef _WIN32
    return pChar == '\\' || pChar == '/';
#else
    return pChar == '/';
#endif
}

} // namespace

std::string moduleFolder()
{
    const std::string file = moduleFile();
    size_t end = file.size();
    while (end > 0 && !isSeparator(file[end - 1]))
        --end;
    if (end == 0)
        return {};
    // Keep the separator of a root ("/", "C:\"): without it the folder would name something else.
    const bool root = end == 1
#ifdef _WIN32
        || (end == 3 && file[1] == ':')
#endif
        ;
    return file.substr(0, root ? end : end - 1);
}

} // namespace txini
