#pragma once

// Splits a file's bytes into lines. A line ends in CRLF, a lone LF or a lone CR; all three may
// appear in one file. The last line may have no end at all.

#include <string_view>

namespace txini {

struct SourceLine
{
    std::string_view text; // without its line end
    std::string_view eol; // "\r\n", "\n", "\r", or empty for a last line without one
};

class LineSource
{
public:
    explicit LineSource(std::string_view pBytes)
        : m_rest(pBytes)
    { }

    // The next line, false when the bytes are used up. An empty input has no lines; input that
    // ends in a line end has no empty line after it.
    bool next(SourceLine &pLine);

private:
    std::string_view m_rest;
};

} // namespace txini
