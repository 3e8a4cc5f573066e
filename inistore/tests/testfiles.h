#pragma once

// Test helpers: temporary folders and whole-file reads and writes, as bytes.

#include <filesystem>
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

std::string readBytes(const std::filesystem::path &pPath);
void writeBytes(const std::filesystem::path &pPath, const std::string &pBytes);
// The content of fixture file pName (from TXINI_FIXTURES_DIR).
std::string fixture(const std::string &pName);

} // namespace txini::test
