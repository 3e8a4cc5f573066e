// The writer process of the stress tests: it writes to an INI file through the private-profile
// functions while the test kills it or races it against another writer.
//
//   txini_stress_writer FILE loop SECTION KEY
//       Writes KEY in SECTION over and over, with the numbers following the one stored (1 when
//       there is none), until killed. After each write that returned success it prints the
//       number on its own line and flushes, so the reader knows the last value that was
//       committed. Exit status 3 when a write fails.
//   txini_stress_writer FILE loop-padded SECTION KEY
//       As loop, but every odd number is followed by 400 dots, so that each write changes the
//       file's size: a rewrite in place then has its tail to cut as well.
//   txini_stress_writer FILE keys PREFIX COUNT
//       Writes keys PREFIX1 .. PREFIXCOUNT in section [S], each once, with the value
//       "value-" + key name, and exits 0; 3 when a write fails.
//   txini_stress_writer FILE read SECTION KEY
//       Reads KEY in SECTION once and prints it (a reader after a crash: it mends the file).
//   txini_stress_writer FILE watch SECTION KEY COUNT
//       Reads the file COUNT times while loop-padded writes it and checks each read for a
//       whole file of the stress tests: 101 sections, the last drawer's VIEW, and KEY holding
//       a number padded as loop-padded pads it. Prints the number of reads; exits 4 after
//       any read that saw something else, describing the first ones on stderr.
//
// Exit status 2 for bad arguments.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "txini/profile.h"

namespace {

int usage()
{
    std::fputs("usage: txini_stress_writer FILE loop|loop-padded SECTION KEY\n"
               "       txini_stress_writer FILE keys PREFIX COUNT\n"
               "       txini_stress_writer FILE read SECTION KEY\n"
               "       txini_stress_writer FILE watch SECTION KEY COUNT\n",
               stderr);
    return 2;
}

int writeFailed(const std::string &pKey, const std::string &pValue)
{
    std::fprintf(stderr, "txini_stress_writer: writing %s=%s failed\n", pKey.c_str(),
                 pValue.c_str());
    return 3;
}

std::string readValue(const char *pFile, const char *pSection, const char *pKey)
{
    char buffer[1024] = {};
    const auto length =
        txini::GetPrivateProfileStringA(pSection, pKey, "0", buffer, sizeof buffer, pFile);
    return std::string(buffer, length);
}

// The number a value starts with; -1 when it starts with none.
long long leadingNumber(const std::string &pValue)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(pValue.data(), pValue.data() + pValue.size(), number);
    return error == std::errc() ? number : -1;
}

std::string padded(long long pNumber)
{
    return std::to_string(pNumber) + (pNumber % 2 == 1 ? std::string(400, '.') : std::string());
}

int loop(const char *pFile, const char *pSection, const char *pKey, bool pPadded)
{
    // Carrying on from the stored number keeps the values rising across runs on one file, so
    // that the test never confuses an old value with a new one.
    const long long stored = leadingNumber(readValue(pFile, pSection, pKey));
    for (long long number = std::max(stored, 0LL) + 1;; ++number) {
        const std::string value = pPadded ? padded(number) : std::to_string(number);
        if (!txini::WritePrivateProfileStringA(pSection, pKey, value.c_str(), pFile))
            return writeFailed(pKey, value);
        // When the reading end is gone, the write raises SIGPIPE and ends the loop.
        std::printf("%lld\n", number);
        std::fflush(stdout);
    }
}

int keys(const char *pFile, const std::string &pPrefix, std::string_view pCount)
{
    int count = 0;
    const auto [end, error] = std::from_chars(pCount.data(), pCount.data() + pCount.size(), count);
    if (error != std::errc() || end != pCount.data() + pCount.size() || count < 1)
        return usage();
    for (int index = 1; index <= count; ++index) {
        const std::string key = pPrefix + std::to_string(index);
        const std::string value = "value-" + key;
        if (!txini::WritePrivateProfileStringA("S", key.c_str(), value.c_str(), pFile))
            return writeFailed(key, value);
    }
    return 0;
}

// What is wrong with one read of the file, empty when nothing is.
std::string checkRead(const char *pFile, const char *pSection, const char *pKey)
{
    char names[8192];
    const auto length = txini::GetPrivateProfileSectionNamesA(names, sizeof names, pFile);
    int sections = 0;
    for (uint32_t i = 0; i < length; ++i)
        sections += names[i] == '\0' ? 1 : 0;
    if (sections != 101)
        return std::to_string(sections) + " sections";
    if (const std::string view = readValue(pFile, "BUTTON100", "VIEW"); view != "0")
        return "BUTTON100 VIEW is '" + view + "'";
    const std::string value = readValue(pFile, pSection, pKey);
    const long long number = leadingNumber(value);
    if (number < 0 || value != padded(number))
        return "the counter is '" + value.substr(0, 40) + "'";
    return {};
}

int watch(const char *pFile, const char *pSection, const char *pKey, std::string_view pCount)
{
    int count = 0;
    const auto [end, error] = std::from_chars(pCount.data(), pCount.data() + pCount.size(), count);
    if (error != std::errc() || end != pCount.data() + pCount.size() || count < 1)
        return usage();
    int bad = 0;
    for (int read = 1; read <= count; ++read) {
        const std::string problem = checkRead(pFile, pSection, pKey);
        if (problem.empty())
            continue;
        if (++bad <= 3)
            std::fprintf(stderr, "txini_stress_writer: read %d: %s\n", read, problem.c_str());
    }
    std::printf("%d\n", count);
    if (bad > 0)
        std::fprintf(stderr, "txini_stress_writer: %d of %d reads saw a torn file\n", bad, count);
    return bad > 0 ? 4 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5)
        return usage();
    const std::string_view mode = argv[2];
    if (argc == 5 && mode == "loop")
        return loop(argv[1], argv[3], argv[4], false);
    if (argc == 5 && mode == "loop-padded")
        return loop(argv[1], argv[3], argv[4], true);
    if (argc == 5 && mode == "keys")
        return keys(argv[1], argv[3], argv[4]);
    if (argc == 5 && mode == "read") {
        std::printf("%s\n", readValue(argv[1], argv[3], argv[4]).c_str());
        return 0;
    }
    if (argc == 6 && mode == "watch")
        return watch(argv[1], argv[3], argv[4], argv[5]);
    return usage();
}
