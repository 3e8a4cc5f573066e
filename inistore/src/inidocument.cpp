#include "inidocument.h"

#include <algorithm>

#include "linesource.h"
#include "textrules.h"

namespace txini {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr std::string_view kPlatformNewline = "\r\n";
#else
constexpr std::string_view kPlatformNewline = "\n";
#endif

} // namespace

IniLine IniDocument::classify(std::string_view pText, std::string_view pEol)
{
    IniLine line;
    line.text = std::string(pText);
    line.eol = std::string(pEol);

    const std::string_view trimmed = rules::trimBlanks(pText);
    if (trimmed.empty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.front() == '[') {
        // The name runs to the last ']' or, without one, to the end of the line; whatever
        // follows that ']' is ignored.
        line.kind = LineKind::Section;
        std::string_view name = trimmed.substr(1);
        const size_t close = name.rfind(']');
        if (close != std::string_view::npos)
            name = name.substr(0, close);
        line.name = std::string(rules::trimBlanks(name));
    } else if (trimmed.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (const size_t equals = pText.find('='); equals != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = std::string(rules::trimBlanks(pText.substr(0, equals)));
        size_t start = equals + 1;
        while (start < pText.size() && rules::isBlank(pText[start]))
            ++start;
        line.valueStart = start;
        line.valueLength = rules::trimBlanks(pText.substr(start)).size();
    } else {
        line.kind = LineKind::Other;
    }
    return line;
}

IniDocument IniDocument::parse(std::string_view pBytes)
{
    IniDocument document;
    // A UTF-8 byte-order mark is not part of the first line (the platform would lose the
    // first section to it); it is kept for the write back.
    if (pBytes.substr(0, kBom.size()) == kBom) {
        document.m_bom = true;
        pBytes.remove_prefix(kBom.size());
    }
    document.m_lines.reserve(static_cast<size_t>(std::count(pBytes.begin(), pBytes.end(), '\n'))
                             + 1);
    LineSource source(pBytes);
    SourceLine line;
    while (source.next(line)) {
        if (document.m_newline.empty() && !line.eol.empty())
            document.m_newline = std::string(line.eol);
        document.m_lines.push_back(classify(line.text, line.eol));
    }
    if (document.m_newline.empty())
        document.m_newline = std::string(kPlatformNewline);
    document.reindex();
    return document;
}

std::string IniDocument::serialize() const
{
    size_t size = m_bom ? kBom.size() : 0;
    for (const IniLine &line : m_lines)
        size += line.text.size() + line.eol.size();
    std::string bytes;
    bytes.reserve(size);
    if (m_bom)
        bytes += kBom;
    for (const IniLine &line : m_lines) {
        bytes += line.text;
        bytes += line.eol;
    }
    return bytes;
}

void IniDocument::reindex()
{
    m_sections.clear();
    m_firstSection.clear();
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const IniLine &line = m_lines[i];
        if (line.kind == LineKind::Section) {
            if (!m_sections.empty())
                m_sections.back().end = i;
            m_sections.push_back({i, m_lines.size()});
            m_firstSection.try_emplace(line.name, m_sections.size() - 1);
        }
    }
}

std::vector<std::string_view> IniDocument::sectionNames() const
{
    std::vector<std::string_view> names;
    names.reserve(m_sections.size());
    for (const Section &section : m_sections)
        names.emplace_back(m_lines[section.header].name);
    return names;
}

const IniDocument::Section *IniDocument::findSection(std::string_view pName) const
{
    const auto found = m_firstSection.find(pName);
    return found == m_firstSection.end() ? nullptr : &m_sections[found->second];
}

const IniLine *IniDocument::findKey(const Section &pSection, std::string_view pKey) const
{
    // Lines before the first header belong to no section and are never found.
    for (size_t i = pSection.header + 1; i < pSection.end; ++i) {
        const IniLine &line = m_lines[i];
        if (line.kind == LineKind::Key && rules::equalsNoCase(line.name, pKey))
            return &line;
    }
    return nullptr;
}

std::vector<std::string_view> IniDocument::keyNames(const Section &pSection) const
{
    std::vector<std::string_view> names;
    for (size_t i = pSection.header + 1; i < pSection.end; ++i) {
        if (m_lines[i].kind == LineKind::Key)
            names.emplace_back(m_lines[i].name);
    }
    return names;
}

std::vector<std::string> IniDocument::sectionEntries(const Section &pSection) const
{
    std::vector<std::string> entries;
    for (size_t i = pSection.header + 1; i < pSection.end; ++i) {
        const IniLine &line = m_lines[i];
        if (line.kind == LineKind::Key) {
            std::string entry = line.name;
            entry += '=';
            entry += line.rawValue();
            entries.push_back(std::move(entry));
        } else if (line.kind == LineKind::Other) {
            entries.emplace_back(rules::trimBlanks(line.text));
        }
    }
    return entries;
}

void IniDocument::endLineBefore(size_t pPos)
{
    if (pPos > 0 && m_lines[pPos - 1].eol.empty())
        m_lines[pPos - 1].eol = m_newline;
}

bool IniDocument::setValue(std::string_view pSection, std::string_view pKey,
                           std::string_view pValue)
{
    std::string keyLine(pKey);
    keyLine += '=';
    keyLine += pValue;

    const Section *section = findSection(pSection);
    if (section == nullptr) {
        // A new section goes at the end, straight after the last line.
        endLineBefore(m_lines.size());
        std::string header;
        header.reserve(pSection.size() + 2);
        header.append(1, '[').append(pSection).append(1, ']');
        m_lines.push_back(classify(header, m_newline));
        m_lines.push_back(classify(keyLine, m_newline));
        reindex();
        return true;
    }
    if (const IniLine *existing = findKey(*section, pKey)) {
        // The same value leaves the line as it stands. A new one rewrites it as the platform
        // does: the key as the file spells it, '=', the value; no blanks, no indentation.
        IniLine &line = m_lines[static_cast<size_t>(existing - m_lines.data())];
        if (line.rawValue() == pValue)
            return false;
        std::string text = line.name;
        text += '=';
        text += pValue;
        // Still a key line of the same name: the index of sections stands as it is.
        line = classify(text, line.eol);
        return true;
    }
    // A new key goes straight after the section's last key line, or after its header.
    size_t insertAt = section->header + 1;
    for (size_t i = section->header + 1; i < section->end; ++i) {
        if (m_lines[i].kind == LineKind::Key)
            insertAt = i + 1;
    }
    endLineBefore(insertAt);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   classify(keyLine, m_newline));
    reindex();
    return true;
}

bool IniDocument::deleteKey(std::string_view pSection, std::string_view pKey)
{
    const Section *section = findSection(pSection);
    if (section == nullptr)
        return false;
    const IniLine *line = findKey(*section, pKey);
    if (line == nullptr)
        return false;
    m_lines.erase(m_lines.begin() + (line - m_lines.data()));
    reindex();
    return true;
}

bool IniDocument::deleteSection(std::string_view pSection)
{
    const Section *section = findSection(pSection);
    if (section == nullptr)
        return false;
    const size_t header = section->header;
    const size_t end = section->end;
    std::vector<IniLine> kept;
    kept.reserve(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const bool inSection = i >= header && i < end;
        if (inSection && (i == header || m_lines[i].kind == LineKind::Key))
            continue;
        kept.push_back(std::move(m_lines[i]));
    }
    m_lines = std::move(kept);
    reindex();
    return true;
}

} // namespace txini
