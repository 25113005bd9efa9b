#include <gtest/gtest.h>

#include <sys/socket.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "tests/transport/TestSupport.h"
#include "transport/HttpDate.h"
#include "transport/HttpHook.h"
#include "transport/PacketWriter.h"
#include "transport/THTTPServerIn.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::HttpResponse;
using test::parseResponse;
using test::RawClient;

// The application's server on a loopback port with a test hook standing in for the
// framework: it records every request packet and answers through `answer`.
class HttpServerTest : public ::testing::Test {
 protected:
  using Answer = std::function<void(const THttpRequest&, THttpReply&)>;

  void SetUp() override {
    setPacketTempDir(temp_.path());
    setHttpHook([this](std::uint8_t* block, std::size_t size) { hook(block, size); });
    serve();
  }
  void TearDown() override {
    server_.reset();
    setHttpHook(nullptr);
    setPacketTempDir("");
  }

  // (Re)starts the server, letting a test change its settings first.
  void serve(const std::function<void(THTTPServerIn&)>& configure = nullptr) {
    server_.reset();
    server_ = std::make_unique<THTTPServerIn>("127.0.0.1", 0);
    if (configure) configure(*server_);
    server_->SetActive(true);
    port_ = server_->Port();
  }

  void hook(std::uint8_t* block, std::size_t size) {
    const THttpRequest request = THttpRequest::fromPacket({block, size});
    Answer answer;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      answer = answer_;
    }
    THttpReply reply;
    if (answer) {
      answer(request, reply);
    } else {
      reply.WriteString("hello");
    }
    reply.Commit({block, size}, temp_.path(), nowLocalDateTime());
  }

  void setAnswer(Answer answer) {
    std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
  }
  std::vector<THttpRequest> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  THttpRequest lastRequest() {
    auto all = requests();
    return all.empty() ? THttpRequest{} : all.back();
  }
  std::string send(const std::string& raw) { return test::exchange(port_, raw); }
  HttpResponse request(const std::string& raw) { return parseResponse(send(raw)); }

  test::TempDir temp_;
  std::unique_ptr<THTTPServerIn> server_;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<THttpRequest> requests_;
  Answer answer_;
};

TEST_F(HttpServerTest, AnswersAGetWithHostAndClosesTheConnection) {
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: a\r\n\r\n");
  ASSERT_TRUE(r.valid);
  EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
  EXPECT_EQ(r.body, "hello");
  EXPECT_EQ(r.headerNames(),
            (std::vector<std::string>{"Connection", "Content-Type", "Content-Length", "Date",
                                      "Cache-Control", "Pragma", "P3P"}));
  EXPECT_EQ(r.header("Connection"), "close");
  EXPECT_EQ(r.header("Content-Type"), "text/html; charset=UTF-8");
  EXPECT_EQ(r.header("Content-Length"), "5");
  EXPECT_EQ(r.header("P3P"), "CP=\"NO P3P\"");
  EXPECT_TRUE(std::regex_match(
      r.header("Date"),
      std::regex("[A-Z][a-z]{2}, \\d\\d [A-Z][a-z]{2} \\d{4} \\d\\d:\\d\\d:\\d\\d GMT")))
      << r.header("Date");
  const THttpRequest q = lastRequest();
  EXPECT_EQ(q.mPathInfo, "/");
  EXPECT_EQ(q.mHost, "a");
  EXPECT_EQ(q.mHttpMethod, THttpMethod::hmGet);
  EXPECT_EQ(q.mRemoteAddr, "127.0.0.1");
  EXPECT_EQ(q.mServerPort, port_);
  EXPECT_EQ(q.mRawHeaders, std::vector<std::string>{"Host=a"});
  EXPECT_FALSE(q.mHasContent);
}

struct LineCase {
  const char* name;
  std::string raw;
  std::string statusLine;  // empty: closed without an answer
  std::string pathInfo;
};

TEST_F(HttpServerTest, HandlesRequestLineCases) {
  const std::vector<LineCase> cases = {
      {"no blank", "GARBAGE\r\n\r\n", "", ""},
      {"empty line", "\r\n\r\n", "", ""},
      {"HTTP/1.1 without Host", "GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request", ""},
      {"empty Host", "GET / HTTP/1.1\r\nHost:\r\n\r\n", "HTTP/1.1 400 Bad Request", ""},
      {"HTTP/1.0 without Host", "GET /x HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK", "/x"},
      {"lower-case method", "get /y HTTP/1.1\r\nHost: a\r\n\r\n", "HTTP/1.1 200 OK", "/y"},
      {"other method", "DELETE /z HTTP/1.1\r\nHost: a\r\n\r\n", "HTTP/1.1 200 OK", "/z"},
      {"absolute target fills Host", "GET http://other:81/p?q=1 HTTP/1.1\r\n\r\n",
       "HTTP/1.1 200 OK", "/p"},
      {"asterisk", "OPTIONS * HTTP/1.1\r\nHost: a\r\n\r\n", "HTTP/1.1 200 OK", "*"},
      {"no version number", "GET /v junk\r\n\r\n", "HTTP/1.1 200 OK", "/v"},
      {"fragment dropped", "GET /f#top HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK", "/f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = requests().size();
    const std::string raw = send(c.raw);
    if (c.statusLine.empty()) {
      EXPECT_EQ(raw, "");
      EXPECT_EQ(requests().size(), before);
      continue;
    }
    const HttpResponse r = parseResponse(raw);
    EXPECT_EQ(r.statusLine, c.statusLine);
    EXPECT_EQ(r.header("Connection"), "close");
    if (r.statusLine == "HTTP/1.1 200 OK") {
      ASSERT_EQ(requests().size(), before + 1);
      EXPECT_EQ(lastRequest().mPathInfo, c.pathInfo);
    } else {
      EXPECT_EQ(requests().size(), before);
    }
  }
}

TEST_F(HttpServerTest, AnswersAMissingHostWithAnEmpty400) {
  const std::string raw = send("GET / HTTP/1.1\r\nContent-Length: 0\r\n\r\n");
  const HttpResponse r = parseResponse(raw);
  EXPECT_EQ(r.statusLine, "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(r.header("Content-Length"), "0");
  EXPECT_EQ(r.header("Connection"), "close");
  EXPECT_FALSE(r.hasHeader("Content-Type"));
  EXPECT_EQ(r.body, "");
}

TEST_F(HttpServerTest, CarriesTheAbsoluteTargetsHostAndPort) {
  request("GET http://other:81/p?q=1 HTTP/1.1\r\n\r\n");
  const THttpRequest q = lastRequest();
  EXPECT_EQ(q.mHost, "other");
  EXPECT_EQ(q.mServerPort, 81);
  EXPECT_EQ(q.mQuery, "q=1");
  EXPECT_EQ(q.mQueryFields, std::vector<std::string>{"q=1"});
}

TEST_F(HttpServerTest, DecodesThePathAndTheParameters) {
  request("GET /a%20b?x=1+2&y=%41 HTTP/1.0\r\n\r\n");
  const THttpRequest q = lastRequest();
  EXPECT_EQ(q.mPathInfo, "/a b");
  EXPECT_EQ(q.mQuery, "x=1+2&y=%41");
  EXPECT_EQ(q.mQueryFields, (std::vector<std::string>{"x=1 2", "y=A"}));
}

TEST_F(HttpServerTest, JoinsFormFieldsAndQueryFields) {
  const HttpResponse r = request(
      "POST /p?b=2 HTTP/1.1\r\nHost: h\r\nContent-Type: application/x-www-form-urlencoded\r\n"
      "Content-Length: 3\r\n\r\na=1");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
  const THttpRequest q = lastRequest();
  EXPECT_EQ(q.mHttpMethod, THttpMethod::hmPost);
  EXPECT_EQ(q.mQueryFields, (std::vector<std::string>{"a=1", "b=2"}));
  EXPECT_TRUE(q.mContentFields.empty());
  EXPECT_TRUE(q.mHasContent);
  EXPECT_EQ(q.mQuery, "b=2");
}

TEST_F(HttpServerTest, DecodesFormFieldsInTheRequestsCharset) {
  request(
      "POST /p HTTP/1.1\r\nHost: h\r\n"
      "Content-Type: application/x-www-form-urlencoded; charset=ISO-8859-1\r\n"
      "Content-Length: 8\r\n\r\nname=%E9");
  EXPECT_EQ(lastRequest().mQueryFields, std::vector<std::string>{"name=\xC3\xA9"});
}

TEST_F(HttpServerTest, KeepsOnlyQueryFieldsForOtherBodies) {
  request(
      "POST /p?b=2 HTTP/1.1\r\nHost: h\r\nContent-Type: text/plain\r\nContent-Length: "
      "3\r\n\r\na=1");
  const THttpRequest q = lastRequest();
  EXPECT_EQ(q.mQueryFields, std::vector<std::string>{"b=2"});
  EXPECT_TRUE(q.mHasContent);
}

TEST_F(HttpServerTest, AsksForALengthWhenBodyBytesComeWithout) {
  for (const std::string method : {"POST", "PUT", "GET"}) {
    SCOPED_TRACE(method);
    const HttpResponse r = request(method + " /p HTTP/1.1\r\nHost: h\r\n\r\na=1");
    EXPECT_EQ(r.statusLine, "HTTP/1.1 411 Length Required");
    EXPECT_EQ(r.header("Content-Length"), "0");
    EXPECT_EQ(r.header("Connection"), "close");
  }
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, ReadsChunkedBodies) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"one chunk", "3\r\na=1\r\n0\r\n\r\n"},
      {"extensions, blanks and a trailer",
       "1;ext=1\r\na\r\n 2 \r\n=1\r\n0\r\nX-Trailer: t\r\n\r\n"},
      {"upper-case hex", "3\r\na=1\r\n0\r\n\r\n"},
  };
  for (const auto& [name, chunks] : cases) {
    SCOPED_TRACE(name);
    const HttpResponse r = request(
        "POST /c HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\n\r\n" +
        chunks);
    EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(lastRequest().mQueryFields, std::vector<std::string>{"a=1"});
    EXPECT_TRUE(lastRequest().mHasContent);
  }
  // A body of "abc" exactly as the chunks carry it.
  request(
      "POST /c HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: Chunked\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
  EXPECT_EQ(lastRequest().mQueryFields, std::vector<std::string>{"abc"});
}

TEST_F(HttpServerTest, RefusesBrokenBodies) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"POST /c HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n",
       "HTTP/1.1 400 Bad Request"},
      {"POST /c HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: gzip\r\n\r\n",
       "HTTP/1.1 400 Bad Request"},
      {"POST /c HTTP/1.1\r\nHost: h\r\nContent-Length: abc\r\n\r\n", "HTTP/1.1 400 Bad Request"},
      {"POST /c HTTP/1.1\r\nHost: h\r\nContent-Length: -3\r\n\r\n", "HTTP/1.1 400 Bad Request"},
  };
  for (const auto& [raw, status] : cases) {
    SCOPED_TRACE(raw);
    const HttpResponse r = request(raw);
    EXPECT_EQ(r.statusLine, status);
    EXPECT_EQ(r.header("Connection"), "close");
  }
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, SendsTheInterimContinueBeforeTheBody) {
  RawClient client(port_);
  client.send(
      "POST /e HTTP/1.1\r\nHost: h\r\nExpect: 100-continue\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\n");
  EXPECT_EQ(client.readUntil("\r\n\r\n"), "HTTP/1.1 100 Continue\r\n\r\n");
  client.send("a=1");
  const HttpResponse r = parseResponse(client.readAll());
  EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
  EXPECT_EQ(lastRequest().mQueryFields, std::vector<std::string>{"a=1"});
}

TEST_F(HttpServerTest, RefusesOtherExpectations) {
  const HttpResponse r =
      request("POST /e HTTP/1.1\r\nHost: h\r\nExpect: something\r\nContent-Length: 3\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 417 Expectation Failed");
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, AnswersHeadWithTheHeadersOfGetAndNoBody) {
  const HttpResponse get = request("GET /h HTTP/1.1\r\nHost: h\r\n\r\n");
  const HttpResponse head = request("HEAD /h HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(head.statusLine, get.statusLine);
  auto withoutDate = [](std::vector<std::pair<std::string, std::string>> h) {
    std::erase_if(h, [](const auto& line) { return line.first == "Date"; });
    return h;
  };
  EXPECT_EQ(withoutDate(head.headers), withoutDate(get.headers));
  EXPECT_EQ(head.header("Content-Length"), "5");
  EXPECT_EQ(head.body, "");
  EXPECT_EQ(lastRequest().mHttpMethod, THttpMethod::hmHead);
}

TEST_F(HttpServerTest, SplitsCookies) {
  request("GET / HTTP/1.1\r\nHost: h\r\nCookie: a=1; b=2\r\n\r\n");
  EXPECT_EQ(lastRequest().mCookieFields, (std::vector<std::string>{"a=1", "b=2"}));
  request("GET / HTTP/1.1\r\nHost: h\r\nCookie: a=1\r\nCookie: c=3\r\n\r\n");
  EXPECT_EQ(lastRequest().mCookieFields, (std::vector<std::string>{"a=1", "c=3"}));
}

TEST_F(HttpServerTest, TakesTheServerPortFromTheHostHeader) {
  struct Case {
    std::string host;
    std::string name;
    int port;  // -1: the connection's local port
  };
  for (const auto& c : std::vector<Case>{{"h:8080", "h", 8080},
                                         {"h", "h", -1},
                                         {"h:", "h", -1},
                                         {"h:junk", "h", -1},
                                         {"[::1]:9000", "[::1]", 9000}}) {
    SCOPED_TRACE(c.host);
    request("GET /x HTTP/1.1\r\nHost: " + c.host + "\r\n\r\n");
    EXPECT_EQ(lastRequest().mHost, c.name);
    EXPECT_EQ(lastRequest().mServerPort, c.port < 0 ? port_ : c.port);
  }
}

TEST_F(HttpServerTest, AppliesTheMethodOverride) {
  request(
      "POST /m HTTP/1.1\r\nHost: h\r\nX-HTTP-Method-Override: put\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(lastRequest().mHttpMethod, THttpMethod::hmPut);
}

TEST_F(HttpServerTest, PassesBasicCredentialsAndRefusesOtherSchemes) {
  request("GET / HTTP/1.1\r\nHost: h\r\nAuthorization: Basic dXNlcjpwdw==\r\n\r\n");
  EXPECT_EQ(lastRequest().mAuthorization, "Basic dXNlcjpwdw==");
  EXPECT_EQ(lastRequest().mAuthorizationHeader, "Basic dXNlcjpwdw==");
  const std::size_t before = requests().size();
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\nAuthorization: Bearer abc\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 400 Bad Request");
  EXPECT_EQ(r.body, "Unsupported authorization scheme.");
  EXPECT_EQ(requests().size(), before);
}

TEST_F(HttpServerTest, ReadsLinesEndedByLfAloneLikeCrLf) {
  const std::string crlf =
      "POST /p?q=1 HTTP/1.1\r\nHost: h\r\nCookie: a=1\r\nX-Folded: one\r\n two\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\nb=2";
  std::string lf;
  for (std::size_t i = 0; i < crlf.size(); ++i) {
    if (crlf.compare(i, 2, "\r\n") == 0) continue;  // drop the CR of every CR LF
    lf += crlf[i];
  }
  request(crlf);
  const THttpRequest first = lastRequest();
  request(lf);
  EXPECT_EQ(lastRequest(), first);
  EXPECT_EQ(first.mQueryFields, (std::vector<std::string>{"b=2", "q=1"}));
  EXPECT_EQ(first.GetRawHeaderValue("X-Folded"), "one two");
}

TEST_F(HttpServerTest, ParsesARequestArrivingOneByteAtATime) {
  const std::string raw =
      "POST /p?q=1 HTTP/1.1\r\nHost: h\r\nCookie: a=1; b=2\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 7\r\n\r\nb=2&c=3";
  request(raw);
  const THttpRequest atOnce = lastRequest();
  RawClient client(port_);
  ASSERT_TRUE(client.sendByteByByte(raw));
  const HttpResponse r = parseResponse(client.readAll());
  EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
  EXPECT_EQ(lastRequest(), atOnce);
  EXPECT_EQ(atOnce.mQueryFields, (std::vector<std::string>{"b=2", "c=3", "q=1"}));
}

TEST_F(HttpServerTest, LimitsTheRequestLineTo32768Bytes) {
  // "GET /aaa... HTTP/1.0" plus CR: the line before its LF counts the CR too.
  const std::string head = "GET /";
  const std::string tail = " HTTP/1.0\r";
  const std::string fits =
      head + std::string(32768 - head.size() - tail.size(), 'a') + tail + "\n\r\n";
  EXPECT_EQ(parseResponse(send(fits)).statusLine, "HTTP/1.1 200 OK");
  const std::string over =
      head + std::string(32769 - head.size() - tail.size(), 'a') + tail + "\n\r\n";
  EXPECT_EQ(send(over), "");
}

TEST_F(HttpServerTest, ClosesOnAHeaderLineOverTheLimit) {
  EXPECT_EQ(send("GET / HTTP/1.1\r\nHost: h\r\nX-Big: " + std::string(33000, 'b') + "\r\n\r\n"),
            "");
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, AcceptsAtMost1025HeaderLines) {
  for (int count : {1025, 1026}) {
    SCOPED_TRACE(count);
    std::string raw = "GET / HTTP/1.1\r\nHost: h\r\n";
    for (int i = 1; i < count; ++i) raw += "X-" + std::to_string(i) + ": v\r\n";
    raw += "\r\n";
    const std::string answer = send(raw);
    if (count == 1025) {
      EXPECT_EQ(parseResponse(answer).statusLine, "HTTP/1.1 200 OK");
    } else {
      EXPECT_EQ(answer, "");
    }
  }
}

TEST_F(HttpServerTest, CutsOffAPeerThatSendsNoLineFeed) {
  RawClient client(port_);
  client.send(std::string(40000, 'a'));  // and stays connected
  EXPECT_TRUE(client.waitForClose(10s));
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, GivesUpOnSlowRequestsAfterTheReadTimeOut) {
  serve([](THTTPServerIn& s) { s.ReadTimeout = 200; });
  for (const std::string partial :
       {"", "GET / HT", "GET / HTTP/1.1\r\nHost: h\r\n",
        "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 10\r\n\r\nabc"}) {
    SCOPED_TRACE(partial);
    RawClient client(port_);
    client.send(partial);
    EXPECT_TRUE(client.waitForClose(10s));
    EXPECT_EQ(client.readAll(100ms), "");
  }
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, GivesUpOnABodyTrickledByteByByte) {
  serve([](THTTPServerIn& s) { s.ReadTimeout = 300; });
  RawClient client(port_);
  client.send("POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 1000\r\n\r\n");
  // Every byte comes well within the read time-out, the whole body never does.
  bool closed = false;
  for (int i = 0; i < 1000 && !closed; ++i) {
    client.send("x");
    closed = client.waitForClose(100ms);
  }
  EXPECT_TRUE(closed);
  EXPECT_TRUE(requests().empty());
}

TEST_F(HttpServerTest, Refuses413BodiesBeforeReadingThem) {
  RawClient client(port_);
  client.send("POST /big HTTP/1.1\r\nHost: h\r\nContent-Length: 16777217\r\n\r\n");
  const HttpResponse r = parseResponse(client.readAll());
  EXPECT_EQ(r.statusLine, "HTTP/1.1 413 Request Entity Too Long");
  EXPECT_EQ(r.header("Connection"), "close");

  serve([](THTTPServerIn& s) { s.MaxRequestBodySize = 10; });
  EXPECT_EQ(
      request("POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 10\r\n\r\n0123456789").statusLine,
      "HTTP/1.1 200 OK");
  EXPECT_EQ(request("POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n"
                    "6\r\n012345\r\n6\r\n012345\r\n0\r\n\r\n")
                .statusLine,
            "HTTP/1.1 413 Request Entity Too Long");
  EXPECT_EQ(requests().size(), 1u);
}

TEST_F(HttpServerTest, AnswersTheSecondRequestWhenKeepAliveIsOn) {
  serve([](THTTPServerIn& s) { s.KeepAlive = true; });
  RawClient client(port_);
  client.send("GET /1 HTTP/1.1\r\nHost: h\r\n\r\n");
  const std::string first = client.readUntil("hello");
  EXPECT_EQ(parseResponse(first).header("Connection"), "keep-alive");
  client.send("GET /2 HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n");
  const HttpResponse second = parseResponse(client.readAll());
  EXPECT_EQ(second.header("Connection"), "close");
  EXPECT_EQ(lastRequest().mPathInfo, "/2");
}

TEST_F(HttpServerTest, Answers400WhenNoHookIsInstalled) {
  setHttpHook(nullptr);
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 400 HTTP hook has not been set.");
  EXPECT_EQ(r.header("Content-Length"), "0");
  EXPECT_EQ(r.body, "");
}

TEST_F(HttpServerTest, Answers400WithTheMessageOfAFailingHook) {
  setHttpHook([](std::uint8_t*, std::size_t) {
    throw std::runtime_error("Session was terminated.\r\nX: y");
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 400 Session was terminated.  X: y");
  EXPECT_FALSE(r.hasHeader("X"));
}

TEST_F(HttpServerTest, Answers400ForAReplyNeverFilledIn) {
  setAnswer([](const THttpRequest&, THttpReply&) {});
  EXPECT_EQ(request("GET / HTTP/1.1\r\nHost: h\r\n\r\n").statusLine,
            "HTTP/1.1 400 Uninitialized reply.");
}

TEST_F(HttpServerTest, WritesTheReplysStatusHeadersAndCookies) {
  setAnswer([](const THttpRequest&, THttpReply& reply) {
    reply.SetCode(404, "Gone Away");
    reply.mContentType = "text/plain; charset=ISO-8859-1";
    reply.addHeader("X-Custom", " value ");
    reply.mHeaders.push_back("no-compression");
    reply.addCookie(HttpCookie{"IW_ORVWS", "abc_1", "/", 0, "", true, false});
    reply.addCookie(HttpCookie{"old", "", "/", -1, "", false, false});
    reply.WriteString("missing");
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 404 Gone Away");
  EXPECT_EQ(r.header("Content-Type"), "text/plain; charset=ISO-8859-1");
  EXPECT_EQ(r.header("X-Custom"), "value");
  EXPECT_FALSE(r.hasHeader("no-compression"));
  EXPECT_EQ(r.all("Set-Cookie"),
            (std::vector<std::string>{"IW_ORVWS=abc_1; Path=/; HttpOnly",
                                      "old=; Path=/; Expires=Fri, 29-Dec-1899 00:00:00 GMT"}));
  EXPECT_EQ(r.body, "missing");
}

TEST_F(HttpServerTest, WritesARedirectWithoutCookies) {
  setAnswer([](const THttpRequest&, THttpReply& reply) {
    reply.addCookie(HttpCookie{"a", "1", "/", 0, "", false, false});
    reply.SendRedirect("/$/");
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 302 Moved Temporarily");
  EXPECT_EQ(r.header("Location"), "/$/");
  EXPECT_FALSE(r.hasHeader("Set-Cookie"));
  EXPECT_EQ(r.header("Content-Length"), "0");
}

TEST_F(HttpServerTest, LeavesContentHeadersOutOfA304) {
  setAnswer([](const THttpRequest&, THttpReply& reply) {
    reply.SetCode(304);
    reply.mDataType = ReplyKind::NoData;
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 304 Not Modified");
  EXPECT_FALSE(r.hasHeader("Content-Type"));
  EXPECT_FALSE(r.hasHeader("Content-Length"));
  EXPECT_TRUE(r.hasHeader("Expires"));
}

TEST_F(HttpServerTest, AnswersARealmWith401AndItsPage) {
  setAnswer([](const THttpRequest&, THttpReply& reply) {
    reply.mAuthRealm = "ORV";
    reply.mDataType = ReplyKind::NoData;
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.statusLine, "HTTP/1.1 401 Unauthorized");
  EXPECT_EQ(r.header("WWW-Authenticate"), "Basic realm=\"ORV\"");
  EXPECT_EQ(r.header("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(r.body, "<HTML><BODY><B>401 Unauthorized</B></BODY></HTML>");
}

TEST_F(HttpServerTest, SendsAFileAndRemovesItWhenAsked) {
  const std::string path = temp_.path() + "download.bin";
  test::writeFile(path, std::string("\x00\x01binary", 8));
  setAnswer([path](const THttpRequest&, THttpReply& reply) {
    reply.mContentType = "application/octet-stream";
    reply.SendFile(path, false, true);
  });
  const HttpResponse r = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.body, std::string("\x00\x01binary", 8));
  EXPECT_EQ(r.header("Content-Type"), "application/octet-stream");
  EXPECT_FALSE(test::fileExists(path));
  // A missing file fails the request with a clear status.
  const HttpResponse missing = request("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(missing.statusLine, "HTTP/1.1 400 Cannot open file \"" + path + "\".");
}

TEST_F(HttpServerTest, SendsTheContentOfACacheFileWithItsType) {
  PacketWriter w;
  w.writeBytes("GIF89a");
  w.writeText("image/gif");
  w.writeByte(0);  // one-time
  w.writeText("/$/temp/KVQ9");
  for (int i = 0; i < 8; ++i) w.writeByte(i == 0 ? 6 : 0);
  w.writeText("IWCACHE");
  const std::string path = temp_.path() + "KVQ9.tmp";
  test::writeFile(path, w.bytes());
  setAnswer([path](const THttpRequest&, THttpReply& reply) { reply.SendCacheFile(path); });
  const HttpResponse r = request("GET /$/temp/KVQ9 HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(r.body, "GIF89a");
  EXPECT_EQ(r.header("Content-Type"), "image/gif");
  EXPECT_FALSE(test::fileExists(path));
}

TEST_F(HttpServerTest, CarriesLargeBodiesBothWaysWithoutLeavingFiles) {
  const std::string big(100000, 'x');
  setAnswer([&big](const THttpRequest& q, THttpReply& reply) {
    reply.WriteString(q.mQueryFields.size() == 1 && q.mQueryFields[0] == "v=" + big ? big
                                                                                    : "wrong");
  });
  const std::string body = "v=" + big;
  const HttpResponse r = request(
      "POST /p HTTP/1.1\r\nHost: h\r\nContent-Type: application/x-www-form-urlencoded\r\n"
      "Content-Length: " +
      std::to_string(body.size()) + "\r\n\r\n" + body);
  EXPECT_EQ(r.statusLine, "HTTP/1.1 200 OK");
  EXPECT_EQ(r.body.size(), big.size());
  EXPECT_TRUE(r.body == big);
  EXPECT_TRUE(temp_.files().empty());
}

TEST_F(HttpServerTest, Answers500WithTheEscapedMessageOfAFailingHandler) {
  TInCustomHTTPServer plain("Plain");
  plain.Bindings = {TInSocketHandle{"127.0.0.1", 0}};
  plain.OnCommandGet = [](TInContext&, TInHTTPRequestInfo&, TInHTTPResponseInfo&) {
    throw std::runtime_error("bad <b>input</b> & more");
  };
  plain.SetActive(true);
  const HttpResponse r =
      parseResponse(test::exchange(plain.boundPort(), "GET / HTTP/1.1\r\nHost: h\r\n\r\n"));
  EXPECT_EQ(r.statusLine, "HTTP/1.1 500 Internal Server Error");
  EXPECT_EQ(r.header("Content-Type"), "text/html; charset=ISO-8859-1");
  EXPECT_EQ(r.body, "bad &lt;b&gt;input&lt;/b&gt; &amp; more");
}

TEST_F(HttpServerTest, SurvivesAPeerThatLeavesBeforeTheAnswer) {
  setAnswer(
      [](const THttpRequest&, THttpReply& reply) { reply.WriteString(std::string(4 << 20, 'z')); });
  for (int i = 0; i < 5; ++i) {
    RawClient client(port_);
    client.send("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
    linger l{1, 0};
    ::setsockopt(client.fd(), SOL_SOCKET, SO_LINGER, &l, sizeof l);
  }
  ASSERT_TRUE(server_->waitForNoConnections(30s));
  setAnswer(nullptr);
  EXPECT_EQ(request("GET / HTTP/1.1\r\nHost: h\r\n\r\n").body, "hello");
}

TEST_F(HttpServerTest, LeavesNoThreadOrDescriptorBehindAbandonedRequests) {
  serve([](THTTPServerIn& s) { s.ReadTimeout = 2000; });
  const std::size_t threads = test::processThreadCount();
  const std::size_t fds = test::processFdCount();
  const std::vector<std::string> partials = {
      "", "GET / HTTP/1.1\r\n", "GET / HTTP/1.1\r\nHost: h\r\n\r\n",
      "POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 100\r\n\r\nabc",
      "POST / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab"};
  std::vector<RawClient> idle;
  for (int i = 0; i < 300; ++i) {
    RawClient client(port_);
    client.send(partials[static_cast<std::size_t>(i) % partials.size()]);
    // One in ten stays connected without a word: the read time-out must end it.
    if (i % 10 == 0) idle.push_back(std::move(client));
  }
  for (auto& c : idle) EXPECT_TRUE(c.waitForClose(20s));
  idle.clear();
  ASSERT_TRUE(server_->waitForNoConnections(30s));
  EXPECT_EQ(test::processThreadCount(), threads);
  EXPECT_EQ(test::processFdCount(), fds);
  EXPECT_TRUE(temp_.files().empty());
}

}  // namespace
}  // namespace orv
