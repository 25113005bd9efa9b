#include "app/Messages.h"

namespace orv::msg {

namespace {

std::string linePrefix(int lineNo, std::string_view keyword) {
  std::string s = "Layout file line " + std::to_string(lineNo);
  if (!keyword.empty()) {
    s += " (";
    s += keyword;
    s += ")";
  }
  return s;
}

std::string quoted(std::string_view text) {
  std::string s = "\"";
  s += text;
  s += "\"";
  return s;
}

}  // namespace

std::string layoutNotWholeNumber(int lineNo, std::string_view keyword, int fieldNo,
                                 std::string_view fieldName, std::string_view text) {
  return linePrefix(lineNo, keyword) + ", field " + std::to_string(fieldNo) + " (" +
         std::string(fieldName) + "): " + quoted(text) + " is not a whole number.";
}

std::string layoutEndsEarly(int lineNo, std::string_view keyword, int needed, int found) {
  return linePrefix(lineNo, keyword) + ": the item needs " + std::to_string(needed) +
         " more lines, but the file ends after " + std::to_string(found) + ".";
}

std::string layoutBlockNotClosed(int lineNo, std::string_view keyword) {
  return linePrefix(lineNo, keyword) +
         ": the file ends before the line \"<>\" that closes the block.";
}

std::string layoutRadioCount(int lineNo, int count) {
  return linePrefix(lineNo, "RADIO") + ": a radio group has 0 to 20 buttons, not " +
         std::to_string(count) + ".";
}

std::string layoutNegativeCount(int lineNo, std::string_view keyword, int count) {
  return linePrefix(lineNo, keyword) + ": the item count must not be negative, not " +
         std::to_string(count) + ".";
}

std::string layoutPicture(int lineNo, std::string_view keyword, std::string_view pictureError) {
  return linePrefix(lineNo, keyword) + ": " + std::string(pictureError);
}

std::string layoutBadFormat(int lineNo, std::string_view keyword, int fieldNo,
                            std::string_view text) {
  return linePrefix(lineNo, keyword) + ", field " + std::to_string(fieldNo) +
         " (display format): " + quoted(text) + " is not a display format.";
}

std::string layoutMemoUnreadable(int lineNo, std::string_view fileName) {
  return linePrefix(lineNo, "MEMO") + ": the text file " + std::string(fileName) +
         " cannot be read.";
}

std::string layoutEmpty(std::string_view path) {
  return "The layout file " + std::string(path) + " is empty.";
}

std::string layoutUnreadable(std::string_view path) {
  return "The layout file " + std::string(path) + " cannot be read.";
}

}  // namespace orv::msg
