#pragma once

// Test helpers: temporary folders and whole-file reads and writes, as bytes.

#include <filesystem>
#include <optional>
#include <string>

namespace txini::test {

// A fresh folder, removed with everything in it when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    // pName inside the folder, as a string for the C functions.
    std::string file(const std::string &pName) const;

private:
    std::filesystem::path m_path;
};

// Sets an environment variable while the object lives, then puts back what was there.
class ScopedVariable
{
public:
    ScopedVariable(const char *pName, const std::string &pValue);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    void set(const char *pValue) const; // nullptr removes the variable

    std::string m_name;
    std::optional<std::string> m_previous;
};

std::string readBytes(const std::filesystem::path &pPath);
void writeBytes(const std::filesystem::path &pPath, const std::string &pBytes);
// The content of fixture file pName (from TXINI_FIXTURES_DIR).
std::string fixture(const std::string &pName);

} // namespace txini::test
