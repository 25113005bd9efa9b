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

// The browser's check of a combo box that needs a choice; formatted with its name.
inline constexpr std::string_view kSelectionRequired = "Please select a value for %s";

// A page's document type must be a whole document type declaration.
inline constexpr std::string_view kDocTypeMustStart =
    "Invalid value for DocType property: DocType must start with \"<!DOCTYPE\"";
inline constexpr std::string_view kDocTypeMustEnd =
    "Invalid value for DocType property: DocType must end with \">\"";

// Executing a page's request.
inline constexpr std::string_view kCannotFindSubmitComponent = "Cannot find submit component.";
// Formatted with the control's name.
inline constexpr std::string_view kSubmitControlHasNoHandler =
    "Submit control (%s) does not have a handler.";
// Formatted with "s" for more than one line, and the lines.
inline constexpr std::string_view kFollowingExceptionsOccured =
    "The following exception%s occured\r\n%s";
inline constexpr std::string_view kInvalidFormId = "Invalid form Id";

}  // namespace orv::messages
