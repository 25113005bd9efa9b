#include "app/PageRecords.h"

#include "platform/CodePage.h"

namespace orv {

std::string shortString(std::string_view text) {
  if (text.size() <= kShortStringMax) return std::string(text);  // fewer bytes, fewer characters
  return utf8Left(text, kShortStringMax);
}

}  // namespace orv
