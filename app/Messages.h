#pragma once
// Texts of the calculator page: the captions of its built-in controls, the status and
// header texts visitors read, and the errors that end the building of a page from a
// faulty layout file. Tests compare the literal strings.
#include <string>
#include <string_view>

namespace orv::msg {

// Built-in controls of the calculator page.
inline constexpr std::string_view kSaveCaption = "Save";
inline constexpr std::string_view kLoadCaption = "Load";
inline constexpr std::string_view kHelpCaption = "Help";
inline constexpr std::string_view kSolveCaption = "Solve";
inline constexpr std::string_view kContinueCaption = "Continue";
inline constexpr std::string_view kHeader1Caption = "header 1";
inline constexpr std::string_view kHeader2Caption = "header 2";
inline constexpr std::string_view kHeader3Caption = "header 3";
inline constexpr std::string_view kHeader4Caption = "header 4";
inline constexpr std::string_view kNoSelectionText = "-- No Selection --";
inline constexpr std::string_view kStatusFontFamily = "Sans-Serif, Helvetica, Arial";

// Status text when the server's directory holds no layout file with its solver program;
// the directory follows.
inline constexpr std::string_view kDlyNotFound =
    "The .DLY and/or .EXE files were not found in directory ";

// First header line: prefix + port in decimal + suffix.
inline constexpr std::string_view kHeaderPortPrefix = "ORV Web Server Port ";
inline constexpr std::string_view kHeaderVersionSuffix = " Version 1.06";

// ---- Errors that abort building a page from its layout file -------------------------
// Line numbers count from 1, as a text editor shows them; fields count from 1 after the
// keyword.

// "Layout file line 12 (INPUT), field 9 (left): \"12 \" is not a whole number."
std::string layoutNotWholeNumber(int lineNo, std::string_view keyword, int fieldNo,
                                 std::string_view fieldName, std::string_view text);
// "Layout file line 7 (DROPDOWN): the item needs 3 more lines, but the file ends after 1."
std::string layoutEndsEarly(int lineNo, std::string_view keyword, int needed, int found);
// "Layout file line 30 (CHECKBOX): the file ends before the line \"<>\" that closes the block."
std::string layoutBlockNotClosed(int lineNo, std::string_view keyword);
// "Layout file line 40 (RADIO): a radio group has 0 to 20 buttons, not 21."
std::string layoutRadioCount(int lineNo, int count);
// "Layout file line 9 (DROPDOWN): the item count must not be negative, not -1."
std::string layoutNegativeCount(int lineNo, std::string_view keyword, int count);
// "Layout file line 14 (IMG): " + the picture's own error text.
std::string layoutPicture(int lineNo, std::string_view keyword, std::string_view pictureError);
// "Layout file line 11 (INPUT), field 8 (display format): \"X3\" is not a display format."
std::string layoutBadFormat(int lineNo, std::string_view keyword, int fieldNo,
                            std::string_view text);
// "Layout file line 20 (MEMO): the text file notes.txt cannot be read."
std::string layoutMemoUnreadable(int lineNo, std::string_view fileName);
// "The layout file /srv/orv/pump.DLY is empty."
std::string layoutEmpty(std::string_view path);
// "The layout file /srv/orv/pump.DLY cannot be read."
std::string layoutUnreadable(std::string_view path);

// ---- Solve cycle --------------------------------------------------------------------
// Two blanks where the page has always had them.

inline constexpr std::string_view kCalculating = "Calculating...";
inline constexpr std::string_view kCalculatingPleaseWait = "Calculating...  Please wait.";
inline constexpr std::string_view kProgramDidNotRun =
    "Error: The program did not run.  Restart and try again.";
inline constexpr std::string_view kOutputFileNotFound =
    "Error: An output file from the ORV distributable program was not found.";

// "Illegal input for " + name + " = " + the text as typed.
inline std::string illegalInput(std::string_view name, std::string_view text) {
  return "Illegal input for " + std::string(name) + " = " + std::string(text);
}
// "The value entered for " + name + " must be greater than " + the printed bound.
inline std::string mustBeGreaterThan(std::string_view name, std::string_view bound) {
  return "The value entered for " + std::string(name) + " must be greater than " +
         std::string(bound);
}
// "The value entered for " + name + " must be less than " + the printed bound.
inline std::string mustBeLessThan(std::string_view name, std::string_view bound) {
  return "The value entered for " + std::string(name) + " must be less than " +
         std::string(bound);
}
// "Error: " + the first line of the solver's error file.
inline std::string solverError(std::string_view firstLine) {
  return "Error: " + std::string(firstLine);
}
// "Error: The program did not finish within 300 seconds." with the limit in force.
inline std::string programDidNotFinish(std::string_view seconds) {
  return "Error: The program did not finish within " + std::string(seconds) + " seconds.";
}
// A file of the cycle that the file system refused to write.
inline std::string cycleFileNotWritten(std::string_view path) {
  return "The file " + std::string(path) + " cannot be written.";
}
// A file of the cycle that the file system refused to read.
inline std::string cycleFileNotRead(std::string_view path) {
  return "The file " + std::string(path) + " cannot be read.";
}

// ---- Saved input sets ---------------------------------------------------------------

// The text the name field shows when the first click on Save opens it.
inline constexpr std::string_view kSaveEditPrompt = "FileName";

// A set whose first line names another layout file (no period at the end).
inline std::string setForOtherLayout(std::string_view setPath, std::string_view layoutPath) {
  return "File " + std::string(setPath) + " was written for file " + std::string(layoutPath) +
         " and cannot be read";
}
// A set line that does not belong to the page's items.
inline std::string errorReadingInput(std::string_view name) {
  return "Error reading input " + std::string(name) + ".  The loading has been terminated.";
}
inline std::string errorReadingDropdown(std::string_view name) {
  return "Error reading Dropdown " + std::string(name) + ". The loading has been terminated.";
}
inline std::string errorReadingRadioGroup(int n) {
  return "Error reading RadioGroup " + std::to_string(n) + ". The loading has been terminated.";
}
inline std::string errorReadingCheckBox(int n) {
  return "Error reading CheckBox " + std::to_string(n) + ". The loading has been terminated.";
}
// A listed set that can no longer be opened (removed or unreadable since the listing).
inline std::string setUnreadable(std::string_view setPath) {
  return "File " + std::string(setPath) + " cannot be read";
}

}  // namespace orv::msg
