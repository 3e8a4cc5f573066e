#pragma once

// Helpers shared by the start-up tests: a temporary config.ini, a store that records the
// writes it passes on, and a bar stand-in that records what the registry asks of it.

#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "startup/registryhost.h"
#include "txini/clsini.h"

namespace pindrel::test {

std::string readBytes(const QString &pPath);
void writeBytes(const QString &pPath, const std::string &pBytes);

// A fresh folder with the path of a config.ini inside it (not created).
class TempConfig
{
public:
    TempConfig();
    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    std::string bytes() const { return readBytes(m_path); }
    void write(const std::string &pBytes) const { writeBytes(m_path, pBytes); }
    bool exists() const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// One doAdd as the store received it.
struct Write
{
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const Write &) const = default;
};
std::ostream &operator<<(std::ostream &pStream, const Write &pWrite);

// Passes every call to a real clsIni on the file and records each doAdd in order.
class RecordingIni : public txini::_clsIni
{
public:
    explicit RecordingIni(std::vector<Write> &pWrites);

    std::string getLeerClave(const std::string &pNombreSeccion, int16_t pNro) override;
    void doAdd(const std::string &pSeccion, const std::string &pClave,
               const std::string &pValor) override;
    void doDelete(const std::string &pSeccion, const std::string &pClave) override;
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

private:
    txini::clsIni m_ini;
    std::vector<Write> &m_writes;
};

// Records the calls in order: "MostrarBotones", "MostrarProgramas", "pump",
// "exclamation:<text>".
class RecordingHost : public RegistryHost
{
public:
    void MostrarBotones() override { calls.emplace_back("MostrarBotones"); }
    void MostrarProgramas() override { calls.emplace_back("MostrarProgramas"); }
    float barHeightTwips() const override { return barHeight; }
    void showExclamation(const QString &pText) override
    {
        calls.push_back("exclamation:" + pText.toStdString());
    }
    void processPendingMessages() override { calls.emplace_back("pump"); }

    float barHeight = 390.0F;
    std::vector<std::string> calls;
};

} // namespace pindrel::test
