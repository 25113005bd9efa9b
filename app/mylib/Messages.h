#pragma once
// The texts of the number and text utilities that reach visitors: the printed forms of
// the calculation world's special values and the conversion error of whole-number
// reading. Tests compare these literal strings; change them only together with the tests.
#include <string_view>

namespace orv::msg {

// Printed by SVAL and AutoSVAL.
inline constexpr std::string_view kNumberInfinity = "infinity";
inline constexpr std::string_view kNumberMinusInfinity = "-infinity";
inline constexpr std::string_view kNumberNotDefined = "not defined";
inline constexpr std::string_view kNumberNaN = "NaN";

// The conversion error of myStrtoInt (and so of doFormat): the offending text in
// apostrophes, followed by this text.
inline constexpr std::string_view kNotValidIntegerSuffix = " is not a valid integer value";

}  // namespace orv::msg
