#pragma once
// The system's 8-bit code page is Windows-1252. Text lives in memory as UTF-8; files
// the page reads and writes (layout files without a byte-order mark, solver input
// files, input sets) are Windows-1252.
#include <string>
#include <string_view>

namespace orv {

// Windows-1252 bytes -> UTF-8 (the five undefined bytes map to U+0081.. as Windows does).
std::string cp1252ToUtf8(std::string_view bytes);
// UTF-8 -> Windows-1252; characters the code page cannot hold (and invalid UTF-8)
// become "?".
std::string utf8ToCp1252(std::string_view utf8);
// UTF-16 (little or big endian, without its byte-order mark) -> UTF-8.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// Number of Unicode characters in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);
// The first n Unicode characters of a UTF-8 text (never cuts inside a sequence).
std::string utf8Left(std::string_view utf8, std::size_t n);

}  // namespace orv
