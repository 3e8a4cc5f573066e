#pragma once

// The program under measurement as a user would have it: a portable copy (bin/pindrel,
// bin/background/, lib/ linked to the build's libraries) in a folder of its own, with a
// config.ini of 100 drawers (two in three with an icon) and 20 programs, text-and-icon buttons
// and a background theme. Every appearance key is present, so a start writes nothing.

#include <filesystem>
#include <string>

class BenchInstall
{
public:
    // Copies pProgram (a pindrel in a build's bin/, with background/ beside it and the
    // libraries in ../lib) into a new folder under pBase. isValid() tells whether it worked.
    BenchInstall(const std::filesystem::path &pProgram, const std::filesystem::path &pBase);
    // Removes the folder.
    ~BenchInstall();

    BenchInstall(const BenchInstall &) = delete;
    BenchInstall &operator=(const BenchInstall &) = delete;

    bool isValid() const { return m_error.empty(); }
    const std::string &error() const { return m_error; }

    std::filesystem::path program() const { return m_root / "bin" / "pindrel"; }

    // Writes config.ini afresh.
    bool writeConfig() const;
    // Whether config.ini still holds exactly what writeConfig writes (a start that found every
    // key in place and a close that stored the same drawer count leave it so).
    bool configIntact() const;

    static constexpr int kDrawers = 100;
    static constexpr int kPrograms = 20;

private:
    bool writeIcons();
    std::string configText() const;

    std::filesystem::path m_root;
    std::string m_error;
};
