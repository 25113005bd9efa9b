#pragma once
// myLib: the number and text utilities of the calculator page.
//
// - Number parsing: Str2Num is the one reader of numbers typed by visitors or given as
//   bounds in the layout file. Numbers are x87 extended values (long double).
// - Number formatting: DecForm, the display format read from a two-character layout
//   code by doFormat, and the printers SVAL and AutoSVAL (AutoSVAL is the one callers
//   use). Digits are generated exactly from the binary value, never by the C library.
// - Font and style codes of the layout file: FontName, UnpackStyleNo.
// - External programs: RunProgramOK (start a program and wait for its end),
//   GetProgramAssociation, StartNewBrowserWindow, and the warning sound Beep.
//
// Every function is stateless and may be called from any thread at once.
//
// The regional decimal separator of this system is "." (kDecimalSeparator). The
// readers and printers take it as a trailing parameter so that the behaviour under
// another regional setting stays reachable; callers leave it at its default.
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/Process.h"

namespace orv {

static_assert(sizeof(long double) >= 10 && __LDBL_MANT_DIG__ == 64,
              "numbers are x87 extended values: long double must be the 80-bit format");

// ---------------------------------------------------------------------------------
// Special values of the calculation world.

// Infinity is a finite value: the extended value nearest to 1E3999.
inline constexpr long double kInfinity = 1E3999L;
// What Str2Num returns for text that is not a number.
inline constexpr long double kFailureValue = 9.99E3998L;
// This exact value means "not defined".
inline constexpr long double kNotDefined = -9.99999E-997L;
// Values at or beyond +-kInfinityBound print as "infinity" / "-infinity".
inline constexpr long double kInfinityBound = 9.99E3998L;

// The regional decimal separator of this system.
inline constexpr char kDecimalSeparator = '.';
// The thousands separator, removed wherever it stands in a number text.
inline constexpr char ThousandsSeparator = ',';
// The whole-number reader does not remove thousands separators itself.
inline constexpr bool doThousandsSeparator = false;

// The platform's conversion error (a text that is not a whole number). Its message is
// the text in apostrophes followed by " is not a valid integer value".
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------------
// Number parsing.

// Reads a number. OK tells whether S was a legal number; the result is the number, or
// kFailureValue when OK is false. Blanks anywhere and "," anywhere are ignored, a
// trailing decimal point is allowed, "INF..." and "-INF..." read as +-kInfinity, and
// hours:minutes[:seconds] (optionally followed by a unit in "[...]") reads as hours.
// A text of more than 255 characters is not a legal number: it is refused whole
// rather than cut, so that a shortened text can never pass for a different number.
// Never throws.
long double Str2Num(const std::string& S, bool& OK, char decimalSeparator = kDecimalSeparator);

// S with every "," removed.
std::string RemoveThousandsSeparator(const std::string& S);
// Removes every blank (character 32) from S; other white space stays.
void RemoveSpaces(std::string& S);
// Runs myVal: true and V set when S was legal, false and V untouched otherwise.
bool ErrorCheck(const std::string& S, long double& V, char decimalSeparator = kDecimalSeparator);
// The actual reader. Code is 0 for a legal text, otherwise the (1-based) position of
// the fault, or another positive number. A text that is not a plain real number but
// holds ":" is read as a time. V is of no use when Code is not 0.
// Real numbers are rounded correctly to the nearest extended value; a number beyond the
// extended range (about 1.19E4932) is not legal, one below it reads as the nearest
// extended value (possibly 0).
void myVal(const std::string& S, long double& V, int& Code,
           char decimalSeparator = kDecimalSeparator);
// Whole number in decimal, or in hexadecimal after "$", "x", "X", "0x" or "0X", with an
// optional sign and leading blanks, within the 32-bit signed range. Throws
// ConvertError otherwise (empty text included).
std::int32_t myStrtoInt(const std::string& S);

// ---------------------------------------------------------------------------------
// Number formatting.

// The style of a display format. The values are those of the layout's byte.
enum class DecStyle : std::uint8_t {
  FloatDecimal = 0,  // scientific notation
  FixedDecimal = 1,  // fixed decimals
  NoShow = 2,        // printed like FloatDecimal
  Auto = 3,          // fixed or scientific with AutoDigits significant digits
  StrVar = 4,        // a string item: no number
  EngDecimal = 5,    // scientific with the exponent a multiple of 3
  TimeForm = 6,      // hours:minutes[:seconds] of a value in hours
};

// The display format of one item.
struct DecForm {
  DecStyle Style = DecStyle::Auto;
  // Decimals (fixed and scientific styles); seconds parts (time style: 1 =
  // hours:minutes, 2 = hours:minutes:seconds).
  std::int16_t Digits = 0;

  friend bool operator==(const DecForm&, const DecForm&) = default;
};

// Significant digits of the Auto style.
inline constexpr int AutoDigits = 4;

// Reads a two-character layout code: "A" Auto, "E" FloatDecimal, "F" FixedDecimal,
// "G" EngDecimal, "S" StrVar, "T" TimeForm (upper case only), then one decimal digit;
// the rest of the code is ignored. Throws ConvertError when the second character is
// not a digit (or missing). A first character other than the six letters gives Auto,
// which prints any magnitude readably.
DecForm doFormat(const std::string& code);

// Prints v in format f. For Auto and StrVar (which callers route through AutoSVAL or
// treat as text) it prints like AutoSVAL's Auto style.
std::string SVAL(long double v, const DecForm& f, char decimalSeparator = kDecimalSeparator);
// The printer callers use: "infinity", "-infinity", values below 9.99999E-997 as zero,
// the Auto style with "not defined", and every other style through SVAL.
std::string AutoSVAL(long double v, const DecForm& f, char decimalSeparator = kDecimalSeparator);
// Chooses the concrete style (FixedDecimal or FloatDecimal) and decimals for the Auto
// style with `digits` significant digits.
void AutoSetForm(DecForm& f, int digits, long double v);
// x raised to the whole number n: |n| multiplications (n > 0) or |n| divisions of 1 by
// x (n < 0); 1 for n = 0.
long double IntPower(long double x, int n);
// Printed numbers carry no thousands separators: returns the text unchanged.
std::string AddThousandsSeparator(const std::string& text);
// Removes every apostrophe from text; sounds Beep when their number was neither 0 nor 2.
void RemoveQuotes(std::string& text);

// ---------------------------------------------------------------------------------
// Font and style codes of the layout file.

// The font family of a font number: 0 and 1 "Arial", 2 "Times New Roman", 3 "Courier
// New", 4 and 8 "Symbol", 5 "Century SchoolBk", 6 "Bookman Old Style", 7 "MS Sans
// Serif". Any other number gives "Arial", the page's default family.
std::string FontName(std::int32_t FontNo);
// Decodes a style number (the low 16 bits of the layout's style field): 4 underline,
// 2 italic, 1 bold, taken off in that order with signed comparisons.
void UnpackStyleNo(std::int16_t StyleNo, bool& BoldOn, bool& ItalicOn, bool& UnderLineOn);

// ---------------------------------------------------------------------------------
// External programs.

// Starts a program in workingDir and waits for its end; true when it could be started
// (or the text named a file that the desktop's handler opened). The command text is
// trimmed; if its extension is not ".EXE" it is first offered to the desktop's "open"
// action, then started as a process, and once more without apostrophes. A failed start
// beeps once (MessageBeep 5). A command text of more than 255 characters is refused
// (false, one beep) rather than cut. Waits without limit.
bool RunProgramOK(const std::string& command, const std::string& workingDir);
// The same with a time limit: a program still running at the limit is killed with its
// whole process group and TimedOut is reported (no beep: the start did not fail).
// Finished also stands for a text the desktop's handler opened.
ProcessOutcome RunProgramOK(const std::string& command, const std::string& workingDir,
                            std::chrono::milliseconds timeLimit);

// The program associated with a file extension (given without the point), or empty
// text. On this system:
// - "HTM" and "HTML": $BROWSER when set (its first ":"-separated entry), else the full
//   path of xdg-open when it is on PATH.
// - Any other extension: its MIME type from the shared MIME globs
//   ($XDG_DATA_HOME/mime/globs2, then $XDG_DATA_DIRS/mime/globs2; the highest weight in
//   the first file that knows the extension) or /etc/mime.types; then the first listed
//   desktop entry that exists (in $XDG_DATA_HOME/applications, then
//   $XDG_DATA_DIRS/applications) for that type, looked up in [Default Applications] of
//   the mimeapps.list files ($XDG_CONFIG_HOME, $XDG_CONFIG_DIRS, then the applications
//   folders of the data directories) and of defaults.list, then in their
//   [Added Associations], then in mimeinfo.cache; and that entry's Exec= line, which
//   plays the part of the "open" command.
// The found command is cleaned: cut at the first "%", a leading double quote removed,
// cut at the next double quote, blanks at the end removed. A result of more than 255
// characters counts as none found (a cut path would name another program).
std::string GetProgramAssociation(const std::string& extension);
// Opens the address in the program associated with "HTM", without waiting. A double
// quote inside the address is written %22 so that the address stays one argument.
// Returns whether a browser was started (callers may ignore it).
bool StartNewBrowserWindow(const std::string& URL);

// The warning sound (MessageBeep 25).
void Beep();
// Removes every apostrophe from text; MessageBeep 5 when their number was neither 0
// nor 2.
void RemoveAnsiQuotes(std::string& text);

}  // namespace orv
