#include "linesource.h"

namespace txini {

bool LineSource::next(SourceLine &pLine)
{
    if (m_rest.empty())
        return false;
    const size_t end = m_rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        pLine = {m_rest, {}};
        m_rest = {};
        return true;
    }
    size_t eolLength = 1;
    if (m_rest[end] == '\r' && end + 1 < m_rest.size() && m_rest[end + 1] == '\n')
        eolLength = 2;
    pLine = {m_rest.substr(0, end), m_rest.substr(end, eolLength)};
    m_rest.remove_prefix(end + eolLength);
    return true;
}

} // namespace txini
