#pragma once

// The small text rules the INI engine and the store share: which characters are blanks, the
// trims, quote removal and case-insensitive comparison of names.

#include <string>
#include <string_view>

namespace txini::rules {

// Space, tab and vertical tab: what the file's lines are trimmed of.
constexpr bool isBlank(char pChar)
{
    return pChar == ' ' || pChar == '\t' || pChar == '\v';
}

// Removes blanks (space, tab, vertical tab) at both ends.
std::string_view trimBlanks(std::string_view pText);
// Removes spaces only, at both ends: what arguments of the functions are trimmed of.
std::string_view trimSpaces(std::string_view pText);
std::string_view trimLeadingSpaces(std::string_view pText);
std::string_view trimTrailingSpaces(std::string_view pText);

// One pair of the same quote character (' or ") enclosing the whole text is removed.
std::string_view stripQuotes(std::string_view pText);

// Upper-cases a UTF-8 text for comparisons: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic letters. Bytes that are not valid UTF-8 stay as they are. The result is as long, in
// bytes, as the text (equalsNoCase relies on that).
std::string foldCase(std::string_view pText);

// Names compare equal without regard to case.
bool equalsNoCase(std::string_view pLeft, std::string_view pRight);

// A hash that agrees with equalsNoCase: the hash of the folded text, computed without folding
// into a new string when the text is ASCII.
size_t hashNoCase(std::string_view pText);

// Function objects for hashed containers of names looked up without regard to case; both are
// transparent, so a lookup by string_view allocates nothing.
struct NoCaseHash
{
    using is_transparent = void;
    size_t operator()(std::string_view pText) const { return hashNoCase(pText); }
};
struct NoCaseEqual
{
    using is_transparent = void;
    bool operator()(std::string_view pLeft, std::string_view pRight) const
    {
        return equalsNoCase(pLeft, pRight);
    }
};

} // namespace txini::rules
