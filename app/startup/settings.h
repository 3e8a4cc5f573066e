#pragma once

// The appearance settings the bar reads from config.ini once at start-up, and the two counts
// under [GRAL].
//
// Keys, their encodings and defaults:
//   [TRANSPARENCIA] MAIN, FORM   16-bit percent, read as written                 100, 100
//   [MAIN] POSITION              text, compared case-sensitively later            "TOP"
//   [MAIN] HEIGHT                twips, "0" + value read as 16-bit                390
//   [MAIN] BUTTONTYPE            "0" + value read as 32-bit                       0
//   [COLORS] MAIN, BUTTON, FORE  32-bit OLE colour                                -2147483633
//   [COLORS] FORM                32-bit OLE colour                                -2147483630
//   [COLORS] THEME               "0" + value read as 16-bit                       0
//   [GRAL] CANTBOT, CANTPROG     16-bit counts; missing is 0 and is not written back

#include <cstdint>
#include <string>

#include <QString>

#include "startup/olecolor.h"

namespace txini {
class _clsIni;
}

namespace pindrel {

// Settings in memory. A default-constructed value holds the program's initial values, all 0
// and empty, which a setting keeps when its stored text does not convert.
struct Settings
{
    int16_t barOpacity = 0; // TRANSPARENCIA MAIN, percent
    int16_t formOpacity = 0; // TRANSPARENCIA FORM, percent
    QString position; // MAIN POSITION
    int16_t barHeight = 0; // MAIN HEIGHT, twips
    int32_t buttonStyle = 0; // MAIN BUTTONTYPE
    int32_t barColor = 0; // COLORS MAIN, OLE colour
    int32_t buttonColor = 0; // COLORS BUTTON
    int32_t buttonTextColor = 0; // COLORS FORE
    int32_t formColor = 0; // COLORS FORM
    int16_t theme = 0; // COLORS THEME

    bool operator==(const Settings &) const = default;
};

// The values a first run writes.
namespace defaults {
inline constexpr int16_t kBarOpacity = 100;
inline constexpr int16_t kFormOpacity = 100;
inline constexpr char kPosition[] = "TOP";
inline constexpr int16_t kBarHeight = 390;
inline constexpr int32_t kBarColor = kOleButtonFace;
inline constexpr int32_t kButtonColor = kOleButtonFace;
inline constexpr int32_t kButtonTextColor = kOleButtonFace;
inline constexpr int32_t kFormColor = kOleButtonText;
inline constexpr int32_t kButtonStyle = 0;
inline constexpr int16_t kTheme = 0;
} // namespace defaults

// Reads the ten appearance settings in the order TRANSPARENCIA MAIN, TRANSPARENCIA FORM,
// MAIN POSITION, MAIN HEIGHT, COLORS MAIN, COLORS BUTTON, COLORS FORE, COLORS FORM,
// MAIN BUTTONTYPE, COLORS THEME. For each: when the store says the value exists (not blank),
// it is converted into the setting; a value that does not convert leaves the setting at its
// initial value and nothing is written. When it does not exist, the setting takes its default
// and the default is written to the store at once, so a first run leaves all ten keys in the
// sections TRANSPARENCIA, MAIN, COLORS. Never throws; failing writes go unnoticed.
Settings loadSettings(txini::_clsIni &pIni);

// GRAL CANTBOT or GRAL CANTPROG: 0 when the value does not exist (nothing is written), the
// value when it converts to a 16-bit number, and pCurrent (the count in memory) when it is
// there but does not convert, as a failed assignment leaves the variable unchanged. The result
// is not range-checked here: see AppState::clampDrawerCount for the drawer count.
int16_t readCount(txini::_clsIni &pIni, const std::string &pKey, int16_t pCurrent = 0);

inline constexpr char kSectionGeneral[] = "GRAL";
inline constexpr char kKeyDrawerCount[] = "CANTBOT";
inline constexpr char kKeyProgramCount[] = "CANTPROG";

} // namespace pindrel
