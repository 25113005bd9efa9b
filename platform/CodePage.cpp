#include "platform/CodePage.h"

#include <array>
#include <cstdint>

namespace orv {

namespace detail {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) pass through as the C1 control of the same value,
// as the platform's own conversion does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The Windows-1252 byte of a code point, or '?' when the code page has none.
char toCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace
}  // namespace detail

char32_t utf8Decode(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  // Number of continuation bytes and the allowed range of the first one (this range
  // rules out overlong forms, surrogates and values beyond U+10FFFF up front).
  int need = 0;
  std::uint8_t lo = 0x80, hi = 0xBF;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    ++pos;  // stray continuation byte or a lead byte no valid sequence starts with
    return detail::kReplacement;
  }
  ++pos;
  for (int k = 0; k < need; ++k) {
    if (pos >= s.size()) return detail::kReplacement;
    const std::uint8_t b = byte(pos);
    if (b < lo || b > hi) return detail::kReplacement;  // maximal subpart ends here
    cp = (cp << 6) | (b & 0x3F);
    ++pos;
    lo = 0x80;
    hi = 0xBF;
  }
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = detail::kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else if (b < 0xA0) {
      appendUtf8(out, detail::kHigh[b - 0x80]);
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // U+FFFD (a real one or an ill-formed sequence) is not in the code page: "?".
    out += detail::toCp1252(utf8Decode(utf8, pos));
  }
  return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto b0 = static_cast<std::uint8_t>(bytes[2 * i]);
    const auto b1 = static_cast<std::uint8_t>(bytes[2 * i + 1]);
    return bigEndian ? (char32_t{b0} << 8 | b1) : (char32_t{b1} << 8 | b0);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char32_t v = unit(i + 1);
      if (v >= 0xDC00 && v <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, u);  // an unpaired surrogate becomes U+FFFD there
  }
  if (bytes.size() % 2 != 0) appendUtf8(out, detail::kReplacement);
  return out;
}

std::size_t utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    utf8Decode(utf8, pos);
    ++n;
  }
  return n;
}

std::string utf8Left(std::string_view utf8, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < n && pos < utf8.size(); ++k) utf8Decode(utf8, pos);
  return std::string(utf8.substr(0, pos));
}

}  // namespace orv
