#include "profilereader.h"

#include <algorithm>

namespace txini {

namespace {

// Calls pRead(buffer, size) with a growing buffer while its result says the data was cut:
// a value that fills size - 1 characters, or a list that reports size - 2, may have been cut,
// and an exact fit is indistinguishable from that, so both sizes count as "try bigger".
template<typename Read>
std::string readGrowing(uint32_t pFirstSize, uint32_t pCutMargin, Read pRead)
{
    uint32_t size = pFirstSize;
    std::string buffer;
    for (;;) {
        buffer.assign(size, '\0');
        const uint32_t count = std::min(pRead(buffer.data(), size), size);
        const bool maybeCut = size >= pCutMargin && count == size - pCutMargin;
        if (!maybeCut || size >= ProfileReader::kMaximumBufferSize) {
            buffer.resize(count);
            return buffer;
        }
        size = std::min(size * 2 + 1, ProfileReader::kMaximumBufferSize);
    }
}

} // namespace

ProfileReader::ProfileReader(const ProfileFunctions &pFunctions)
    : m_functions(pFunctions)
{ }

std::string ProfileReader::readValue(const std::string &pFile, const std::string &pSection,
                                     const std::string &pKey, const std::string &pDefault) const
{
    const auto read = [&](char *pBuffer, uint32_t pSize) {
        return m_functions.string(pSection.c_str(), pKey.c_str(), pDefault.c_str(), pBuffer, pSize,
                                  pFile.c_str());
    };
    // Settings are short: the first read goes to the stack, and only a value that may have
    // been cut is read again into a growing buffer.
    char first[kValueBufferSize];
    const uint32_t count = std::min(read(first, kValueBufferSize), kValueBufferSize);
    std::string value = count == kValueBufferSize - 1
        ? readGrowing(kValueBufferSize * 2 + 1, 1, read)
        : std::string(first, count);
    // The platform copies the default itself (trimmed); only "nothing at all" falls back to it.
    return value.empty() ? pDefault : value;
}

std::string ProfileReader::readSectionNames(const std::string &pFile) const
{
    return readGrowing(kListBufferSize, 2, [&](char *pBuffer, uint32_t pSize) {
        return m_functions.sectionNames(pBuffer, pSize, pFile.c_str());
    });
}

std::string ProfileReader::readSection(const std::string &pFile, const std::string &pSection) const
{
    return readGrowing(kListBufferSize, 2, [&](char *pBuffer, uint32_t pSize) {
        return m_functions.section(pSection.c_str(), pBuffer, pSize, pFile.c_str());
    });
}

} // namespace txini
