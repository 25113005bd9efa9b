#pragma once
// Small text helpers of the control layer.
#include <optional>
#include <string>
#include <string_view>

namespace orv::detail {

// ASCII upper case (component names are identifiers).
std::string upperCaseAscii(std::string_view text);
bool equalsIgnoringCaseAscii(std::string_view a, std::string_view b);
// A letter or "_" followed by letters, digits and "_".
bool isValidIdentifier(std::string_view name);
// A whole number as the browser writes one: optional leading blanks, an optional sign,
// decimal digits, nothing after them; none when the text is not such a number or lies
// outside the 32-bit range.
std::optional<int> parseWholeNumber(std::string_view text);
// Stores `value` when it differs; tells whether it did (setters then mark the control).
template <class T>
bool assignIfDifferent(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// printf-style "%s" replacement for message templates holding one "%s".
std::string formatMessage(std::string_view pattern, std::string_view argument);

}  // namespace orv::detail
