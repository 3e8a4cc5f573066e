// Conversions of config.ini text to numbers, the rounding rules and the twips helper.

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "startup/numberconversion.h"
#include "startup/twips.h"

namespace pindrel {
namespace {

template<typename Number>
struct ConversionRow
{
    const char *name;
    std::string text;
    std::optional<Number> expected;
};

template<typename Number>
std::string rowName(const ::testing::TestParamInfo<ConversionRow<Number>> &pInfo)
{
    return pInfo.param.name;
}

// ---- toInteger ----------------------------------------------------------------------------

using IntegerRow = ConversionRow<int16_t>;

class ToIntegerTest : public ::testing::TestWithParam<IntegerRow>
{
};

TEST_P(ToIntegerTest, Converts)
{
    EXPECT_EQ(toInteger(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

const IntegerRow kIntegerRows[] = {
    {"Zero", "0", 0},
    {"Plain", "390", 390},
    {"LeadingZeros", "000123", 123},
    {"HalfDownToEven", "1234.5", 1234},
    {"HalfUpToEven", "1235.5", 1236},
    {"NegativeHalfToZero", "-0.5", 0},
    {"NegativeHalfToEven", "-2.5", -2},
    {"BelowHalf", "2.4999", 2},
    {"AboveHalfByLittle", "2.5000001", 3},
    // A digit far beyond double precision still decides: the digits are rounded exactly.
    {"AboveHalfBeyondDouble", "2.50000000000000000001", 3},
    {"LargestValue", "32767", 32767},
    {"OneAboveLargest", "32768", std::nullopt},
    {"SmallestValue", "-32768", -32768},
    {"OneBelowSmallest", "-32769", std::nullopt},
    {"RoundsIntoOverflow", "32767.5", std::nullopt},
    {"RoundsToSmallest", "-32768.5", -32768},
    {"Huge", "99999999999999999999999", std::nullopt},
    {"SpacesAround", "  42  ", 42},
    {"TabsAndLineEnds", "\t7\r\n", 7},
    {"LeadingPlus", "+5", 5},
    {"SignThenSpace", "- 5", -5},
    {"TwoSigns", "+-1", std::nullopt},
    {"TrailingSign", "5-", std::nullopt},
    {"ZeroPrefixedNegative", "0-1", std::nullopt},
    {"Empty", "", std::nullopt},
    {"Blank", "   ", std::nullopt},
    {"Letters", "abc", std::nullopt},
    {"TrailingLetters", "12abc", std::nullopt},
    {"SpaceInside", "1 2", std::nullopt},
    {"ThousandsSeparator", "1,5", std::nullopt},
    {"LeadingPoint", ".5", 0},
    {"TrailingPoint", "5.", 5},
    {"PointOnly", ".", std::nullopt},
    {"TwoPoints", "1.2.3", std::nullopt},
    {"Exponent", "1e3", 1000},
    {"ExponentUpperCase", "25E-1", 2},
    {"ExponentD", "15D-1", 2},
    {"ExponentWithoutDigits", "1e", std::nullopt},
    {"ExponentSignWithoutDigits", "1e+", std::nullopt},
    {"HugeExponent", "1e99999", std::nullopt},
    {"TinyValue", "1e-400", 0},
    {"Hexadecimal", "&H10", 16},
    {"HexadecimalLowerCase", "&hff", 255},
    {"HexadecimalSpaces", "  &H7FFF  ", 32767},
    {"HexadecimalAllOnes", "&HFFFF", -1},
    {"HexadecimalTopBit", "&H8000", -32768},
    {"HexadecimalTooWide", "&H10000", std::nullopt},
    {"HexadecimalWithoutDigits", "&H", std::nullopt},
    {"HexadecimalBadDigit", "&H1G", std::nullopt},
    {"SignedHexadecimal", "-&H1", std::nullopt},
    {"Octal", "&O17", 15},
    {"OctalWithoutLetter", "&17", 15},
    {"OctalBadDigit", "&O8", std::nullopt},
    {"AmpersandOnly", "&", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Rows, ToIntegerTest, ::testing::ValuesIn(kIntegerRows), rowName<int16_t>);

// ---- toLong -------------------------------------------------------------------------------

using LongRow = ConversionRow<int32_t>;

class ToLongTest : public ::testing::TestWithParam<LongRow>
{
};

TEST_P(ToLongTest, Converts)
{
    EXPECT_EQ(toLong(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

const LongRow kLongRows[] = {
    {"ButtonFace", "-2147483633", static_cast<int32_t>(0x8000000FU)},
    {"ButtonText", "-2147483630", static_cast<int32_t>(0x80000012U)},
    {"LargestValue", "2147483647", 2147483647},
    {"OneAboveLargest", "2147483648", std::nullopt},
    {"SmallestValue", "-2147483648", std::numeric_limits<int32_t>::min()},
    {"OneBelowSmallest", "-2147483649", std::nullopt},
    {"HalfToEvenBelowLargest", "2147483646.5", 2147483646},
    {"RoundsIntoOverflow", "2147483647.5", std::nullopt},
    {"SixteenBitPatternIsPositive", "&HFFFF", 65535},
    {"AllOnes", "&HFFFFFFFF", -1},
    {"TooWide", "&H100000000", std::nullopt},
    {"ZeroPrefixedEmpty", "0", 0},
    {"ZeroPrefixedNegative", "0-1", std::nullopt},
    {"Letters", "red", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Rows, ToLongTest, ::testing::ValuesIn(kLongRows), rowName<int32_t>);

// ---- toSingle -----------------------------------------------------------------------------

using SingleRow = ConversionRow<float>;

class ToSingleTest : public ::testing::TestWithParam<SingleRow>
{
};

TEST_P(ToSingleTest, Converts)
{
    EXPECT_EQ(toSingle(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

const SingleRow kSingleRows[] = {
    {"Whole", "390", 390.0F},
    {"Fraction", "382.5", 382.5F},
    {"NegativeExponent", "-1.5e2", -150.0F},
    {"NearestFloat", "0.1", 0.1F},
    {"LargestFloat", "3.4028234e38", 3.4028234e38F},
    {"AboveLargestFloat", "3.5e38", std::nullopt},
    {"FarAboveLargestFloat", "1e300", std::nullopt},
    {"Underflow", "1e-50", 0.0F},
    {"AllOnesIsNegative", "&HFFFFFFFF", -1.0F},
    {"SixteenBitPattern", "&HFFFF", 65535.0F},
    {"Letters", "abc", std::nullopt},
    {"Empty", "", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Rows, ToSingleTest, ::testing::ValuesIn(kSingleRows), rowName<float>);

// ---- the "0" prefix -----------------------------------------------------------------------

TEST(WithZeroPrefix, EmptyReadsAsZeroAndNegativeFails)
{
    EXPECT_EQ(withZeroPrefix(""), "0");
    EXPECT_EQ(toInteger(withZeroPrefix("")), int16_t{0});
    EXPECT_EQ(toInteger(withZeroPrefix("390")), int16_t{390});
    EXPECT_EQ(toInteger(withZeroPrefix("-1")), std::nullopt);
    EXPECT_EQ(toInteger(withZeroPrefix("&H10")), std::nullopt);
}

// ---- rounding -----------------------------------------------------------------------------

struct RoundRow
{
    const char *name;
    double value;
    double expected;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundRow>
{
};

TEST_P(RoundHalfEvenTest, Rounds)
{
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().expected);
}

const RoundRow kRoundRows[] = {
    {"HalfToZero", 0.5, 0.0},
    {"OneAndHalf", 1.5, 2.0},
    {"TwoAndHalf", 2.5, 2.0},
    {"NegativeOneAndHalf", -1.5, -2.0},
    {"NegativeTwoAndHalf", -2.5, -2.0},
    {"NegativeHalf", -0.5, 0.0},
    {"BelowHalf", 2.4999, 2.0},
    {"AboveHalf", 2.5001, 3.0},
    {"Whole", 7.0, 7.0},
    {"Large", 1e300, 1e300},
};
INSTANTIATE_TEST_SUITE_P(Rows, RoundHalfEvenTest, ::testing::ValuesIn(kRoundRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(RoundToInteger, FailsOutsideTheRangeAfterRounding)
{
    EXPECT_EQ(roundToInteger(32767.4), int16_t{32767});
    EXPECT_EQ(roundToInteger(32767.5), std::nullopt);
    EXPECT_EQ(roundToInteger(-32768.5), int16_t{-32768});
    EXPECT_EQ(roundToInteger(std::nan("")), std::nullopt);
    EXPECT_EQ(roundToLong(2147483647.5), std::nullopt);
    EXPECT_EQ(roundToLong(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(roundToLong(std::numeric_limits<double>::infinity()), std::nullopt);
}

// ---- opacity ------------------------------------------------------------------------------

struct OpacityRow
{
    const char *name;
    int16_t percent;
    std::optional<uint8_t> expected;
};

class OpacityByteTest : public ::testing::TestWithParam<OpacityRow>
{
};

TEST_P(OpacityByteTest, Computes)
{
    EXPECT_EQ(opacityByte(GetParam().percent), GetParam().expected);
}

const OpacityRow kOpacityRows[] = {
    {"Negative", -5, std::nullopt},
    {"ZeroIsNotLayered", 0, std::nullopt},
    {"One", 1, uint8_t{3}},
    {"HalfToEvenUp", 50, uint8_t{128}},
    {"HalfToEvenDown", 70, uint8_t{178}},
    {"Full", 100, uint8_t{255}},
    {"AboveScaleIsSeventy", 101, uint8_t{178}},
    {"HundredFifty", 150, uint8_t{178}},
    {"Largest", 32767, uint8_t{178}},
};
INSTANTIATE_TEST_SUITE_P(Rows, OpacityByteTest, ::testing::ValuesIn(kOpacityRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- text of a Single ---------------------------------------------------------------------

struct TextRow
{
    const char *name;
    float value;
    const char *expected;
};

class TextFromSingleTest : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(TextFromSingleTest, Formats)
{
    const std::string text = textFromSingle(GetParam().value);
    EXPECT_EQ(text, GetParam().expected);
    // What is written must read back, to the precision written.
    const std::optional<float> back = toSingle(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_NEAR(*back, GetParam().value, std::fabs(GetParam().value) * 1e-6F);
}

const TextRow kTextRows[] = {
    {"Whole", 390.0F, "390"},
    {"Half", 382.5F, "382.5"},
    {"Negative", -1.0F, "-1"},
    {"NegativeZero", -0.0F, "0"},
    {"SevenDigits", 1.0F / 3.0F, "0.3333333"},
    {"LargeUsesExponent", 12345678.0F, "1.234568E+07"},
    {"TenBillion", 1e10F, "1E+10"},
    {"Small", 0.00001F, "1E-05"},
};
INSTANTIATE_TEST_SUITE_P(Rows, TextFromSingleTest, ::testing::ValuesIn(kTextRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

// ---- twips --------------------------------------------------------------------------------

struct PixelRow
{
    const char *name;
    float twips;
    float factor;
    int expected;
};

class ToPixelsTest : public ::testing::TestWithParam<PixelRow>
{
};

TEST_P(ToPixelsTest, Converts)
{
    EXPECT_EQ(toPixels(GetParam().twips, GetParam().factor), GetParam().expected);
}

const PixelRow kPixelRows[] = {
    {"DefaultBarHeight", 390.0F, 15.0F, 26},
    {"HalfPixelToEvenUp", 22.5F, 15.0F, 2},
    {"HalfPixelToEvenDown", 37.5F, 15.0F, 2},
    {"HighDpi", 390.0F, 10.0F, 39},
    {"Negative", -15.0F, 15.0F, -1},
    {"ZeroFactor", 390.0F, 0.0F, 0},
    {"NotANumber", std::nanf(""), 15.0F, 0},
    {"BeyondInt", FLT_MAX, 15.0F, std::numeric_limits<int>::max()},
};
INSTANTIATE_TEST_SUITE_P(Rows, ToPixelsTest, ::testing::ValuesIn(kPixelRows),
                         [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(Twips, PixelsBackToTwips)
{
    EXPECT_EQ(toTwips(26, 15.0F), 390.0F);
    EXPECT_EQ(toPixels(toTwips(123, 12.0F), 12.0F), 123);
}

} // namespace
} // namespace pindrel
