#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transport/TInHTTPRequestInfo.h"
#include "transport/TInHTTPResponseInfo.h"
#include "transport/TInHeaderList.h"
#include "transport/UrlCoding.h"

namespace orv {
namespace {

struct DecodeCase {
  const char* name;
  std::string input;
  std::string charset;
  std::string expected;
};

TEST(UrlDecodeTest, DecodesPercentSequencesInTheTargetCharset) {
  const std::vector<DecodeCase> cases = {
      {"plain", "/a/b.html", "UTF-8", "/a/b.html"},
      {"blank", "/a%20b", "UTF-8", "/a b"},
      {"upper and lower hex", "%4a%4A", "UTF-8", "JJ"},
      {"utf-8 bytes", "%C3%A9t%C3%A9", "UTF-8", "\xC3\xA9t\xC3\xA9"},
      {"%u unit", "%u00E9", "UTF-8", "\xC3\xA9"},
      {"%u surrogate pair", "%uD83D%uDE00", "UTF-8", "\xF0\x9F\x98\x80"},
      {"lone surrogate", "%uD83Dx", "UTF-8", "\xEF\xBF\xBDx"},
      {"invalid sequence drops the percent", "%zz1", "UTF-8", "zz1"},
      {"percent at the end", "abc%", "UTF-8", "abc"},
      {"one hex digit", "a%4", "UTF-8", "a4"},
      {"plus stays in paths", "a+b", "UTF-8", "a+b"},
      {"latin-1 byte", "%E9", "ISO-8859-1", "\xC3\xA9"},
      {"windows-1252 euro", "%80", "windows-1252", "\xE2\x82\xAC"},
      {"invalid utf-8 becomes U+FFFD", "%FF", "UTF-8", "\xEF\xBF\xBD"},
      {"nul byte kept", "a%00b", "UTF-8", std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(urlDecode(c.input, c.charset), c.expected);
  }
}

TEST(DecodeParamsTest, SplitsAtAmpersandsAndDecodesEachPiece) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"empty", "", {}},
      {"two", "x=1+2&y=%41", {"x=1 2", "y=A"}},
      {"empty piece", "a=1&&b=2", {"a=1", "", "b=2"}},
      {"leading ampersand", "&a", {"", "a"}},
      {"trailing ampersand adds nothing", "a=1&", {"a=1"}},
      {"encoded plus", "a=%2B", {"a=+"}},
      {"encoded ampersand stays inside", "a=%26b", {"a=&b"}},
      {"no equals", "flag", {"flag"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodeParams(c.input, "UTF-8"), c.expected);
  }
}

TEST(ParseCookiesTest, SplitsAtSemicolonsAndTrimsTheLeft) {
  std::vector<std::pair<std::string, std::string>> cookies;
  parseCookies("a=1; b=2;;  c=x=y; flag", cookies);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"a", "1"}, {"b", "2"}, {"c", "x=y"}, {"flag", ""}};
  EXPECT_EQ(cookies, expected);
}

TEST(HeaderListTest, ReadsNamesValuesAndContinuationLines) {
  TInHeaderList h;
  for (const char* line : {"Host:  example  ", "X-Long: first", "\tsecond", "  third",
                           "host: other", "NoColon", "Empty:"}) {
    h.addLine(line);
  }
  EXPECT_EQ(h.Values("HOST"), "example");  // the first line wins
  EXPECT_EQ(h.Values("x-long"), "first second third");
  EXPECT_EQ(h.allValues("Host"), (std::vector<std::string>{"example", "other"}));
  EXPECT_TRUE(h.has("Empty"));
  EXPECT_EQ(h.Values("Empty"), "");
  EXPECT_EQ(h.Values("Missing"), "");
  EXPECT_EQ(h.count(), 5u);
}

TEST(RequestInfoTest, ReadsVersionNumbers) {
  struct Case {
    std::string version;
    int major, minor;
  };
  for (const auto& c : std::vector<Case>{{"HTTP/1.1", 1, 1},
                                         {"HTTP/1.0", 1, 0},
                                         {"HTTP/2", 2, -1},
                                         {"HTTP/x.y", -1, -1},
                                         {"junk", -1, -1},
                                         {"HTTP/1.-1", 1, -1}}) {
    SCOPED_TRACE(c.version);
    TInHTTPRequestInfo r;
    r.Version = c.version;
    r.parseVersion();
    EXPECT_EQ(r.VersionMajor, c.major);
    EXPECT_EQ(r.VersionMinor, c.minor);
  }
}

TEST(RequestInfoTest, ReadsContentLengthOnlyAsAWholeNumber) {
  struct Case {
    const char* value;
    std::int64_t length;
    bool has;
  };
  for (const auto& c : std::vector<Case>{{"0", 0, true},
                                         {"42", 42, true},
                                         {"-1", -1, false},
                                         {"12abc", -1, false},
                                         {"", -1, false},
                                         {"99999999999999999999999", -1, false}}) {
    SCOPED_TRACE(c.value);
    TInHTTPRequestInfo r;
    r.RawHeaders.addLine(std::string("Content-Length: ") + c.value);
    r.fillStandardHeaders();
    EXPECT_EQ(r.ContentLength, c.length);
    EXPECT_EQ(r.HasContentLength, c.has);
  }
}

TEST(RequestInfoTest, TakesTheCharsetFromTheContentType) {
  TInHTTPRequestInfo r;
  r.RawHeaders.addLine("Content-Type: text/plain; charset=\"ISO-8859-1\"");
  r.fillStandardHeaders();
  EXPECT_EQ(r.CharSet, "ISO-8859-1");
  TInHTTPRequestInfo none;
  none.fillStandardHeaders();
  EXPECT_EQ(none.CharSet, "UTF-8");
}

TEST(ResponseInfoTest, SplitsTheCharsetOffTheContentType) {
  TInHTTPResponseInfo r;
  r.setContentType("text/html; charset=UTF-8");
  EXPECT_EQ(r.ContentType, "text/html");
  EXPECT_EQ(r.CharSet, "UTF-8");
  r.CharSet.clear();
  r.setContentType("image/png");
  EXPECT_EQ(r.ContentType, "image/png");
  EXPECT_EQ(r.CharSet, "");
}

TEST(CharsetTest, EncodesContentTextInTheNamedCharset) {
  EXPECT_EQ(utf8ToCharset("caf\xC3\xA9 \xE2\x82\xAC", "ISO-8859-1"), "caf\xE9 ?");
  EXPECT_EQ(utf8ToCharset("\xE2\x82\xAC", "windows-1252"), "\x80");
  EXPECT_EQ(utf8ToCharset("\xE2\x82\xAC", "utf-8"), "\xE2\x82\xAC");
}

TEST(Base64Test, RoundTripsAndSkipsForeignCharacters) {
  for (const std::string s : {"", "a", "ab", "abc", "user:pass word", "\xFF\x00\x10"}) {
    SCOPED_TRACE(s);
    EXPECT_EQ(base64Decode(base64Encode(s)), s);
  }
  EXPECT_EQ(base64Decode("dXNl\ncjpwdw=="), "user:pw");
}

}  // namespace
}  // namespace orv
