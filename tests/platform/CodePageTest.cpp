#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

struct Case {
  const char* name;
  std::string in;
  std::string out;
};

TEST(CodePageTest, Cp1252ToUtf8MapsEveryRangeOfTheCodePage) {
  const std::vector<Case> cases = {
      {"ascii", "Pump 1\t=2", "Pump 1\t=2"},
      {"empty", "", ""},
      {"embedded NUL", std::string("a\0b", 3), std::string("a\0b", 3)},
      {"euro", "\x80", "\xE2\x82\xAC"},
      {"undefined 0x81 passes as U+0081", "\x81", "\xC2\x81"},
      {"undefined 0x8D", "\x8D", "\xC2\x8D"},
      {"undefined 0x8F", "\x8F", "\xC2\x8F"},
      {"undefined 0x90", "\x90", "\xC2\x90"},
      {"undefined 0x9D", "\x9D", "\xC2\x9D"},
      {"left double quote", "\x93", "\xE2\x80\x9C"},
      {"trade mark", "\x99", "\xE2\x84\xA2"},
      {"Y diaeresis 0x9F", "\x9F", "\xC5\xB8"},
      {"no-break space", "\xA0", "\xC2\xA0"},
      {"degree sign", "\xB0", "\xC2\xB0"},
      {"e acute", "caf\xE9", "caf\xC3\xA9"},
      {"y diaeresis 0xFF", "\xFF", "\xC3\xBF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cp1252ToUtf8(c.in), c.out);
  }
}

TEST(CodePageTest, Utf8ToCp1252WritesQuestionMarkForWhatTheCodePageCannotHold) {
  const std::vector<Case> cases = {
      {"ascii", "abc 123", "abc 123"},
      {"euro", "\xE2\x82\xAC", "\x80"},
      {"e acute", "\xC3\xA9", "\xE9"},
      {"micro sign", "\xC2\xB5", "\xB5"},
      {"U+0081 back to 0x81", "\xC2\x81", "\x81"},
      {"U+0080 is not in the code page", "\xC2\x80", "?"},
      {"greek omega", "\xCE\xA9", "?"},
      {"CJK", "\xE6\xB0\xB4", "?"},
      {"emoji (4 bytes) is one character", "a\xF0\x9F\x98\x80z", "a?z"},
      {"lone lead byte", "a\xC3", "a?"},
      {"truncated 3-byte sequence is one ?", "\xE2\x82z", "?z"},
      {"stray continuation byte", "\x80", "?"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong 3-byte", "\xE0\x80\xAF", "???"},
      {"encoded surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"invalid byte 0xFF", "\xFF", "?"},
      {"real replacement character", "\xEF\xBF\xBD", "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8ToCp1252(c.in), c.out);
  }
}

TEST(CodePageTest, EveryCodePageByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(CodePageTest, Utf16ToUtf8ReadsBothByteOrders) {
  struct Utf16Case {
    const char* name;
    std::string bytes;
    bool bigEndian;
    std::string out;
  };
  const std::vector<Utf16Case> cases = {
      {"ascii LE", std::string("A\0b\0", 4), false, "Ab"},
      {"ascii BE", std::string("\0A\0b", 4), true, "Ab"},
      {"e acute LE", std::string("\xE9\0", 2), false, "\xC3\xA9"},
      {"euro BE", "\x20\xAC", true, "\xE2\x82\xAC"},
      {"surrogate pair LE", std::string("\x3D\xD8\x00\xDE", 4), false, "\xF0\x9F\x98\x80"},
      {"surrogate pair BE", std::string("\xD8\x3D\xDE\x00", 4), true, "\xF0\x9F\x98\x80"},
      {"unpaired high surrogate at the end", std::string("a\0\x3D\xD8", 4), false, "a\xEF\xBF\xBD"},
      {"unpaired low surrogate",
       std::string("\x00\xDE"
                   "b\0",
                   4),
       false,
       "\xEF\xBF\xBD"
       "b"},
      {"high surrogate followed by a letter",
       std::string("\x3D\xD8"
                   "c\0",
                   4),
       false,
       "\xEF\xBF\xBD"
       "c"},
      {"dangling odd byte", std::string("a\0z", 3), false, "a\xEF\xBF\xBD"},
      {"empty", "", false, ""},
  };
  for (const Utf16Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf16ToUtf8(c.bytes, c.bigEndian), c.out);
  }
}

TEST(CodePageTest, Utf8LengthCountsCharactersNotBytes) {
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"", 0},     {"abc", 3},       {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", 3},
      {"\xFF", 1}, {"a\xE2\x82", 2}, {"\xED\xA0\x80", 3},
  };
  for (const auto& [text, n] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(utf8Length(text), n);
  }
}

TEST(CodePageTest, Utf8LeftNeverCutsInsideASequence) {
  const std::string text = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80x";  // é€😀x
  EXPECT_EQ(utf8Left(text, 0), "");
  EXPECT_EQ(utf8Left(text, 1), "\xC3\xA9");
  EXPECT_EQ(utf8Left(text, 2), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(utf8Left(text, 3), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(utf8Left(text, 4), text);
  EXPECT_EQ(utf8Left(text, 255), text);
  // An ill-formed piece counts as one character, as in utf8Length.
  EXPECT_EQ(utf8Left("\xE2\x82z", 1), "\xE2\x82");
  const std::string long300(300, 'a');
  EXPECT_EQ(utf8Left(long300, 255).size(), 255u);
}

TEST(CodePageTest, Utf8DecodeAndAppendAgree) {
  for (char32_t cp : {U'\0', U'A', U'\u00E9', U'\u20AC', U'\uFFFD', U'\U0001F600', U'\U0010FFFF'}) {
    std::string s;
    appendUtf8(s, cp);
    std::size_t pos = 0;
    EXPECT_EQ(utf8Decode(s, pos), cp);
    EXPECT_EQ(pos, s.size());
  }
  std::string surrogate;
  appendUtf8(surrogate, 0xD800);
  EXPECT_EQ(surrogate, "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace orv
