#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "app/mylib/DecimalDigits.h"
#include "app/mylib/myLib.h"

namespace orv::detail {
namespace {

// The C library's exact digit generation serves as an independent reference here: with
// far more digits than compared, its own rounding cannot reach the compared ones.
std::string referenceDigits(long double v, int count, int& exponent) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.60Le", std::fabs(v));
  std::string s(buf);
  const auto e = s.find('e');
  exponent = std::stoi(s.substr(e + 1));
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  return digits.substr(0, static_cast<std::size_t>(count));
}

std::string digitsOf(const DecimalDigits& d, int count) {
  std::string out;
  for (int p = d.exponent(); p > d.exponent() - count; --p) out += d.digitAt(p);
  return out;
}

long double randomExtended(std::mt19937_64& rng, int minExp, int maxExp) {
  std::uniform_int_distribution<int> exponent(minExp, maxExp);
  const long double mantissa = static_cast<long double>(rng() | 1ull << 63) / 0x1p64L;
  return std::ldexp(mantissa, exponent(rng));
}

TEST(DecimalDigitsTest, MatchesExactExpansionOverTheWholeRange) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const long double v = randomExtended(rng, -16440, 16383);
    int refExponent = 0;
    const std::string ref = referenceDigits(v, DecimalDigits::kKept, refExponent);
    const DecimalDigits d = DecimalDigits::of(v);
    ASSERT_EQ(d.exponent(), refExponent) << ref;
    ASSERT_EQ(digitsOf(d, DecimalDigits::kKept), ref);
  }
}

TEST(DecimalDigitsTest, KnowsExactSmallValues) {
  struct {
    long double v;
    std::string digits;
    int exponent;
  } cases[] = {{1, "1", 0},
               {0.5L, "5", -1},
               {0.0009765625L, "9765625", -4},
               {1234.5L, "12345", 3},
               {0x1p64L, "18446744073709551616", 19},
               {-42, "42", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.digits);
    const DecimalDigits d = DecimalDigits::of(c.v);
    EXPECT_EQ(d.exponent(), c.exponent);
    EXPECT_EQ(digitsOf(d, static_cast<int>(c.digits.size())), c.digits);
    EXPECT_EQ(d.digitAt(c.exponent - static_cast<int>(c.digits.size())), '0');
  }
  EXPECT_TRUE(DecimalDigits::of(0).isZero());
  EXPECT_TRUE(DecimalDigits::of(-0.0L).isZero());
}

TEST(DecimalDigitsTest, RoundsHalfAwayFromZeroWithCarry) {
  DecimalDigits d = DecimalDigits::of(9.9996L);
  d.roundAt(-3);
  EXPECT_EQ(d.exponent(), 1);
  EXPECT_EQ(digitsOf(d, 2), "10");

  d = DecimalDigits::of(0.125L);
  d.roundAt(-2);
  EXPECT_EQ(digitsOf(d, 2), "13");

  d = DecimalDigits::of(0.00390625L);  // everything rounded away
  d.roundAt(-2);
  EXPECT_TRUE(d.isZero());

  d = DecimalDigits::of(0.0078125L);  // the first kept place gets one unit
  d.roundAt(-2);
  EXPECT_EQ(d.exponent(), -2);
  EXPECT_EQ(digitsOf(d, 1), "1");
}

TEST(ScientificConversionTest, WritesSignDigitsAndFourDigitExponent) {
  struct {
    long double v;
    int width;
    std::string expected;
  } cases[] = {
      {0, 12, " 0.000E+0000"},
      {9.9996L, 12, " 1.000E+0001"},
      {-1.5L, 5, "-1.5E+0000"},  // width raised to 10
      {1.5L, 26, " 1.50000000000000000E+0000"},
      {1.5L, 30, "     1.50000000000000000E+0000"},  // blanks beyond 26
      {kInfinity, 26, " 1.00000000000000000E+3999"},
      {kNotDefined, 26, "-9.99999000000000000E-0997"},
      {std::numeric_limits<long double>::max(), 12, " 1.190E+4932"},
      {std::numeric_limits<long double>::denorm_min(), 12, " 3.645E-4951"},
      {std::numeric_limits<long double>::quiet_NaN(), 12, "NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(scientificConversion(c.v, c.width), c.expected);
  }
}

TEST(ScientificConversionTest, AgreesWithCorrectRoundingAwayFromTies) {
  // Random extended values are never exactly half-way at the 18th digit, so rounding
  // half away from zero and the reference's correct rounding must agree.
  std::mt19937_64 rng(11);
  for (int i = 0; i < 2000; ++i) {
    const long double v = randomExtended(rng, -16000, 16000);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    std::string ref(buf);
    const auto e = ref.find('e');
    const int exponent = std::stoi(ref.substr(e + 1));
    char expBuf[16];
    std::snprintf(expBuf, sizeof expBuf, "%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string expected = " " + ref.substr(0, e) + "E" + expBuf;
    ASSERT_EQ(scientificConversion(v, 26), expected);
  }
}

TEST(FixedConversionTest, PadsToWidth21AndFallsBackToScientific) {
  EXPECT_EQ(fixedConversion(3, 2), "                 3.00");
  EXPECT_EQ(fixedConversion(-0.001L, 2), "                -0.00");
  EXPECT_EQ(fixedConversion(0, 0), "                    0");
  EXPECT_EQ(fixedConversion(1E-40L, 2), " 1.000000000000E-0040");
  EXPECT_EQ(fixedConversion(1.0L / 3, 20), "0.33333333333333333300");
  EXPECT_EQ(fixedConversion(0x1p64L, 0), " 18446744073709551600");
  EXPECT_EQ(fixedConversion(0x1p70L * 1000, 0), "1180591620717411300000000");  // wider than 21
  // Decimals are clamped: never fewer than 0, never more than the limit.
  EXPECT_EQ(fixedConversion(2.5L, -3), "                    3");
  EXPECT_EQ(fixedConversion(1, 10000).size(), 2u + kMaxFixedDecimals);
}

}  // namespace
}  // namespace orv::detail
