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

}  // namespace orv::msg
