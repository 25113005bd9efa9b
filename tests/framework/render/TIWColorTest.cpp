#include "framework/render/TIWColor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace orv {
namespace {

struct RgbCase {
  const char* label;
  TIWColor color;
  const char* text;
};

TEST(TIWColorTest, ColorToRGBStringWritesRedGreenBlueInUpperCaseHex) {
  const RgbCase cases[] = {
      {"blue in the high byte", 0x00FF0000, "#0000FF"},
      {"red in the low byte", 0x000000FF, "#FF0000"},
      {"mixed", 0x00563412, "#123456"},
      {"lower-case hex digits become upper case", 0x00abcdef, "#EFCDAB"},
      {"transparent", -1, "transparent"},
      {"none", clNone, ""},
      {"button face resolves through the system table", clBtnFace, "#F0F0F0"},
      {"window text", static_cast<TIWColor>(0xFF000008u), "#000000"},
      {"window", clWindow, "#FFFFFF"},
      {"highlight", clHighlight, "#0078D7"},
      {"an unknown system index is black", static_cast<TIWColor>(0xFF0000FEu), "#000000"},
      {"the default colour keeps its low 24 bits", clDefault, "#000000"},
      {"crimson", clWebCRIMSON, "#DC143C"},
      {"khaki", clWebKHAKI, "#F0E68C"},
  };
  for (const RgbCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ColorToRGBString(c.color), c.text);
  }
}

TEST(TIWColorTest, WebColorTableHas142EntriesWithTransparentFirst) {
  std::string name;
  ASSERT_TRUE(IWColorToIdent(-1, name));
  EXPECT_EQ(name, "clWebTransparent");
  // Every named web colour round-trips through its name; AQUA/CYAN and FUCHSIA/MAGENTA
  // share values, so 139 distinct values remain besides transparent.
  std::set<TIWColor> values;
  int names = 0;
#define ORV_CHECK_WEB_COLOR(label, rgb)                            \
  {                                                                \
    TIWColor value = 0;                                            \
    ASSERT_TRUE(IdentToIWColor("clWeb" #label, value)) << #label;  \
    EXPECT_EQ(value, clWeb##label) << #label;                      \
    EXPECT_EQ(ColorToRGBString(value), "#" + hex6(rgb)) << #label; \
    values.insert(value);                                          \
    ++names;                                                       \
  }
  auto hex6 = [](unsigned rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb);
    return std::string(text);
  };
  ORV_WEB_COLOR_TABLE(ORV_CHECK_WEB_COLOR)
#undef ORV_CHECK_WEB_COLOR
  EXPECT_EQ(names + 1, kWebColorCount);
  EXPECT_EQ(values.size(), 139u);
}

TEST(TIWColorTest, WebColorTableKeepsItsOwnValuesWhereTheyDifferFromCss) {
  const RgbCase cases[] = {
      {"MEDIUMPURPLE is not CSS #9370DB", clWebMEDIUMPURPLE, "#9370D8"},
      {"PEACHPUFF is not CSS #FFDAB9", clWebPEACHPUFF, "#FFDA89"},
      {"LIGHTSLATEBLUE has no CSS keyword", clWebLIGHTSLATEBLUE, "#8470FF"},
      {"VIOLETRED has no CSS keyword", clWebVIOLETRED, "#D02090"},
  };
  for (const RgbCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ColorToRGBString(c.color), c.text);
  }
}

TEST(TIWColorTest, IWColorToIdentNamesTheFirstEntryOfASharedValue) {
  struct Case {
    TIWColor color;
    const char* name;
  };
  const Case cases[] = {
      {clWebAQUA, "clWebAQUA"},        // before CYAN
      {clWebFUCHSIA, "clWebFUCHSIA"},  // before MAGENTA
      {clWebCRIMSON, "clWebCRIMSON"},
      {clWebBLACK, "clWebBLACK"},  // the web table wins over the standard clBlack
      {clBtnFace, "clBtnFace"},    // standard names after the web table
      {clNone, "clNone"},
      {clMoneyGreen, "clMoneyGreen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string name;
    ASSERT_TRUE(IWColorToIdent(c.color, name));
    EXPECT_EQ(name, c.name);
  }
  std::string name = "unchanged";
  EXPECT_FALSE(IWColorToIdent(0x00123456, name));
  EXPECT_EQ(name, "unchanged");
}

TEST(TIWColorTest, IdentToIWColorIgnoresCaseAndTriesStandardNamesSecond) {
  struct Case {
    const char* name;
    TIWColor value;
  };
  const Case cases[] = {
      {"clWebCRIMSON", clWebCRIMSON},
      {"CLWEBcrimson", clWebCRIMSON},
      {"clwebkhaki", clWebKHAKI},
      {"clWebTransparent", -1},
      {"clBtnFace", clBtnFace},
      {"clbtnface", clBtnFace},
      {"clRed", 0x0000FF},
      {"clNone", clNone},
      {"clWindowText", static_cast<TIWColor>(0xFF000008u)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TIWColor value = 0;
    ASSERT_TRUE(IdentToIWColor(c.name, value));
    EXPECT_EQ(value, c.value);
  }
  TIWColor value = 42;
  EXPECT_FALSE(IdentToIWColor("clWebNOSUCHCOLOR", value));
  EXPECT_FALSE(IdentToIWColor("", value));
  EXPECT_FALSE(IdentToIWColor("WebCRIMSON", value));
  EXPECT_EQ(value, 42);
}

TEST(TIWColorTest, ColorToRGBResolvesSystemColorsToPlainValues) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800);  // #0078D7 stored as $00BBGGRR
  EXPECT_EQ(ColorToRGB(clWebCRIMSON), clWebCRIMSON);
}

}  // namespace
}  // namespace orv
