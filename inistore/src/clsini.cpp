#include "txini/clsini.h"

#include <string_view>

#include "modulepath.h"
#include "profilereader.h"
#include "textrules.h"
#include "txini/clsfileini.h"
#include "txini/profile.h"

namespace txini {

namespace {

// The largest count an Integer holds; a larger one overflows and the query gives 0.
constexpr size_t kIntegerMaximum = 32767;

// No read-only box, path must exist, explorer-style dialog, long names.
constexpr int32_t kSelectFileFlags = 0x280804;
constexpr char kSelectFileTitle[] = "Seleccionar archivos";
constexpr char kSelectFileFilter[] = "Ficheros INIs (*.ini)|*.ini|Todos los Archivos (*.*)|*.*";

std::string trimmed(std::string_view pText)
{
    return std::string(rules::trimSpaces(pText));
}

// The comparison form of a name: trimmed of spaces and upper-cased.
std::string comparable(std::string_view pText)
{
    return rules::foldCase(rules::trimSpaces(pText));
}

// Runs a member's body; whatever fails in it gives the member's empty value, as the store
// never hands an error to its caller.
template<typename Result, typename Body>
Result emptyOnError(Body pBody) noexcept
{
    try {
        return pBody();
    } catch (...) {
        return Result{};
    }
}

// A packed list is read up to the first pair of NULs: whatever the platform left after it is
// not part of the list.
std::string_view listPart(std::string_view pPacked)
{
    const size_t pair = pPacked.find(std::string_view("\0\0", 2));
    return pair == std::string_view::npos ? pPacked : pPacked.substr(0, pair);
}

// Appends the key and the value of one section line: split at the first "=", spaces before it
// kept with the key, leading spaces of the value dropped. Lines without "=" are not entries.
void appendEntry(std::string_view pLine, std::vector<std::string> &pList)
{
    const size_t equals = pLine.find('=');
    if (equals == std::string_view::npos)
        return;
    pList.emplace_back(pLine.substr(0, equals));
    pList.emplace_back(rules::trimLeadingSpaces(pLine.substr(equals + 1)));
}

} // namespace

_clsIni::~_clsIni() = default;

ProfileFunctions ProfileFunctions::library()
{
    return {&GetPrivateProfileSectionNamesA, &GetPrivateProfileSectionA, &GetPrivateProfileStringA,
            &WritePrivateProfileStringA};
}

clsIni::clsIni()
    : clsIni(ProfileFunctions::library())
{ }

clsIni::clsIni(const ProfileFunctions &pFunctions)
    : m_functions(pFunctions)
    , m_file(defaultFile())
    , m_trimmedFile(trimmed(m_file))
    , m_dialog(std::make_unique<clsFileIni>())
{ }

clsIni::~clsIni() = default;

std::string clsIni::defaultFile()
{
    const std::string folder = moduleFolder();
    // Without a known folder the name alone is the best guess: a separator in front of it
    // would point at the root.
    if (folder.empty())
        return "config.ini";
    return folder.back() == kPathSeparator ? folder + "config.ini"
                                           : folder + kPathSeparator + "config.ini";
}

// ---- private procedures -------------------------------------------------------------------

clsIni::List clsIni::getListaSecciones(const std::string &pFile)
{
    const std::string packed = ProfileReader(m_functions).readSectionNames(pFile);
    if (packed.empty())
        return std::nullopt;
    std::vector<std::string> list;
    std::string_view rest = listPart(packed);
    for (size_t nul = rest.find('\0'); nul != std::string_view::npos; nul = rest.find('\0')) {
        const std::string_view name = rules::trimLeadingSpaces(rest.substr(0, nul));
        if (!name.empty())
            list.emplace_back(name);
        rest.remove_prefix(nul + 1);
    }
    // A name the platform cut (no NUL after it) is taken as it stands.
    if (!rest.empty())
        list.emplace_back(rest);
    return list;
}

clsIni::List clsIni::getListaClaves(const std::string &pFile, const std::string &pSection)
{
    const std::string packed = ProfileReader(m_functions).readSection(pFile, pSection);
    if (packed.empty())
        return std::nullopt;
    std::vector<std::string> list;
    std::string_view rest = listPart(packed);
    for (size_t nul = rest.find('\0'); nul != std::string_view::npos; nul = rest.find('\0')) {
        const std::string_view line = rules::trimLeadingSpaces(rest.substr(0, nul));
        if (!line.empty())
            appendEntry(line, list);
        rest.remove_prefix(nul + 1);
    }
    if (!rest.empty())
        appendEntry(rest, list);
    return list;
}

std::string clsIni::getValorIni(const std::string &pFile, const std::string &pSection,
                                const std::string &pKey, const std::string &pDefault)
{
    return ProfileReader(m_functions).readValue(pFile, pSection, pKey, pDefault);
}

void clsIni::doGrabarValor(const std::string &pFile, const std::string &pSection,
                           const std::string &pKey, const std::string &pValue)
{
    m_functions.write(pSection.c_str(), pKey.c_str(), pValue.c_str(), pFile.c_str());
}

// ---- File ---------------------------------------------------------------------------------

void clsIni::setFile(const std::string &pFile)
{
    // Both or neither: the trimmed copy spares the reads a copy of the path on every call.
    std::string trimmedFile = trimmed(pFile);
    m_file = pFile;
    m_trimmedFile = std::move(trimmedFile);
}

std::string clsIni::File() const
{
    return emptyOnError<std::string>([&] { return m_file; });
}

void clsIni::File(const std::string &vNewValue)
{
    try {
        setFile(vNewValue);
    } catch (...) {
        // The path stays as it was.
    }
}

// ---- values -------------------------------------------------------------------------------

std::string clsIni::getLeerValor(const std::string &pSeccion, const std::string &pClave)
{
    return emptyOnError<std::string>(
        [&] { return getValorIni(m_trimmedFile, trimmed(pSeccion), trimmed(pClave), {}); });
}

bool clsIni::getExisteValor(const std::string &pNombreSeccion, const std::string &pNombreClave)
{
    return emptyOnError<bool>([&] {
        const std::string value =
            getValorIni(m_trimmedFile, trimmed(pNombreSeccion), trimmed(pNombreClave), {});
        return !rules::trimSpaces(value).empty();
    });
}

void clsIni::doAdd(const std::string &pSeccion, const std::string &pClave,
                   const std::string &pValor)
{
    try {
        doGrabarValor(m_trimmedFile, trimmed(pSeccion), trimmed(pClave), trimmed(pValor));
    } catch (...) {
        // Writes are silent: the platform's result is not looked at either.
    }
}

void clsIni::doDelete(const std::string &pSeccion, const std::string &pClave)
{
    try {
        // Names and path go to the platform as they stand, unlike doAdd.
        m_functions.write(pSeccion.c_str(), pClave.empty() ? nullptr : pClave.c_str(), nullptr,
                          m_file.c_str());
    } catch (...) { }
}

// ---- sections -----------------------------------------------------------------------------

std::string clsIni::getLeerSeccion(int16_t pNro)
{
    return emptyOnError<std::string>([&]() -> std::string {
        const List list = getListaSecciones(m_file);
        if (!list || pNro < 1 || static_cast<size_t>(pNro) > list->size())
            return {};
        return (*list)[static_cast<size_t>(pNro) - 1];
    });
}

bool clsIni::getExisteSeccion(const std::string &pNombreSeccion)
{
    return emptyOnError<bool>([&] {
        const List list = getListaSecciones(m_file);
        if (!list)
            return false;
        const std::string wanted = comparable(pNombreSeccion);
        for (const std::string &name : *list) {
            if (comparable(name) == wanted)
                return true;
        }
        return false;
    });
}

int16_t clsIni::getCantidadSecciones()
{
    return emptyOnError<int16_t>([&]() -> int16_t {
        const List list = getListaSecciones(m_file);
        if (!list || list->size() > kIntegerMaximum)
            return 0;
        return static_cast<int16_t>(list->size());
    });
}

// ---- keys ---------------------------------------------------------------------------------

std::string clsIni::getLeerClave(const std::string &pNombreSeccion, int16_t pNro)
{
    return emptyOnError<std::string>([&]() -> std::string {
        const List list = getListaClaves(m_file, pNombreSeccion);
        if (!list)
            return {};
        int32_t number = 0;
        for (size_t item = 0; item < list->size(); item += 2) {
            if (++number == pNro)
                return (*list)[item];
        }
        return {};
    });
}

bool clsIni::getExisteClave(const std::string &pNombreSeccion, const std::string &pNombreClave)
{
    return emptyOnError<bool>([&] {
        const List list = getListaClaves(m_file, pNombreSeccion);
        if (!list)
            return false;
        const std::string wanted = comparable(pNombreClave);
        for (size_t item = 0; item < list->size(); item += 2) {
            if (comparable((*list)[item]) == wanted)
                return true;
        }
        return false;
    });
}

int16_t clsIni::getCantidadClaves(const std::string &pNombreSeccion)
{
    return emptyOnError<int16_t>([&]() -> int16_t {
        const List list = getListaClaves(m_file, pNombreSeccion);
        if (!list)
            return 0;
        const size_t keys = list->size() / 2;
        return keys > kIntegerMaximum ? 0 : static_cast<int16_t>(keys);
    });
}

// ---- the dialog ---------------------------------------------------------------------------

void clsIni::doSeleccionarArchivo(int32_t phWnd)
{
    try {
        clsFileIni &dialog = *m_dialog;
        dialog.hWnd = phWnd;
        dialog.CancelError = true;
        dialog.InitDir = moduleFolder();
        dialog.DialogTitle = kSelectFileTitle;
        dialog.Filter(kSelectFileFilter);
        dialog.Flags = kSelectFileFlags;
        dialog.FileName = trimmed(m_file);
        dialog.ShowOpen();
        // A cancelled dialog leaves its error pending: File then keeps its value.
        if (dialog.Err().Number == 0)
            setFile(dialog.FileName);
    } catch (...) {
        // File keeps its value.
    }
    // The caller never sees the dialog's error.
    m_dialog->clearError();
}

} // namespace txini
