#pragma once
// The exact decimal digits of an extended value and the two standard conversions built
// on them, which the number printers of myLib use.
//
// An extended value is M * 2^E with a 64-bit M; its decimal expansion is finite and is
// computed exactly with a small big-integer in base 10^9, so rounding decisions are made
// on the true value and never on an approximation (the C library's conversions round
// and pad differently from what the page prints). Plain values, no shared state: safe
// from any thread.
#include <string>

namespace orv::detail {

class DecimalDigits {
 public:
  // How many leading significant digits are kept (truncated) from the exact expansion:
  // one more than any conversion prints, so that the first dropped digit is known.
  static constexpr int kKept = 20;

  // The digits of |v| for a finite v; zero gives isZero().
  static DecimalDigits of(long double v);

  bool isZero() const { return digits_.empty(); }
  // Power of ten of the leading digit (0 for 1.5, -2 for 0.015).
  int exponent() const { return exponent_; }
  // The digit standing at 10^power ('0' outside the kept digits).
  char digitAt(int power) const;

  // Rounds half away from zero so that the lowest kept digit stands at 10^lowestPower;
  // a carry may raise exponent() by one; everything rounded away gives zero.
  void roundAt(int lowestPower);

 private:
  std::string digits_;  // significant digits, the first one non-zero; empty for zero
  int exponent_ = 0;
};

// Fixed conversion with `decimals` decimals (clamped to 0..kMaxFixedDecimals): rounded
// half away from zero at the last decimal or at the 18th significant digit, whichever
// comes first (later digits print as "0"); "-" for any negative value; integer digits
// without leading zeros ("0" below 1); "." and the decimals when decimals > 0; blanks
// on the left up to a width of 21. Values whose leading digit stands outside 10^-35 ..
// 10^35, or whose magnitude exceeds 2^119 (about 6.6E35), come out as
// scientificConversion(v, 21). NaN gives "NaN", the IEEE infinities "infinity" and
// "-infinity".
inline constexpr int kMaxFixedDecimals = 200;
std::string fixedConversion(long double v, int decimals);

// Scientific conversion of width w (raised to 10 if smaller): "-" or a blank, one digit,
// ".", w - 9 digits (at most 17), "E", "+" or "-", the exponent in four digits. The
// mantissa is rounded half away from zero at its last digit, a carry moving into the
// exponent. Widths beyond 26 add blanks on the left. NaN and IEEE infinities as above.
std::string scientificConversion(long double v, int width);

}  // namespace orv::detail
