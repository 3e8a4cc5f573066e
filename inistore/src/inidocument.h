#pragma once

// An INI file as its lines, each kept byte for byte, with what the reader made of it. Queries
// follow the platform's matching rules; edits touch only the lines they must, so that every
// other byte of the file (comments, blank lines, unknown lines, line ends) survives a write.
//
// Names passed to queries and edits are matched without regard to case; the caller trims the
// arguments (spaces only) before.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "textrules.h"

namespace txini {

enum class LineKind {
    Blank, // nothing but blanks
    Comment, // first non-blank character is ';'
    Section, // first non-blank character is '['
    Key, // holds '=': key and value
    Other, // anything else: kept, listed by a section read, never a key
};

struct IniLine
{
    std::string text; // without its line end
    std::string eol; // its line end as found ("" for a last line without one)
    LineKind kind = LineKind::Blank;
    std::string name; // Section: the trimmed name; Key: the trimmed key
    size_t valueStart = 0; // Key: where the value starts (after '=' and its blanks)
    size_t valueLength = 0; // Key: the value's length without trailing blanks

    // The trimmed value as it stands in the file, quotes included.
    std::string_view rawValue() const
    {
        return std::string_view(text).substr(valueStart, valueLength);
    }
};

class IniDocument
{
public:
    // One section of the file: its header line and the lines up to the next header.
    struct Section
    {
        size_t header = 0;
        size_t end = 0; // one past its last line
    };

    IniDocument() = default;

    static IniDocument parse(std::string_view pBytes);
    std::string serialize() const;

    const std::vector<IniLine> &lines() const { return m_lines; }
    // The line end new lines get: the file's first, or the platform's for a file without one.
    const std::string &newline() const { return m_newline; }

    // Every section header in file order, duplicates included.
    std::vector<std::string_view> sectionNames() const;
    // The first section of that name, nullptr when there is none.
    const Section *findSection(std::string_view pName) const;
    // The first key line of that name in the section, nullptr when there is none.
    const IniLine *findKey(const Section &pSection, std::string_view pKey) const;
    // Key names in file order, every occurrence.
    std::vector<std::string_view> keyNames(const Section &pSection) const;
    // The section's lines as a section read gives them: "key=value" (trimmed, quotes kept) and
    // other non-comment lines trimmed; blank and comment lines left out.
    std::vector<std::string> sectionEntries(const Section &pSection) const;

    // Sets a value: replaces it in place, adds the key after the section's last key, or adds
    // the section at the end. False when the value was already there, as it would be written.
    bool setValue(std::string_view pSection, std::string_view pKey, std::string_view pValue);
    // Removes the first line of the key; false when there was none.
    bool deleteKey(std::string_view pSection, std::string_view pKey);
    // Removes the header and key lines of the first section of that name; comments, blank and
    // unknown lines inside it stay. False when there was none.
    bool deleteSection(std::string_view pSection);

private:
    static IniLine classify(std::string_view pText, std::string_view pEol);
    void reindex();
    // Gives the line before pos a line end, so that a line can follow it.
    void endLineBefore(size_t pPos);

    bool m_bom = false;
    std::string m_newline;
    std::vector<IniLine> m_lines;
    std::vector<Section> m_sections;
    // Section name -> index in m_sections of its first occurrence, found without regard to
    // case. Keys are found by walking their section: sections are short, and a write then
    // needs no index of every key rebuilt.
    std::unordered_map<std::string, size_t, rules::NoCaseHash, rules::NoCaseEqual> m_firstSection;
};

} // namespace txini
