#pragma once
// The texts of start-up that reach the log file. Tests compare these literal strings;
// change them only together with the tests.
#include <string_view>

namespace orv::msg {

inline constexpr std::string_view kAppNotInitialized = "Application is not initialized.";
// Every start-up error is logged as this prefix followed by its message.
inline constexpr std::string_view kStartErrorPrefix = "Error: ";
// The switch that asks for the desktop window.
inline constexpr std::string_view kGuiSwitch = "GUI";
// The extension of the application log file.
inline constexpr std::string_view kLogExtension = "log";

}  // namespace orv::msg
