// The writer process of the stress tests: it writes to an INI file through the private-profile
// functions while the test kills it or races it against another writer.
//
//   txini_stress_writer FILE loop SECTION KEY
//       Writes KEY in SECTION over and over, with the numbers following the one stored (1 when
//       there is none), until killed. After each write that returned success it prints the
//       number on its own line and flushes, so the reader knows the last value that was
//       committed. Exit status 3 when a write fails.
//   txini_stress_writer FILE keys PREFIX COUNT
//       Writes keys PREFIX1 .. PREFIXCOUNT in section [S], each once, with the value
//       "value-" + key name, and exits 0; 3 when a write fails.
//
// Exit status 2 for bad arguments.

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "txini/profile.h"

namespace {

int usage()
{
    std::fputs("usage: txini_stress_writer FILE loop SECTION KEY\n"
               "       txini_stress_writer FILE keys PREFIX COUNT\n",
               stderr);
    return 2;
}

int writeFailed(const std::string &pKey, const std::string &pValue)
{
    std::fprintf(stderr, "txini_stress_writer: writing %s=%s failed\n", pKey.c_str(),
                 pValue.c_str());
    return 3;
}

long long storedNumber(const char *pFile, const char *pSection, const char *pKey)
{
    char buffer[64] = {};
    const auto length =
        txini::GetPrivateProfileStringA(pSection, pKey, "0", buffer, sizeof buffer, pFile);
    long long number = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + length, number);
    return error == std::errc() && end == buffer + length ? number : 0;
}

int loop(const char *pFile, const char *pSection, const char *pKey)
{
    // Carrying on from the stored number keeps the values rising across runs on one file, so
    // that the test never confuses an old value with a new one.
    for (long long number = storedNumber(pFile, pSection, pKey) + 1;; ++number) {
        const std::string value = std::to_string(number);
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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5)
        return usage();
    const std::string_view mode = argv[2];
    if (mode == "loop")
        return loop(argv[1], argv[3], argv[4]);
    if (mode == "keys")
        return keys(argv[1], argv[3], argv[4]);
    return usage();
}
