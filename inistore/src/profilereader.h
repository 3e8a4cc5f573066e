#pragma once

// Reads through a set of private-profile functions and returns whole results: the buffers are
// grown until the platform's answer fits, instead of living with what a fixed buffer holds.

#include <cstdint>
#include <string>

#include "txini/clsini.h"

namespace txini {

class ProfileReader
{
public:
    explicit ProfileReader(const ProfileFunctions &pFunctions);

    // The value of pKey in pSection, whole. pDefault when the platform returns nothing (a
    // missing file, section or key with an empty default, or an empty value).
    std::string readValue(const std::string &pFile, const std::string &pSection,
                          const std::string &pKey, const std::string &pDefault) const;

    // The section names, as the platform packs them: each followed by a NUL. Exactly the
    // characters the platform reported (its result), whole; empty when it reported none.
    std::string readSectionNames(const std::string &pFile) const;

    // The lines of pSection, packed and returned the same way.
    std::string readSection(const std::string &pFile, const std::string &pSection) const;

    // The first buffer sizes tried: what the store always used.
    static constexpr uint32_t kValueBufferSize = 255;
    static constexpr uint32_t kListBufferSize = 32767;
    // Beyond this a buffer is not grown further and the cut result stands.
    static constexpr uint32_t kMaximumBufferSize = 256u * 1024u * 1024u;

private:
    ProfileFunctions m_functions;
};

} // namespace txini
