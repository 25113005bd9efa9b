#include "transport/TInHTTPRequestInfo.h"

#include <charconv>

#include "transport/UrlCoding.h"

namespace orv {

namespace {

int parseNumber(std::string_view text) {
  int value = -1;
  if (text.empty()) return -1;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || value < 0) return -1;
  return value;
}

}  // namespace

std::string charsetParameter(const std::string& contentType) {
  std::string_view rest(contentType);
  auto semi = rest.find(';');
  while (semi != std::string_view::npos) {
    rest.remove_prefix(semi + 1);
    const auto next = rest.find(';');
    std::string_view param = trimText(rest.substr(0, next));
    const auto eq = param.find('=');
    if (eq != std::string_view::npos &&
        equalsIgnoreCase(trimText(param.substr(0, eq)), "charset")) {
      std::string_view value = trimText(param.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      return std::string(value);
    }
    semi = next;
  }
  return {};
}

std::string withoutCharset(const std::string& contentType) {
  std::string result;
  std::string_view rest(contentType);
  bool first = true;
  for (;;) {
    const auto semi = rest.find(';');
    const std::string_view part = trimText(rest.substr(0, semi));
    const auto eq = part.find('=');
    const bool isCharset = !first && eq != std::string_view::npos &&
                           equalsIgnoreCase(trimText(part.substr(0, eq)), "charset");
    if (!isCharset && !(part.empty() && !first)) {
      if (!first) result += "; ";
      result += part;
    }
    first = false;
    if (semi == std::string_view::npos) break;
    rest.remove_prefix(semi + 1);
  }
  return result;
}

THTTPCommandType TInHTTPRequestInfo::commandTypeOf(const std::string& command) {
  const std::string c = upperAscii(command);
  if (c == "HEAD") return THTTPCommandType::hcHEAD;
  if (c == "GET") return THTTPCommandType::hcGET;
  if (c == "POST") return THTTPCommandType::hcPOST;
  if (c == "DELETE") return THTTPCommandType::hcDELETE;
  if (c == "PUT") return THTTPCommandType::hcPUT;
  if (c == "TRACE") return THTTPCommandType::hcTRACE;
  if (c == "OPTIONS") return THTTPCommandType::hcOPTION;
  return THTTPCommandType::hcUnknown;
}

void TInHTTPRequestInfo::parseVersion() {
  VersionMajor = VersionMinor = -1;
  std::string_view v(Version);
  const auto slash = v.find('/');
  if (slash == std::string_view::npos) return;
  v.remove_prefix(slash + 1);
  const auto dot = v.find('.');
  if (dot == std::string_view::npos) {
    VersionMajor = parseNumber(v);
    return;
  }
  VersionMajor = parseNumber(v.substr(0, dot));
  VersionMinor = parseNumber(v.substr(dot + 1));
}

void TInHTTPRequestInfo::fillStandardHeaders() {
  Accept = RawHeaders.Values("Accept");
  AcceptCharSet = RawHeaders.Values("Accept-Charset");
  AcceptEncoding = RawHeaders.Values("Accept-Encoding");
  AcceptLanguage = RawHeaders.Values("Accept-Language");
  Host = RawHeaders.Values("Host");
  From = RawHeaders.Values("From");
  Referer = RawHeaders.Values("Referer");
  UserAgent = RawHeaders.Values("User-Agent");
  Ranges = RawHeaders.Values("Range");
  MethodOverride = RawHeaders.Values("X-HTTP-Method-Override");
  Connection = RawHeaders.Values("Connection");
  ContentType = RawHeaders.Values("Content-Type");
  ContentEncoding = RawHeaders.Values("Content-Encoding");
  ContentLanguage = RawHeaders.Values("Content-Language");
  TransferEncoding = RawHeaders.Values("Transfer-Encoding");
  CharSet = charsetParameter(ContentType);
  if (CharSet.empty()) CharSet = "UTF-8";
  ContentLength = -1;
  HasContentLength = false;
  if (RawHeaders.has("Content-Length")) {
    const std::string value = RawHeaders.Values("Content-Length");
    std::int64_t n = -1;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), n);
    if (!value.empty() && r.ec == std::errc() && r.ptr == value.data() + value.size() && n >= 0) {
      ContentLength = n;
      HasContentLength = true;
    }
  }
}

std::string TInHTTPRequestInfo::cookieValue(const std::string& name) const {
  for (const auto& [n, v] : Cookies) {
    if (n == name) return v;
  }
  return {};
}

std::vector<std::string> decodeParams(const std::string& text, const std::string& charset) {
  std::vector<std::string> lines;
  std::string_view rest(text);
  while (!rest.empty()) {
    const auto amp = rest.find('&');
    std::string piece(rest.substr(0, amp));
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    for (char& c : piece) {
      if (c == '+') c = ' ';
    }
    lines.push_back(urlDecode(piece, charset));
  }
  return lines;
}

void parseCookies(const std::string& header,
                  std::vector<std::pair<std::string, std::string>>& out) {
  std::string_view rest(header);
  for (;;) {
    const auto semi = rest.find(';');
    const std::string_view piece = trimLeftText(rest.substr(0, semi));
    if (!piece.empty()) {
      const auto eq = piece.find('=');
      if (eq == std::string_view::npos) {
        out.emplace_back(std::string(piece), std::string());
      } else {
        out.emplace_back(std::string(piece.substr(0, eq)), std::string(piece.substr(eq + 1)));
      }
    }
    if (semi == std::string_view::npos) break;
    rest.remove_prefix(semi + 1);
  }
}

}  // namespace orv
