#include "textrules.h"

#include <cstdint>

namespace txini::rules {

std::string_view trimBlanks(std::string_view pText)
{
    while (!pText.empty() && isBlank(pText.front()))
        pText.remove_prefix(1);
    while (!pText.empty() && isBlank(pText.back()))
        pText.remove_suffix(1);
    return pText;
}

std::string_view trimLeadingSpaces(std::string_view pText)
{
    while (!pText.empty() && pText.front() == ' ')
        pText.remove_prefix(1);
    return pText;
}

std::string_view trimTrailingSpaces(std::string_view pText)
{
    while (!pText.empty() && pText.back() == ' ')
        pText.remove_suffix(1);
    return pText;
}

std::string_view trimSpaces(std::string_view pText)
{
    return trimTrailingSpaces(trimLeadingSpaces(pText));
}

std::string_view stripQuotes(std::string_view pText)
{
    if (pText.size() >= 2 && (pText.front() == '"' || pText.front() == '\'')
        && pText.back() == pText.front()) {
        return pText.substr(1, pText.size() - 2);
    }
    return pText;
}

namespace {

// Upper case of one code point in the alphabets people name sections and keys in. A full
// Unicode table is not worth its size here: names are almost always ASCII.
char32_t upper(char32_t pCode)
{
    if (pCode >= U'a' && pCode <= U'z')
        return pCode - 32;
    if (pCode < 0x80)
        return pCode;
    if ((pCode >= 0xE0 && pCode <= 0xFE && pCode != 0xF7))
        return pCode - 32; // Latin-1 à..þ
    if (pCode == 0xFF)
        return 0x178;
    if (pCode >= 0x100 && pCode <= 0x17F) {
        // Latin Extended-A pairs: mostly even upper, odd lower, with a shifted run.
        if ((pCode >= 0x139 && pCode <= 0x148) || (pCode >= 0x179 && pCode <= 0x17E))
            return (pCode % 2 == 0) ? pCode - 1 : pCode;
        if (pCode == 0x131 || pCode == 0x138 || pCode == 0x149 || pCode == 0x17F)
            return pCode;
        return (pCode % 2 == 1) ? pCode - 1 : pCode;
    }
    if (pCode >= 0x3B1 && pCode <= 0x3C9 && pCode != 0x3C2)
        return pCode - 32; // Greek α..ω
    if (pCode >= 0x430 && pCode <= 0x44F)
        return pCode - 32; // Cyrillic а..я
    if (pCode >= 0x450 && pCode <= 0x45F)
        return pCode - 80; // Cyrillic ѐ..џ
    return pCode;
}

// Decodes one UTF-8 sequence at pText[pos]; returns its length, 0 when it is not valid.
size_t decode(std::string_view pText, size_t pPos, char32_t &pCode)
{
    const auto lead = static_cast<unsigned char>(pText[pPos]);
    size_t length = 0;
    if (lead < 0x80) {
        pCode = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        pCode = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        pCode = lead & 0x0F;
    } else {
        return 0; // four-byte sequences hold nothing that folds here
    }
    if (pPos + length > pText.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(pText[pPos + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        pCode = (pCode << 6) | (next & 0x3F);
    }
    if ((length == 2 && pCode < 0x80) || (length == 3 && pCode < 0x800))
        return 0; // overlong
    return length;
}

void encode(char32_t pCode, std::string &pOut)
{
    if (pCode < 0x80) {
        pOut += static_cast<char>(pCode);
    } else if (pCode < 0x800) {
        pOut += static_cast<char>(0xC0 | (pCode >> 6));
        pOut += static_cast<char>(0x80 | (pCode & 0x3F));
    } else {
        pOut += static_cast<char>(0xE0 | (pCode >> 12));
        pOut += static_cast<char>(0x80 | ((pCode >> 6) & 0x3F));
        pOut += static_cast<char>(0x80 | (pCode & 0x3F));
    }
}

} // namespace

std::string foldCase(std::string_view pText)
{
    std::string out;
    out.reserve(pText.size());
    size_t pos = 0;
    while (pos < pText.size()) {
        const char c = pText[pos];
        if (static_cast<unsigned char>(c) < 0x80) {
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            ++pos;
            continue;
        }
        char32_t code = 0;
        const size_t length = decode(pText, pos, code);
        if (length == 0) {
            out += c;
            ++pos;
            continue;
        }
        encode(upper(code), out);
        pos += length;
    }
    return out;
}

bool equalsNoCase(std::string_view pLeft, std::string_view pRight)
{
    // Folding keeps a text's length in bytes (every letter it folds keeps the length of its
    // UTF-8 form), so texts of different lengths never match.
    if (pLeft.size() != pRight.size())
        return false;
    // Fast path for the usual ASCII names; folding only when a byte is not ASCII.
    for (size_t i = 0; i < pLeft.size(); ++i) {
        const auto a = static_cast<unsigned char>(pLeft[i]);
        const auto b = static_cast<unsigned char>(pRight[i]);
        if ((a | b) >= 0x80)
            return foldCase(pLeft) == foldCase(pRight);
        const auto ua = (a >= 'a' && a <= 'z') ? a - 32 : a;
        const auto ub = (b >= 'a' && b <= 'z') ? b - 32 : b;
        if (ua != ub)
            return false;
    }
    return true;
}

namespace {

// FNV-1a over bytes.
constexpr size_t kFnvOffset = 14695981039346656037ULL;
constexpr size_t kFnvPrime = 1099511628211ULL;

size_t hashBytes(std::string_view pText)
{
    size_t hash = kFnvOffset;
    for (const char c : pText)
        hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    return hash;
}

} // namespace

size_t hashNoCase(std::string_view pText)
{
    // Same as hashing foldCase(pText), without making that string for ASCII names.
    size_t hash = kFnvOffset;
    for (const char c : pText) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return hashBytes(foldCase(pText));
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        hash = (hash ^ static_cast<unsigned char>(upper)) * kFnvPrime;
    }
    return hash;
}

} // namespace txini::rules
