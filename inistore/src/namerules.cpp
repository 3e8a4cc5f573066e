#include "txini/namerules.h"

#include "textrules.h"

namespace txini {

namespace {

bool holdsLineBreak(std::string_view pText)
{
    return pText.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

NameProblem keyNameProblem(std::string_view pKey)
{
    const std::string_view given = rules::trimSpaces(pKey);
    if (holdsLineBreak(given))
        return NameProblem::LineBreak;
    // What the reader makes of the line's start decides first: "\t[B]" is a header, not a key
    // with a tab in front.
    const std::string_view read = rules::trimBlanks(given);
    if (read.empty())
        return NameProblem::Empty;
    if (read.front() == '[')
        return NameProblem::StartsLikeHeader;
    if (read.front() == ';')
        return NameProblem::StartsLikeComment;
    if (read.find('=') != std::string_view::npos)
        return NameProblem::HoldsEquals;
    return read.size() == given.size() ? NameProblem::None : NameProblem::EdgeBlank;
}

NameProblem sectionNameProblem(std::string_view pSection)
{
    const std::string_view given = rules::trimSpaces(pSection);
    if (holdsLineBreak(given))
        return NameProblem::LineBreak;
    // "[a]b]" would read as "a]b", but older readers of the same files end the name at the
    // first ']': such a name is not written.
    if (given.find(']') != std::string_view::npos)
        return NameProblem::HoldsCloseBracket;
    return rules::trimBlanks(given).size() == given.size() ? NameProblem::None
                                                           : NameProblem::EdgeBlank;
}

} // namespace txini
