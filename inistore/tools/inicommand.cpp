#include "inicommand.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string_view>

#include "txini/clsini.h"
#include "txini/namerules.h"

namespace txini {

namespace {

struct CommandShape
{
    std::string_view name;
    std::size_t minArguments;
    std::size_t maxArguments;
    std::string_view synopsis;
};

constexpr std::array<CommandShape, 6> kCommands{{
    {"get", 2, 2, "get SECTION KEY"},
    {"set", 3, 3, "set SECTION KEY VALUE"},
    {"delete", 1, 2, "delete SECTION [KEY]"},
    {"sections", 0, 0, "sections"},
    {"keys", 1, 1, "keys SECTION"},
    {"exists", 1, 2, "exists SECTION [KEY]"},
}};

bool isHelp(const std::string &pArgument)
{
    return pArgument == "-h" || pArgument == "--help";
}

std::string_view trimmed(std::string_view pText, std::string_view pCharacters)
{
    const auto first = pText.find_first_not_of(pCharacters);
    if (first == std::string_view::npos)
        return {};
    const auto last = pText.find_last_not_of(pCharacters);
    return pText.substr(first, last - first + 1);
}

bool hasLineBreak(const std::string &pText)
{
    return pText.find_first_of("\r\n") != std::string::npos;
}

// Why a name is refused, as the message says it; nullptr for a name that may be written. Line
// breaks are left to the write, which refuses them in values as well.
const char *nameRefusal(NameProblem pProblem, bool pKey)
{
    switch (pProblem) {
    case NameProblem::Empty:
        return "KEY must not be empty";
    case NameProblem::StartsLikeHeader:
        return "a KEY starting with '[' would read as a section header";
    case NameProblem::StartsLikeComment:
        return "a KEY starting with ';' would be written as a comment";
    case NameProblem::HoldsEquals:
        return "KEY must not contain '='";
    case NameProblem::HoldsCloseBracket:
        return "SECTION must not contain ']'";
    case NameProblem::EdgeBlank:
        return pKey ? "KEY must not begin or end with a tab or vertical tab"
                    : "SECTION must not begin or end with a tab or vertical tab";
    case NameProblem::None:
    case NameProblem::LineBreak:
        break;
    }
    return nullptr;
}

std::string describeKey(const std::string &pSection, const std::string &pKey)
{
    return "key '" + pKey + "' not found in section [" + pSection + "]";
}

} // namespace

IniCommand::IniCommand(std::ostream &pOut, std::ostream &pErr)
    : m_out(pOut)
    , m_err(pErr)
{ }

int IniCommand::run(const std::vector<std::string> &pArguments)
{
    // The store itself never throws; what could is memory or the streams, and a command-line
    // tool should still end with a message and a status rather than an abort.
    try {
        const int status = runCommand(pArguments);
        m_out.flush();
        if (!m_out)
            return fail(NotFound, "cannot write the output");
        return status;
    } catch (const std::exception &error) {
        return fail(NotFound, std::string("unexpected error: ") + error.what());
    }
}

std::string IniCommand::usage()
{
    return "Usage: txini FILE COMMAND [ARGUMENTS]\n"
           "Reads and changes the INI file FILE.\n"
           "\n"
           "Commands:\n"
           "  get SECTION KEY          print the value of KEY in SECTION\n"
           "  set SECTION KEY VALUE    write VALUE, creating the key, section and FILE as needed\n"
           "  delete SECTION [KEY]     remove KEY from SECTION, or the whole SECTION\n"
           "  sections                 list the section names, one a line\n"
           "  keys SECTION             list the key names of SECTION, one a line\n"
           "  exists SECTION [KEY]     test, silently, whether SECTION (or KEY in it) exists\n"
           "\n"
           "Section and key names match without regard to case. Values are stored without\n"
           "spaces at both ends.\n"
           "\n"
           "Exit status: 0 found or done, 1 not found or not written, 2 bad usage.\n";
}

std::string IniCommand::expectedReadBack(const std::string &pValue)
{
    // The store's own trim (spaces only), then the file reader's (space, tab, vertical tab).
    std::string_view value = trimmed(trimmed(pValue, " "), " \t\v");
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

int IniCommand::runCommand(const std::vector<std::string> &pArguments)
{
    if (pArguments.empty())
        return fail(Usage, "missing FILE and command (try 'txini --help')");
    if (isHelp(pArguments[0]) || (pArguments.size() >= 2 && isHelp(pArguments[1]))) {
        m_out << usage();
        return Success;
    }
    m_file = pArguments[0];
    if (m_file.empty())
        return fail(Usage, "FILE must not be empty");
    if (pArguments.size() < 2)
        return fail(Usage, "missing command after FILE (try 'txini --help')");

    const std::string &name = pArguments[1];
    const std::vector<std::string> arguments(pArguments.begin() + 2, pArguments.end());
    const CommandShape *shape = nullptr;
    for (const auto &candidate : kCommands) {
        if (candidate.name == name)
            shape = &candidate;
    }
    if (!shape)
        return fail(Usage, "unknown command '" + name + "' (try 'txini --help')");
    if (arguments.size() < shape->minArguments || arguments.size() > shape->maxArguments)
        return fail(Usage, "usage: txini FILE " + std::string(shape->synopsis));

    // A folder (or a device) where the file should be is an error, not an empty file.
    std::error_code error;
    const auto status = std::filesystem::status(m_file, error);
    if (std::filesystem::is_directory(status))
        return fail(NotFound, m_file + ": is a folder, not a file");
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return fail(NotFound, m_file + ": is not a regular file");

    clsIni ini;
    ini.File(m_file);
    const std::string *optionalKey = arguments.size() == 2 ? &arguments[1] : nullptr;
    if (name == "get")
        return doGet(ini, arguments[0], arguments[1]);
    if (name == "set")
        return doSet(ini, arguments[0], arguments[1], arguments[2]);
    if (name == "delete")
        return doDelete(ini, arguments[0], optionalKey);
    if (name == "sections")
        return doSections(ini);
    if (name == "keys")
        return doKeys(ini, arguments[0]);
    return doExists(ini, arguments[0], optionalKey);
}

int IniCommand::doGet(_clsIni &pIni, const std::string &pSection, const std::string &pKey)
{
    // The value alone cannot tell a missing key from an empty value; the existence test can.
    if (!pIni.getExisteClave(pSection, pKey))
        return notFound(describeKey(pSection, pKey));
    m_out << pIni.getLeerValor(pSection, pKey) << '\n';
    return Success;
}

int IniCommand::doSet(_clsIni &pIni, const std::string &pSection, const std::string &pKey,
                      const std::string &pValue)
{
    // Names that the file's syntax would turn into something else are refused (the store
    // refuses them too): such a write would change the file without the key ever reading back.
    // The rules are the store's own, so the tool cannot pass a name the store then refuses.
    if (const char *refusal = nameRefusal(keyNameProblem(pKey), true))
        return fail(Usage, std::string("set: ") + refusal);
    if (const char *refusal = nameRefusal(sectionNameProblem(pSection), false))
        return fail(Usage, std::string("set: ") + refusal);

    // The store reports nothing about a write; reading the value back is the only way to know
    // that it took. The engine's errno says why it did not.
    errno = 0;
    pIni.doAdd(pSection, pKey, pValue);
    const int writeError = errno;
    if (pIni.getExisteClave(pSection, pKey)
        && pIni.getLeerValor(pSection, pKey) == expectedReadBack(pValue))
        return Success;
    if (hasLineBreak(pSection) || hasLineBreak(pKey) || hasLineBreak(pValue))
        return fail(NotFound,
                    "set: SECTION, KEY and VALUE must not hold a line break; "
                    "nothing was written");
    std::string message = "set: could not write [" + pSection + "] " + pKey + " to " + m_file;
    if (writeError == EPERM)
        message += ": a symbolic link on the way belongs to another user of a shared folder "
                   "and is not followed";
    else if (writeError != 0)
        message += std::string(": ") + std::strerror(writeError);
    return fail(NotFound, message);
}

int IniCommand::doDelete(_clsIni &pIni, const std::string &pSection, const std::string *pKey)
{
    if (pKey) {
        // The store reads an empty key as "the whole section"; asking for a key and losing the
        // section would be a nasty surprise.
        if (pKey->empty())
            return fail(Usage,
                        "delete: KEY must not be empty (leave it out to delete the "
                        "whole section)");
        if (!pIni.getExisteClave(pSection, *pKey))
            return notFound(describeKey(pSection, *pKey));
        pIni.doDelete(pSection, *pKey);
        if (pIni.getExisteClave(pSection, *pKey))
            return fail(NotFound,
                        "delete: key '" + *pKey + "' is still in section [" + pSection
                            + "] (a second copy of it, or the file cannot be written)");
        return Success;
    }
    if (!pIni.getExisteSeccion(pSection))
        return notFound("section [" + pSection + "] not found");
    pIni.doDelete(pSection);
    if (pIni.getExisteSeccion(pSection))
        return fail(NotFound,
                    "delete: section [" + pSection
                        + "] is still there (a second copy of it, or the file cannot "
                          "be written)");
    return Success;
}

int IniCommand::doSections(_clsIni &pIni)
{
    const int count = pIni.getCantidadSecciones();
    if (count == 0 && !fileExists())
        return fail(NotFound, m_file + ": no such file");
    for (int position = 1; position <= count; ++position)
        m_out << pIni.getLeerSeccion(static_cast<int16_t>(position)) << '\n';
    return Success;
}

int IniCommand::doKeys(_clsIni &pIni, const std::string &pSection)
{
    // A missing section and a section without keys both count 0 keys; only the first is an
    // error.
    if (!pIni.getExisteSeccion(pSection))
        return notFound("section [" + pSection + "] not found");
    const int count = pIni.getCantidadClaves(pSection);
    for (int position = 1; position <= count; ++position)
        m_out << pIni.getLeerClave(pSection, static_cast<int16_t>(position)) << '\n';
    return Success;
}

int IniCommand::doExists(_clsIni &pIni, const std::string &pSection, const std::string *pKey)
{
    const bool found =
        pKey ? pIni.getExisteClave(pSection, *pKey) : pIni.getExisteSeccion(pSection);
    return found ? Success : NotFound;
}

int IniCommand::fail(int pStatus, const std::string &pMessage)
{
    m_err << "txini: " << pMessage << '\n';
    m_err.flush();
    return pStatus;
}

int IniCommand::notFound(const std::string &pWhat)
{
    return fail(NotFound, fileExists() ? pWhat : m_file + ": no such file");
}

bool IniCommand::fileExists() const
{
    std::error_code error;
    return std::filesystem::exists(m_file, error);
}

} // namespace txini
