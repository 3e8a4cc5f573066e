#include "startup_testsupport.h"

#include <fstream>
#include <iterator>
#include <ostream>

#include <QFile>
#include <QFileInfo>

namespace pindrel::test {

std::string readBytes(const QString &pPath)
{
    std::ifstream in(QFile::encodeName(pPath).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const QString &pPath, const std::string &pBytes)
{
    std::ofstream out(QFile::encodeName(pPath).toStdString(), std::ios::binary | std::ios::trunc);
    out << pBytes;
}

TempConfig::TempConfig()
    : m_path(m_dir.path() + QStringLiteral("/config.ini"))
{ }

bool TempConfig::exists() const
{
    return QFileInfo::exists(m_path);
}

std::ostream &operator<<(std::ostream &pStream, const Write &pWrite)
{
    return pStream << '[' << pWrite.section << "] " << pWrite.key << '=' << pWrite.value;
}

RecordingIni::RecordingIni(std::vector<Write> &pWrites)
    : m_writes(pWrites)
{ }

std::string RecordingIni::getLeerClave(const std::string &pNombreSeccion, int16_t pNro)
{
    return m_ini.getLeerClave(pNombreSeccion, pNro);
}

void RecordingIni::doAdd(const std::string &pSeccion, const std::string &pClave,
                         const std::string &pValor)
{
    m_writes.push_back({pSeccion, pClave, pValor});
    m_ini.doAdd(pSeccion, pClave, pValor);
}

void RecordingIni::doDelete(const std::string &pSeccion, const std::string &pClave)
{
    m_ini.doDelete(pSeccion, pClave);
}

void RecordingIni::doSeleccionarArchivo(int32_t phWnd)
{
    m_ini.doSeleccionarArchivo(phWnd);
}

std::string RecordingIni::getLeerValor(const std::string &pSeccion, const std::string &pClave)
{
    return m_ini.getLeerValor(pSeccion, pClave);
}

std::string RecordingIni::getLeerSeccion(int16_t pNro)
{
    return m_ini.getLeerSeccion(pNro);
}

std::string RecordingIni::File() const
{
    return m_ini.File();
}

void RecordingIni::File(const std::string &vNewValue)
{
    m_ini.File(vNewValue);
}

bool RecordingIni::getExisteSeccion(const std::string &pNombreSeccion)
{
    return m_ini.getExisteSeccion(pNombreSeccion);
}

bool RecordingIni::getExisteClave(const std::string &pNombreSeccion,
                                  const std::string &pNombreClave)
{
    return m_ini.getExisteClave(pNombreSeccion, pNombreClave);
}

bool RecordingIni::getExisteValor(const std::string &pNombreSeccion,
                                  const std::string &pNombreClave)
{
    return m_ini.getExisteValor(pNombreSeccion, pNombreClave);
}

int16_t RecordingIni::getCantidadSecciones()
{
    return m_ini.getCantidadSecciones();
}

int16_t RecordingIni::getCantidadClaves(const std::string &pNombreSeccion)
{
    return m_ini.getCantidadClaves(pNombreSeccion);
}

} // namespace pindrel::test
