#pragma once

// Where the library's own module file lies, and the native path separator the library's path
// routines work with.

#include <string>

namespace txini {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder of the module file that holds this library (the shared library, not the program),
// without a trailing separator unless it is a root. Empty when the platform cannot tell.
std::string moduleFolder();

} // namespace txini
