#pragma once
// Small text helpers shared by the server side: letter case without locale, base 36
// (track IDs), percent-encoding as UTF-8. ASCII letter case only: every name compared
// without case here (paths, headers, parameter names, resource names) is ASCII by
// construction, and UTF-8 bytes above 127 must pass through unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv::detail {

std::string upper(std::string_view s);
std::string lower(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool endsWithNoCase(std::string_view s, std::string_view suffix);
// Position of needle in haystack ignoring case, or npos.
std::size_t findNoCase(std::string_view haystack, std::string_view needle);

// Base 36 with the digits "0123456789abcdefghijklmnopqrstuvwxyz".
std::string toBase36(std::uint64_t value);
// Reads base 36 in any letter case; nullopt for an empty text, another character or
// a value beyond 64 bits.
std::optional<std::uint64_t> fromBase36(std::string_view text);

// Percent-encoding of UTF-8 bytes: letters, digits and "-_.~" stay, every other byte
// becomes "%XX" (upper-case hexadecimal).
std::string percentEncode(std::string_view utf8);

// Replaces every occurrence of from (non-empty) by to.
std::string replaceAll(std::string s, std::string_view from, std::string_view to);

// The extension of a file name or path (with the dot), or empty.
std::string extractFileExt(std::string_view name);

// The text between the quotes of a JavaScript string literal: backslash, both quotes,
// CR, LF, TAB, "<" and the line separators U+2028/U+2029 are escaped, so the text can
// neither end the string nor the script element around it.
std::string jsStringContent(std::string_view text);
// The text as a double-quoted JavaScript string literal.
std::string jsString(std::string_view text);
// Markup escaping of text: & < > " become entities.
std::string htmlEscape(std::string_view text);

// Standard Base64 (with or without "=" fill); characters outside the alphabet end it.
std::string base64Decode(std::string_view text);

// Seconds since 1970 (UTC) of an HTTP date ("Tue, 08 Dec 2026 21:57:14 GMT", the
// "Tuesday, 08-Dec-26 ..." form and the asctime form); nullopt when it is none.
std::optional<std::int64_t> parseHttpDate(std::string_view text);

}  // namespace orv::detail
