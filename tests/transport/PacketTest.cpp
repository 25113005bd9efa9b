#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/transport/TestSupport.h"
#include "transport/HttpDate.h"
#include "transport/InErrors.h"
#include "transport/PacketFrame.h"
#include "transport/PacketReader.h"
#include "transport/PacketWriter.h"
#include "transport/ReplyPacket.h"
#include "transport/THsmStream.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"
#include "transport/TReadCacheFileStream.h"

namespace orv {
namespace {

using test::TempDir;

std::vector<std::uint8_t> newBlock() { return std::vector<std::uint8_t>(kPacketBlockSize, 0xCC); }

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

THttpRequest sampleRequest() {
  THttpRequest q;
  q.mUserAgent = "Mozilla/5.0";
  q.mReferer = "http://h/";
  q.mHost = "h";
  q.mAuthorization = "Basic dTpw";
  q.mPathInfo = "/$/call";
  q.mRemoteAddr = "127.0.0.1";
  q.mServerPort = 8001;
  q.mQuery = "a=1";
  q.mHttpMethod = THttpMethod::hmPost;
  q.mIfModifiedSince = "Tue, 08 Dec 2026 21:57:14 GMT";
  q.mForwardedFor = "10.0.0.1";
  q.mHttpClientIP = "10.0.0.2";
  q.mAuthorizationHeader = "Basic dTpw";
  q.mAuthUser = "u";
  q.mAuthPass = "p";
  q.mAcceptLanguage = "de";
  q.mHttpsHeader = "on";
  q.mRawHeaders = {"Host=h", "Accept-Encoding=gzip, deflate"};
  q.mContentFields = {"IW_FormName=Main"};
  q.mCookieFields = {"IW_ORVWS=abc_1", "x=\xC3\xA9"};
  q.mQueryFields = {"a=1", "b=2"};
  q.mServerVariables = {"SERVER_NAME=h"};
  q.mFiles = {THttpFile{"c.txt", "/tmp/KVQ1.tmp", "text/plain", 12, "upload"}};
  q.mHasContent = true;
  return q;
}

TEST(PacketEncodingTest, WritesLittleEndianNumbersAndCountedTexts) {
  PacketWriter w;
  w.writeInteger(0x01020304);
  w.writeWord(0x0506);
  w.writeByte(7);
  w.writeBoolean(true);
  w.writeText("");
  w.writeText("\xC3\xA9");
  w.writeTextList({"a", ""});
  const std::string expected(
      "\x04\x03\x02\x01\x06\x05\x07\x01"
      "\x00\x00\x00\x00"
      "\x02\x00\x00\x00\xC3\xA9"
      "\x02\x00\x00\x00"
      "\x01\x00\x00\x00"
      "a"
      "\x00\x00\x00\x00",
      8 + 4 + 6 + 4 + 5 + 4);
  EXPECT_EQ(w.bytes(), expected);

  PacketReader r(w.bytes());
  EXPECT_EQ(r.readInteger(), 0x01020304);
  EXPECT_EQ(r.readWord(), 0x0506);
  EXPECT_EQ(r.readByte(), 7);
  EXPECT_TRUE(r.readBoolean());
  EXPECT_EQ(r.readText(), "");
  EXPECT_EQ(r.readText(), "\xC3\xA9");
  EXPECT_EQ(r.readTextList(), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(errorOf([&] { r.readByte(); }), "Packet data is incomplete.");
}

TEST(PacketEncodingTest, RefusesCountsBeyondTheData) {
  PacketWriter w;
  w.writeInteger(1000);
  w.writeBytes("abc");
  PacketReader text(w.bytes());
  EXPECT_EQ(errorOf([&] { text.readText(); }), "Packet data is incomplete.");
  PacketReader list(w.bytes());
  EXPECT_EQ(errorOf([&] { list.readTextList(); }), "Packet data is incomplete.");
  PacketWriter negative;
  negative.writeInteger(-5);
  PacketReader neg(negative.bytes());
  EXPECT_EQ(errorOf([&] { neg.readText(); }), "Packet data is incomplete.");
}

TEST(PacketFrameTest, KeepsBodiesUpTo32759BytesInTheBlock) {
  TempDir dir;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{32759}}) {
    SCOPED_TRACE(size);
    auto block = newBlock();
    const std::string body(size, 'x');
    writePacketFrame(block, body, dir.path());
    EXPECT_EQ(block[8], kPacketKindInline);
    EXPECT_EQ(std::memcmp(block.data(), "\x07\x08\x22\x07\x06\x00\x00\x00", 8), 0);
    EXPECT_EQ(readPacketFrame(block).bytes().substr(0, size), body);
    EXPECT_TRUE(dir.files().empty());
  }
}

TEST(PacketFrameTest, SendsLargerBodiesByTemporaryFileAndRemovesItWhenRead) {
  TempDir dir;
  auto block = newBlock();
  std::string body(32760, 'y');
  body[0] = 'a';
  body.back() = 'z';
  writePacketFrame(block, body, dir.path());
  EXPECT_EQ(block[8], kPacketKindFile);
  const std::string path = packetSpillPath(block);
  ASSERT_EQ(dir.files().size(), 1u);
  EXPECT_EQ(path, dir.path() + dir.files()[0]);
  EXPECT_EQ(dir.files()[0].rfind("KVQ", 0), 0u);
  EXPECT_EQ(dir.files()[0].substr(dir.files()[0].size() - 4), ".tmp");
  EXPECT_EQ(test::readFile(path), body);
  EXPECT_EQ(readPacketFrame(block).bytes(), body);
  EXPECT_TRUE(dir.files().empty());
}

TEST(PacketFrameTest, ReportsBadFrames) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"no signature", std::string("\x01\x02\x03\x04\x06\x00\x00\x00\x00", 9),
       "No stream signature found."},
      {"empty block", std::string(), "No stream signature found."},
      {"other version", std::string("\x07\x08\x22\x07\x05\x00\x00\x00\x00", 9),
       "Stream version mismatch. Packet version: 5, stream version: 6"},
      {"unknown kind", std::string("\x07\x08\x22\x07\x06\x00\x00\x00\x02", 9),
       "Unknown packet type."},
      {"missing file",
       std::string("\x07\x08\x22\x07\x06\x00\x00\x00\x01\x0A\x00\x00\x00/nonexist/", 23),
       "Cannot open file \"/nonexist/\"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> block(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(errorOf([&] { readPacketFrame(block); }), c.error);
  }
}

TEST(RequestPacketTest, RoundTripsEveryField) {
  TempDir dir;
  auto block = newBlock();
  const THttpRequest q = sampleRequest();
  q.toPacket(block, dir.path());
  EXPECT_EQ(THttpRequest::fromPacket(block), q);
}

TEST(RequestPacketTest, RoundTripsEmptyTextsAsZeroCounts) {
  TempDir dir;
  auto block = newBlock();
  THttpRequest empty;
  empty.toPacket(block, dir.path());
  // frame (9) + signature and version (8) + 8 Texts, Integer, 2 Texts, ... all zero.
  const std::size_t bodySize = 8 + 8 * 4 + 4 + 4 + 4 + 8 * 4 + 5 * 4 + 2 + 1;
  for (std::size_t i = 9 + 8; i < 9 + bodySize; ++i) ASSERT_EQ(block[i], 0) << i;
  EXPECT_EQ(THttpRequest::fromPacket(block), empty);
}

TEST(RequestPacketTest, CarriesAnyOtherMethodAsNoMethod) {
  TempDir dir;
  auto block = newBlock();
  THttpRequest q;
  q.mHttpMethod = THttpMethod::hmHead;
  q.toPacket(block, dir.path());
  EXPECT_EQ(THttpRequest::fromPacket(block).mHttpMethod, THttpMethod::hmHead);
  EXPECT_EQ(httpMethodFromText("DELETE"), THttpMethod::hmNone);
  EXPECT_EQ(httpMethodFromText("get"), THttpMethod::hmNone);
}

TEST(RequestPacketTest, SpillsALargeRequestToATemporaryFile) {
  TempDir dir;
  auto block = newBlock();
  THttpRequest q = sampleRequest();
  q.mQueryFields.push_back("big=" + std::string(40000, 'q'));
  q.toPacket(block, dir.path());
  EXPECT_EQ(dir.files().size(), 1u);
  EXPECT_EQ(THttpRequest::fromPacket(block), q);
  EXPECT_TRUE(dir.files().empty());
}

TEST(HttpRequestTest, LooksUpParametersCookiesAndHeaders) {
  THttpRequest q = sampleRequest();
  EXPECT_EQ(q.GetParams(), (std::vector<std::string>{"IW_FormName=Main", "a=1", "b=2"}));
  q.mHttpMethod = THttpMethod::hmGet;
  EXPECT_EQ(q.GetParams(), (std::vector<std::string>{"a=1", "b=2"}));
  EXPECT_EQ(q.GetCookieValue("iw_orvws"), "abc_1");
  EXPECT_EQ(q.GetCookieValue("missing"), "");
  EXPECT_EQ(q.GetContentFieldValue("IW_FormName"), "Main");
  EXPECT_EQ(q.GetRawHeaderValue("host"), "h");
  EXPECT_EQ(q.GetServerVariableValue("SERVER_NAME"), "h");
  EXPECT_TRUE(q.AcceptsGZip());
  q.mRawHeaders = {"Accept-Encoding=deflate"};
  EXPECT_FALSE(q.AcceptsGZip());
  q.mRawHeaders = {"accept-encoding=x-GZip"};
  EXPECT_TRUE(q.AcceptsGZip());
}

ReplyPacket sampleReply() {
  ReplyPacket p;
  p.kind = ReplyKind::Inline;
  p.code = 404;
  p.statusText = "Not Here";
  p.contentType = "text/html; charset=UTF-8";
  p.authRealm = "realm";
  p.headers = "Cache-Control:no-cache\r\nPragma:no-cache";
  p.cookies = {HttpCookie{"IW_ORVWS", "abc_1", "/", 0, "", true, false},
               HttpCookie{"gone", "", "/", -1, "example.org", false, true},
               HttpCookie{"later", "v", "/", 46364.912, "", false, false}};
  p.body = "<html>\xC3\xA9</html>";
  return p;
}

TEST(ReplyPacketTest, RoundTripsEachKindAndCookieExpiries) {
  TempDir dir;
  std::vector<ReplyPacket> packets;
  packets.push_back(sampleReply());
  ReplyPacket file = sampleReply();
  file.kind = ReplyKind::File;
  file.body.clear();
  file.filePath = "/tmp/x.bin";
  file.fileDelete = true;
  packets.push_back(file);
  ReplyPacket cache = file;
  cache.kind = ReplyKind::CacheFile;
  cache.fileDelete = false;
  packets.push_back(cache);
  ReplyPacket noData;
  noData.kind = ReplyKind::NoData;
  packets.push_back(noData);
  packets.push_back(ReplyPacket{});
  for (const auto& p : packets) {
    SCOPED_TRACE(static_cast<int>(p.kind));
    auto block = newBlock();
    encodeReplyPacket(block, p, dir.path());
    EXPECT_EQ(decodeReplyPacket(block), p);
  }
}

TEST(ReplyPacketTest, WritesCookieExpiriesAsDecimalDayNumbers) {
  TempDir dir;
  auto block = newBlock();
  ReplyPacket p;
  p.kind = ReplyKind::NoData;
  p.cookies = {HttpCookie{"a", "", "", -1, "", false, false}};
  encodeReplyPacket(block, p, dir.path());
  const std::string bytes(block.begin(), block.begin() + 200);
  EXPECT_NE(bytes.find(std::string("\x02\x00\x00\x00-1", 6)), std::string::npos);
}

TEST(ReplyPacketTest, CarriesAnInlineBodyOf32759BytesInTheBlockAndOneMoreByFile) {
  TempDir dir;
  // The body Integer count sits inside the packet, so find the inline body size at
  // which the whole reply body is exactly 32759 bytes.
  ReplyPacket p;
  p.kind = ReplyKind::Inline;
  const std::size_t overhead =
      8 + 1 + 2 + 4 * 4 + 4 + 4;  // signature, kind, code, 4 Texts, cookies, length
  for (std::size_t extra : {std::size_t{0}, std::size_t{1}}) {
    SCOPED_TRACE(extra);
    p.body.assign(32759 - overhead + extra, 'b');
    auto block = newBlock();
    encodeReplyPacket(block, p, dir.path());
    EXPECT_EQ(block[8], extra == 0 ? kPacketKindInline : kPacketKindFile);
    EXPECT_EQ(dir.files().size(), extra);
    EXPECT_EQ(decodeReplyPacket(block), p);
    EXPECT_TRUE(dir.files().empty());
  }
}

TEST(ReplyPacketTest, RefusesAnUnknownReplyKind) {
  TempDir dir;
  auto block = newBlock();
  ReplyPacket p;
  p.kind = ReplyKind::NoData;
  encodeReplyPacket(block, p, dir.path());
  block[9 + 8] = 9;
  EXPECT_EQ(errorOf([&] { decodeReplyPacket(block); }), "Unknown packet type.");
}

TEST(HttpReplyTest, StartsWithTheDocumentedValues) {
  THttpReply r;
  EXPECT_EQ(r.mCode, 200);
  EXPECT_EQ(r.mContentType, "text/html; charset=UTF-8");
  EXPECT_EQ(r.mCacheTTL, 120);
  EXPECT_FALSE(r.mAllowCaching);
  EXPECT_TRUE(r.mCacheControlEnabled);
  EXPECT_EQ(r.mDataType, ReplyKind::None);
}

TEST(HttpReplyTest, AllowsOneKindOfBody) {
  struct Case {
    const char* name;
    std::function<void(THttpReply&)> first;
    std::function<void(THttpReply&)> second;
    std::string error;
  };
  auto text = [](THttpReply& r) { r.WriteString("a"); };
  auto stream = [](THttpReply& r) { r.SendStream(std::make_unique<MemoryStream>("s")); };
  auto file = [](THttpReply& r) { r.SendFile("/tmp/f"); };
  auto cache = [](THttpReply& r) { r.SendCacheFile("/tmp/c"); };
  auto redirect = [](THttpReply& r) { r.SendRedirect("/x"); };
  const std::vector<Case> cases = {
      {"text then text appends", text, text, "(no error)"},
      {"text then file", text, file, "Reply type already set."},
      {"file then text", file, text, "Reply type already set."},
      {"file then file", file, file, "Reply type already set."},
      {"file then cache file", file, cache, "Reply type already set."},
      {"cache then cache", cache, cache, "Reply type already set."},
      {"stream then stream", stream, stream, "ContentStream already exists."},
      {"text then stream", text, stream, "ContentStream already exists."},
      {"no data then text", redirect, text, "(no error)"},
      {"no data then file", redirect, file, "(no error)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THttpReply r;
    c.first(r);
    EXPECT_EQ(errorOf([&] { c.second(r); }), c.error);
  }
  THttpReply reset;
  file(reset);
  reset.ResetReplyType();
  EXPECT_EQ(errorOf([&] { text(reset); }), "(no error)");
}

TEST(HttpReplyTest, RedirectDropsEveryCookie) {
  THttpReply r;
  r.addCookie(HttpCookie{"a", "1", "/", 0, "", false, false});
  r.SendRedirect("/$/");
  EXPECT_EQ(r.mCode, 302);
  EXPECT_TRUE(r.mCookies.empty());
  EXPECT_EQ(r.mHeaders, (std::vector<std::string>{"Location:/$/"}));
  EXPECT_EQ(r.mDataType, ReplyKind::NoData);
}

class HttpReplyCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
  }
  ReplyPacket commit(THttpReply& r) {
    auto block = newBlock();
    r.Commit(block, dir_.path(), kNow);
    return decodeReplyPacket(block);
  }
  static constexpr double kNow = 46364.5;  // 2026-12-08 12:00:00
  TempDir dir_;
};

TEST_F(HttpReplyCommitTest, MarksANonCacheableReplyNoCache) {
  THttpReply r;
  r.WriteString("<p>");
  const ReplyPacket p = commit(r);
  EXPECT_EQ(p.headers, "Cache-Control:no-cache\r\nPragma:no-cache\r\nP3P:CP=\"NO P3P\"");
  EXPECT_EQ(p.kind, ReplyKind::Inline);
  EXPECT_EQ(p.body, "<p>");
  EXPECT_EQ(p.code, 200);
  EXPECT_EQ(p.contentType, "text/html; charset=UTF-8");
}

TEST_F(HttpReplyCommitTest, GivesACacheableReplyItsExpiryAndLastModification) {
  THttpReply r;
  r.mAllowCaching = true;
  r.mLastModified = 46364.25;
  r.mP3P = "CP=\"OWN\"";
  r.WriteString("x");
  EXPECT_EQ(commit(r).headers,
            "Last-Modified:Tue, 08 Dec 2026 06:00:00 GMT\r\n"
            "Expires:Tue, 08 Dec 2026 14:00:00 GMT\r\n"
            "Cache-Control:private\r\n"
            "P3P:CP=\"OWN\"");
}

TEST_F(HttpReplyCommitTest, DatesA304Reply) {
  THttpReply r;
  r.SetCode(304);
  r.mDataType = ReplyKind::NoData;
  EXPECT_EQ(commit(r).headers,
            "Date:Tue, 08 Dec 2026 12:00:00 GMT\r\n"
            "Expires:Tue, 08 Dec 2026 14:00:00 GMT\r\n"
            "P3P:CP=\"NO P3P\"");
}

TEST_F(HttpReplyCommitTest, LeavesCachingHeadersOutWhenDisabled) {
  TempDir files;
  THttpReply r;
  r.SendFile(files.path() + "f.bin", /*disableCacheControl=*/true, /*deleteAfter=*/true);
  r.mIECompatibilityMode = "IE=edge";
  r.mContentType = "application/octet-stream";
  const ReplyPacket p = commit(r);
  EXPECT_EQ(p.headers, "P3P:CP=\"NO P3P\"");
  EXPECT_EQ(p.kind, ReplyKind::File);
  EXPECT_EQ(p.filePath, files.path() + "f.bin");
  EXPECT_TRUE(p.fileDelete);
}

TEST_F(HttpReplyCommitTest, AddsTheCompatibilityModeToHtmlPages) {
  THttpReply r;
  r.mIECompatibilityMode = "IE=edge";
  r.mExpires = 46365.0;
  r.WriteString("x");
  EXPECT_EQ(commit(r).headers,
            "Cache-Control:no-cache\r\nPragma:no-cache\r\n"
            "Expires:Wed, 09 Dec 2026 00:00:00 GMT\r\n"
            "X-UA-Compatible:IE=edge\r\nP3P:CP=\"NO P3P\"");
}

TEST_F(HttpReplyCommitTest, SendsALargeBodyByTemporaryFile) {
  THttpReply r;
  const std::string big(100000, 'z');
  r.WriteString(big);
  auto block = newBlock();
  r.Commit(block, dir_.path(), kNow);
  EXPECT_EQ(dir_.files().size(), 1u);
  EXPECT_TRUE(decodeReplyPacket(block).body == big);
  EXPECT_TRUE(dir_.files().empty());
}

// A cache file as the framework writes it: content, then content type, cache type,
// href, content size and the marker.
std::string cacheFileBytes(const std::string& content, const std::string& type,
                           std::uint8_t cacheType) {
  PacketWriter w;
  w.writeBytes(content);
  w.writeText(type);
  w.writeByte(cacheType);
  w.writeText("/$/temp/KVQ1");
  const std::uint64_t size = content.size();
  for (int i = 0; i < 8; ++i) w.writeByte(static_cast<std::uint8_t>(size >> (8 * i)));
  w.writeText("IWCACHE");
  return w.take();
}

TEST(CacheFileStreamTest, ExposesOnlyTheContentAndItsType) {
  TempDir dir;
  const std::string path = dir.path() + "c.tmp";
  test::writeFile(path, cacheFileBytes("PNGDATA", "image/png", 3));
  {
    TReadCacheFileStream s(path);
    EXPECT_EQ(s.contentType(), "image/png");
    EXPECT_EQ(s.cacheType(), 3);
    EXPECT_EQ(s.href(), "/$/temp/KVQ1");
    EXPECT_EQ(s.readAll(), "PNGDATA");
  }
  EXPECT_TRUE(test::fileExists(path));
}

TEST(CacheFileStreamTest, RemovesAOneTimeFileWhenDone) {
  TempDir dir;
  const std::string path = dir.path() + "c.tmp";
  test::writeFile(path, cacheFileBytes("once", "text/plain", 0));
  {
    TReadCacheFileStream s(path);
    EXPECT_EQ(s.readAll(), "once");
  }
  EXPECT_FALSE(test::fileExists(path));
}

TEST(CacheFileStreamTest, ReportsBrokenFiles) {
  TempDir dir;
  std::string corrupt = cacheFileBytes("abc", "text/plain", 1);
  corrupt[corrupt.size() - 11 - 8] = 100;  // content size beyond the file
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"short", "Invalid cache file"},
      {"no marker at the end of this file", "Invalid cache file"},
      {corrupt, "Cache file is corrupted"},
  };
  for (const auto& [bytes, error] : cases) {
    SCOPED_TRACE(error);
    const std::string path = dir.path() + "bad.tmp";
    test::writeFile(path, bytes);
    EXPECT_EQ(errorOf([&] { TReadCacheFileStream s(path); }), error);
    EXPECT_TRUE(test::fileExists(path));
  }
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

TEST(HsmStreamTest, MovesToATemporaryFilePastItsThresholdAndRemovesIt) {
  test::TempDir dir;
  std::string expected;
  {
    THsmStream s(dir.path(), 10);
    for (const std::string piece : {"0123", "456789", "a", "bcdefghij"}) {
      s.write(piece);
      expected += piece;
      EXPECT_EQ(s.size(), expected.size());
      EXPECT_EQ(s.spilled(), expected.size() > 10);
    }
    ASSERT_EQ(dir.files().size(), 1u);
    EXPECT_EQ(s.filePath(), dir.path() + dir.files()[0]);
    EXPECT_EQ(s.readAll(), expected);
    s.rewind();
    char two[2];
    EXPECT_EQ(s.read(two, 2), 2u);
    EXPECT_EQ(std::string(two, 2), "01");
  }
  EXPECT_TRUE(dir.files().empty());
}

}  // namespace
}  // namespace orv
