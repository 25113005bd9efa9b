#include <gtest/gtest.h>

#include <string>

#include "app/mylib/myLib.h"

namespace orv {
namespace {

TEST(FontNameTest, MapsFontNumbersToFamilies) {
  struct {
    std::int32_t no;
    std::string family;
  } cases[] = {{0, "Arial"},
               {1, "Arial"},
               {2, "Times New Roman"},
               {3, "Courier New"},
               {4, "Symbol"},
               {5, "Century SchoolBk"},
               {6, "Bookman Old Style"},
               {7, "MS Sans Serif"},
               {8, "Symbol"},
               // Outside the table: the page's default family.
               {9, "Arial"},
               {-1, "Arial"},
               {2147483647, "Arial"},
               {-2147483647 - 1, "Arial"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.no);
    EXPECT_EQ(FontName(c.no), c.family);
  }
  EXPECT_EQ(FontName(1), FontName(0));
  EXPECT_EQ(FontName(8), FontName(4));
}

TEST(UnpackStyleNoTest, TakesOffUnderlineItalicBoldInThatOrder) {
  struct {
    std::int16_t style;
    bool bold, italic, underline;
  } cases[] = {
      {0, false, false, false},
      {1, true, false, false},
      {2, false, true, false},
      {3, true, true, false},
      {4, false, false, true},
      {5, true, false, true},
      {6, false, true, true},
      {7, true, true, true},
      // Beyond three bits: 8 - 4 = 4, 4 - 2 = 2, not 1.
      {8, false, true, true},
      {9, false, true, true},
      {-1, false, false, false},
      {32767, false, true, true},
      {-32768, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    bool bold = !c.bold, italic = !c.italic, underline = !c.underline;
    UnpackStyleNo(c.style, bold, italic, underline);
    EXPECT_EQ(bold, c.bold);
    EXPECT_EQ(italic, c.italic);
    EXPECT_EQ(underline, c.underline);
  }
}

}  // namespace
}  // namespace orv
