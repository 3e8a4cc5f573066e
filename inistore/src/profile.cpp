// The four private-profile functions over the engine: argument rules, the defaults, and how
// results are packed into the caller's buffer.

#include "txini/profile.h"

#include "inidocument.h"
#include "profilefile.h"
#include "textrules.h"
#include "txini/namerules.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32) && defined(TXINI_USE_PLATFORM_PROFILE)
#include <windows.h>
#endif

namespace txini {

#if defined(_WIN32) && defined(TXINI_USE_PLATFORM_PROFILE)

bool usingPlatformProfile()
{
    return true;
}

uint32_t GetPrivateProfileSectionNamesA(char *lpszReturnBuffer, uint32_t nSize,
                                        const char *lpFileName)
{
    return ::GetPrivateProfileSectionNamesA(lpszReturnBuffer, nSize, lpFileName);
}

uint32_t GetPrivateProfileSectionA(const char *lpAppName, char *lpReturnedString, uint32_t nSize,
                                   const char *lpFileName)
{
    return ::GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, lpFileName);
}

uint32_t GetPrivateProfileStringA(const char *lpAppName, const char *lpKeyName,
                                  const char *lpDefault, char *lpReturnedString, uint32_t nSize,
                                  const char *lpFileName)
{
    return ::GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize,
                                      lpFileName);
}

int WritePrivateProfileStringA(const char *lpAppName, const char *lpKeyName, const char *lpString,
                               const char *lpFileName)
{
    return ::WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, lpFileName);
}

#else

namespace {

// Copies a value: at most nSize - 1 characters and a NUL. nSize 0 leaves the buffer alone.
uint32_t copyText(std::string_view pText, char *pBuffer, uint32_t pSize)
{
    if (pBuffer == nullptr || pSize == 0)
        return 0;
    const size_t count = std::min<size_t>(pText.size(), pSize - 1);
    std::memcpy(pBuffer, pText.data(), count);
    pBuffer[count] = '\0';
    return static_cast<uint32_t>(count);
}

// Packs strings as NUL-terminated entries followed by one more NUL. Returns the characters
// stored without the final NUL; a list that does not fit is cut to nSize - 2 characters and
// closed with two NULs, and nSize - 2 is returned. A list that just fills the buffer is
// reported as cut too, as the platform does.
template<typename Strings>
uint32_t packList(const Strings &pStrings, char *pBuffer, uint32_t pSize)
{
    if (pBuffer == nullptr || pSize == 0)
        return 0;
    if (pSize < 2) {
        pBuffer[0] = '\0';
        return 0;
    }
    std::string payload;
    for (const auto &text : pStrings) {
        payload += text;
        payload += '\0';
    }
    const size_t needed = payload.size() + 1;
    if (needed < pSize) {
        std::memcpy(pBuffer, payload.data(), payload.size());
        pBuffer[payload.size()] = '\0';
        if (payload.empty())
            pBuffer[1] = '\0';
        return static_cast<uint32_t>(payload.size());
    }
    const size_t count = pSize - 2;
    std::memcpy(pBuffer, payload.data(), count);
    pBuffer[count] = '\0';
    pBuffer[count + 1] = '\0';
    return static_cast<uint32_t>(count);
}

std::shared_ptr<const IniDocument> load(const char *pFileName)
{
    if (pFileName == nullptr || *pFileName == '\0')
        return nullptr;
    return ProfileFile::readFile(pFileName);
}

// A name in a list: one with an empty name would end the list early, so it is not listed.
std::vector<std::string_view> listable(std::vector<std::string_view> pNames)
{
    std::erase_if(pNames, [](std::string_view name) { return name.empty(); });
    return pNames;
}

bool holdsLineBreak(const char *pText)
{
    return pText != nullptr && std::strpbrk(pText, "\r\n") != nullptr;
}

} // namespace

bool usingPlatformProfile()
{
    return false;
}

uint32_t GetPrivateProfileSectionNamesA(char *lpszReturnBuffer, uint32_t nSize,
                                        const char *lpFileName)
{
    const auto document = load(lpFileName);
    if (!document) {
        const std::vector<std::string_view> none;
        return packList(none, lpszReturnBuffer, nSize);
    }
    return packList(listable(document->sectionNames()), lpszReturnBuffer, nSize);
}

uint32_t GetPrivateProfileSectionA(const char *lpAppName, char *lpReturnedString, uint32_t nSize,
                                   const char *lpFileName)
{
    const auto document = load(lpFileName);
    const IniDocument::Section *section = nullptr;
    if (document && lpAppName != nullptr)
        section = document->findSection(rules::trimSpaces(lpAppName));
    if (section == nullptr) {
        const std::vector<std::string> none;
        return packList(none, lpReturnedString, nSize);
    }
    return packList(document->sectionEntries(*section), lpReturnedString, nSize);
}

uint32_t GetPrivateProfileStringA(const char *lpAppName, const char *lpKeyName,
                                  const char *lpDefault, char *lpReturnedString, uint32_t nSize,
                                  const char *lpFileName)
{
    // Only trailing spaces leave the default; leading blanks, tabs and line breaks stay.
    const std::string_view fallback =
        rules::trimTrailingSpaces(lpDefault != nullptr ? lpDefault : "");
    const auto document = load(lpFileName);
    if (!document)
        return copyText(fallback, lpReturnedString, nSize);

    if (lpAppName == nullptr)
        return packList(listable(document->sectionNames()), lpReturnedString, nSize);

    const IniDocument::Section *section = document->findSection(rules::trimSpaces(lpAppName));
    if (section == nullptr)
        return copyText(fallback, lpReturnedString, nSize);

    if (lpKeyName == nullptr) {
        const auto keys = listable(document->keyNames(*section));
        if (keys.empty())
            return copyText(fallback, lpReturnedString, nSize);
        return packList(keys, lpReturnedString, nSize);
    }

    const IniLine *line = document->findKey(*section, rules::trimSpaces(lpKeyName));
    if (line == nullptr)
        return copyText(fallback, lpReturnedString, nSize);
    return copyText(rules::stripQuotes(line->rawValue()), lpReturnedString, nSize);
}

int WritePrivateProfileStringA(const char *lpAppName, const char *lpKeyName, const char *lpString,
                               const char *lpFileName)
{
    if (lpAppName == nullptr || lpFileName == nullptr || *lpFileName == '\0') {
        errno = EINVAL;
        return 0;
    }
    // A line break in any part would be written into the file's structure: new lines, new
    // sections. Refused instead. So is a new value under a name that would not read back as
    // itself: the file would change and the value never be found.
    if (holdsLineBreak(lpAppName) || holdsLineBreak(lpKeyName) || holdsLineBreak(lpString)
        || (lpKeyName != nullptr && lpString != nullptr
            && (keyNameProblem(lpKeyName) != NameProblem::None
                || sectionNameProblem(lpAppName) != NameProblem::None))) {
        errno = EINVAL;
        return 0;
    }

    const std::string section(rules::trimSpaces(lpAppName));
    ProfileFile file(lpFileName);
    ProfileFile::Outcome outcome;
    if (lpKeyName == nullptr) {
        outcome = file.update(ProfileFile::Create::Never, [&](IniDocument &document) {
            return document.deleteSection(section);
        });
    } else if (lpString == nullptr) {
        const std::string key(rules::trimSpaces(lpKeyName));
        outcome = file.update(ProfileFile::Create::Never, [&](IniDocument &document) {
            return document.deleteKey(section, key);
        });
    } else {
        const std::string key(rules::trimSpaces(lpKeyName));
        const std::string value(lpString);
        outcome = file.update(ProfileFile::Create::IfMissing, [&](IniDocument &document) {
            return document.setValue(section, key, value);
        });
    }
    if (outcome == ProfileFile::Outcome::Failed) {
        errno = file.error() != 0 ? file.error() : EIO;
        return 0;
    }
    return 1;
}

#endif

} // namespace txini
