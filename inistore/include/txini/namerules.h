#pragma once

// Which section and key names a write accepts: only names that read back as themselves. The
// file's reader trims space, tab and vertical tab from names and gives a line its meaning by its
// first character, so a name that would be trimmed to something else, or that would turn its
// line into a comment, a header or another key, is refused instead of written.

#include <string_view>

#include "txini/export.h"

namespace txini {

enum class NameProblem {
    None,
    LineBreak, // holds CR or LF: would split the line
    Empty, // a key of nothing but blanks
    StartsLikeHeader, // a key starting with '[' reads as a section header
    StartsLikeComment, // a key starting with ';' reads as a comment
    HoldsEquals, // a key holding '=' splits at it
    HoldsCloseBracket, // a section holding ']'
    EdgeBlank, // a tab or vertical tab at either end would be trimmed away
};

// The problem of a key or section name as the write functions take it (spaces at both ends do
// not count: they are dropped before the name is written). None for a name that may be written.
TXINI_EXPORT NameProblem keyNameProblem(std::string_view pKey);
TXINI_EXPORT NameProblem sectionNameProblem(std::string_view pSection);

} // namespace txini
