#include "framework/server/ServerText.h"

#include <ctime>

namespace orv::detail {
namespace {
char up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char low(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr std::string_view kBase36 = "0123456789abcdefghijklmnopqrstuvwxyz";
}  // namespace

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = up(c);
  return r;
}

std::string lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = low(c);
  return r;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (low(a[i]) != low(b[i])) return false;
  return true;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && equalsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::size_t findNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i)
    if (equalsNoCase(haystack.substr(i, needle.size()), needle)) return i;
  return std::string_view::npos;
}

std::string toBase36(std::uint64_t value) {
  std::string r;
  do {
    r.insert(r.begin(), kBase36[value % 36]);
    value /= 36;
  } while (value != 0);
  return r;
}

std::optional<std::uint64_t> fromBase36(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : text) {
    const auto d = kBase36.find(low(c));
    if (d == std::string_view::npos) return std::nullopt;
    if (v > (UINT64_MAX - d) / 36) return std::nullopt;
    v = v * 36 + d;
  }
  return v;
}

std::string percentEncode(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string r;
  r.reserve(utf8.size());
  for (unsigned char c : utf8) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
        c == '-' || c == '_' || c == '.' || c == '~') {
      r += static_cast<char>(c);
    } else {
      r += '%';
      r += kHex[c >> 4];
      r += kHex[c & 15];
    }
  }
  return r;
}

std::string replaceAll(std::string s, std::string_view from, std::string_view to) {
  if (from.empty()) return s;
  std::size_t pos = 0;
  while ((pos = s.find(from, pos)) != std::string::npos) {
    s.replace(pos, from.size(), to);
    pos += to.size();
  }
  return s;
}

std::string extractFileExt(std::string_view name) {
  const auto dot = name.find_last_of('.');
  const auto sep = name.find_last_of("/\\");
  if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep)) return {};
  return std::string(name.substr(dot));
}

std::string jsStringContent(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '"': r += "\\\""; break;
      case '\'': r += "\\'"; break;
      case '\r': r += "\\r"; break;
      case '\n': r += "\\n"; break;
      case '\t': r += "\\t"; break;
      case '<': r += "\\x3C"; break;
      default:
        // U+2028 and U+2029 (E2 80 A8/A9) end a line inside script.
        if (static_cast<unsigned char>(c) == 0xE2 && i + 2 < text.size() &&
            static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
             static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
          r += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          r += c;
        }
    }
  }
  return r;
}

std::string jsString(std::string_view text) { return "\"" + jsStringContent(text) + "\""; }

std::string htmlEscape(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '"': r += "&quot;"; break;
      default: r += c;
    }
  }
  return r;
}

std::string base64Decode(std::string_view text) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned acc = 0;
  int bits = 0;
  for (char c : text) {
    const auto v = kAlphabet.find(c);
    if (v == std::string_view::npos) break;
    acc = (acc << 6) | static_cast<unsigned>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  return out;
}

std::optional<std::int64_t> parseHttpDate(std::string_view text) {
  static constexpr const char* kFormats[] = {
      "%a, %d %b %Y %H:%M:%S",  // Tue, 08 Dec 2026 21:57:14 GMT
      "%A, %d-%b-%y %H:%M:%S",  // Tuesday, 08-Dec-26 21:57:14 GMT
      "%a, %d-%b-%Y %H:%M:%S",  // Tue, 08-Dec-2026 21:57:14 GMT (cookie form)
      "%a %b %d %H:%M:%S %Y",   // Tue Dec  8 21:57:14 2026
  };
  const std::string s(text);
  for (const char* format : kFormats) {
    std::tm tm{};
    const char* end = ::strptime(s.c_str(), format, &tm);
    if (end == nullptr) continue;
    while (*end == ' ') ++end;
    if (*end != '\0' && std::string_view(end) != "GMT" && std::string_view(end) != "UTC") continue;
    return static_cast<std::int64_t>(::timegm(&tm));
  }
  return std::nullopt;
}

}  // namespace orv::detail
