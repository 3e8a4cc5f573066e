#include "txini/clsfileini.h"

#include <string_view>

#include "modulepath.h"
#include "profilereader.h"
#include "textrules.h"
#include "txini/clsini.h"
#include "txini/openfiledialog.h"

namespace txini {

using namespace std::string_literals;

namespace {

// The capacity of each of the dialog record's text buffers (the platform's MAX_PATH).
constexpr uint32_t kBufferCharacters = 260;

const std::string kDefaultFilter = "Todos los Archivos (*.*)\0*.*\0\0"s;
constexpr char kDefaultTitle[] = "Abrir";
constexpr char kOpenErrorSource[] = "cComDlgR.ShowOpen";
constexpr char kOpenErrorDescription[] = "Error en Abrir (clase cComDlgR)";

// A text buffer of the record: the text cut to the capacity and padded with NULs.
std::string paddedBuffer(const std::string &pText)
{
    std::string buffer = pText.substr(0, kBufferCharacters);
    buffer.resize(kBufferCharacters, '\0');
    return buffer;
}

std::string untilNul(const std::string &pBuffer)
{
    return pBuffer.substr(0, pBuffer.find('\0'));
}

} // namespace

clsFileIni::clsFileIni() = default;

clsFileIni::~clsFileIni() = default;

// ---- settings -----------------------------------------------------------------------------

std::string clsFileIni::GetSetting(const std::string &pFile, const std::string &pSection,
                                   const std::string &pKey, const std::string &pDefault)
{
    return ProfileReader(ProfileFunctions::library()).readValue(pFile, pSection, pKey, pDefault);
}

std::string clsFileIni::LeerIni(const std::string &pFile, const std::string &pSection,
                                const std::string &pKey, const std::string &pDefault)
{
    return GetSetting(pFile, pSection, pKey, pDefault);
}

void clsFileIni::SaveSetting(const std::string &lpFileName, const std::string &lpAppName,
                             const std::string &lpKeyName, const std::string &lpString)
{
    ProfileFunctions::library().write(lpAppName.c_str(), lpKeyName.c_str(), lpString.c_str(),
                                      lpFileName.c_str());
}

void clsFileIni::GuardarIni(const std::string &pFile, const std::string &pSection,
                            const std::string &pKey, const std::string &pValue)
{
    SaveSetting(pFile, pSection, pKey, pValue);
}

void clsFileIni::DeleteSetting(const std::string &sIniFile, const std::string &sSection,
                               const std::string &sKey)
{
    // No value removes the key; no key at all removes the whole section.
    ProfileFunctions::library().write(sSection.c_str(), sKey.empty() ? nullptr : sKey.c_str(),
                                      nullptr, sIniFile.c_str());
}

// ---- paths --------------------------------------------------------------------------------

void clsFileIni::SplitPath(const std::string &sTodo, std::string &sPath, std::string *vNombre,
                           std::string *vExt)
{
    // The outputs may be the input itself: work on a copy.
    const std::string whole = sTodo;
    if (vNombre)
        *vNombre = whole;
    if (vExt) {
        const size_t dot = whole.rfind('.');
        *vExt = (dot == std::string::npos || dot + 1 == whole.size()) ? "*" : whole.substr(dot + 1);
    }
    const size_t separator = whole.rfind(kPathSeparator);
    if (separator == std::string::npos) {
        sPath.clear();
        return;
    }
    sPath = whole.substr(0, separator);
    if (vNombre)
        *vNombre = whole.substr(separator + 1);
}

std::string clsFileIni::AddBackSlash(const std::string &sPath)
{
    if (sPath.empty() || sPath.back() == kPathSeparator)
        return sPath;
    return sPath + kPathSeparator;
}

std::string clsFileIni::QuitarBackSlash(const std::string &sPath)
{
    if (!sPath.empty() && sPath.back() == kPathSeparator)
        return sPath.substr(0, sPath.size() - 1);
    return sPath;
}

std::string clsFileIni::QuitarCaracterEx(const std::string &sValor, const std::string &sCaracter,
                                         const std::optional<std::string> &sPoner)
{
    if (sCaracter.empty())
        return sValor;
    const std::string replacement = sPoner.value_or(std::string());
    std::string text = sValor;

    if (sCaracter.front() == '\0') {
        // The dialog's buffers: the padding goes, then every NUL left is a separator.
        while (!text.empty() && text.back() == '\0')
            text.pop_back();
        for (size_t nul = text.find('\0'); nul != std::string::npos;
             nul = text.find('\0', nul + replacement.size())) {
            text.replace(nul, 1, replacement);
        }
        return text;
    }

    // The scan stays at a replaced position so that occurrences the replacement forms with what
    // follows are handled too. A replacement that holds the character itself would match there
    // forever: then the scan goes on after the inserted text.
    const bool stepOver = replacement.find(sCaracter) != std::string::npos;
    size_t position = 0;
    while (position < text.size()) {
        if (text.compare(position, sCaracter.size(), sCaracter) != 0) {
            ++position;
            continue;
        }
        text.replace(position, sCaracter.size(), replacement);
        if (stepOver)
            position += replacement.size();
    }
    return text;
}

// ---- the dialog ---------------------------------------------------------------------------

void clsFileIni::Filter(const std::string &sNewFilter)
{
    if (sNewFilter.find('|') != std::string::npos) {
        std::string text(rules::trimSpaces(sNewFilter));
        if (text.empty() || text.back() != '|')
            text += '|';
        std::string converted;
        for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|')) {
            converted.append(text, 0, bar);
            converted += '\0';
            text.erase(0, bar + 1);
        }
        converted += (!converted.empty() && converted.back() == '\0') ? "\0"s : "\0\0"s;
        m_filter = converted;
    } else if (sNewFilter.find('\0') != std::string::npos) {
        m_filter = sNewFilter; // already in the platform's form
    } else {
        m_filter.clear();
    }
}

bool clsFileIni::ShowOpen(const std::optional<std::string> &vFileName,
                          const std::optional<std::string> &vTitle,
                          const std::optional<std::string> &vFilter,
                          const std::optional<int32_t> &vFlags, const std::optional<int32_t> &vhWnd)
{
    m_error = {};
    if (vFileName)
        FileName = *vFileName;
    if (vhWnd)
        hWnd = *vhWnd;
    if (vFilter)
        Filter(*vFilter);
    if (vTitle)
        DialogTitle = *vTitle;
    if (vFlags)
        Flags = *vFlags;
    if (m_filter.empty())
        m_filter = kDefaultFilter;
    if (DialogTitle.empty())
        DialogTitle = kDefaultTitle;

    OpenFileName record;
    record.hwndOwner = hWnd;
    record.filter = m_filter;
    record.filterIndex = FilterIndex;
    record.file = paddedBuffer(FileName);
    record.maxFile = kBufferCharacters;
    record.fileTitle = paddedBuffer(FileTitle);
    record.maxFileTitle = kBufferCharacters;
    record.initialDir = paddedBuffer(InitDir);
    record.title = DialogTitle;
    record.flags = Flags;
    record.defaultExt = DefaultExt;

    // Without a dialog installed the library cannot ask anyone: that is a cancellation.
    const std::shared_ptr<OpenFileDialog> dialog = installedOpenFileDialog();
    const bool chosen = dialog && dialog->getOpenFileName(record);
    if (!chosen) {
        if (CancelError)
            m_error = {kErrorOpenCancelled, kOpenErrorSource, kOpenErrorDescription};
        return false;
    }

    if ((Flags & kOfnAllowMultiSelect) == 0) {
        FileName = untilNul(record.file);
        FileTitle = untilNul(record.fileTitle);
        InitDir = untilNul(record.initialDir);
    } else {
        // Folder and names separated by NULs become a list of quoted names: "dir" "a" "b".
        const auto quotedList = [this](const std::string &pBuffer) {
            return '"' + std::string(rules::trimSpaces(QuitarCaracterEx(pBuffer, "\0"s, "\" \"")))
                + '"';
        };
        FileName = quotedList(record.file);
        FileTitle = quotedList(record.fileTitle);
        InitDir = quotedList(record.initialDir);
    }
    return true;
}

void clsFileIni::Action(int16_t pAction)
{
    if (pAction == 1)
        ShowOpen();
}

} // namespace txini
