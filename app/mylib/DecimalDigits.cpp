#include "app/mylib/DecimalDigits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/mylib/Messages.h"

namespace orv::detail {

namespace {

constexpr std::uint32_t kLimbBase = 1000000000u;  // 10^9 per limb
constexpr std::uint64_t kPow5_13 = 1220703125u;   // the largest power of 5 below 2^32

// Unsigned big integer in base 10^9, least significant limb first.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t v) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(v % kLimbBase));
      v /= kLimbBase;
    } while (v != 0);
  }

  // Multiplies by m <= 2^32: limb * m + carry stays below 2^64.
  void multiply(std::uint64_t m) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t cur = limb * m + carry;
      limb = static_cast<std::uint32_t>(cur % kLimbBase);
      carry = cur / kLimbBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
      carry /= kLimbBase;
    }
  }

  void multiplyByPowerOf2(int n) {
    for (; n >= 32; n -= 32) multiply(std::uint64_t{1} << 32);
    if (n > 0) multiply(std::uint64_t{1} << n);
  }

  void multiplyByPowerOf5(int n) {
    for (; n >= 13; n -= 13) multiply(kPow5_13);
    if (n > 0) {
      std::uint64_t p = 1;
      while (n-- > 0) p *= 5;
      multiply(p);
    }
  }

  // Number of decimal digits and the first `count` of them (truncated).
  int digitCount() const {
    int topDigits = 0;
    for (std::uint32_t t = limbs_.back(); t != 0; t /= 10) ++topDigits;
    return topDigits + 9 * static_cast<int>(limbs_.size() - 1);
  }

  std::string leadingDigits(int count) const {
    std::string out;
    out.reserve(static_cast<std::size_t>(count) + 9);
    char buf[10];
    for (std::size_t i = limbs_.size(); i-- > 0 && static_cast<int>(out.size()) < count;) {
      std::uint32_t limb = limbs_[i];
      for (int k = 8; k >= 0; --k) {
        buf[k] = static_cast<char>('0' + limb % 10);
        limb /= 10;
      }
      int from = 0;
      if (i == limbs_.size() - 1) {
        while (from < 8 && buf[from] == '0') ++from;
      }
      out.append(buf + from, buf + 9);
    }
    if (static_cast<int>(out.size()) > count) out.resize(static_cast<std::size_t>(count));
    return out;
  }

 private:
  std::vector<std::uint32_t> limbs_;
};

std::string padLeft(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string nonFiniteText(long double v) {
  if (std::isnan(v)) return std::string(msg::kNumberNaN);
  return std::string(v < 0 ? msg::kNumberMinusInfinity : msg::kNumberInfinity);
}

}  // namespace

DecimalDigits DecimalDigits::of(long double v) {
  DecimalDigits out;
  // The x87 extended format: 64-bit significand with an explicit integer bit, then
  // 15 exponent bits (bias 16383) and the sign.
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &v, sizeof v);
  std::uint64_t mantissa;
  std::memcpy(&mantissa, bytes, sizeof mantissa);
  std::uint16_t signExponent;
  std::memcpy(&signExponent, bytes + 8, sizeof signExponent);
  if (mantissa == 0) return out;
  const int biased = signExponent & 0x7fff;
  int binaryExponent = (biased == 0 ? 1 : biased) - 16383 - 63;
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++binaryExponent;
  }

  // |v| = mantissa * 2^e. For e < 0 that is mantissa * 5^-e * 10^e.
  BigDecimal n(mantissa);
  int decimalShift = 0;
  if (binaryExponent >= 0) {
    n.multiplyByPowerOf2(binaryExponent);
  } else {
    n.multiplyByPowerOf5(-binaryExponent);
    decimalShift = binaryExponent;
  }
  const int count = n.digitCount();
  out.digits_ = n.leadingDigits(kKept);
  while (!out.digits_.empty() && out.digits_.back() == '0') out.digits_.pop_back();
  out.exponent_ = count - 1 + decimalShift;
  return out;
}

char DecimalDigits::digitAt(int power) const {
  const long index = static_cast<long>(exponent_) - power;
  if (index < 0 || index >= static_cast<long>(digits_.size())) return '0';
  return digits_[static_cast<std::size_t>(index)];
}

void DecimalDigits::roundAt(int lowestPower) {
  if (digits_.empty()) return;
  const long keep = static_cast<long>(exponent_) - lowestPower + 1;
  if (keep >= static_cast<long>(digits_.size())) return;  // nothing known is dropped
  if (keep < 0) {
    digits_.clear();
    exponent_ = 0;
    return;
  }
  const bool up = digits_[static_cast<std::size_t>(keep)] >= '5';
  digits_.resize(static_cast<std::size_t>(keep));
  if (up) {
    // Half away from zero on the magnitude: add one at the last kept place.
    std::size_t i = digits_.size();
    while (i > 0 && digits_[i - 1] == '9') --i;
    if (i == 0) {
      digits_ = "1";  // 9.99 -> 10.0, or nothing kept -> one unit at lowestPower
      ++exponent_;
    } else {
      ++digits_[i - 1];
      digits_.resize(i);
    }
  }
  while (!digits_.empty() && digits_.back() == '0') digits_.pop_back();
  if (digits_.empty()) exponent_ = 0;
}

std::string fixedConversion(long double v, int decimals) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  decimals = std::clamp(decimals, 0, kMaxFixedDecimals);
  DecimalDigits d = DecimalDigits::of(v);
  if (!d.isZero()) {
    if (d.exponent() < -35 || d.exponent() > 35 || std::fabs(v) > 0x1p119L) {
      return scientificConversion(v, 21);
    }
    // Only the first 18 significant digits count; later places print as "0".
    d.roundAt(std::max(-decimals, d.exponent() - 17));
  }
  std::string text;
  if (v < 0) text += '-';
  const int top = d.isZero() ? 0 : std::max(d.exponent(), 0);
  for (int p = top; p >= 0; --p) text += d.digitAt(p);
  if (decimals > 0) {
    text += '.';
    for (int p = -1; p >= -decimals; --p) text += d.digitAt(p);
  }
  return padLeft(std::move(text), 21);
}

std::string scientificConversion(long double v, int width) {
  if (!std::isfinite(v)) return nonFiniteText(v);
  // Printed texts hold at most 255 characters.
  width = std::clamp(width, 10, 255);
  const int decimals = std::min(width - 9, 17);
  DecimalDigits d = DecimalDigits::of(v);
  if (!d.isZero()) d.roundAt(d.exponent() - decimals);
  const int exponent = d.isZero() ? 0 : d.exponent();

  std::string text;
  text += v < 0 ? '-' : ' ';
  text += d.digitAt(exponent);
  text += '.';
  for (int p = exponent - 1; p >= exponent - decimals; --p) text += d.digitAt(p);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  char buf[5];
  for (int k = 3, m = magnitude; k >= 0; --k, m /= 10) buf[k] = static_cast<char>('0' + m % 10);
  text.append(buf, 4);
  return padLeft(std::move(text), static_cast<std::size_t>(width));
}

}  // namespace orv::detail
