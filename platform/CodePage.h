#pragma once
// The system's 8-bit code page is Windows-1252. Text lives in memory as UTF-8; files
// the page reads and writes (layout files without a byte-order mark, solver input
// files, input sets) are Windows-1252.
//
// Invalid UTF-8 is read the same way everywhere: each maximal ill-formed subsequence
// (a stray continuation byte, a truncated sequence, an overlong form, a surrogate, a
// value above U+10FFFF) counts as one character, U+FFFD. So utf8Length, utf8Left,
// utf8Decode and utf8ToCp1252 always agree on where characters begin and end.
// Pure functions; safe from any thread.
#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// Windows-1252 bytes -> UTF-8 (the five undefined bytes map to U+0081.. as Windows does).
std::string cp1252ToUtf8(std::string_view bytes);
// UTF-8 -> Windows-1252; characters the code page cannot hold (and invalid UTF-8)
// become "?".
std::string utf8ToCp1252(std::string_view utf8);
// UTF-16 (little or big endian, without its byte-order mark) -> UTF-8. Unpaired
// surrogates and a dangling odd byte become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// Number of Unicode characters in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);
// The first n Unicode characters of a UTF-8 text (never cuts inside a sequence).
std::string utf8Left(std::string_view utf8, std::size_t n);

// The character starting at byte `pos` (U+FFFD for an ill-formed sequence); `pos`
// moves past it. Precondition: pos < utf8.size().
char32_t utf8Decode(std::string_view utf8, std::size_t& pos);
// Appends the UTF-8 form of a code point (U+FFFD for surrogates and values beyond
// U+10FFFF).
void appendUtf8(std::string& out, char32_t cp);

}  // namespace orv
