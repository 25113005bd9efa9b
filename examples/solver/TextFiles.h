#pragma once
// Reading and writing the solver's text files.
//
// - The solver input file is in the system's 8-bit code page (Windows-1252).
// - The equations file is written by authors on any system: a UTF-8 or UTF-16 byte-order
//   mark selects that encoding, text that is valid UTF-8 is read as such, anything else
//   as Windows-1252.
// - Lines end at CR LF, LF or CR.
// - Files are written whole under a temporary name beside the target and then renamed,
//   so a reader (the page, or another session loading a shared plot picture) never sees
//   half a file.
#include <string>
#include <string_view>
#include <vector>

namespace orv::solver {

enum class TextEncoding { Cp1252, Detect };

// Throws SolverError "The file cannot be read: <path>".
std::vector<std::string> readTextLines(const std::string& path, TextEncoding encoding);
// Splits UTF-8 text into lines (CR LF, LF or CR); no empty last line for a final break.
std::vector<std::string> splitLines(std::string_view text);
// Throws SolverError "The file cannot be written: <path>".
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace orv::solver
