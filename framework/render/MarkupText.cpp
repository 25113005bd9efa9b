#include "framework/render/MarkupText.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace orv {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool isLiteralSafe(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ',' ||
         c == '-' || c == '.' || c == '_';
}

}  // namespace

std::string TextToHTML(std::string_view text, bool convertEOLs, bool convertSpaces,
                       bool asyncCallback) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '\n':
        if (convertEOLs)
          out += "<br>";
        else
          out += c;
        break;
      case '\r':
        if (!convertEOLs) out += c;
        break;
      case ' ':
        if (!convertSpaces)
          out += c;
        else if (asyncCallback)
          out += "&amp;nbsp;";
        else
          out += "&nbsp;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string TextToJSStringLiteral(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        break;
      case '"':
      case '\'':
      case '<':
      case '>':
        out += '\\';
        out += c;
        break;
      case '\\':
        out += "\\\\";
        break;
      case '&':
        out += "&amp;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string TextToHTMLStringLiteral(std::string_view text, bool convertEOLs) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t c = utf8Decode(text, pos);
    if (isLiteralSafe(c)) {
      out += static_cast<char>(c);
    } else if (convertEOLs && c == U'\n') {
      out += "<br>";
    } else if (convertEOLs && c == U'\r') {
      // dropped
    } else {
      out += "&#";
      out += std::to_string(static_cast<std::uint32_t>(c));
      out += ';';
    }
  }
  return out;
}

std::string lowerCaseAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

std::string upperCaseAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upperAscii(c);
  return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view trimmed(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace orv
