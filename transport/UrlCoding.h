#pragma once
// Text helpers of the HTTP layer: ASCII letter-case comparisons, trimming, the URL
// decoding of paths and parameters, conversions between UTF-8 and the character sets
// a request or response may name, and Base64 for Basic authorization. Pure functions.
#include <string>
#include <string_view>

namespace orv {

bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool containsIgnoreCase(std::string_view text, std::string_view part);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);
std::string upperAscii(std::string_view text);
std::string lowerAscii(std::string_view text);
// Removes control characters and blanks (every byte up to 0x20) at both ends / the left.
std::string_view trimText(std::string_view text);
std::string_view trimLeftText(std::string_view text);

// URL decoding: "%XX" gives the byte XX, "%uXXXX" the UTF-16 unit XXXX in the target
// character set, an invalid sequence after "%" is dropped, every other character gives
// its own byte; the bytes are then read in the target character set (UTF-8 unless
// another is named) and returned as UTF-8. Bytes that are not valid in the target
// character set become U+FFFD.
std::string urlDecode(std::string_view text, std::string_view charset = "UTF-8");

// Bytes in a character set ("UTF-8", "ISO-8859-1", "windows-1252", ... any letter case;
// unknown names read as UTF-8) -> valid UTF-8.
std::string bytesToUtf8(std::string_view bytes, std::string_view charset);
// UTF-8 -> bytes in a character set; characters it cannot hold become "?". Unknown
// names (and UTF-8) keep the text as it is.
std::string utf8ToCharset(std::string_view utf8, std::string_view charset);
// Replaces every invalid UTF-8 sequence by U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

// Base64 (standard alphabet); characters outside the alphabet are skipped.
std::string base64Decode(std::string_view text);
std::string base64Encode(std::string_view bytes);

}  // namespace orv
