#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/mylib/myLib.h"

namespace orv {
namespace {

struct Str2NumCase {
  const char* name;
  std::string text;
  bool ok;
  long double value;  // compared exactly unless tolerance > 0
  long double tolerance = 0;
};

std::ostream& operator<<(std::ostream& os, const Str2NumCase& c) { return os << c.name; }

class Str2NumTest : public ::testing::TestWithParam<Str2NumCase> {};

TEST_P(Str2NumTest, ReadsTextAsNumber) {
  const auto& c = GetParam();
  bool ok = !c.ok;
  const long double v = Str2Num(c.text, ok);
  EXPECT_EQ(ok, c.ok) << "text \"" << c.text << "\"";
  if (!c.ok) {
    EXPECT_EQ(v, kFailureValue);
  } else if (c.tolerance > 0) {
    EXPECT_NEAR(static_cast<double>(v - c.value), 0.0, static_cast<double>(c.tolerance));
  } else {
    EXPECT_EQ(v, c.value);
  }
}

const long double kTimeTolerance = 1e-17L;

INSTANTIATE_TEST_SUITE_P(
    Cases, Str2NumTest,
    ::testing::Values(
        // Empty and blank texts.
        Str2NumCase{"Empty", "", false, 0}, Str2NumCase{"OnlyBlanks", "   ", false, 0},
        Str2NumCase{"OnlyControlCharacters", "\t\r\n", false, 0},
        // Blanks, separators, points.
        Str2NumCase{"BlanksAround", " 12 ", true, 12},
        Str2NumCase{"BlankInside", "1 000", true, 1000},
        Str2NumCase{"ThousandsSeparator", "1,234.5", true, 1234.5L},
        Str2NumCase{"CommaIsNeverDecimal", "1,5", true, 15},
        Str2NumCase{"ControlCharactersAround", "\t12\r\n", true, 12},
        Str2NumCase{"TabInsideStays", "1\t000", false, 0},
        Str2NumCase{"BlanksBetweenSignAndDigits", " - 5", true, -5},
        Str2NumCase{"TrailingPoint", "5.", true, 5}, Str2NumCase{"LeadingPoint", ".5", true, 0.5L},
        Str2NumCase{"MinusLeadingPoint", "-.5", true, -0.5L},
        Str2NumCase{"PlusSign", "+5", true, 5},
        // A trailing decimal point gets a "0": a lone point reads as ".0".
        Str2NumCase{"OnlyPoint", ".", true, 0}, Str2NumCase{"OnlySign", "-", false, 0},
        Str2NumCase{"SecondPoint", "1.5.3", false, 0},
        // Exponents.
        Str2NumCase{"LowerExponent", "1e3", true, 1000},
        Str2NumCase{"SignedExponent", "1E+3", true, 1000},
        Str2NumCase{"Plain1000", "1000", true, 1000},
        Str2NumCase{"NegativeExponent", "25e-2", true, 0.25L},
        Str2NumCase{"ExponentWithoutDigits", "1e", false, 0},
        Str2NumCase{"ExponentSignWithoutDigits", "1e+", false, 0},
        Str2NumCase{"ExponentOnly", "e5", false, 0},
        // Infinities.
        Str2NumCase{"InfLower", "inf", true, kInfinity},
        Str2NumCase{"InfinityWithBlank", " Infinity", true, kInfinity},
        Str2NumCase{"InfUpper", "INF", true, kInfinity},
        Str2NumCase{"InfFollowedByAnything", "INF2", true, kInfinity},
        Str2NumCase{"MinusInf", "-inf", true, -kInfinity},
        Str2NumCase{"PlusInfNotRecognised", "+inf", false, 0},
        // Extended range: the special values are real extended numbers.
        Str2NumCase{"InfinityValueWritten", "1E3999", true, kInfinity},
        Str2NumCase{"NotDefinedValueWritten", "-9.99999E-997", true, kNotDefined},
        Str2NumCase{"FailureValueWritten", "9.99E3998", true, kFailureValue},
        Str2NumCase{"LargestExtended", "1.18973149535723176502e+4932", true,
                    std::numeric_limits<long double>::max()},
        Str2NumCase{"BeyondExtendedRange", "2e4932", false, 0},
        Str2NumCase{"BelowExtendedRangeIsZero", "1e-5000", true, 0},
        Str2NumCase{"SmallestSubnormal", "3.6451995318824746025e-4951", true,
                    std::numeric_limits<long double>::denorm_min()},
        // Nothing else is a number.
        Str2NumCase{"Units", "12 [kPa]", false, 0},
        Str2NumCase{"TrailingLetters", "12abc", false, 0},
        Str2NumCase{"HexIsNoReal", "$1F", false, 0}, Str2NumCase{"CHexIsNoReal", "0x10", false, 0},
        Str2NumCase{"NaNIsNoNumber", "nan", false, 0},
        // Times.
        Str2NumCase{"HoursMinutes", "1:30", true, 1.5L},
        Str2NumCase{"HoursMinutesSeconds", "1:30:36", true, 1.51L, kTimeTolerance},
        Str2NumCase{"OnlySeconds", "0:0:36", true, 0.01L, kTimeTolerance},
        Str2NumCase{"PartsKeepTheirSigns", "-1:30", true, -0.5L},
        Str2NumCase{"TimeWithUnit", "1:30 [h]", true, 1.5L},
        Str2NumCase{"HexHoursThroughTime", "$1F:0", true, 31},
        Str2NumCase{"MissingMinutes", "1:", false, 0}, Str2NumCase{"BadMinutes", "1:x", false, 0},
        Str2NumCase{"BadSeconds", "1:2:x", false, 0}, Str2NumCase{"FourParts", "1:2:3:4", false, 0},
        Str2NumCase{"BadHours", "x:30", false, 0},
        // A ":" that stands only inside the unit leaves no time to read.
        Str2NumCase{"ColonOnlyInUnit", "12 [k:Pa]", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Str2NumTest, RefusesTextLongerThan255CharactersInsteadOfCuttingIt) {
  bool ok = false;
  const std::string digits255 = "1" + std::string(254, '0');
  EXPECT_EQ(Str2Num(digits255, ok), 1e254L);
  EXPECT_TRUE(ok);
  // Cut to 255 characters this would read as 1E254: it is refused whole.
  const long double v = Str2Num(digits255 + "0", ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(v, kFailureValue);
}

TEST(Str2NumTest, AppliesTheLengthLimitToTheTextAsItComesIn) {
  bool ok = false;
  EXPECT_EQ(Str2Num(std::string(253, ' ') + "42", ok), 42);  // 255 characters
  EXPECT_TRUE(ok);
  EXPECT_EQ(Str2Num(std::string(254, ' ') + "42", ok), kFailureValue);
  EXPECT_FALSE(ok);
}

TEST(Str2NumTest, OtherRegionalSeparatorStillReadsPoint) {
  bool ok = false;
  EXPECT_EQ(Str2Num("2.5", ok, ','), 2.5L);
  EXPECT_TRUE(ok);
  // The comma is a thousands separator whatever the regional setting.
  EXPECT_EQ(Str2Num("2,5", ok, ','), 25);
  EXPECT_TRUE(ok);
}

TEST(Str2NumTest, RoundsCorrectlyToTheNearestExtendedValue) {
  // 21 significant digits identify every extended value: printing with them and
  // reading back must give the same value, over the whole exponent range.
  std::mt19937_64 rng(20240611);
  std::uniform_int_distribution<int> exponent(-16440, 16380);
  for (int i = 0; i < 3000; ++i) {
    const long double x =
        std::ldexp(static_cast<long double>(rng() | 1ull << 63) / 0x1p64L, exponent(rng));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.20Le", x);
    bool ok = false;
    const long double back = Str2Num(buf, ok);
    ASSERT_TRUE(ok) << buf;
    ASSERT_EQ(back, x) << buf;
  }
}

TEST(Str2NumTest, ReadsTheNearestValueOfShortDecimals) {
  bool ok = false;
  EXPECT_EQ(Str2Num("0.1", ok), 0.1L);
  EXPECT_EQ(Str2Num("123.456", ok), 123.456L);
  EXPECT_EQ(Str2Num("-7.25e-300", ok), -7.25e-300L);
}

struct MyValCase {
  const char* name;
  std::string text;
  int code;
};

std::ostream& operator<<(std::ostream& os, const MyValCase& c) { return os << c.name; }

class MyValTest : public ::testing::TestWithParam<MyValCase> {};

TEST_P(MyValTest, ReportsPositionOfFault) {
  const auto& c = GetParam();
  long double v = 0;
  int code = -1;
  myVal(c.text, v, code);
  EXPECT_EQ(code, c.code) << "text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MyValTest,
    ::testing::Values(
        MyValCase{"Legal", "12.5", 0}, MyValCase{"LegalWithBlanksAround", " 12.5 ", 0},
        MyValCase{"Empty", "", 1}, MyValCase{"Letters", "abc", 1},
        MyValCase{"TrailingLetter", "12a", 3}, MyValCase{"SecondPoint", "1.5.3", 4},
        MyValCase{"ExponentWithoutDigits", "1e", 3}, MyValCase{"BlankInside", "1 000", 2},
        MyValCase{"OnlyPoint", ".", 2}, MyValCase{"BeyondRangeAtExponent", "2e5000", 2},
        MyValCase{"LegalTime", "1:30", 0}, MyValCase{"BadHours", "x:30", 2},
        MyValCase{"BadMinutesBeforeSeconds", "1:x:3", 2}, MyValCase{"BadLastMinutes", "1:x", 1},
        MyValCase{"BadSeconds", "1:2:x", 1}, MyValCase{"ThousandsSeparatorsRemoved", "1,000", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MyValTest, ReadsTimeAsHours) {
  long double v = 0;
  int code = -1;
  myVal("2:15:00", v, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(v, 2.25L);
}

TEST(ErrorCheckTest, SetsValueOnlyForLegalText) {
  long double v = 42;
  EXPECT_FALSE(ErrorCheck("nope", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(ErrorCheck("-3.5", v));
  EXPECT_EQ(v, -3.5L);
}

TEST(RemoveThousandsSeparatorTest, RemovesEveryComma) {
  EXPECT_EQ(RemoveThousandsSeparator("1,234,567.5"), "1234567.5");
  EXPECT_EQ(RemoveThousandsSeparator(",,"), "");
  EXPECT_EQ(RemoveThousandsSeparator("no commas"), "no commas");
}

TEST(RemoveSpacesTest, RemovesBlanksOnly) {
  std::string s = " 1 2\t3 ";
  RemoveSpaces(s);
  EXPECT_EQ(s, "12\t3");
}

struct IntCase {
  const char* name;
  std::string text;
  bool ok;
  std::int32_t value;
};

std::ostream& operator<<(std::ostream& os, const IntCase& c) { return os << c.name; }

class MyStrtoIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(MyStrtoIntTest, ReadsWholeNumbersOrRaisesConversionError) {
  const auto& c = GetParam();
  if (c.ok) {
    EXPECT_EQ(myStrtoInt(c.text), c.value);
  } else {
    try {
      myStrtoInt(c.text);
      ADD_FAILURE() << "no error for \"" << c.text << "\"";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.text + "' is not a valid integer value");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MyStrtoIntTest,
    ::testing::Values(
        IntCase{"Decimal", "12", true, 12}, IntCase{"LeadingBlanks", "  12", true, 12},
        IntCase{"Negative", "-12", true, -12}, IntCase{"Plus", "+7", true, 7},
        IntCase{"Dollar", "$1F", true, 31}, IntCase{"LowerX", "x1f", true, 31},
        IntCase{"UpperX", "X1F", true, 31}, IntCase{"ZeroX", "0x1F", true, 31},
        IntCase{"ZeroUpperX", "0X1f", true, 31}, IntCase{"NegativeHex", "-$10", true, -16},
        IntCase{"Zero", "0", true, 0}, IntCase{"Max", "2147483647", true, 2147483647},
        IntCase{"Min", "-2147483648", true, -2147483647 - 1},
        IntCase{"AboveMax", "2147483648", false, 0}, IntCase{"BelowMin", "-2147483649", false, 0},
        IntCase{"HexAboveMax", "$80000000", false, 0}, IntCase{"Empty", "", false, 0},
        IntCase{"OnlyBlanks", "  ", false, 0}, IntCase{"TrailingBlank", "12 ", false, 0},
        IntCase{"Real", "1.5", false, 0}, IntCase{"DollarOnly", "$", false, 0},
        IntCase{"ZeroXOnly", "0x", false, 0}, IntCase{"Letters", "abc", false, 0},
        IntCase{"HexDigitsWithoutPrefix", "1F", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orv
