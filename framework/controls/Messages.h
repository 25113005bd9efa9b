#pragma once
// Texts of the control layer that reach the visitor or the page's author.
#include <string_view>

namespace orv::messages {

inline constexpr std::string_view kControlCannotReceiveFocus = "Control cannot receive focus";
// Formatted with the component name.
inline constexpr std::string_view kComponentNameExists = "A component named %s already exists.";
inline constexpr std::string_view kInvalidComponentName = "'%s' is not a valid component name.";
// Formatted with the text that is not a whole number.
inline constexpr std::string_view kInvalidInteger = "'%s' is not a valid integer value";

}  // namespace orv::messages
