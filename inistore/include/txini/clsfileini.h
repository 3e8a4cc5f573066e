#pragma once

// The library's dialog object: an open-file dialog bundled with a few small path and INI
// routines. clsIni uses only its dialog (clsIni::doSeleccionarArchivo); the rest are general
// helpers. Members report failures the way the original object did: through a pending error
// (see Err()) that they leave for the caller, never by throwing.

#include <cstdint>
#include <optional>
#include <string>

#include "txini/export.h"

namespace txini {

// An error left pending by a member, as number, source and description; number 0 is none.
struct PendingError
{
    int32_t Number = 0;
    std::string Source;
    std::string Description;
};

inline constexpr int32_t kErrorOpenCancelled = 32755;

class TXINI_EXPORT clsFileIni
{
public:
    clsFileIni();
    ~clsFileIni();

    // Public fields, in their published order.
    int32_t hWnd = 0;
    std::string DialogTitle;
    bool CancelError = false;
    int32_t Flags = 0;
    std::string DefaultExt;
    std::string FileName;
    std::string FileTitle;
    int32_t FilterIndex = 0;
    std::string InitDir;

    void DeleteSetting(const std::string &sIniFile, const std::string &sSection,
                       const std::string &sKey);
    // Splits sTodo at its last path separator into sPath and (when given) vNombre; vExt gets
    // the text after the last "." or "*" when there is none.
    void SplitPath(const std::string &sTodo, std::string &sPath, std::string *vNombre = nullptr,
                   std::string *vExt = nullptr);
    std::string QuitarCaracterEx(const std::string &sValor, const std::string &sCaracter,
                                 const std::optional<std::string> &sPoner = std::nullopt);
    bool ShowOpen(const std::optional<std::string> &vFileName = std::nullopt,
                  const std::optional<std::string> &vTitle = std::nullopt,
                  const std::optional<std::string> &vFilter = std::nullopt,
                  const std::optional<int32_t> &vFlags = std::nullopt,
                  const std::optional<int32_t> &vhWnd = std::nullopt);
    void Action(int16_t pAction);
    // Takes "description|pattern|..." and keeps it in the platform's NUL-separated form.
    void Filter(const std::string &sNewFilter);
    std::string LeerIni(const std::string &pFile, const std::string &pSection,
                        const std::string &pKey, const std::string &pDefault = {});
    std::string GetSetting(const std::string &pFile, const std::string &pSection,
                           const std::string &pKey, const std::string &pDefault = {});
    void GuardarIni(const std::string &pFile, const std::string &pSection, const std::string &pKey,
                    const std::string &pValue);
    void SaveSetting(const std::string &lpFileName, const std::string &lpAppName,
                     const std::string &lpKeyName, const std::string &lpString);
    std::string AddBackSlash(const std::string &sPath);
    std::string QuitarBackSlash(const std::string &sPath);

    // The filter in the platform's form, as Filter() left it.
    const std::string &filterText() const { return m_filter; }

    const PendingError &Err() const { return m_error; }
    void clearError() { m_error = {}; }

private:
    std::string m_filter;
    PendingError m_error;
};

} // namespace txini
