#pragma once
// The text rules of the author's files (the layout file and the memo texts it names):
// how their bytes become lines, how flag fields read, and how a file
// name written on Windows is found on a case-sensitive file system.
//
// Plain functions without state; safe from any thread.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Bytes of a text file -> UTF-8: a UTF-8 byte-order mark selects UTF-8 (invalid
// sequences become U+FFFD), "FF FE" UTF-16 little endian, "FE FF" UTF-16 big endian;
// anything else is Windows-1252. The byte-order mark itself is dropped.
std::string decodeTextFile(std::string_view bytes);

// Splits text into lines ending at CR LF, LF or CR. A line end at the very end of the
// text does not start another line, so "" gives no line and "a\r\n" one line.
std::vector<std::string> splitLines(std::string_view text);

// Reads a whole text file into lines (decodeTextFile, then splitLines); nothing when it
// cannot be opened or read.
std::optional<std::vector<std::string>> readTextFileLines(const std::string& path);

// A flag field is on when it is exactly "1".
inline bool isFlagOn(std::string_view field) { return field == "1"; }

// Finds a file the author named relative to dir (or absolute): the exact name first,
// then a name in the same directory that differs only in ASCII letter case (authors copy
// their files from Windows). "\" in the name separates folders as "/" does. Returns
// the full path of an existing regular file, or nothing.
std::optional<std::string> findAuthorFile(const std::string& dir, std::string_view name);

}  // namespace orv
