// The text rules of the author's files: encodings, line ends, file names written on
// Windows.
#include <gtest/gtest.h>

#include "app/LayoutText.h"
#include "app/PageRecords.h"
#include "tests/app/PageTestSupport.h"

namespace orv {
namespace {

TEST(LayoutTextTest, DecodesByByteOrderMark) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"Windows-1252", "caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"UTF-8 mark dropped",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9",
       "caf\xC3\xA9"},
      {"UTF-8 without mark is Windows-1252", "caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},
      {"UTF-16 little endian",
       std::string("\xFF\xFE"
                   "a\0\xE9\0",
                   6),
       "a\xC3\xA9"},
      {"UTF-16 big endian", std::string("\xFE\xFF\0a\0\xE9", 6), "a\xC3\xA9"},
      {"UTF-16 with a dangling byte",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       "a\xEF\xBF\xBD"},
      {"broken UTF-8",
       "\xEF\xBB\xBF"
       "a\xC3(b",
       "a\xEF\xBF\xBD(b"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(decodeTextFile(c.bytes), c.text);
  }
}

TEST(LayoutTextTest, SplitsAtEveryLineEnd) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\tb\r\n", {"a\tb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(splitLines(c.text), c.lines);
  }
}

TEST(LayoutTextTest, ReadsWholeFilesAndRefusesDirectories) {
  test::ServerDir dir;
  dir.writeBytes("a.txt", "one\r\ntwo\r\n");
  dir.writeBytes("sub/b.txt", "x");
  EXPECT_EQ(readTextFileLines(dir.path() + "a.txt"), (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(readTextFileLines(dir.path() + "missing.txt").has_value());
  EXPECT_FALSE(readTextFileLines(dir.path() + "sub").has_value());
}

TEST(LayoutTextTest, FindsAuthorFilesInAnyLetterCase) {
  test::ServerDir dir;
  dir.writeBytes("IMGS/Pump.GIF", "x");
  dir.writeBytes("texts/notes.txt", "x");
  dir.writeBytes("Exact.txt", "x");
  dir.writeBytes("exact.TXT", "y");
  struct Case {
    std::string name;
    std::optional<std::string> found;
  };
  const Case cases[] = {
      {"IMGS/Pump.GIF", "IMGS/Pump.GIF"},
      {"IMGS/pump.gif", "IMGS/Pump.GIF"},
      {"IMGS\\PUMP.gif", "IMGS/Pump.GIF"},
      {"texts\\NOTES.TXT", "texts/notes.txt"},
      {"TEXTS/notes.txt", std::nullopt},  // only the file name's case may differ
      {"Exact.txt", "Exact.txt"},         // the exact name wins
      {"exact.TXT", "exact.TXT"},
      {"missing.txt", std::nullopt},
      {"IMGS", std::nullopt},  // a directory is no file
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<std::string> found = findAuthorFile(dir.path(), c.name);
    if (c.found) {
      EXPECT_EQ(found, dir.path() + *c.found);
    } else {
      EXPECT_FALSE(found.has_value());
    }
  }
  EXPECT_EQ(findAuthorFile("/nonexistent/", "x.txt"), std::nullopt);
  EXPECT_EQ(findAuthorFile("/elsewhere/", dir.path() + "imgs/PUMP.GIF"), std::nullopt);
  EXPECT_EQ(findAuthorFile("/elsewhere/", dir.path() + "IMGS/PUMP.GIF"),
            dir.path() + "IMGS/Pump.GIF");
  // Several names that differ only in case: the same one every time.
  EXPECT_EQ(findAuthorFile(dir.path(), "EXACT.txt"), dir.path() + "Exact.txt");
}

TEST(LayoutTextTest, ShortStringsCountCharacters) {
  EXPECT_EQ(shortString(std::string(300, 'a')), std::string(255, 'a'));
  EXPECT_EQ(shortString("abc"), "abc");
  std::string wide;
  for (int i = 0; i < 256; ++i) wide += "\xE2\x82\xAC";  // 256 euro signs
  EXPECT_EQ(shortString(wide), wide.substr(0, 255 * 3));
}

}  // namespace
}  // namespace orv
