#include "startup/settings.h"

#include <optional>

#include "startup/numberconversion.h"
#include "txini/clsini.h"

namespace pindrel {

namespace {

// One appearance setting: asks whether the value exists; if it does, hands its text to
// pConvert, which stores it when it converts; if not, stores the default and writes its text.
template<typename Convert, typename Default>
void readSetting(txini::_clsIni &pIni, const char *pSection, const char *pKey, Convert pConvert,
                 Default pDefault, const std::string &pDefaultText)
{
    if (pIni.getExisteValor(pSection, pKey)) {
        pConvert(pIni.getLeerValor(pSection, pKey));
        return;
    }
    pDefault();
    pIni.doAdd(pSection, pKey, pDefaultText);
}

template<typename Number>
void assignIfConverted(Number &pTarget, const std::optional<Number> &pValue)
{
    if (pValue)
        pTarget = *pValue;
}

// A colour setting: 32-bit, read as written.
void readColor(txini::_clsIni &pIni, const char *pKey, int32_t &pTarget, int32_t pDefault)
{
    readSetting(
        pIni, "COLORS", pKey,
        [&](const std::string &pText) { assignIfConverted(pTarget, toLong(pText)); },
        [&] { pTarget = pDefault; }, std::to_string(pDefault));
}

} // namespace

Settings loadSettings(txini::_clsIni &pIni)
{
    Settings settings;

    // The percentages are read as written, without a "0" in front: a negative percentage then
    // reads as negative (a window that is not layered) instead of failing.
    readSetting(
        pIni, "TRANSPARENCIA", "MAIN",
        [&](const std::string &pText) { assignIfConverted(settings.barOpacity, toInteger(pText)); },
        [&] { settings.barOpacity = defaults::kBarOpacity; },
        std::to_string(defaults::kBarOpacity));
    readSetting(
        pIni, "TRANSPARENCIA", "FORM",
        [&](const std::string &pText) {
            assignIfConverted(settings.formOpacity, toInteger(pText));
        },
        [&] { settings.formOpacity = defaults::kFormOpacity; },
        std::to_string(defaults::kFormOpacity));

    readSetting(
        pIni, "MAIN", "POSITION",
        [&](const std::string &pText) { settings.position = QString::fromStdString(pText); },
        [&] { settings.position = QString::fromLatin1(defaults::kPosition); }, defaults::kPosition);
    readSetting(
        pIni, "MAIN", "HEIGHT",
        [&](const std::string &pText) {
            assignIfConverted(settings.barHeight, toInteger(withZeroPrefix(pText)));
        },
        [&] { settings.barHeight = defaults::kBarHeight; }, std::to_string(defaults::kBarHeight));

    readColor(pIni, "MAIN", settings.barColor, defaults::kBarColor);
    readColor(pIni, "BUTTON", settings.buttonColor, defaults::kButtonColor);
    readColor(pIni, "FORE", settings.buttonTextColor, defaults::kButtonTextColor);
    readColor(pIni, "FORM", settings.formColor, defaults::kFormColor);

    readSetting(
        pIni, "MAIN", "BUTTONTYPE",
        [&](const std::string &pText) {
            assignIfConverted(settings.buttonStyle, toLong(withZeroPrefix(pText)));
        },
        [&] { settings.buttonStyle = defaults::kButtonStyle; },
        std::to_string(defaults::kButtonStyle));
    readSetting(
        pIni, "COLORS", "THEME",
        [&](const std::string &pText) {
            assignIfConverted(settings.theme, toInteger(withZeroPrefix(pText)));
        },
        [&] { settings.theme = defaults::kTheme; }, std::to_string(defaults::kTheme));

    return settings;
}

int16_t readCount(txini::_clsIni &pIni, const std::string &pKey, int16_t pCurrent)
{
    if (!pIni.getExisteValor(kSectionGeneral, pKey))
        return 0;
    return toInteger(pIni.getLeerValor(kSectionGeneral, pKey)).value_or(pCurrent);
}

} // namespace pindrel
