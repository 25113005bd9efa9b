#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "app/mylib/myLib.h"
#include "platform/Beep.h"

namespace orv {
namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

DecForm form(DecStyle style, int digits) {
  return DecForm{style, static_cast<std::int16_t>(digits)};
}

struct PrintCase {
  const char* name;
  long double value;
  DecForm format;
  std::string expected;
  char decimalSeparator = '.';
};

std::ostream& operator<<(std::ostream& os, const PrintCase& c) { return os << c.name; }

const DecForm F1 = form(DecStyle::FixedDecimal, 1);
const DecForm F2 = form(DecStyle::FixedDecimal, 2);
const DecForm F3 = form(DecStyle::FixedDecimal, 3);
const DecForm E0 = form(DecStyle::FloatDecimal, 0);
const DecForm E3 = form(DecStyle::FloatDecimal, 3);
const DecForm N3 = form(DecStyle::NoShow, 3);
const DecForm G3 = form(DecStyle::EngDecimal, 3);
const DecForm T1 = form(DecStyle::TimeForm, 1);
const DecForm T2 = form(DecStyle::TimeForm, 2);
const DecForm A4 = form(DecStyle::Auto, 4);

class SVALTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(SVALTest, PrintsInFormat) {
  const auto& c = GetParam();
  EXPECT_EQ(SVAL(c.value, c.format, c.decimalSeparator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SVALTest,
    ::testing::Values(
        // Fixed decimals.
        PrintCase{"F2NegativeRoundsToZeroKeepsSign", -0.001L, F2, "-0.00"},
        PrintCase{"F2BelowZeroBound", 1E-200L, F2, "0.00"},
        PrintCase{"F2NegativeBelowZeroBound", -1E-200L, F2, "0.00"},
        PrintCase{"F2Whole", 3, F2, "3.00"}, PrintCase{"F3TrailingZerosStay", 2.5L, F3, "2.500"},
        PrintCase{"F2ScientificFallbackSmall", 1E-40L, F2, "1.000000000000E-0040"},
        PrintCase{"F2ScientificFallbackLarge", 1E36L, F2, "1.000000000000E+0036"},
        PrintCase{"F2ScientificFallbackAbove2Pow119", 6.7E35L, F2, "6.700000000000E+0035"},
        PrintCase{"F2FixedJustBelow2Pow119", 6.6E35L, F2,
                  "660000000000000000000000000000000000.00"},
        PrintCase{"F2LeadingDigitAt10PowMinus35", 1.5E-35L, F2, "0.00"},
        PrintCase{"F2LeadingDigitAt10PowMinus36", 1.5E-36L, F2, "1.500000000000E-0036"},
        PrintCase{"F2TieRoundsAwayFromZero", 0.125L, F2, "0.13"},
        PrintCase{"F2NegativeTieRoundsAwayFromZero", -0.125L, F2, "-0.13"},
        PrintCase{"F0TieRoundsAwayFromZero", 2.5L, form(DecStyle::FixedDecimal, 0), "3"},
        PrintCase{"F0NoPoint", 1234.4L, form(DecStyle::FixedDecimal, 0), "1234"},
        PrintCase{"F0Only18SignificantDigits", 123456789012345678901.0L,
                  form(DecStyle::FixedDecimal, 0), "123456789012345679000"},
        PrintCase{"F10ExactBinaryFraction", 0.0009765625L, form(DecStyle::FixedDecimal, 10),
                  "0.0009765625"},
        PrintCase{"F9ExactTieRoundsAwayFromZero", 0.0009765625L, form(DecStyle::FixedDecimal, 9),
                  "0.000976563"},
        PrintCase{"F2CarryIntoNewDigit", 999.996L, F2, "1000.00"},
        // Scientific.
        PrintCase{"E0DropsPointAndDecimal", 1234, E0, "1E+03"},
        PrintCase{"E0DeletionDoesNotRound", 1560, E0, "1E+03"},
        PrintCase{"E3Zero", 0, E3, "0.000E+00"},
        PrintCase{"E3ThreeDigitExponent", 1E-120L, E3, "1.000E-120"},
        PrintCase{"E3FourDigitExponent", 1.5E1234L, E3, "1.500E+1234"},
        PrintCase{"E3CarryIntoExponent", 9.9996L, E3, "1.000E+01"},
        PrintCase{"E3Negative", -1234, E3, "-1.234E+03"},
        PrintCase{"E3TieRoundsAwayFromZero", 1.0625L, E3, "1.063E+00"},
        PrintCase{"NoShowPrintsLikeFloat", 1234, N3, "1.234E+03"},
        PrintCase{"E3NotDefinedValueIsARealNumber", kNotDefined, E3, "-1.000E-996"},
        // Engineering.
        PrintCase{"G3ExponentFour", 12340, G3, "12.34E3"},
        PrintCase{"G3NegativeExponentFour", 0.0001234L, G3, "123.4E-6"},
        PrintCase{"G3ExponentMultipleOfThree", 1234, G3, "1.234E+03"},
        PrintCase{"G3ExponentFive", 123400, G3, "123.4E3"},
        PrintCase{"G3Negative", -12340, G3, "-12.34E3"}, PrintCase{"G3Zero", 0, G3, "0.000E+00"},
        PrintCase{"G3HugeExponent", 1.5E4001L, G3, "150.0E3999"},
        PrintCase{"G3ExponentBeyond10Pow4000", 1.5E4501L, G3, "15.00E4500"},
        PrintCase{"G3TinyExponent", 1.5E-4000L, G3, "150.0E-4002"},
        // Time.
        PrintCase{"T1HalfHour", 1.5L, T1, "1:30"}, PrintCase{"T2Seconds", 2.50694L, T2, "2:30:25"},
        PrintCase{"T1Negative", -0.25L, T1, "-0:15"},
        PrintCase{"T2CarryThroughSecondsAndMinutes", 0.999999L, T2, "1:00:00"},
        PrintCase{"T1CarryOfHiddenSeconds", 1.9999L, T1, "2:00"},
        PrintCase{"T0ClampedToOne", 1.5L, form(DecStyle::TimeForm, 0), "1:30"},
        PrintCase{"T5ClampedToTwo", 1.5L, form(DecStyle::TimeForm, 5), "1:30:00"},
        PrintCase{"T2LargeHours", 123456.5L, T2, "123456:30:00"},
        // Special values.
        PrintCase{"InfinityFixed", kInfinity, F2, "infinity"},
        PrintCase{"MinusInfinityScientific", -kInfinity, E3, "-infinity"},
        PrintCase{"InfinityEngineering", kInfinity, G3, "infinity"},
        PrintCase{"NaNFixed", kNaN, F2, "NaN"}, PrintCase{"NaNScientific", kNaN, E3, "NaN"},
        PrintCase{"NaNTime", kNaN, T2, "NaN"},
        PrintCase{"IeeeInfinityFixed", std::numeric_limits<long double>::infinity(), F2,
                  "infinity"},
        // Regional decimal separator.
        PrintCase{"CommaSeparatorFixed", 1.5L, F1, "1,5", ','},
        PrintCase{"CommaSeparatorScientific", 1234, E3, "1,234E+03", ','},
        PrintCase{"CommaSeparatorTimeKeepsColons", 1.5L, T1, "1:30", ','},
        // Auto through SVAL prints like AutoSVAL.
        PrintCase{"AutoThroughSVAL", 123.456L, A4, "123.5"}),
    [](const auto& info) { return std::string(info.param.name); });

class AutoSVALTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(AutoSVALTest, PrintsInFormat) {
  const auto& c = GetParam();
  EXPECT_EQ(AutoSVAL(c.value, c.format, c.decimalSeparator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoSVALTest,
    ::testing::Values(
        PrintCase{"Zero", 0, A4, "0"}, PrintCase{"NegativeZero", -0.0L, A4, "0"},
        PrintCase{"One", 1, A4, "1"}, PrintCase{"OneAndAHalf", 1.5L, A4, "1.5"},
        PrintCase{"Half", 0.5L, A4, "0.5"}, PrintCase{"FourSignificant", 123.456L, A4, "123.5"},
        PrintCase{"SmallFixed", 0.0123456L, A4, "0.01235"},
        PrintCase{"Negative", -1.5L, A4, "-1.5"}, PrintCase{"WholeNoDecimals", 12345, A4, "12345"},
        PrintCase{"Million", 1000000, A4, "1000000"},
        PrintCase{"AboveMillion", 2500000, A4, "2.500E+06"},
        PrintCase{"BelowMillionth", 5E-7L, A4, "5.000E-07"},
        PrintCase{"FiveMillionths", 5E-6L, A4, "0.000005"},
        PrintCase{"JustBelowMillion", 999999, A4, "999999"},
        PrintCase{"JustAboveMillion", 1000001, A4, "1.000E+06"},
        PrintCase{"JustAboveMillionth", 0.0000012L, A4, "0.0000012"},
        PrintCase{"JustBelowMillionth", 0.00000099L, A4, "9.900E-07"},
        PrintCase{"TenThousandAndAHalf", 10000.5L, A4, "10001"},
        PrintCase{"NegativeMillions", -2500000, A4, "-2.500E+06"},
        PrintCase{"NotDefined", kNotDefined, A4, "not defined"},
        PrintCase{"BelowNotDefinedIsZero", 1E-1000L, A4, "0"}, PrintCase{"NaN", kNaN, A4, "NaN"},
        PrintCase{"CommaSeparator", 1.5L, A4, "1,5", ','},
        // Infinity in any style.
        PrintCase{"InfinityAuto", kInfinity, A4, "infinity"},
        PrintCase{"MinusInfinityAuto", -kInfinity, A4, "-infinity"},
        PrintCase{"InfinityFixed", kInfinity, F2, "infinity"},
        PrintCase{"InfinityTime", kInfinity, T1, "infinity"},
        PrintCase{"MinusInfinityScientific", -kInfinity, E3, "-infinity"},
        PrintCase{"AtInfinityBound", 9.99E3998L, A4, "infinity"},
        PrintCase{"AtMinusInfinityBound", -9.99E3998L, F2, "-infinity"},
        PrintCase{"JustBelowInfinityBound", 9.98E3998L, E3, "9.980E+3998"},
        PrintCase{"IeeeInfinity", std::numeric_limits<long double>::infinity(), A4, "infinity"},
        // Other styles go through SVAL.
        PrintCase{"FixedThroughSVAL", 3, F2, "3.00"},
        PrintCase{"EngineeringThroughSVAL", 12340, G3, "12.34E3"},
        PrintCase{"TimeThroughSVAL", 1.5L, T1, "1:30"},
        PrintCase{"NotDefinedInFixedIsZero", kNotDefined, F2, "0.00"},
        PrintCase{"BelowNotDefinedScientificIsZero", -1E-1000L, E3, "0.000E+00"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AutoFormCase {
  const char* name;
  long double value;
  DecStyle style;
  int digits;
};

std::ostream& operator<<(std::ostream& os, const AutoFormCase& c) { return os << c.name; }

class AutoSetFormTest : public ::testing::TestWithParam<AutoFormCase> {};

TEST_P(AutoSetFormTest, ChoosesStyleAndDecimals) {
  const auto& c = GetParam();
  DecForm f = form(DecStyle::Auto, 4);
  AutoSetForm(f, AutoDigits, c.value);
  EXPECT_EQ(f.Style, c.style);
  EXPECT_EQ(f.Digits, c.digits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoSetFormTest,
    ::testing::Values(AutoFormCase{"Zero", 0, DecStyle::FixedDecimal, 2},
                      AutoFormCase{"BelowMillionth", 5E-7L, DecStyle::FloatDecimal, 3},
                      AutoFormCase{"One", 1, DecStyle::FixedDecimal, 4},
                      AutoFormCase{"OneAndAHalf", 1.5L, DecStyle::FixedDecimal, 3},
                      AutoFormCase{"Hundreds", 123.456L, DecStyle::FixedDecimal, 1},
                      AutoFormCase{"SmallKeepsLargeD", 0.0123456L, DecStyle::FixedDecimal, 5},
                      AutoFormCase{"TenThousands", 12345, DecStyle::FixedDecimal, 0},
                      AutoFormCase{"Million", 1000000, DecStyle::FixedDecimal, 0},
                      AutoFormCase{"AboveMillion", 1000001, DecStyle::FloatDecimal, 3},
                      AutoFormCase{"NegativeUsesMagnitude", -1.5L, DecStyle::FixedDecimal, 3}),
    [](const auto& info) { return std::string(info.param.name); });

struct CodeCase {
  const char* name;
  std::string code;
  DecStyle style;
  int digits;
};

std::ostream& operator<<(std::ostream& os, const CodeCase& c) { return os << c.name; }

class DoFormatTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(DoFormatTest, ReadsLayoutCode) {
  const auto& c = GetParam();
  EXPECT_EQ(doFormat(c.code), form(c.style, c.digits));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DoFormatTest,
    ::testing::Values(CodeCase{"Fixed", "F3", DecStyle::FixedDecimal, 3},
                      CodeCase{"TimeWithSeconds", "T2", DecStyle::TimeForm, 2},
                      CodeCase{"Auto", "A4", DecStyle::Auto, 4},
                      CodeCase{"Float", "E2", DecStyle::FloatDecimal, 2},
                      CodeCase{"Engineering", "G3", DecStyle::EngDecimal, 3},
                      CodeCase{"String", "S0", DecStyle::StrVar, 0},
                      CodeCase{"RestIgnored", "F37xyz", DecStyle::FixedDecimal, 3},
                      CodeCase{"UnknownLetterIsAuto", "Q5", DecStyle::Auto, 5},
                      CodeCase{"LowerCaseIsNotALetterOfTheCode", "f3", DecStyle::Auto, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DoFormatTest, RaisesConversionErrorWithoutDigit) {
  struct {
    std::string code;
    std::string message;
  } cases[] = {{"Fx", "'x' is not a valid integer value"},
               {"F", "'' is not a valid integer value"},
               {"", "'' is not a valid integer value"},
               {"F-", "'-' is not a valid integer value"},
               {"F ", "' ' is not a valid integer value"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    try {
      doFormat(c.code);
      ADD_FAILURE() << "no error";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(IntPowerTest, MultipliesOrDividesRepeatedly) {
  EXPECT_EQ(IntPower(2, 10), 1024);
  EXPECT_EQ(IntPower(10, 4), 10000);
  EXPECT_EQ(IntPower(7, 0), 1);
  EXPECT_EQ(IntPower(10, -3), ((1.0L / 10) / 10) / 10);
  EXPECT_EQ(IntPower(-2, 3), -8);
  EXPECT_TRUE(std::isinf(IntPower(0, -1)));
  EXPECT_TRUE(std::isinf(IntPower(10, 5000)));
  EXPECT_EQ(IntPower(10, -5000), 0);
  // Huge exponents end at once where further steps change nothing.
  EXPECT_EQ(IntPower(-1, INT_MAX), -1);
  EXPECT_EQ(IntPower(1, INT_MIN), 1);
  EXPECT_TRUE(std::isinf(IntPower(3, INT_MAX)));
}

TEST(AddThousandsSeparatorTest, LeavesTextUnchanged) {
  EXPECT_EQ(AddThousandsSeparator("1234567.5"), "1234567.5");
}

TEST(RemoveQuotesTest, RemovesApostrophesAndBeepsUnlessNoneOrAPair) {
  struct {
    std::string text;
    std::string expected;
    bool beeps;
  } cases[] = {{"'Water'", "Water", false},
               {"It's", "Its", true},
               {"plain", "plain", false},
               {"'a'b'", "ab", true},
               {"''''", "", true}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto before = beepCount(25);
    RemoveQuotes(c.text);
    EXPECT_EQ(c.text, c.expected);
    EXPECT_EQ(beepCount(25) - before, c.beeps ? 1u : 0u);
  }
}

}  // namespace
}  // namespace orv
