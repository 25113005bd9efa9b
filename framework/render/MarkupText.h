#pragma once
// The escaping functions used whenever a value is put into markup or into script, and
// the style pieces the controls share. Pure functions: safe from any thread.
//
// Text is UTF-8. Every character these functions replace is ASCII, so multi-byte
// sequences pass through unchanged, except in TextToHTMLStringLiteral, which writes
// every character outside its short safe set as a numeric character reference of the
// character's code point.
#include <string>
#include <string_view>

namespace orv {

// "&" -> "&amp;", "<" -> "&lt;", ">" -> "&gt;", '"' -> "&quot;", "'" -> "&#39;".
// convertEOLs: LF -> "<br>", CR dropped (otherwise both stay).
// convertSpaces: a space -> "&nbsp;", or "&amp;nbsp;" when `asyncCallback` is set: the
// text then travels inside an XML reply and is decoded once more by the browser.
std::string TextToHTML(std::string_view text, bool convertEOLs = false, bool convertSpaces = false,
                       bool asyncCallback = false);

// For text inside a quoted script string in an HTML attribute: LF -> "\n", CR dropped,
// '"', "'", "<" and ">" preceded by a backslash, a backslash doubled, "&" -> "&amp;".
std::string TextToJSStringLiteral(std::string_view text);

// For attribute values such as hidden-field values: ASCII letters, digits, ",", "-",
// "." and "_" stay; every other character becomes "&#" + its code + ";". With
// convertEOLs, LF becomes "<br>" and CR is dropped instead.
std::string TextToHTMLStringLiteral(std::string_view text, bool convertEOLs = false);

// Lower-case / upper-case ASCII letters (tag and attribute names, HTML names).
std::string lowerCaseAscii(std::string_view text);
std::string upperCaseAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix);
// Without leading and trailing blanks and control characters (as the framework's Trim).
std::string_view trimmed(std::string_view text);

}  // namespace orv
