// Number parsing of myLib: Str2Num and its helpers.
#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "app/mylib/Messages.h"
#include "app/mylib/myLib.h"
#include "platform/CodePage.h"

namespace orv {

namespace {

// Short strings of the page hold at most 255 characters.
constexpr std::size_t kMaxTextLength = 255;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Removes blanks and control characters at both ends.
std::string trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

void toUpperAscii(std::string& s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

// The "C" locale for strtold_l, so that a process-wide setlocale can never change what
// "." means here. Created once, kept for the life of the process.
locale_t cLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// The standard real conversion: optional blanks, optional sign, digits, optionally
// "." and digits (one of the two runs may be empty), optionally an exponent with at
// least one digit, then the end. Returns 0 and sets V, or the 1-based position of the
// first character that does not fit.
int readReal(const std::string& t, long double& V) {
  const std::size_t n = t.size();
  std::size_t i = 0;
  while (i < n && t[i] == ' ') ++i;
  const std::size_t start = i;
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  const std::size_t intStart = i;
  while (i < n && isDigit(t[i])) ++i;
  std::size_t digits = i - intStart;
  if (i < n && t[i] == '.') {
    const std::size_t fracStart = ++i;
    while (i < n && isDigit(t[i])) ++i;
    digits += i - fracStart;
  }
  if (digits == 0) return static_cast<int>(i) + 1;
  std::size_t exponentAt = 0;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    exponentAt = i + 1;
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < n && isDigit(t[i])) ++i;
    if (i == expStart) return static_cast<int>(i) + 1;
  }
  if (i != n) return static_cast<int>(i) + 1;

  // The syntax is checked: the C library now only rounds the decimal value correctly to
  // the nearest extended value (glibc's strtold is exact over the whole extended range).
  errno = 0;
  const long double value = strtold_l(t.c_str() + start, nullptr, cLocale());
  if (errno == ERANGE && std::isinf(value)) {
    // Beyond the extended range: not a number of this system.
    return exponentAt != 0 ? static_cast<int>(exponentAt) : 1;
  }
  V = value;
  return 0;
}

// Whole number as myStrtoInt reads it; false instead of an exception.
bool parseInt32(std::string_view s, std::int32_t& out) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < n && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return false;
  const std::uint64_t limit = negative ? 0x80000000u : 0x7fffffffu;
  std::uint64_t value = 0;
  for (; i < n; ++i) {
    const char c = s[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
    value = value * base + digit;
    if (value > limit) return false;
  }
  out = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value))
                 : static_cast<std::int32_t>(value);
  return true;
}

// hours:minutes[:seconds], each part a whole number with its own sign, optionally
// followed by a unit in "[...]". Sets Code to 0 and V on success.
void readTime(const std::string& t, long double& V, int& Code) {
  std::string s = t;
  if (const auto bracket = s.find('['); bracket != std::string::npos) s.erase(bracket);
  const auto p = s.find(':');
  if (p == std::string::npos) {
    // The only ":" stood inside the unit: without it this is no time at all.
    Code = 1;
    return;
  }
  Code = 0;
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
  if (!parseInt32(std::string_view(s).substr(0, p), hours)) Code = static_cast<int>(p) + 1;
  std::string rest = s.substr(p + 1);
  if (const auto q = rest.find(':'); q != std::string::npos) {
    if (!parseInt32(std::string_view(rest).substr(0, q), minutes)) {
      Code = static_cast<int>(q) + 1;
    }
    rest.erase(0, q + 1);
  } else {
    if (!parseInt32(rest, minutes)) Code = 1;
    rest.clear();
  }
  if (!rest.empty() && !parseInt32(rest, seconds)) Code = 1;
  if (Code == 0) {
    V = static_cast<long double>(hours) + static_cast<long double>(minutes) / 60 +
        static_cast<long double>(seconds) / 3600;
  }
}

}  // namespace

std::string RemoveThousandsSeparator(const std::string& S) {
  std::string out;
  out.reserve(S.size());
  for (char c : S) {
    if (c != ThousandsSeparator) out += c;
  }
  return out;
}

void RemoveSpaces(std::string& S) { std::erase(S, ' '); }

std::int32_t myStrtoInt(const std::string& S) {
  std::int32_t value = 0;
  if (!parseInt32(S, value)) {
    throw ConvertError("'" + S + "'" + std::string(msg::kNotValidIntegerSuffix));
  }
  return value;
}

void myVal(const std::string& S, long double& V, int& Code, char decimalSeparator) {
  std::string t = RemoveThousandsSeparator(S);
  if (decimalSeparator != '.') {
    if (const auto at = t.find(decimalSeparator); at != std::string::npos) t[at] = '.';
  }
  t = trimmed(t);
  V = 0;
  Code = readReal(t, V);
  if (Code != 0 && t.find(':') != std::string::npos) readTime(t, V, Code);
}

bool ErrorCheck(const std::string& S, long double& V, char decimalSeparator) {
  long double temp = 0;
  int code = 0;
  myVal(S, temp, code, decimalSeparator);
  if (code != 0) return false;
  V = temp;
  return true;
}

long double Str2Num(const std::string& S, bool& OK, char decimalSeparator) {
  OK = false;
  if (utf8Length(S) > kMaxTextLength) return kFailureValue;
  std::string t = RemoveThousandsSeparator(trimmed(S));
  long double result = kFailureValue;
  RemoveSpaces(t);
  if (!t.empty() && t.back() == decimalSeparator) t += '0';
  OK = true;
  toUpperAscii(t);
  long double value = 0;
  if (t.starts_with("INF")) {
    value = kInfinity;
  } else if (t.starts_with("-INF")) {
    value = -kInfinity;
  } else {
    OK = ErrorCheck(t, value, decimalSeparator);
  }
  if (OK) result = value;
  return result;
}

}  // namespace orv
