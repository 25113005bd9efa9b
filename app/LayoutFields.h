#pragma once
// Reads the fields of one item line of the layout file, in order, the way every item
// handler of the calculator page does: each read takes the next TAB-separated field
// off the rest of the line (TORVServerForm::NextToken), so reading past the last field
// yields empty text.
//
// A field that must be a whole number and is not one, or a display format that cannot
// be read, ends the building of the page: the error names the line (counted from 1),
// the keyword and the field (counted from 1 after the keyword).
//
// Lives on the stack of one item handler; not shared.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/mylib/myLib.h"

namespace orv {

class LayoutFields {
 public:
  // `rest` is the line after its keyword; reading consumes it.
  LayoutFields(std::string& rest, int lineNo, std::string_view keyword)
      : rest_(rest), lineNo_(lineNo), keyword_(keyword) {}

  // The next field as it stands (spaces kept).
  std::string text();
  // The next field as a flag: on when it is exactly "1".
  bool flag();
  // The next field as a 32-bit whole number; throws std::runtime_error naming the line
  // and `fieldName` when it is not one.
  std::int32_t wholeNumber(std::string_view fieldName);
  // The next field as a real number read by Str2Num (whatever Str2Num returns, also for
  // text that is not a number).
  long double real();
  // The next field as a display format (doFormat); throws std::runtime_error naming the
  // line and field when it cannot be read.
  DecForm format();

  // Skips the next field.
  void skip() { (void)text(); }

  // Number of the field read last (1 = the first after the keyword).
  int fieldNo() const { return fieldNo_; }
  int lineNo() const { return lineNo_; }
  const std::string& keyword() const { return keyword_; }

 private:
  std::string& rest_;  // the caller's text, consumed field by field
  int lineNo_;
  std::string keyword_;
  int fieldNo_ = 0;
};

}  // namespace orv
