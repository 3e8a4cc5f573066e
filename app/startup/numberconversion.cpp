#include "startup/numberconversion.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace pindrel {

namespace {

// Exponents beyond this many decimal places are refused outright, as the runtime did; no
// setting comes near it and it keeps the digit arithmetic below small.
constexpr int64_t kLargestExponent = 9999;

// A number as the text spells it, before it is fitted to a type.
struct ParsedNumber
{
    bool negative = false;
    // Hexadecimal or octal: a bit pattern, not a decimal value.
    bool isPattern = false;
    uint64_t pattern = 0;
    // Decimal: value = digits × 10^exponent, digits without leading or trailing zeros
    // (empty for zero).
    std::string digits;
    int64_t exponent = 0;
};

bool isBlank(char pChar)
{
    return pChar == ' ' || pChar == '\t' || pChar == '\n' || pChar == '\r' || pChar == '\v'
        || pChar == '\f';
}

bool isDigit(char pChar)
{
    return pChar >= '0' && pChar <= '9';
}

int digitValue(char pChar)
{
    if (isDigit(pChar))
        return pChar - '0';
    if (pChar >= 'a' && pChar <= 'f')
        return pChar - 'a' + 10;
    if (pChar >= 'A' && pChar <= 'F')
        return pChar - 'A' + 10;
    return -1;
}

class Scanner
{
public:
    explicit Scanner(std::string_view pText)
        : m_text(pText)
    { }

    bool atEnd() const { return m_position >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_position]; }
    void advance() { ++m_position; }
    void skipBlanks()
    {
        while (!atEnd() && isBlank(peek()))
            advance();
    }

private:
    std::string_view m_text;
    size_t m_position = 0;
};

// "&H…", "&O…" or "&…" after the "&": the digits of the base, at least one.
std::optional<ParsedNumber> parsePattern(Scanner &pScanner)
{
    int shift = 3;
    if (pScanner.peek() == 'h' || pScanner.peek() == 'H') {
        shift = 4;
        pScanner.advance();
    } else if (pScanner.peek() == 'o' || pScanner.peek() == 'O') {
        pScanner.advance();
    }
    const int largestDigit = shift == 4 ? 15 : 7;

    ParsedNumber number;
    number.isPattern = true;
    bool anyDigit = false;
    for (;;) {
        const int value = digitValue(pScanner.peek());
        if (value < 0 || value > largestDigit)
            break;
        anyDigit = true;
        // More than 64 bits: no type holds it.
        if (number.pattern >> (64 - shift) != 0)
            return std::nullopt;
        number.pattern = (number.pattern << shift) | static_cast<uint64_t>(value);
        pScanner.advance();
    }
    if (!anyDigit)
        return std::nullopt;
    pScanner.skipBlanks();
    if (!pScanner.atEnd())
        return std::nullopt;
    return number;
}

std::optional<ParsedNumber> parseDecimal(Scanner &pScanner)
{
    ParsedNumber number;
    if (pScanner.peek() == '+' || pScanner.peek() == '-') {
        number.negative = pScanner.peek() == '-';
        pScanner.advance();
        pScanner.skipBlanks();
    }

    std::string digits;
    int64_t fractionDigits = 0;
    bool anyDigit = false;
    while (isDigit(pScanner.peek())) {
        digits.push_back(pScanner.peek());
        anyDigit = true;
        pScanner.advance();
    }
    if (pScanner.peek() == '.') {
        pScanner.advance();
        while (isDigit(pScanner.peek())) {
            digits.push_back(pScanner.peek());
            ++fractionDigits;
            anyDigit = true;
            pScanner.advance();
        }
    }
    if (!anyDigit)
        return std::nullopt;

    int64_t exponent = 0;
    const char marker = pScanner.peek();
    if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
        pScanner.advance();
        bool negativeExponent = false;
        if (pScanner.peek() == '+' || pScanner.peek() == '-') {
            negativeExponent = pScanner.peek() == '-';
            pScanner.advance();
        }
        // A marker without exponent digits is not part of the number; what follows the
        // digits then is not a number at all.
        if (!isDigit(pScanner.peek()))
            return std::nullopt;
        while (isDigit(pScanner.peek())) {
            exponent = exponent * 10 + (pScanner.peek() - '0');
            if (exponent > kLargestExponent)
                return std::nullopt;
            pScanner.advance();
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    pScanner.skipBlanks();
    if (!pScanner.atEnd())
        return std::nullopt;

    const size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        digits.clear();
    else
        digits.erase(0, firstSignificant);
    exponent -= fractionDigits;
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    number.digits = std::move(digits);
    number.exponent = number.digits.empty() ? 0 : exponent;
    return number;
}

std::optional<ParsedNumber> parse(std::string_view pText)
{
    Scanner scanner(pText);
    scanner.skipBlanks();
    if (scanner.peek() == '&') {
        scanner.advance();
        return parsePattern(scanner);
    }
    return parseDecimal(scanner);
}

// The decimal value rounded to a whole number on its exact digits, halves to even, within
// [pLowest, pHighest].
std::optional<int64_t> wholeNumber(const ParsedNumber &pNumber, int64_t pLowest, int64_t pHighest)
{
    const std::string &digits = pNumber.digits;
    if (digits.empty())
        return 0;
    const int64_t integerDigits = static_cast<int64_t>(digits.size()) + pNumber.exponent;
    // Nineteen digits still fit an unsigned 64-bit value; every range here is far smaller.
    if (integerDigits > 19)
        return std::nullopt;

    uint64_t magnitude = 0;
    for (int64_t index = 0; index < integerDigits; ++index) {
        const auto position = static_cast<size_t>(index);
        const int digit = position < digits.size() ? digits[position] - '0' : 0;
        magnitude = magnitude * 10 + static_cast<uint64_t>(digit);
    }

    if (integerDigits >= 0 && static_cast<size_t>(integerDigits) < digits.size()) {
        // Digits are cut: the first cut digit decides, a 5 with nothing after it is a half.
        const auto cut = static_cast<size_t>(integerDigits);
        const int firstCut = digits[cut] - '0';
        const bool moreAfter = digits.size() > cut + 1;
        if (firstCut > 5 || (firstCut == 5 && (moreAfter || (magnitude & 1U) != 0)))
            ++magnitude;
    }
    // integerDigits < 0: below 0.1, rounds to 0.

    if (pNumber.negative) {
        if (magnitude > static_cast<uint64_t>(-pLowest))
            return std::nullopt;
        return -static_cast<int64_t>(magnitude);
    }
    if (magnitude > static_cast<uint64_t>(pHighest))
        return std::nullopt;
    return static_cast<int64_t>(magnitude);
}

} // namespace

std::optional<int16_t> toInteger(std::string_view pText) noexcept
{
    try {
        const std::optional<ParsedNumber> number = parse(pText);
        if (!number)
            return std::nullopt;
        if (number->isPattern) {
            if (number->pattern > 0xFFFFU)
                return std::nullopt;
            return static_cast<int16_t>(static_cast<uint16_t>(number->pattern));
        }
        const std::optional<int64_t> value = wholeNumber(
            *number, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
        if (!value)
            return std::nullopt;
        return static_cast<int16_t>(*value);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<int32_t> toLong(std::string_view pText) noexcept
{
    try {
        const std::optional<ParsedNumber> number = parse(pText);
        if (!number)
            return std::nullopt;
        if (number->isPattern) {
            if (number->pattern > 0xFFFFFFFFU)
                return std::nullopt;
            return static_cast<int32_t>(static_cast<uint32_t>(number->pattern));
        }
        const std::optional<int64_t> value = wholeNumber(
            *number, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        if (!value)
            return std::nullopt;
        return static_cast<int32_t>(*value);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<float> toSingle(std::string_view pText) noexcept
{
    try {
        const std::optional<ParsedNumber> number = parse(pText);
        if (!number)
            return std::nullopt;
        if (number->isPattern) {
            const uint64_t pattern = number->pattern;
            // A pattern is a whole number of the width its top bit marks as signed.
            if ((pattern >> 63) != 0)
                return static_cast<float>(static_cast<int64_t>(pattern));
            if (pattern >= 0x80000000U && pattern <= 0xFFFFFFFFU)
                return static_cast<float>(static_cast<int32_t>(static_cast<uint32_t>(pattern)));
            return static_cast<float>(pattern);
        }
        if (number->digits.empty())
            return 0.0F;

        const int64_t magnitudeDigits =
            static_cast<int64_t>(number->digits.size()) + number->exponent;
        if (magnitudeDigits > 40)
            return std::nullopt;
        if (magnitudeDigits < -60)
            return 0.0F;

        // The digits with their exponent, read as the nearest double, then narrowed.
        std::string text = number->digits;
        text += 'e';
        text += std::to_string(number->exponent);
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            return magnitudeDigits > 0 ? std::nullopt : std::optional<float>(0.0F);
        if (result.ec != std::errc())
            return std::nullopt;
        if (value > static_cast<double>(FLT_MAX))
            return std::nullopt;
        return static_cast<float>(number->negative ? -value : value);
    } catch (...) {
        return std::nullopt;
    }
}

std::string withZeroPrefix(std::string_view pText)
{
    std::string text;
    text.reserve(pText.size() + 1);
    text += '0';
    text += pText;
    return text;
}

double roundHalfEven(double pValue) noexcept
{
    if (!std::isfinite(pValue))
        return pValue;
    const double lower = std::floor(pValue);
    const double fraction = pValue - lower;
    if (fraction < 0.5)
        return lower + 0.0;
    if (fraction > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower + 0.0 : lower + 1.0;
}

std::optional<int16_t> roundToInteger(double pValue) noexcept
{
    const double rounded = roundHalfEven(pValue);
    if (!(rounded >= std::numeric_limits<int16_t>::min()
          && rounded <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<int32_t> roundToLong(double pValue) noexcept
{
    const double rounded = roundHalfEven(pValue);
    if (!(rounded >= std::numeric_limits<int32_t>::min()
          && rounded <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<uint8_t> opacityByte(int16_t pPercent) noexcept
{
    if (pPercent < 1)
        return std::nullopt;
    // A hand-edited percentage above the scale gives a clearly translucent bar rather than
    // an error.
    const int percent = pPercent > 100 ? 70 : pPercent;
    // percent × 255 is exact and so is the half it may end in: no rounding error decides.
    return static_cast<uint8_t>(roundHalfEven(percent * 255.0 / 100.0));
}

std::string textFromSingle(float pValue)
{
    // Zero of either sign is written "0".
    if (pValue == 0.0F)
        return "0";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), pValue,
                                      std::chars_format::general, 7);
    std::string text(buffer.data(), result.ptr);
    for (char &character : text) {
        if (character == 'e')
            character = 'E';
    }
    return text;
}

} // namespace pindrel
