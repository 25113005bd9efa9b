// Font and style codes of the layout file.
#include <array>
#include <string_view>

#include "app/mylib/myLib.h"

namespace orv {

namespace {

// Font numbers of the desktop solver's diagram window.
constexpr std::array<std::string_view, 9> kFontFamilies = {
    "Arial",              // 0
    "Arial",              // 1
    "Times New Roman",    // 2
    "Courier New",        // 3
    "Symbol",             // 4
    "Century SchoolBk",   // 5
    "Bookman Old Style",  // 6
    "MS Sans Serif",      // 7
    "Symbol",             // 8
};

}  // namespace

std::string FontName(std::int32_t FontNo) {
  if (FontNo < 0 || FontNo >= static_cast<std::int32_t>(kFontFamilies.size())) {
    return std::string(kFontFamilies[0]);
  }
  return std::string(kFontFamilies[static_cast<std::size_t>(FontNo)]);
}

void UnpackStyleNo(std::int16_t StyleNo, bool& BoldOn, bool& ItalicOn, bool& UnderLineOn) {
  int value = StyleNo;
  UnderLineOn = value >= 4;
  if (UnderLineOn) value -= 4;
  ItalicOn = value >= 2;
  if (ItalicOn) value -= 2;
  BoldOn = value == 1;
}

}  // namespace orv
