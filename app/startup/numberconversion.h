#pragma once

// Number conversions of the program: text from config.ini to numbers and back, and the
// rounding the program applies wherever a fraction becomes a whole number.
//
// Text is converted as the classic automation runtime converts a string assigned to an
// Integer, Long or Single:
//   - leading and trailing white space (space, tab, CR, LF, VT, FF) is ignored;
//   - one leading sign, "+" or "-", may be followed by white space before the number;
//   - digits with at most one decimal point "." (".5" and "5." are numbers, "." is not);
//   - an optional exponent: "e", "E", "d" or "D", an optional sign and at least one digit;
//   - or, right after the leading white space and without a sign, a hexadecimal number "&H"
//     or an octal number "&O" (or "&" alone) followed by at least one digit of its base.
// Anything else anywhere in the text fails the conversion, and so does empty text.
// A decimal number is rounded to a whole number on its exact decimal digits, halves to the
// even neighbour ("1234.5" gives 1234, "1235.5" gives 1236, "-0.5" gives 0); a result outside
// the target's range fails. A hexadecimal or octal number is a bit pattern: up to 16 bits it
// is a 16-bit two's-complement value for an Integer ("&HFFFF" is -1), up to 32 bits for a Long
// ("&HFFFFFFFF" is -1, "&HFFFF" is 65535); longer patterns fail.
//
// The decimal point is always "."; thousands separators, currency symbols, trailing signs and
// parentheses, which the runtime took from the user's locale, are not accepted: "1,5" fails
// rather than being read as 15.
//
// No function here throws; a failed conversion is an empty optional, and the caller keeps the
// value it had, as the original program's "errors ignored" assignments did.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pindrel {

// Text to a 16-bit Integer.
std::optional<int16_t> toInteger(std::string_view pText) noexcept;

// Text to a 32-bit Long.
std::optional<int32_t> toLong(std::string_view pText) noexcept;

// Text to a single-precision Single: the nearest float to the decimal value. A magnitude
// above the largest float fails; one below the smallest gives 0. Hexadecimal and octal
// patterns of 32 bits with the top bit set are negative ("&HFFFFFFFF" is -1).
std::optional<float> toSingle(std::string_view pText) noexcept;

// "0" followed by the text: the form in which some settings are read so that an empty value
// reads as 0. "0" + "-1" is "0-1", which fails; "0" + "" is "0".
std::string withZeroPrefix(std::string_view pText);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 → 2, 3.5 → 4,
// -0.5 → 0). Infinite and NaN values come back unchanged.
double roundHalfEven(double pValue) noexcept;

// A floating-point value to a 16-bit or 32-bit whole number: rounded halves to even, empty
// when the rounded value is outside the range (or not a number).
std::optional<int16_t> roundToInteger(double pValue) noexcept;
std::optional<int32_t> roundToLong(double pValue) noexcept;

// The opacity byte for an opacity in percent: empty below 1 (the window is not made
// translucent at all); above 100 the percentage is taken as 70; otherwise the percentage
// × 255 / 100 rounded halves to even (100 → 255, 70 → 178, 50 → 128, 1 → 3).
std::optional<uint8_t> opacityByte(int16_t pPercent) noexcept;

// The text a Single is written as: at most 7 significant digits, no trailing zeros, no
// decimal point for whole numbers ("390", "382.5", "0.3333333"), an exponent for very large
// or small magnitudes ("1E+10", "1E-05"). The decimal point is always ".".
std::string textFromSingle(float pValue);

} // namespace pindrel
