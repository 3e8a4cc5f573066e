#pragma once

// The INI store object: reads, writes, deletes, existence tests, counts and enumeration of one
// INI file. It keeps no copy of the file: every call goes to the file anew.
//
// No member reports an error: a failing step gives the member's empty value ("", false, 0) and
// the object stays usable; no exception leaves a member. Calls on one object must not overlap.
//
// Reads return whole data: values of any length, and section or key lists however long (counts
// above 32,767 still give 0, as an Integer cannot hold them).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "txini/export.h"

namespace txini {

class clsFileIni;

// The interface, members in slot order.
class TXINI_EXPORT _clsIni
{
public:
    virtual ~_clsIni();

    virtual std::string getLeerClave(const std::string &pNombreSeccion, int16_t pNro) = 0;
    virtual void doAdd(const std::string &pSeccion, const std::string &pClave,
                       const std::string &pValor) = 0;
    virtual void doDelete(const std::string &pSeccion, const std::string &pClave = {}) = 0;
    virtual void doSeleccionarArchivo(int32_t phWnd) = 0;
    virtual std::string getLeerValor(const std::string &pSeccion, const std::string &pClave) = 0;
    virtual std::string getLeerSeccion(int16_t pNro) = 0;
    virtual std::string File() const = 0;
    virtual void File(const std::string &vNewValue) = 0;
    virtual bool getExisteSeccion(const std::string &pNombreSeccion) = 0;
    virtual bool getExisteClave(const std::string &pNombreSeccion,
                                const std::string &pNombreClave) = 0;
    virtual bool getExisteValor(const std::string &pNombreSeccion,
                                const std::string &pNombreClave) = 0;
    virtual int16_t getCantidadSecciones() = 0;
    virtual int16_t getCantidadClaves(const std::string &pNombreSeccion) = 0;
};

// The private-profile functions the store works through. The default is the library's own
// four; tests install scripted ones to reach cases a well-formed file never produces. The
// functions must behave as the platform's: results as documented in txini/profile.h.
struct TXINI_EXPORT ProfileFunctions
{
    uint32_t (*sectionNames)(char *buffer, uint32_t size, const char *file);
    uint32_t (*section)(const char *section, char *buffer, uint32_t size, const char *file);
    uint32_t (*string)(const char *section, const char *key, const char *defaultValue, char *buffer,
                       uint32_t size, const char *file);
    int (*write)(const char *section, const char *key, const char *value, const char *file);

    // GetPrivateProfileSectionNamesA, GetPrivateProfileSectionA, GetPrivateProfileStringA and
    // WritePrivateProfileStringA of txini/profile.h.
    static ProfileFunctions library();
};

class TXINI_EXPORT clsIni : public _clsIni
{
public:
    clsIni();
    explicit clsIni(const ProfileFunctions &pFunctions);
    ~clsIni() override;

    clsIni(const clsIni &) = delete;
    clsIni &operator=(const clsIni &) = delete;

    std::string getLeerClave(const std::string &pNombreSeccion, int16_t pNro) override;
    void doAdd(const std::string &pSeccion, const std::string &pClave,
               const std::string &pValor) override;
    void doDelete(const std::string &pSeccion, const std::string &pClave = {}) override;
    void doSeleccionarArchivo(int32_t phWnd) override;
    std::string getLeerValor(const std::string &pSeccion, const std::string &pClave) override;
    std::string getLeerSeccion(int16_t pNro) override;
    std::string File() const override;
    void File(const std::string &vNewValue) override;
    bool getExisteSeccion(const std::string &pNombreSeccion) override;
    bool getExisteClave(const std::string &pNombreSeccion,
                        const std::string &pNombreClave) override;
    bool getExisteValor(const std::string &pNombreSeccion,
                        const std::string &pNombreClave) override;
    int16_t getCantidadSecciones() override;
    int16_t getCantidadClaves(const std::string &pNombreSeccion) override;

    // The folder of the library's own module file with its separator, followed by "config.ini".
    static std::string defaultFile();

    // The dialog object doSeleccionarArchivo prepares and shows, for inspection.
    const clsFileIni &dialogObject() const { return *m_dialog; }

private:
    using List = std::optional<std::vector<std::string>>;

    List getListaSecciones(const std::string &pFile);
    List getListaClaves(const std::string &pFile, const std::string &pSection);
    std::string getValorIni(const std::string &pFile, const std::string &pSection,
                            const std::string &pKey, const std::string &pDefault);
    void doGrabarValor(const std::string &pFile, const std::string &pSection,
                       const std::string &pKey, const std::string &pValue);

    void setFile(const std::string &pFile);

    ProfileFunctions m_functions;
    std::string m_file;
    std::string m_trimmedFile; // m_file without its spaces, as the value members use it
    std::unique_ptr<clsFileIni> m_dialog;
};

} // namespace txini
