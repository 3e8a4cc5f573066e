// Fuzzes the four private-profile functions over a file whose content comes from the input.
//
// Input layout: the last byte gives the length (modulo 64) of a trailer of operation bytes just
// before it; everything in front of the trailer is the file's content. A seed that is a plain
// INI file thus keeps its content and loses only its last few bytes to the operations.
//
// Every input rewrites the one work file of this process and runs up to eight operations on
// it. Broken invariants stop the run with __builtin_trap, so that libFuzzer keeps the input.

#include "inidocument.h"
#include "txini/profile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool pCondition)
{
    if (!pCondition)
        __builtin_trap();
}

// The folder and file every input of this process goes to. On tmpfs when there is one, so
// that the engine's fsync calls cost nothing.
class Workspace
{
public:
    Workspace()
    {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        m_folder = base / ("txini-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder, error);
        m_file = (m_folder / "fuzz.ini").string();
        m_missing = (m_folder / "absent" / "none.ini").string();
    }
    ~Workspace()
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    const std::string &file() const { return m_file; }
    const std::string &missingFile() const { return m_missing; }

private:
    std::filesystem::path m_folder;
    std::string m_file;
    std::string m_missing;
};

Workspace &workspace()
{
    static Workspace instance;
    return instance;
}

std::string readBytes(const std::string &pPath)
{
    std::ifstream in(pPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string &pPath, std::string_view pBytes)
{
    std::ofstream out(pPath, std::ios::binary | std::ios::trunc);
    out.write(pBytes.data(), static_cast<std::streamsize>(pBytes.size()));
    out.close();
    require(static_cast<bool>(out));
}

// Parsing and writing back gives the file byte for byte.
void checkRoundTrip(std::string_view pBytes)
{
    require(txini::IniDocument::parse(pBytes).serialize() == pBytes);
}

bool isBlank(char pChar)
{
    return pChar == ' ' || pChar == '\t' || pChar == '\v';
}

bool isPlainNameChar(char pChar)
{
    return (pChar >= 'a' && pChar <= 'z') || (pChar >= 'A' && pChar <= 'Z')
        || (pChar >= '0' && pChar <= '9');
}

bool isPlainName(std::string_view pName)
{
    return !pName.empty() && std::all_of(pName.begin(), pName.end(), isPlainNameChar);
}

// A caller's buffer of exactly nSize bytes (one guard byte for nSize 0), filled with a
// non-NUL pattern so that a missing terminator shows. Writes past the end are ASan's to catch.
class Buffer
{
public:
    explicit Buffer(uint32_t pSize)
        : m_size(pSize)
        , m_bytes(std::make_unique<char[]>(std::max<uint32_t>(pSize, 1)))
    {
        std::memset(m_bytes.get(), kFill, std::max<uint32_t>(pSize, 1));
    }

    char *data() { return m_bytes.get(); }
    uint32_t size() const { return m_size; }

    // What every function promises: the count fits and the text is NUL-terminated within
    // nSize, the terminator sitting at the returned count.
    void checkResult(uint32_t pCount) const
    {
        if (m_size == 0) {
            require(pCount == 0);
            return;
        }
        require(pCount < m_size);
        require(std::memchr(m_bytes.get(), '\0', m_size) != nullptr);
        require(m_bytes[pCount] == '\0');
    }

    bool untouched() const { return m_bytes[0] == kFill; }
    std::string_view text(uint32_t pCount) const { return {m_bytes.get(), pCount}; }

private:
    static constexpr char kFill = 0x5a;
    uint32_t m_size;
    std::unique_ptr<char[]> m_bytes;
};

// Draws the operations' arguments from the trailer bytes, often reusing names that the file
// holds so that lookups and edits hit something.
class Arguments
{
public:
    Arguments(FuzzedDataProvider &pOps, std::string_view pContent)
        : m_ops(pOps)
    {
        const auto document = txini::IniDocument::parse(pContent);
        for (const txini::IniLine &line : document.lines()) {
            if (line.kind == txini::LineKind::Section || line.kind == txini::LineKind::Key) {
                m_names.push_back(line.name);
                if (line.kind == txini::LineKind::Key)
                    m_values.emplace_back(line.rawValue());
            }
        }
    }

    uint32_t bufferSize()
    {
        static constexpr uint32_t sizes[] = {0, 1, 2, 3, 4, 5, 7, 8, 16, 33, 64, 255, 4096};
        const uint8_t choice = m_ops.ConsumeIntegral<uint8_t>();
        if (choice < 200)
            return sizes[choice % std::size(sizes)];
        return m_ops.ConsumeIntegralInRange<uint32_t>(0, 70000);
    }

    // Any text, or NULL when pMayBeNull. The functions take C strings: the text ends at its
    // first NUL.
    std::optional<std::string> text(bool pMayBeNull)
    {
        auto result = anyText(pMayBeNull);
        if (result)
            result->resize(std::strlen(result->c_str()));
        return result;
    }

    // Letters and digits only: an existing plain name of the file, or a new one.
    std::string plainName()
    {
        if (m_ops.ConsumeBool()) {
            std::vector<std::string_view> plain;
            for (const std::string &name : m_names) {
                if (isPlainName(name))
                    plain.push_back(name);
            }
            if (!plain.empty()) {
                std::string name(plain[pick(plain.size())]);
                // Names match without regard to case: flip one letter now and then.
                if (m_ops.ConsumeBool() && (name[0] >= 'a' && name[0] <= 'z'))
                    name[0] = static_cast<char>(name[0] - 'a' + 'A');
                return name;
            }
        }
        static constexpr char alphabet[] = "abcxyzABCXYZ0189";
        const size_t length = m_ops.ConsumeIntegralInRange<size_t>(1, 8);
        std::string name;
        for (size_t i = 0; i < length; ++i)
            name += alphabet[m_ops.ConsumeIntegral<uint8_t>() % (sizeof(alphabet) - 1)];
        return name;
    }

    // Printable ASCII, no blanks at either end and not enclosed in one pair of quotes: a value
    // that must read back exactly as written.
    std::string plainValue()
    {
        std::string value = m_ops.ConsumeRandomLengthString(40);
        for (char &c : value)
            c = static_cast<char>(0x20 + static_cast<unsigned char>(c) % 95);
        for (;;) {
            if (!value.empty() && value.front() == ' ') {
                value.erase(value.begin());
            } else if (!value.empty() && value.back() == ' ') {
                value.pop_back();
            } else if (!value.empty() && (value.front() == '"' || value.front() == '\'')
                       && value.back() == value.front()) {
                value.pop_back();
            } else {
                break;
            }
        }
        return value;
    }

private:
    std::optional<std::string> anyText(bool pMayBeNull)
    {
        static constexpr const char *samples[] = {
            "",
            " ",
            "a",
            "A",
            "sec",
            " sec ",
            "key",
            "KEY",
            "a\tb",
            "a\rb",
            "a\nb",
            ";c",
            "[x]",
            "x=y",
            "\"q\"",
            "'q'",
            "\"x'",
            "  lead",
            "trail  ",
            "\xc3\xa9t\xc3\xa9",
            "\xef\xbb\xbf",
        };
        const uint8_t choice = m_ops.ConsumeIntegral<uint8_t>();
        switch (choice % 6) {
        case 0:
            if (pMayBeNull)
                return std::nullopt;
            return std::string();
        case 1:
            return std::string(samples[(choice / 6) % std::size(samples)]);
        case 2:
        case 3:
            if (!m_names.empty())
                return withSpaces(m_names[pick(m_names.size())], choice);
            return std::string(samples[(choice / 6) % std::size(samples)]);
        case 4:
            if (!m_values.empty())
                return m_values[pick(m_values.size())];
            return std::string();
        default:
            return m_ops.ConsumeRandomLengthString(24);
        }
    }

    size_t pick(size_t pCount) { return m_ops.ConsumeIntegralInRange<size_t>(0, pCount - 1); }

    // Lookups ignore spaces around the argument: add some.
    static std::string withSpaces(const std::string &pName, uint8_t pChoice)
    {
        switch (pChoice / 6 % 4) {
        case 0:
            return " " + pName;
        case 1:
            return pName + "  ";
        default:
            return pName;
        }
    }

    FuzzedDataProvider &m_ops;
    std::vector<std::string> m_names;
    std::vector<std::string> m_values;
};

const char *cString(const std::optional<std::string> &pText)
{
    return pText ? pText->c_str() : nullptr;
}

bool holdsLineBreak(const std::optional<std::string> &pText)
{
    return pText && pText->find_first_of("\r\n") != std::string::npos;
}

void readSectionNames(Arguments &pArgs, const std::string &pFile)
{
    Buffer buffer(pArgs.bufferSize());
    buffer.checkResult(
        txini::GetPrivateProfileSectionNamesA(buffer.data(), buffer.size(), pFile.c_str()));
}

void readSection(Arguments &pArgs, const std::string &pFile)
{
    const auto section = pArgs.text(false);
    Buffer buffer(pArgs.bufferSize());
    buffer.checkResult(txini::GetPrivateProfileSectionA(cString(section), buffer.data(),
                                                        buffer.size(), pFile.c_str()));
}

void readString(Arguments &pArgs, const std::string &pFile)
{
    const auto section = pArgs.text(true);
    const auto key = pArgs.text(true);
    const auto fallback = pArgs.text(true);
    Buffer buffer(pArgs.bufferSize());
    const uint32_t count =
        txini::GetPrivateProfileStringA(cString(section), cString(key), cString(fallback),
                                        buffer.data(), buffer.size(), pFile.c_str());
    buffer.checkResult(count);
    if (buffer.size() == 0)
        require(buffer.untouched());
}

// A file that is not there: every read gives the default, trailing spaces removed, cut to fit.
void readMissing(Arguments &pArgs, const std::string &pMissing)
{
    const auto section = pArgs.text(false);
    const auto key = pArgs.text(false);
    const auto fallback = pArgs.text(true);
    Buffer buffer(pArgs.bufferSize());
    const uint32_t count =
        txini::GetPrivateProfileStringA(cString(section), cString(key), cString(fallback),
                                        buffer.data(), buffer.size(), pMissing.c_str());
    buffer.checkResult(count);
    std::string expected = fallback.value_or("");
    while (!expected.empty() && expected.back() == ' ')
        expected.pop_back();
    if (buffer.size() > 0) {
        expected.resize(std::min<size_t>(expected.size(), buffer.size() - 1));
        require(buffer.text(count) == expected);
    }
}

void writeAnything(Arguments &pArgs, const std::string &pFile, std::string &pBytes)
{
    const auto section = pArgs.text(true);
    const auto key = pArgs.text(true);
    const auto value = pArgs.text(true);
    const int written = txini::WritePrivateProfileStringA(cString(section), cString(key),
                                                          cString(value), pFile.c_str());
    // Refused: no section, or a line break that would change the file's structure.
    if (!section
        || (value && (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value))))
        require(written == 0);

    const std::string after = readBytes(pFile);
    if (written == 0)
        require(after == pBytes);
    checkRoundTrip(after);
    pBytes = after;

    // A value that was written reads back as itself, less its blanks and one pair of quotes:
    // no name may turn its line into something else.
    if (written != 0 && section && key && value) {
        Buffer buffer(static_cast<uint32_t>(value->size() + 8));
        const uint32_t count =
            txini::GetPrivateProfileStringA(section->c_str(), key->c_str(), "\x01missing",
                                            buffer.data(), buffer.size(), pFile.c_str());
        buffer.checkResult(count);
        std::string_view expected(*value);
        while (!expected.empty() && isBlank(expected.front()))
            expected.remove_prefix(1);
        while (!expected.empty() && isBlank(expected.back()))
            expected.remove_suffix(1);
        if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'')
            && expected.back() == expected.front())
            expected = expected.substr(1, expected.size() - 2);
        require(buffer.text(count) == expected);
    }
}

void writePlainAndReadBack(Arguments &pArgs, const std::string &pFile, std::string &pBytes)
{
    const std::string section = pArgs.plainName();
    const std::string key = pArgs.plainName();
    const std::string value = pArgs.plainValue();
    const int written = txini::WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                                          value.c_str(), pFile.c_str());
    const std::string after = readBytes(pFile);
    if (written == 0) {
        require(after == pBytes);
        pBytes = after;
        return;
    }
    checkRoundTrip(after);
    pBytes = after;

    // Room for the value and a little more, so that a longer result would show.
    Buffer buffer(static_cast<uint32_t>(value.size() + 8));
    const uint32_t count = txini::GetPrivateProfileStringA(
        section.c_str(), key.c_str(), "\x01missing", buffer.data(), buffer.size(), pFile.c_str());
    buffer.checkResult(count);
    require(buffer.text(count) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if (pSize == 0)
        return 0;
    const size_t trailer = std::min<size_t>(pData[pSize - 1] % 64, pSize - 1);
    const size_t contentSize = pSize - 1 - trailer;
    const std::string_view content(reinterpret_cast<const char *>(pData), contentSize);
    FuzzedDataProvider ops(pData + contentSize, trailer);

    checkRoundTrip(content);

    const Workspace &work = workspace();
    writeBytes(work.file(), content);
    std::string bytes(content);
    Arguments args(ops, content);

    for (int step = 0; step < 8 && ops.remaining_bytes() > 0; ++step) {
        switch (ops.ConsumeIntegral<uint8_t>() % 6) {
        case 0:
            readSectionNames(args, work.file());
            break;
        case 1:
            readSection(args, work.file());
            break;
        case 2:
            readString(args, work.file());
            break;
        case 3:
            writeAnything(args, work.file(), bytes);
            break;
        case 4:
            writePlainAndReadBack(args, work.file(), bytes);
            break;
        default:
            readMissing(args, work.missingFile());
            break;
        }
    }
    return 0;
}
