// Number formatting of myLib: DecForm codes and the printers SVAL and AutoSVAL.
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/mylib/DecimalDigits.h"
#include "app/mylib/Messages.h"
#include "app/mylib/myLib.h"

namespace orv {

namespace {

using detail::fixedConversion;
using detail::scientificConversion;

// AutoSVAL treats magnitudes below that of "not defined" as zero.
constexpr long double kZeroBound = 9.99999E-997L;
// SVAL prints fixed-style magnitudes below this as zero.
constexpr long double kFixedZeroBound = 1E-199L;

void trimLeft(std::string& s) {
  std::size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  s.erase(0, b);
}

void trimBoth(std::string& s) {
  trimLeft(s);
  while (!s.empty() && s.back() == ' ') s.pop_back();
}

// "E+0003" -> "E+03", "E+0123" -> "E+123", "E+1234" stays: at most two zeros go.
void shortenExponent(std::string& text) {
  const auto e = text.find('E');
  if (e == std::string::npos) return;
  for (int k = 0; k < 2; ++k) {
    if (e + 2 < text.size() && text[e + 2] == '0') text.erase(e + 2, 1);
  }
}

// The scientific text of SVAL's step for FloatDecimal, NoShow and EngDecimal, also used
// by AutoSVAL: width digits + 9, left blanks removed, the exponent shortened, and with
// no decimals the point and the one decimal the conversion always prints deleted
// (without rounding: 1560 gives "1E+03").
std::string scientificText(long double v, int digits) {
  std::string text = scientificConversion(v, digits + 9);
  trimLeft(text);
  shortenExponent(text);
  if (digits == 0) {
    const auto e = text.find('E');
    if (e != std::string::npos && e >= 2) text.erase(e - 2, 2);
  }
  return text;
}

// v * 10^n through IntPower, split in two steps where 10^n alone would leave the
// extended range (only for values near the ends of the range).
long double scaleByPowerOf10(long double v, int n) {
  if (n > 4000 || n < -4000) return v * IntPower(10, n / 2) * IntPower(10, n - n / 2);
  return v * IntPower(10, n);
}

// EngDecimal: the exponent of `text` made a multiple of 3 ("12.34E3", "123.4E-6").
std::string engineeringText(long double v, int digits, std::string text) {
  const auto ePos = text.find('E');
  if (ePos == std::string::npos) return text;
  int e = 0;
  bool negative = false;
  for (std::size_t i = ePos + 1; i < text.size(); ++i) {
    if (text[i] == '-') {
      negative = true;
    } else if (text[i] >= '0' && text[i] <= '9') {
      e = e * 10 + (text[i] - '0');
    }
  }
  if (negative) e = -e;
  const int r = e % 3;  // truncating: r has the sign of e
  if (r == 0) return text;
  int e2 = (e / 3) * 3;
  long double m = scaleByPowerOf10(v, r - e);
  if (std::fabs(m) < 1) {
    m *= 1000;
    e2 -= 3;
  }
  int d = digits;
  const long double lead = std::nearbyint(std::log(std::fabs(m)) / 2.303L);  // ties to even
  if (std::isfinite(lead) && lead > INT_MIN / 2 && lead < INT_MAX / 2) {
    d = digits - static_cast<int>(lead);
  }
  if (d < 0) d = 0;
  std::string out = fixedConversion(m, d) + "E" + std::to_string(e2);
  trimBoth(out);
  return out;
}

// hours:minutes[:seconds] of a value in hours; final, no decimal separator involved.
std::string timeText(long double v, int digits) {
  if (std::isnan(v)) return std::string(msg::kNumberNaN);
  if (std::isinf(v)) {
    return std::string(v < 0 ? msg::kNumberMinusInfinity : msg::kNumberInfinity);
  }
  digits = std::clamp(digits, 1, 2);
  const std::string sign = v < 0 ? "-" : "";
  v = std::fabs(v);
  long double hours = std::trunc(v);
  const long double fraction = v - hours;
  long double minutes = std::trunc(fraction * 60);
  long double seconds = std::nearbyint((fraction - minutes / 60) * 3600);  // ties to even
  if (seconds >= 60) {
    seconds = 0;
    minutes += 1;
  }
  // A fraction a hair below 1 can make fraction * 60 round up to 60 itself.
  if (minutes >= 60) {
    minutes = 0;
    hours += 1;
  }
  if (seconds < 0) seconds = 0;
  auto twoDigits = [](long double x) {
    const int n = static_cast<int>(x);
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
  };
  std::string hoursText = fixedConversion(hours, 0);
  trimLeft(hoursText);
  std::string text = sign + hoursText + ":" + twoDigits(minutes);
  if (digits == 2) text += ":" + twoDigits(seconds);
  return text;
}

// The last two steps of both printers: the regional decimal separator (always written
// as a comma) and AddThousandsSeparator.
std::string finish(std::string text, char decimalSeparator) {
  if (decimalSeparator != '.') {
    if (const auto dot = text.find('.'); dot != std::string::npos) text[dot] = ',';
  }
  return AddThousandsSeparator(text);
}

// The Auto style: fixed or scientific with AutoDigits significant digits, trailing
// zeros and a trailing point removed.
std::string autoText(long double v, char decimalSeparator) {
  if (std::isnan(v)) return std::string(msg::kNumberNaN);
  DecForm form;
  AutoSetForm(form, AutoDigits, v);
  std::string text;
  if (form.Style == DecStyle::FixedDecimal) {
    text = fixedConversion(v, form.Digits);
    if (form.Digits > 0) {
      while (!text.empty() && text.back() == '0') text.pop_back();
    }
  } else {
    text = scientificText(v, form.Digits);
  }
  trimLeft(text);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return finish(std::move(text), decimalSeparator);
}

}  // namespace

DecForm doFormat(const std::string& code) {
  DecForm f;
  switch (code.empty() ? '\0' : code[0]) {
    case 'A':
      f.Style = DecStyle::Auto;
      break;
    case 'E':
      f.Style = DecStyle::FloatDecimal;
      break;
    case 'F':
      f.Style = DecStyle::FixedDecimal;
      break;
    case 'G':
      f.Style = DecStyle::EngDecimal;
      break;
    case 'S':
      f.Style = DecStyle::StrVar;
      break;
    case 'T':
      f.Style = DecStyle::TimeForm;
      break;
    default:
      f.Style = DecStyle::Auto;
      break;
  }
  f.Digits = static_cast<std::int16_t>(myStrtoInt(code.size() >= 2 ? code.substr(1, 1) : ""));
  return f;
}

long double IntPower(long double x, int n) {
  const long long count = n < 0 ? -static_cast<long long>(n) : n;
  // x = +-1 only flips a sign; otherwise stop once the result is 0, infinite or not a
  // number, since further steps cannot change it (a huge n never loops for long).
  if (std::fabs(x) == 1) return (x < 0 && count % 2 != 0) ? -1.0L : 1.0L;
  long double result = 1;
  for (long long i = 0; i < count; ++i) {
    if (n > 0) {
      result *= x;
    } else {
      result /= x;
    }
    if (result == 0 || !std::isfinite(result)) break;
  }
  return result;
}

std::string AddThousandsSeparator(const std::string& text) { return text; }

void RemoveQuotes(std::string& text) {
  const auto removed = std::erase(text, '\'');
  if (removed != 0 && removed != 2) Beep();
}

void AutoSetForm(DecForm& f, int digits, long double v) {
  f.Style = DecStyle::FixedDecimal;
  f.Digits = 1;
  if (v == 0) {
    f.Digits = 2;
    return;
  }
  const long double a = std::fabs(v);
  if (a < 1E-6L) {
    f.Style = DecStyle::FloatDecimal;
    f.Digits = static_cast<std::int16_t>(digits - 1);
    return;
  }
  int d = 0;
  const long double x = -std::log(a) / 2.3025L + digits;
  if (std::isfinite(x) && x > SHRT_MIN && x < SHRT_MAX) d = static_cast<int>(std::trunc(x));
  if (d > digits || d < 0) {
    if (a > IntPower(10, digits)) {
      d = 0;
    } else if (a > IntPower(10, digits - 1)) {
      d = digits;
    }
  }
  f.Digits = static_cast<std::int16_t>(d);
  if (a > 1000000) {
    f.Style = DecStyle::FloatDecimal;
    f.Digits = static_cast<std::int16_t>(digits - 1);
  }
}

std::string SVAL(long double v, const DecForm& f, char decimalSeparator) {
  if (f.Style == DecStyle::TimeForm) return timeText(v, f.Digits);
  if (f.Style == DecStyle::Auto || f.Style == DecStyle::StrVar) {
    return autoText(v, decimalSeparator);
  }
  if (std::isnan(v)) return std::string(msg::kNumberNaN);
  std::string text;
  if (f.Style == DecStyle::FixedDecimal) {
    text = fixedConversion(std::fabs(v) < kFixedZeroBound ? 0 : v, f.Digits);
    trimLeft(text);
  } else {
    text = scientificText(v, f.Digits);
    if (f.Style == DecStyle::EngDecimal) text = engineeringText(v, f.Digits, std::move(text));
  }
  if (std::fabs(v) == kInfinity || std::isinf(v)) {
    text = std::string(v < 0 ? msg::kNumberMinusInfinity : msg::kNumberInfinity);
  }
  return finish(std::move(text), decimalSeparator);
}

std::string AutoSVAL(long double v, const DecForm& f, char decimalSeparator) {
  if (v >= kInfinityBound) return std::string(msg::kNumberInfinity);
  if (v <= -kInfinityBound) return std::string(msg::kNumberMinusInfinity);
  if (std::fabs(v) < kZeroBound) v = 0;
  if (f.Style != DecStyle::Auto) return SVAL(v, f, decimalSeparator);
  if (v == kNotDefined) return std::string(msg::kNumberNotDefined);
  return autoText(v, decimalSeparator);
}

}  // namespace orv
