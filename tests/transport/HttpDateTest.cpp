#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "transport/HttpDate.h"
#include "transport/Messages.h"
#include "transport/ReplyPacket.h"
#include "transport/TInHTTPResponseInfo.h"

namespace orv {
namespace {

// Runs each case in a fixed time zone and restores the previous one.
class TimeZoneFixture : public ::testing::Test {
 protected:
  void useZone(const char* tz) {
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  void SetUp() override {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadZone_ = true;
    useZone("UTC0");
  }
  void TearDown() override {
    if (hadZone_) {
      ::setenv("TZ", saved_.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::string saved_;
  bool hadZone_ = false;
};

// 2026-12-08 21:57:14 as a day number: 46364 days after 1899-12-30.
constexpr double kSample = 46364.0 + (21 * 3600 + 57 * 60 + 14) / 86400.0;

using HttpDateTest = TimeZoneFixture;

TEST_F(HttpDateTest, WritesHeaderAndCookieForms) {
  EXPECT_EQ(httpDate(kSample), "Tue, 08 Dec 2026 21:57:14 GMT");
  EXPECT_EQ(cookieDate(kSample), "Tue, 08-Dec-2026 21:57:14 GMT");
  EXPECT_EQ(httpDateFromUnix(0), "Thu, 01 Jan 1970 00:00:00 GMT");
}

TEST_F(HttpDateTest, ConvertsLocalTimeToGmt) {
  useZone("CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_EQ(httpDate(kSample), "Tue, 08 Dec 2026 20:57:14 GMT");
  // Summer time: two hours ahead of GMT.
  const double july = 46212.0 + 12.0 / 24.0;  // 2026-07-09 12:00 local
  EXPECT_EQ(httpDate(july), "Thu, 09 Jul 2026 10:00:00 GMT");
}

TEST_F(HttpDateTest, RoundTripsUnixSecondsAndDayNumbers) {
  for (std::time_t t : {std::time_t{0}, std::time_t{1700000000}, std::time_t{-86400}}) {
    SCOPED_TRACE(t);
    EXPECT_EQ(localDateTimeToUnix(unixToLocalDateTime(t)), t);
  }
  EXPECT_EQ(unixToLocalDateTime(0), 25569.0);
}

TEST_F(HttpDateTest, ReadsNegativeDayNumbersWithTheirFractionForwards) {
  // -1.25 is 1899-12-29 06:00.
  EXPECT_EQ(httpDate(-1.25), "Fri, 29 Dec 1899 06:00:00 GMT");
}

TEST_F(HttpDateTest, WritesDayNumbersAsShortestDecimalText) {
  for (double v : {0.0, -1.0, 46364.5, kSample}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(textToDateTime(dateTimeToText(v)), v);
  }
  EXPECT_EQ(dateTimeToText(-1), "-1");
  EXPECT_EQ(dateTimeToText(46364.5), "46364.5");
  EXPECT_EQ(textToDateTime("junk"), 0);
}

using SetCookieTest = TimeZoneFixture;

TEST_F(SetCookieTest, WritesPathDomainFlagsAndExpiry) {
  struct Case {
    const char* name;
    HttpCookie cookie;
    std::string expected;
  };
  const double now = kSample;
  const std::vector<Case> cases = {
      {"session cookie", {"IW_ORVWS", "abc_1", "/", 0, "", false, false}, "IW_ORVWS=abc_1; Path=/"},
      {"all fields",
       {"a", "1", "/p", now + 1, "example.org", true, true},
       "a=1; Path=/p; Domain=example.org; Secure; HttpOnly; Max-Age=86400; "
       "Expires=Wed, 09-Dec-2026 21:57:14 GMT"},
      {"delete",
       {"a", "", "/", -1, "", false, false},
       "a=; Path=/; Expires=Fri, 29-Dec-1899 00:00:00 GMT"},
      {"empty path", {"a", "1", "", 0, "", false, false}, "a=1"},
      {"line breaks never reach the header",
       {"a", "1\r\nX: y", "", 0, "", false, false},
       "a=1  X: y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(setCookieValue(c.cookie, now), c.expected);
  }
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

using ResponseHeaderTest = TimeZoneFixture;

TEST_F(ResponseHeaderTest, WritesHeaderLinesInTheirFixedOrder) {
  TInHTTPResponseInfo r;
  r.setCloseConnection(true);
  r.Server = "ORV";
  r.Location = "/next";
  r.LastModified = kSample;
  r.Expires = kSample + 1;
  r.CacheControl = "private";
  r.ContentText = "abc";
  r.setContentType("text/plain; charset=UTF-8");
  r.CustomHeaders = {{"X-One", "1"}, {"Connection", "keep-alive"}, {"X-One", "2"}};
  r.Cookies = {HttpCookie{"a", "1", "/", 0, "", false, false}};
  EXPECT_EQ(r.buildHeader(kSample),
            "HTTP/1.1 200 OK\r\n"
            "Connection: keep-alive\r\n"  // set twice: first place, last value
            "Content-Type: text/plain; charset=UTF-8\r\n"
            "Content-Length: 3\r\n"
            "Cache-control: private\r\n"
            "Date: Tue, 08 Dec 2026 21:57:14 GMT\r\n"
            "Expires: Wed, 09 Dec 2026 21:57:14 GMT\r\n"
            "X-One: 2\r\n"
            "Server: ORV\r\n"
            "Location: /next\r\n"
            "Last-Modified: Tue, 08 Dec 2026 21:57:14 GMT\r\n"
            "Set-Cookie: a=1; Path=/\r\n"
            "\r\n");
  try {
    r.buildHeader(kSample);
    FAIL() << "written twice";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Header has already been written.");
  }
}

TEST_F(ResponseHeaderTest, CountsTheContentInItsCharset) {
  TInHTTPResponseInfo r;
  r.ContentText = "caf\xC3\xA9";  // 5 bytes in UTF-8, 4 in ISO-8859-1
  const std::string header = r.buildHeader(kSample);
  EXPECT_NE(header.find("Content-Type: text/html; charset=ISO-8859-1\r\n"), std::string::npos);
  EXPECT_NE(header.find("Content-Length: 4\r\n"), std::string::npos);
}

TEST_F(ResponseHeaderTest, WritesAContentRange) {
  TInHTTPResponseInfo r;
  r.ContentRangeStart = 0;
  r.ContentRangeEnd = 99;
  r.ContentRangeInstanceLength = 1000;
  r.AcceptRanges = "bytes";
  const std::string header = r.buildHeader(kSample);
  EXPECT_NE(header.find("Content-Range: bytes 0-99/1000\r\nAccept-Ranges: bytes\r\n"),
            std::string::npos);
}

TEST(StatusTextTest, NamesEveryListedCode) {
  const std::vector<std::pair<int, std::string>> cases = {
      {100, "Continue"},
      {200, "OK"},
      {203, "Non-authoritative Information"},
      {302, "Moved Temporarily"},
      {304, "Not Modified"},
      {400, "Bad Request"},
      {405, "Method not allowed"},
      {411, "Length Required"},
      {413, "Request Entity Too Long"},
      {414, "Request-URI Too Long. 256 Chars max"},
      {417, "Expectation Failed"},
      {500, "Internal Server Error"},
      {504, "Gateway timeout"},
      {505, "HTTP version not supported"},
      {511, "Network Authentication Required"},
      {299, "Unknown Response Code"},
      {0, "Unknown Response Code"}};
  for (const auto& [code, text] : cases) {
    SCOPED_TRACE(code);
    EXPECT_EQ(msg::httpStatusText(code), text);
  }
}

}  // namespace
}  // namespace orv
