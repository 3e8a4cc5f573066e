#include "benchinstall.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kIconColours = 5;
constexpr int kIconSize = 32;

void putLittleEndian(std::vector<char> &pBytes, uint32_t pValue, int pSize)
{
    for (int i = 0; i < pSize; ++i)
        pBytes.push_back(static_cast<char>((pValue >> (8 * i)) & 0xFF));
}

// A 32 x 32 picture of one colour, 24 bits a pixel, as a Windows bitmap: the smallest file
// that the program's picture loading reads like any icon.
std::vector<char> iconBitmap(uint8_t pRed, uint8_t pGreen, uint8_t pBlue)
{
    constexpr uint32_t rowBytes = kIconSize * 3; // already a multiple of four
    constexpr uint32_t pixelBytes = rowBytes * kIconSize;
    std::vector<char> bytes{'B', 'M'};
    putLittleEndian(bytes, 54 + pixelBytes, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, 54, 4);
    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, kIconSize, 4);
    putLittleEndian(bytes, kIconSize, 4);
    putLittleEndian(bytes, 1, 2);
    putLittleEndian(bytes, 24, 2);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, pixelBytes, 4);
    for (int i = 0; i < 4; ++i)
        putLittleEndian(bytes, i < 2 ? 2835 : 0, 4);
    for (uint32_t i = 0; i < pixelBytes / 3; ++i) {
        bytes.push_back(static_cast<char>(pBlue));
        bytes.push_back(static_cast<char>(pGreen));
        bytes.push_back(static_cast<char>(pRed));
    }
    return bytes;
}

// Programs that exist on any Debian system, so that the program menu finds real files.
std::string programPath(int pNumber)
{
    static const std::array<const char *, 6> candidates = {"/usr/bin/env",   "/usr/bin/cat",
                                                           "/usr/bin/ls",    "/usr/bin/xdotool",
                                                           "/usr/bin/xprop", "/bin/sh"};
    const char *path = candidates[static_cast<size_t>(pNumber) % candidates.size()];
    return fs::exists(path) ? path : "/bin/sh";
}

} // namespace

BenchInstall::BenchInstall(const fs::path &pProgram, const fs::path &pBase)
{
    std::string pattern = (pBase / "pindrel-startup-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        m_error = "cannot create a folder under " + pBase.string();
        return;
    }
    m_root = pattern;
    std::error_code error;
    const fs::path buildBin = pProgram.parent_path();
    fs::create_directories(m_root / "bin", error);
    if (!error)
        fs::copy_file(pProgram, program(), error);
    if (!error)
        fs::copy(buildBin / "background", m_root / "bin" / "background", error);
    if (!error)
        fs::create_directory_symlink(fs::canonical(buildBin / ".." / "lib"), m_root / "lib", error);
    if (error) {
        m_error = "cannot make the portable copy in " + m_root.string() + ": " + error.message();
        return;
    }
    if (!writeIcons())
        m_error = "cannot write the icons in " + m_root.string();
}

BenchInstall::~BenchInstall()
{
    if (m_root.empty())
        return;
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

bool BenchInstall::writeIcons()
{
    std::error_code error;
    fs::create_directories(m_root / "icons", error);
    if (error)
        return false;
    for (int i = 0; i < kIconColours; ++i) {
        const auto level = static_cast<uint8_t>(40 * i);
        const std::vector<char> bytes = iconBitmap(level, static_cast<uint8_t>(200 - level), 90);
        std::ofstream file(m_root / "icons" / ("drawer" + std::to_string(i) + ".bmp"),
                           std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            return false;
    }
    return true;
}

std::string BenchInstall::configText() const
{
    static const std::array<const char *, 7> places = {
        "Documents", "Pictures", "Music", "Downloads", "Projects", "Videos", "Desktop"};
    std::string text = "[TRANSPARENCIA]\nMAIN=100\nFORM=90\n"
                       "[MAIN]\nPOSITION=TOP\nHEIGHT=390\nBUTTONTYPE=1\n"
                       "[COLORS]\nMAIN=-2147483633\nBUTTON=-2147483633\nFORE=-2147483633\n"
                       "FORM=-2147483630\nTHEME=2\n"
                       "[GRAL]\nCANTBOT="
        + std::to_string(kDrawers) + "\nCANTPROG=" + std::to_string(kPrograms) + "\n";
    for (int n = 1; n <= kDrawers; ++n) {
        const std::string place = places[static_cast<size_t>(n) % places.size()];
        text += "[BUTTON" + std::to_string(n) + "]\n";
        text += "CAPTION=" + place + " " + std::to_string(n) + "\n";
        text += "PATH=" + m_root.string() + "\n";
        text += "ICON=";
        if (n % 3 != 0)
            text += (m_root / "icons" / ("drawer" + std::to_string(n % kIconColours) + ".bmp"))
                        .string();
        text += "\nHEIGHT=5745\nWIDTH=6855\nLEFT=" + std::to_string(n % 4 == 0 ? -1 : 150 * n);
        text += "\nTOP=390\nVISIBLE=" + std::to_string(n % 2) + "\nVIEW=" + std::to_string(n % 5)
            + "\n";
    }
    for (int n = 1; n <= kPrograms; ++n) {
        text += "[PROGRAM" + std::to_string(n) + "]\n";
        text += "CAPTION=Tool " + std::to_string(n) + "\n";
        text += "PATH=" + programPath(n) + "\n";
    }
    return text;
}

bool BenchInstall::writeConfig() const
{
    std::ofstream file(m_root / "bin" / "config.ini", std::ios::binary | std::ios::trunc);
    file << configText();
    return static_cast<bool>(file);
}

bool BenchInstall::configIntact() const
{
    std::ifstream file(m_root / "bin" / "config.ini", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return file.good() || file.eof() ? bytes == configText() : false;
}
