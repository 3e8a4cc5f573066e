#include "testfiles.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace txini::test {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            base / ("txini-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string TempDir::file(const std::string &pName) const
{
    return (m_path / pName).string();
}

ScopedVariable::ScopedVariable(const char *pName, const std::string &pValue)
    : m_name(pName)
{
    if (const char *previous = std::getenv(pName))
        m_previous = previous;
    set(pValue.c_str());
}

ScopedVariable::~ScopedVariable()
{
    set(m_previous ? m_previous->c_str() : nullptr);
}

void ScopedVariable::set(const char *pValue) const
{
#ifdef _WIN32
    ::_putenv_s(m_name.c_str(), pValue != nullptr ? pValue : "");
#else
    if (pValue != nullptr)
        ::setenv(m_name.c_str(), pValue, 1);
    else
        ::unsetenv(m_name.c_str());
#endif
}

std::string readBytes(const std::filesystem::path &pPath)
{
    std::ifstream in(pPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + pPath.string());
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::filesystem::path &pPath, const std::string &pBytes)
{
    std::ofstream out(pPath, std::ios::binary | std::ios::trunc);
    out.write(pBytes.data(), static_cast<std::streamsize>(pBytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + pPath.string());
}

std::string fixture(const std::string &pName)
{
    const char *fromEnvironment = std::getenv("TXINI_FIXTURES_DIR");
#ifdef TXINI_FIXTURES_DIR
    const std::string dir = fromEnvironment ? fromEnvironment : TXINI_FIXTURES_DIR;
#else
    const std::string dir = fromEnvironment ? fromEnvironment : "fixtures";
#endif
    return readBytes(std::filesystem::path(dir) / pName);
}

} // namespace txini::test
