#include "framework/controls/ControlText.h"

#include <charconv>

namespace orv::detail {

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string upperCaseAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = upper(c);
  return result;
}

bool equalsIgnoringCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

bool isValidIdentifier(std::string_view name) {
  if (name.empty() || !(isAsciiLetter(name[0]) || name[0] == '_')) return false;
  for (char c : name) {
    if (!(isAsciiLetter(c) || isAsciiDigit(c) || c == '_')) return false;
  }
  return true;
}

std::optional<int> parseWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  text.remove_prefix(i);
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string formatMessage(std::string_view pattern, std::string_view argument) {
  std::string text(pattern);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace orv::detail
