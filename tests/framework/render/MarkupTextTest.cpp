#include "framework/render/MarkupText.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

struct HtmlCase {
  const char* name;
  std::string text;
  bool convertEOLs;
  bool convertSpaces;
  bool asyncCallback;
  std::string expected;
};

TEST(TextToHTMLTest, EscapesTheTable) {
  const HtmlCase cases[] = {
      {"markup", "<b>", false, false, false, "&lt;b&gt;"},
      {"ampersand", "a&b", false, false, false, "a&amp;b"},
      {"quotes", "\"x\" 'y'", false, false, false, "&quot;x&quot; &#39;y&#39;"},
      {"line ends kept", "a\r\nb\nc\rd", false, false, false, "a\r\nb\nc\rd"},
      {"line ends converted", "a\r\nb\nc\rd", true, false, false, "a<br>b<br>cd"},
      {"spaces kept", "a b", false, false, false, "a b"},
      {"spaces converted", "a b  c", false, true, false, "a&nbsp;b&nbsp;&nbsp;c"},
      {"spaces in a callback", "a b", false, true, true, "a&amp;nbsp;b"},
      {"callback without conversion", "a b", false, false, true, "a b"},
      {"non-ASCII stays", "\xC3\xA4 \xE2\x82\xAC", false, false, false, "\xC3\xA4 \xE2\x82\xAC"},
      {"empty", "", true, true, false, ""},
      {"everything", "<a href='x'>\n", true, true, false, "&lt;a&nbsp;href=&#39;x&#39;&gt;<br>"},
  };
  for (const HtmlCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, TextToHTML(c.text, c.convertEOLs, c.convertSpaces, c.asyncCallback));
  }
}

TEST(TextToJSStringLiteralTest, EscapesTheTable) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain text", "plain text"}, {"a\nb", "a\\nb"},
      {"a\r\nb", "a\\nb"},          {"say \"hi\"", "say \\\"hi\\\""},
      {"it's", "it\\'s"},           {"<script>", "\\<script\\>"},
      {"C:\\dir", "C:\\\\dir"},     {"a&b", "a&amp;b"},
      {"\xC3\xBC", "\xC3\xBC"},     {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(expected, TextToJSStringLiteral(text));
  }
}

TEST(TextToHTMLStringLiteralTest, KeepsOnlyTheSafeSetAndWritesCodesForTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"a b", "a&#32;b"},
      {"Az09,-._", "Az09,-._"},
      {"a=b&c", "a&#61;b&#38;c"},
      {"\"'<>", "&#34;&#39;&#60;&#62;"},
      {"\xC3\xA4", "&#228;"},             // one character, not two bytes
      {"\xE2\x82\xAC", "&#8364;"},        // the euro sign
      {"\xF0\x9F\x98\x80", "&#128512;"},  // outside the basic plane: its code point
      {"\xFF", "&#65533;"},               // not UTF-8: the replacement character
      {"a\r\nb", "a&#13;&#10;b"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(expected, TextToHTMLStringLiteral(text));
  }
}

TEST(TextToHTMLStringLiteralTest, VariantTurnsLineFeedsIntoBreaksAndDropsCarriageReturns) {
  EXPECT_EQ("a<br>b<br>c", TextToHTMLStringLiteral("a\r\nb\nc", true));
  EXPECT_EQ("a&#32;b", TextToHTMLStringLiteral("a b", true));
}

TEST(MarkupTextTest, CaseHelpersWorkOnAsciiOnly) {
  EXPECT_EQ("edit1", lowerCaseAscii("EDIT1"));
  EXPECT_EQ("EDIT1\xC3\xA4", upperCaseAscii("edit1\xC3\xA4"));
  EXPECT_TRUE(equalsIgnoringCase("<!DOCTYPE html>", "<!doctype HTML>"));
  EXPECT_TRUE(startsWithIgnoringCase("/JS/IWBase.js", "/js/"));
  EXPECT_TRUE(endsWithIgnoringCase("script.JS", ".js"));
  EXPECT_FALSE(startsWithIgnoringCase("/j", "/js/"));
  EXPECT_EQ("a b", trimmed(" \t a b \r\n"));
}

}  // namespace
}  // namespace orv
