#pragma once

// The four private-profile functions, with the signatures and results of the Windows API of the
// same names (DWORD is uint32_t, BOOL is int, NULL where Windows takes NULL). Strings are bytes;
// UTF-8 is the code page.
//
// On Linux they are this library's own engine. In a Windows build configured with
// TXINI_USE_PLATFORM_PROFILE they forward to the platform's functions instead (see
// usingPlatformProfile()), which lets the same tests check both against one table of cases.
//
// Beyond the platform: writes replace the file atomically (a file whose folder refuses new
// files is rewritten in place under a journal, so a crash never leaves it torn), concurrent
// writers in several processes do not lose each other's updates, a value holding CR or LF is
// refused, and so is a new value under a name that would not read back as itself
// (txini/namerules.h). Symbolic links are followed as the kernel's protection of links in shared
// folders allows, and a dangling link is written through to the file it names.

#include <cstdint>

#include "txini/export.h"

namespace txini {

// Section names of the file, each ending in NUL, the list ending in one more NUL. Returns the
// number of characters stored without the final NUL; a list that does not fit is cut and
// followed by two NULs, and nSize - 2 is returned. 0 for a missing file or one without sections.
TXINI_EXPORT uint32_t GetPrivateProfileSectionNamesA(char *lpszReturnBuffer, uint32_t nSize,
                                                     const char *lpFileName);

// The lines of one section ("key=value" trimmed, quotes kept; other non-comment lines as they
// stand), packed as above. A buffer that is too small, or fits exactly, gives nSize - 2.
TXINI_EXPORT uint32_t GetPrivateProfileSectionA(const char *lpAppName, char *lpReturnedString,
                                                uint32_t nSize, const char *lpFileName);

// One value (one pair of enclosing quotes removed), or with lpAppName NULL the section names,
// or with lpKeyName NULL the key names of the section. The default (NULL reads as "", trailing
// spaces removed) comes back for whatever is missing. Returns the characters copied.
TXINI_EXPORT uint32_t GetPrivateProfileStringA(const char *lpAppName, const char *lpKeyName,
                                               const char *lpDefault, char *lpReturnedString,
                                               uint32_t nSize, const char *lpFileName);

// Writes one value (creating file, section and key as needed), deletes a key (lpString NULL)
// or a section (lpKeyName NULL). Returns non-zero on success; FALSE for a NULL section, a value
// or name holding CR or LF, a value under a name that txini/namerules.h refuses, or a file that
// cannot be written, which is then left as it was. On FALSE errno tells why, as GetLastError
// would on the platform: EINVAL for the arguments, EISDIR for a folder in the file's place,
// EACCES for a file that may not be written, EPERM for a symbolic link that is not followed,
// otherwise what the system reported.
TXINI_EXPORT int WritePrivateProfileStringA(const char *lpAppName, const char *lpKeyName,
                                            const char *lpString, const char *lpFileName);

// True in a Windows build that forwards the four functions to the platform.
TXINI_EXPORT bool usingPlatformProfile();

} // namespace txini
