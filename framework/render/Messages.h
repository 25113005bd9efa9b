#pragma once
// Texts of the render layer that reach the page's author or the log.
#include <string_view>

namespace orv::messages {

// Appended to the message of an error raised while a tag's contents are written,
// followed by the tag's name.
inline constexpr std::string_view kTagErrorSuffix = "\r\n Tag: ";
// Preceded by the class name of a layout that cannot write a document.
inline constexpr std::string_view kProcessNotImplemented =
    ": Method Process is not implemented in this class";

}  // namespace orv::messages
