// Costs of the transport's per-request work that does not touch a socket: building
// and reading the request packet, committing and reading the reply packet, and turning
// a reply into the response header block.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "transport/HttpDate.h"
#include "transport/PacketFrame.h"
#include "transport/ReplyPacket.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"
#include "transport/TInHTTPResponseInfo.h"
#include "transport/UrlCoding.h"

namespace {

orv::THttpRequest browserRequest() {
  orv::THttpRequest q;
  q.mUserAgent =
      "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0";
  q.mHost = "127.0.0.1";
  q.mPathInfo = "/$/callback";
  q.mRemoteAddr = "127.0.0.1";
  q.mServerPort = 8001;
  q.mHttpMethod = orv::THttpMethod::hmPost;
  q.mAcceptLanguage = "en-US,en;q=0.9";
  q.mRawHeaders = {"Host=127.0.0.1:8001", "Connection=keep-alive", "Accept=*/*",
                   "Accept-Encoding=gzip, deflate, br", "Cookie=IW_ORVWS=abcdefghijklmnop_1"};
  q.mCookieFields = {"IW_ORVWS=abcdefghijklmnop_1"};
  for (int i = 0; i < 20; ++i) q.mQueryFields.push_back("IWEDIT" + std::to_string(i) + "=1.25E-3");
  q.mHasContent = true;
  return q;
}

void BM_RequestPacketRoundTrip(benchmark::State& state) {
  const orv::THttpRequest q = browserRequest();
  std::vector<std::uint8_t> block(orv::kPacketBlockSize);
  for (auto _ : state) {
    q.toPacket(block, "/tmp");
    benchmark::DoNotOptimize(orv::THttpRequest::fromPacket(block));
  }
}
BENCHMARK(BM_RequestPacketRoundTrip);

void BM_ReplyCommitAndDecode(benchmark::State& state) {
  const std::string page(static_cast<std::size_t>(state.range(0)), 'x');
  std::vector<std::uint8_t> block(orv::kPacketBlockSize);
  const double now = orv::nowLocalDateTime();
  for (auto _ : state) {
    orv::THttpReply reply;
    reply.WriteString(page);
    reply.addCookie(orv::HttpCookie{"IW_ORVWS", "abcdefghijklmnop_1", "/", 0, "", false, false});
    reply.Commit(block, "/tmp", now);
    benchmark::DoNotOptimize(orv::decodeReplyPacket(block));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReplyCommitAndDecode)->Arg(300)->Arg(16 << 10);

void BM_ResponseHeader(benchmark::State& state) {
  const double now = orv::nowLocalDateTime();
  for (auto _ : state) {
    orv::TInHTTPResponseInfo r;
    r.setCloseConnection(true);
    r.setContentType("text/html; charset=UTF-8");
    r.ContentText = "<p>";
    r.setCustomHeadersText("Cache-Control:no-cache\r\nPragma:no-cache\r\nP3P:CP=\"NO P3P\"");
    benchmark::DoNotOptimize(r.buildHeader(now));
  }
}
BENCHMARK(BM_ResponseHeader);

void BM_UrlDecode(benchmark::State& state) {
  const std::string text = "IWEDIT1=1%2C25E-3&IWEDIT2=%C3%A9t%C3%A9+%2B+x&IW_FormName=Main";
  for (auto _ : state) benchmark::DoNotOptimize(orv::urlDecode(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_UrlDecode);

}  // namespace

BENCHMARK_MAIN();
