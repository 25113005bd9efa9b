#include "transport/UrlCoding.h"

#include <algorithm>
#include <cstdint>

#include "platform/CodePage.h"

namespace orv {

namespace {

char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::uint32_t kReplacement = 0xFFFD;

enum class Charset { Utf8, Latin1, Windows1252 };

Charset charsetOf(std::string_view name) {
  const std::string n = lowerAscii(trimText(name));
  if (n == "iso-8859-1" || n == "latin1" || n == "iso8859-1" || n == "us-ascii" || n == "ascii" ||
      n == "l1") {
    return Charset::Latin1;
  }
  if (n == "windows-1252" || n == "cp1252") return Charset::Windows1252;
  return Charset::Utf8;
}

// Decodes one UTF-8 sequence at `i`; returns the code point or kReplacement and
// advances `i` past what it consumed (at least one byte).
std::uint32_t nextUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<std::uint8_t>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len;
  std::uint32_t cp;
  std::uint32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  std::size_t j = i + 1;
  for (int k = 1; k < len; ++k, ++j) {
    if (j >= s.size() || (static_cast<std::uint8_t>(s[j]) & 0xC0) != 0x80) {
      i = j;
      return kReplacement;
    }
    cp = (cp << 6) | (static_cast<std::uint8_t>(s[j]) & 0x3F);
  }
  i = j;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerChar(a[i]) != lowerChar(b[i])) return false;
  }
  return true;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool containsIgnoreCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  if (part.size() > text.size()) return false;
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (equalsIgnoreCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

std::string upperAscii(std::string_view text) {
  std::string r(text);
  for (char& c : r) c = upperChar(c);
  return r;
}

std::string lowerAscii(std::string_view text) {
  std::string r(text);
  for (char& c : r) c = lowerChar(c);
  return r;
}

std::string_view trimLeftText(std::string_view text) {
  while (!text.empty() && static_cast<std::uint8_t>(text.front()) <= 0x20) text.remove_prefix(1);
  return text;
}

std::string_view trimText(std::string_view text) {
  text = trimLeftText(text);
  while (!text.empty() && static_cast<std::uint8_t>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

std::string sanitizeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t start = i;
    const std::uint32_t cp = nextUtf8(bytes, i);
    if (cp == kReplacement && !(i - start == 3 && bytes.substr(start, 3) == "\xEF\xBF\xBD")) {
      appendUtf8(out, kReplacement);
    } else {
      out.append(bytes.substr(start, i - start));
    }
  }
  return out;
}

std::string bytesToUtf8(std::string_view bytes, std::string_view charset) {
  switch (charsetOf(charset)) {
    case Charset::Latin1: {
      std::string out;
      out.reserve(bytes.size());
      for (char c : bytes) appendUtf8(out, static_cast<std::uint8_t>(c));
      return out;
    }
    case Charset::Windows1252:
      return cp1252ToUtf8(bytes);
    case Charset::Utf8:
      break;
  }
  return sanitizeUtf8(bytes);
}

std::string utf8ToCharset(std::string_view utf8, std::string_view charset) {
  switch (charsetOf(charset)) {
    case Charset::Latin1: {
      std::string out;
      out.reserve(utf8.size());
      std::size_t i = 0;
      while (i < utf8.size()) {
        const std::uint32_t cp = nextUtf8(utf8, i);
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
      }
      return out;
    }
    case Charset::Windows1252:
      return utf8ToCp1252(utf8);
    case Charset::Utf8:
      break;
  }
  return std::string(utf8);
}

std::string urlDecode(std::string_view text, std::string_view charset) {
  const Charset target = charsetOf(charset);
  std::string bytes;
  bytes.reserve(text.size());
  std::uint32_t pendingHigh = 0;  // a high surrogate from "%uD8xx" waiting for its pair
  auto flushPending = [&] {
    if (pendingHigh != 0) {
      if (target == Charset::Utf8)
        appendUtf8(bytes, kReplacement);
      else
        bytes += '?';
      pendingHigh = 0;
    }
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '%') {
      flushPending();
      bytes += c;
      ++i;
      continue;
    }
    if (i + 5 < text.size() && (text[i + 1] == 'u' || text[i + 1] == 'U') &&
        hexValue(text[i + 2]) >= 0 && hexValue(text[i + 3]) >= 0 && hexValue(text[i + 4]) >= 0 &&
        hexValue(text[i + 5]) >= 0) {
      const std::uint32_t unit =
          static_cast<std::uint32_t>((hexValue(text[i + 2]) << 12) | (hexValue(text[i + 3]) << 8) |
                                     (hexValue(text[i + 4]) << 4) | hexValue(text[i + 5]));
      i += 6;
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        flushPending();
        pendingHigh = unit;
        continue;
      }
      std::uint32_t cp = unit;
      if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (pendingHigh == 0) {
          cp = kReplacement;
        } else {
          cp = 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00);
          pendingHigh = 0;
        }
      }
      flushPending();
      if (target == Charset::Utf8) {
        appendUtf8(bytes, cp);
      } else if (target == Charset::Latin1) {
        bytes += cp <= 0xFF ? static_cast<char>(cp) : '?';
      } else {
        std::string one;
        appendUtf8(one, cp);
        bytes += utf8ToCp1252(one);
      }
      continue;
    }
    flushPending();
    if (i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>((hexValue(text[i + 1]) << 4) | hexValue(text[i + 2]));
      i += 3;
      continue;
    }
    // An invalid sequence after "%": the "%" is dropped, what follows is read normally.
    ++i;
  }
  flushPending();
  return bytesToUtf8(bytes, charset);
}

namespace {
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string base64Decode(std::string_view text) {
  std::string out;
  std::uint32_t acc = 0;
  int bits = 0;
  for (char c : text) {
    const char* p = (c == '\0') ? nullptr : std::char_traits<char>::find(kBase64, 64, c);
    if (p == nullptr) continue;
    acc = (acc << 6) | static_cast<std::uint32_t>(p - kBase64);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  return out;
}

std::string base64Encode(std::string_view bytes) {
  std::string out;
  std::size_t i = 0;
  while (i + 2 < bytes.size()) {
    const std::uint32_t v = (static_cast<std::uint8_t>(bytes[i]) << 16) |
                            (static_cast<std::uint8_t>(bytes[i + 1]) << 8) |
                            static_cast<std::uint8_t>(bytes[i + 2]);
    out += kBase64[v >> 18];
    out += kBase64[(v >> 12) & 63];
    out += kBase64[(v >> 6) & 63];
    out += kBase64[v & 63];
    i += 3;
  }
  if (i < bytes.size()) {
    std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    out += kBase64[v >> 18];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace orv
