#include "platform/TextMeasure.h"

#include <gtest/gtest.h>

#include <latch>
#include <map>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/ExePaths.h"
#include "platform/FontCache.h"
#include "tests/platform/TempDir.h"

namespace orv {
namespace {

// Advance widths of the Arial metrics in font units (2048 per em), which Liberation
// Sans carries unchanged.
const std::map<char, int>& arialAdvances() {
  static const std::map<char, int> m = {
      {' ', 569},  {'.', 569},  {',', 569},  {'0', 1139}, {'1', 1139}, {'2', 1139}, {'3', 1139},
      {'4', 1139}, {'5', 1139}, {'6', 1139}, {'7', 1139}, {'8', 1139}, {'9', 1139}, {'A', 1366},
      {'B', 1366}, {'C', 1479}, {'D', 1479}, {'E', 1366}, {'F', 1251}, {'G', 1593}, {'H', 1479},
      {'I', 569},  {'J', 1024}, {'K', 1366}, {'L', 1139}, {'M', 1706}, {'N', 1479}, {'O', 1593},
      {'P', 1366}, {'Q', 1593}, {'R', 1479}, {'S', 1366}, {'T', 1251}, {'U', 1479}, {'V', 1366},
      {'W', 1933}, {'X', 1366}, {'Y', 1366}, {'Z', 1251}, {'a', 1139}, {'b', 1139}, {'c', 1024},
      {'d', 1139}, {'e', 1139}, {'f', 569},  {'g', 1139}, {'h', 1139}, {'i', 455},  {'j', 455},
      {'k', 1024}, {'l', 455},  {'m', 1706}, {'n', 1139}, {'o', 1139}, {'p', 1139}, {'q', 1139},
      {'r', 682},  {'s', 1024}, {'t', 569},  {'u', 1139}, {'v', 1024}, {'w', 1479}, {'x', 1024},
      {'y', 1024}, {'z', 1024},
  };
  return m;
}

// Arial Bold advances of the letters used below.
const std::map<char, int>& arialBoldAdvances() {
  static const std::map<char, int> m = {
      {'b', 1251}, {'o', 1251}, {'l', 569}, {'d', 1251}, {'m', 1821}, {'r', 797}, {' ', 569},
  };
  return m;
}

// One glyph's advance hinted to whole pixels: the scaled width rounded to the nearest
// pixel, halves up.
int hinted(int units, int ppem) { return (units * ppem + 1024) / 2048; }

int expectedWidth(const std::string& s, int ppem, const std::map<char, int>& advances) {
  int sum = 0;
  for (char c : s) sum += hinted(advances.at(c), ppem);
  return sum;
}

TEST(TextMeasureTest, PointSizesBecomeWholePixelsPerEmAt96Dpi) {
  const std::vector<std::pair<int, int>> cases = {
      {1, 1},   {3, 4},   {7, 9},   {8, 11},  {9, 12},    {10, 13},
      {11, 15}, {12, 16}, {14, 19}, {18, 24}, {-10, -13},
  };
  for (const auto& [pt, ppem] : cases) {
    SCOPED_TRACE(pt);
    EXPECT_EQ(TextMeasurer::pixelsPerEm(pt), ppem);
  }
}

TEST(TextMeasureTest, EveryArialCharacterHasItsHintedAdvance) {
  TextMeasurer m;
  for (const auto& [pt, ppem] : std::vector<std::pair<int, int>>{{8, 11}, {10, 13}, {12, 16}}) {
    for (const auto& [c, units] : arialAdvances()) {
      SCOPED_TRACE(std::string("'") + c + "' at " + std::to_string(ppem) + " ppem");
      EXPECT_EQ(m.GetWidth(std::string(1, c), "Arial", pt, 0), hinted(units, ppem));
    }
  }
}

TEST(TextMeasureTest, WidthIsTheSumOfTheAdvancesAt13PixelsPerEm) {
  TextMeasurer m;
  const std::vector<std::pair<std::string, int>> cases = {
      // Worked by hand: H 9.39->9, e 7.23->7, l 2.89->3 (x2), o 7, blank 3.61->4,
      // W 12.27->12, o 7, r 4.33->4, l 3, d 7.
      {"Hello World", 9 + 7 + 3 + 3 + 7 + 4 + 12 + 7 + 4 + 3 + 7},
      // c, k, s, v, x, y, z sit exactly on 6.5 pixels and round up.
      {"cksvxyz", 7 * 7},
      {"0123456789", 10 * 7},
      {"iiiii", 5 * 3},
      {"WWW", 3 * 12},
      {"", 0},
  };
  for (const auto& [text, px] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(m.GetWidth(text, "Arial", 10, 0), px);
    EXPECT_EQ(expectedWidth(text, 13, arialAdvances()), px);
  }
  for (const std::string text :
       {"The quick brown fox jumps over the lazy dog", "Flow rate Q", "PUMP DIAMETER 1.25, 3.5"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(m.GetWidth(text, "Arial", 10, 0), expectedWidth(text, 13, arialAdvances()));
  }
}

TEST(TextMeasureTest, KerningPairsAreNotKerned) {
  TextMeasurer m;
  // "AV" and "To" are classic kerning pairs: the width stays the plain sum.
  EXPECT_EQ(m.GetWidth("AV", "Arial", 10, 0),
            m.GetWidth("A", "Arial", 10, 0) + m.GetWidth("V", "Arial", 10, 0));
  EXPECT_EQ(m.GetWidth("To", "Arial", 10, 0),
            m.GetWidth("T", "Arial", 10, 0) + m.GetWidth("o", "Arial", 10, 0));
}

TEST(TextMeasureTest, BoldIsWiderAndUsesTheBoldFace) {
  TextMeasurer m;
  EXPECT_EQ(m.GetWidth("bold", "Arial", 10, fsBold),
            expectedWidth("bold", 13, arialBoldAdvances()));
  EXPECT_EQ(m.GetWidth("bold", "Arial", 10, fsBold), 28);
  EXPECT_EQ(m.GetWidth("bold", "Arial", 10, 0), 24);
  EXPECT_EQ(m.GetWidth("mr bold", "Arial", 12, fsBold),
            expectedWidth("mr bold", 16, arialBoldAdvances()));
  EXPECT_GT(m.GetWidth("Hello World", "Arial", 10, fsBold),
            m.GetWidth("Hello World", "Arial", 10, 0));
  EXPECT_GT(m.GetWidth("Hello World", "Times New Roman", 10, fsBold),
            m.GetWidth("Hello World", "Times New Roman", 10, 0));
}

TEST(TextMeasureTest, FamilyWithoutABoldFaceIsEmboldenedOnePixelPerCharacter) {
  TextMeasurer m;
  EXPECT_EQ(FontCache::instance().resolvedFamily("Symbol", true, false), "Standard Symbols PS");
  EXPECT_EQ(m.GetWidth("abc", "Symbol", 10, fsBold), m.GetWidth("abc", "Symbol", 10, 0) + 3);
}

TEST(TextMeasureTest, UnderlineAndStrikeOutChangeNothing) {
  TextMeasurer m;
  const int plain = m.GetWidth("Pump", "Arial", 10, 0);
  EXPECT_EQ(m.GetWidth("Pump", "Arial", 10, fsUnderline | fsStrikeOut), plain);
  EXPECT_EQ(m.GetHeight("Pump", "Arial", 10, fsUnderline), m.GetHeight("Pump", "Arial", 10, 0));
}

TEST(TextMeasureTest, HeightIsWinAscentPlusDescentRoundedUpWhateverTheText) {
  TextMeasurer m;
  // Arial: usWinAscent 1854 + usWinDescent 434 = 2288 units of 2048 per em.
  const std::vector<std::pair<int, int>> cases = {
      {8, 13},   // 11 ppem: 12.29 -> 13
      {10, 15},  // 13 ppem: 14.52 -> 15
      {12, 18},  // 16 ppem: 17.88 -> 18
      {18, 27},  // 24 ppem: 26.81 -> 27
  };
  for (const auto& [pt, px] : cases) {
    SCOPED_TRACE(pt);
    for (const std::string text : {"", "x", "\xC3\x81g|", "Hello World"}) {
      EXPECT_EQ(m.GetHeight(text, "Arial", pt, 0), px);
    }
    EXPECT_EQ(m.GetHeight("x", "Arial", pt, fsBold | fsItalic), px);
  }
}

TEST(TextMeasureTest, DesktopFamiliesMapToTheirMetricCompatibleFonts) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Arial", "Liberation Sans"},
      {"arial", "Liberation Sans"},
      {"  ARIAL ", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Century SchoolBk", "C059"},
      {"Bookman Old Style", "URW Bookman"},
      {"Symbol", "Standard Symbols PS"},
      {"MS Sans Serif", "Liberation Sans"},
      {"Liberation Serif", "Liberation Serif"},  // an installed family is used as it is
      {"Sans-Serif, Helvetica, Arial", "Liberation Sans"},
      {"Times New Roman, Arial", "Liberation Serif"},
  };
  for (const auto& [name, family] : cases) {
    SCOPED_TRACE(name);
    for (int style = 0; style < 4; ++style) {
      EXPECT_EQ(FontCache::instance().resolvedFamily(name, style & fsBold, style & fsItalic),
                family);
    }
  }
}

TEST(TextMeasureTest, UnknownFamilyFallsBackToLiberationSansAndIsLoggedOnce) {
  test::TempDir dir;
  const std::string original = exePaths().appPath;
  setAppPathForTesting(dir.path());
  TextMeasurer m;
  const std::string unknown = "No Such Family 7f3a";
  const int w1 = m.GetWidth("Hello World", unknown, 10, 0);
  const int w2 = m.GetWidth("Hello World", unknown, 10, 0);
  const int bold = m.GetWidth("Hello World", unknown, 10, fsBold);
  const int h = m.GetHeight("", unknown, 12, 0);
  setAppPathForTesting(original);

  EXPECT_EQ(w1, m.GetWidth("Hello World", "Arial", 10, 0));
  EXPECT_EQ(w2, w1);
  EXPECT_EQ(bold, m.GetWidth("Hello World", "Arial", 10, fsBold));
  EXPECT_EQ(h, m.GetHeight("", "Arial", 12, 0));
  EXPECT_EQ(FontCache::instance().resolvedFamily(unknown, false, false), "Liberation Sans");
  EXPECT_EQ(FontCache::instance().resolvedFamily("", false, false), "Liberation Sans");

  const std::string log = dir.read("test_platform.log");
  std::size_t lines = 0;
  for (std::size_t p = log.find(unknown); p != std::string::npos; p = log.find(unknown, p + 1))
    ++lines;
  EXPECT_EQ(lines, 1u) << log;
}

TEST(TextMeasureTest, Utf8TextIsMeasuredByCharacter) {
  TextMeasurer m;
  // U+00E9 and U+20AC both have the digit width of Arial (1139 units).
  EXPECT_EQ(m.GetWidth("\xC3\xA9", "Arial", 10, 0), 7);
  EXPECT_EQ(m.GetWidth("\xE2\x82\xAC", "Arial", 10, 0), 7);
  EXPECT_EQ(m.GetWidth("caf\xC3\xA9 \xE2\x82\xAC", "Arial", 10, 0), 7 + 7 + 4 + 7 + 4 + 7);
  // An ill-formed byte measures as U+FFFD, never as a piece of a character.
  EXPECT_EQ(m.GetWidth("\xFF", "Arial", 10, 0), m.GetWidth("\xEF\xBF\xBD", "Arial", 10, 0));
}

TEST(TextMeasureTest, ZeroAndNegativeSizesFollowTheDesktopRules) {
  TextMeasurer m;
  EXPECT_EQ(m.GetWidth("Hello", "Arial", 0, 0), m.GetWidth("Hello", "Arial", 8, 0));
  // -10: a cell of 13 pixels, so 13 x 2048 / 2288 = 11.6 -> 12 pixels per em.
  EXPECT_EQ(m.GetWidth("mmmm", "Arial", -10, 0), 4 * hinted(1706, 12));
  // Absurd sizes are capped instead of exhausting memory.
  EXPECT_EQ(m.GetWidth("m", "Arial", 1000000, 0), hinted(1706, 2000));
}

TEST(TextMeasureTest, ManyThreadsMeasureAtOnce) {
  // Fresh sizes, so the threads race to load and fill the same faces and size tables.
  const std::vector<std::string> fonts = {"Arial", "Times New Roman", "Courier New",
                                          "Century SchoolBk", "Unknown Race Family"};
  const std::vector<std::string> texts = {"Flow rate", "\xCE\xA9 = 2\xCF\x80 f", "0123456789",
                                          "\xE2\x82\xAC 1.5"};
  using Key = std::tuple<std::string, int, unsigned, std::string>;
  constexpr int kThreads = 8;
  std::vector<std::map<Key, std::pair<int, int>>> results(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      TextMeasurer m;
      start.arrive_and_wait();
      for (int round = 0; round < 3; ++round) {
        for (int size = 30 + t % 3; size < 44; ++size) {
          for (const auto& font : fonts) {
            for (unsigned style : {0u, 1u, 2u, 3u}) {
              for (const auto& text : texts) {
                results[t][{font, size, style, text}] = {m.GetWidth(text, font, size, style),
                                                         m.GetHeight(text, font, size, style)};
              }
            }
          }
        }
      }
    });
  }
  for (auto& th : threads) th.join();

  TextMeasurer m;
  for (const auto& r : results) {
    for (const auto& [key, wh] : r) {
      const auto& [font, size, style, text] = key;
      ASSERT_EQ(wh.first, m.GetWidth(text, font, size, style));
      ASSERT_EQ(wh.second, m.GetHeight(text, font, size, style));
    }
  }
}

}  // namespace
}  // namespace orv
