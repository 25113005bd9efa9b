#include "framework/render/TIWFont.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

TEST(TIWFontTest, StartsWithTheDefaults) {
  TIWFont font;
  EXPECT_EQ(font.Color(), clNone);
  EXPECT_TRUE(font.Enabled());
  EXPECT_EQ(font.FontName(), "");
  EXPECT_EQ(font.FontFamily(), "");
  EXPECT_EQ(font.FontVariant(), "");
  EXPECT_EQ(font.Size(), 10);
  EXPECT_EQ(font.PxSize(), 13);
  EXPECT_EQ(font.Style(), 0u);
}

TEST(TIWFontTest, SizeSetsPxSizeTruncatedTowardZero) {
  struct Case {
    int points, pixels;
  };
  const Case cases[] = {{10, 13}, {12, 16}, {8, 10},    {11, 14}, {9, 12},
                        {1, 1},   {0, 0},   {-10, -13}, {72, 96}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    TIWFont font;
    font.setSize(c.points);
    EXPECT_EQ(font.Size(), c.points);
    EXPECT_EQ(font.PxSize(), c.pixels);
  }
  TIWFont huge;
  huge.setSize(2147483647);  // no overflow: the pixel size is capped
  EXPECT_EQ(huge.PxSize(), 2147483647);
}

TEST(TIWFontTest, DefaultFontStyleText) {
  TIWFont font;
  EXPECT_EQ(font.FontToStringStyle(),
            "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; ");
}

TEST(TIWFontTest, StyleTextShowsEachField) {
  struct Case {
    const char* label;
    void (*setup)(TIWFont&);
    const char* text;
  };
  const Case cases[] = {
      {"size 11", [](TIWFont& f) { f.setSize(11); },
       "font-weight: normal; font-style: normal; text-decoration: none;font-size: 14px; "},
      {"name with a space is quoted", [](TIWFont& f) { f.setFontName("Times New Roman"); },
       "font-family: 'Times New Roman'; font-weight: normal; font-style: normal; text-decoration: "
       "none;"
       "font-size: 13px; "},
      {"name without a space stays bare", [](TIWFont& f) { f.setFontName("Arial"); },
       "font-family: Arial; font-weight: normal; font-style: normal; text-decoration: "
       "none;font-size: 13px; "},
      {"quoted name doubles inner apostrophes", [](TIWFont& f) { f.setFontName("Bob's Font"); },
       "font-family: 'Bob''s Font'; font-weight: normal; font-style: normal; text-decoration: none;"
       "font-size: 13px; "},
      {"bold italic", [](TIWFont& f) { f.setStyle(fsBold | fsItalic); },
       "font-weight: bold; font-style: italic; text-decoration: none;font-size: 13px; "},
      {"underline", [](TIWFont& f) { f.setStyle(fsUnderline); },
       "font-weight: normal; font-style: normal; text-decoration: underline;font-size: 13px; "},
      {"underline and strike-out", [](TIWFont& f) { f.setStyle(fsUnderline | fsStrikeOut); },
       "font-weight: normal; font-style: normal; text-decoration: underline "
       "line-through;font-size: 13px; "},
      {"strike-out", [](TIWFont& f) { f.setStyle(fsStrikeOut); },
       "font-weight: normal; font-style: normal; text-decoration: line-through;font-size: 13px; "},
      {"family and variant follow the size",
       [](TIWFont& f) {
         f.setFontFamily("serif");
         f.setFontVariant("small-caps");
       },
       "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; "
       "font-family: serif; "
       "font-variant: small-caps; "},
      {"colour part", [](TIWFont& f) { f.setColor(clWebCRIMSON); },
       "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; color: "
       "#DC143C; "},
      {"window text colour writes nothing",
       [](TIWFont& f) { f.setColor(static_cast<TIWColor>(0xFF000008u)); },
       "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; "},
      {"system colour resolves", [](TIWFont& f) { f.setColor(clBtnFace); },
       "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; color: "
       "#F0F0F0; "},
      {"disabled writes nothing", [](TIWFont& f) { f.setEnabled(false); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TIWFont font;
    c.setup(font);
    EXPECT_EQ(font.FontToStringStyle(), c.text);
  }
}

TEST(TIWFontTest, CachedStyleTextFollowsEveryChange) {
  TIWFont font;
  const std::string before = font.FontToStringStyle();
  EXPECT_EQ(font.RenderedStyle(), before);
  font.setSize(12);
  EXPECT_EQ(font.RenderedStyle(), "");
  EXPECT_NE(font.FontToStringStyle(), before);
  EXPECT_NE(font.FontToStringStyle().find("font-size: 16px; "), std::string::npos);
  font.setPxSize(20);
  EXPECT_NE(font.FontToStringStyle().find("font-size: 20px; "), std::string::npos);
}

TEST(TIWFontTest, OnChangeFiresOnlyForRealChanges) {
  TIWFont font;
  int changes = 0;
  font.OnChange = [&](TIWFont&) { ++changes; };
  font.setColor(clNone);
  font.setSize(10);
  font.setFontName("");
  font.setStyle(0);
  EXPECT_EQ(changes, 0);
  font.setColor(clWebRED);
  font.setSize(12);
  font.setFontName("Arial");
  font.setStyle(fsBold);
  EXPECT_EQ(changes, 4);
  font.setFontName("Arial");
  EXPECT_EQ(changes, 4);
}

TEST(TIWFontTest, AssignCopiesValuesButNotTheHandler) {
  TIWFont source;
  source.setFontName("Courier New");
  source.setSize(12);
  source.setStyle(fsBold);
  source.setColor(clWebRED);
  int sourceChanges = 0;
  source.OnChange = [&](TIWFont&) { ++sourceChanges; };

  TIWFont copy;
  int copyChanges = 0;
  copy.OnChange = [&](TIWFont&) { ++copyChanges; };
  copy.Assign(source);
  EXPECT_EQ(copyChanges, 1);
  EXPECT_EQ(copy.FontToStringStyle(), source.FontToStringStyle());
  copy.setColor(clWebBLUE);  // reports to the copy's owner, not the source's
  EXPECT_EQ(copyChanges, 2);
  EXPECT_EQ(sourceChanges, 0);
  copy.Assign(copy);
  TIWFont same;
  same.Assign(TIWFont());
  EXPECT_EQ(copyChanges, 2);
}

TEST(TIWFontTest, StyleTextRelativeToABaseFont) {
  TIWFont base;
  base.setFontName("Arial");
  TIWFont font;
  font.setFontName("ARIAL");
  EXPECT_EQ(font.FontToStringStyle(&base), "");  // the name compares without case
  EXPECT_EQ(font.FontToStringStyle(nullptr), font.FontToStringStyle());
  font.setColor(clWebRED);
  EXPECT_EQ(font.FontToStringStyle(&base), "color: #FF0000; ");
  font.setSize(12);
  EXPECT_EQ(font.FontToStringStyle(&base),
            "font-family: ARIAL; font-weight: normal; font-style: normal; text-decoration: "
            "none;font-size: 16px; "
            "color: #FF0000; ");
  font.setEnabled(false);
  EXPECT_EQ(font.FontToStringStyle(&base), "");
}

}  // namespace
}  // namespace orv
