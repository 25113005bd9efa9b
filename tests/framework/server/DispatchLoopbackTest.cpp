// The framework's request dispatch against the real server on loopback: embedded and
// static files, session-less commands, the start sequence, session cookies, security
// checks, time-outs and the purge, serialised requests, compression and cache files.
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "framework/server/SessionId.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TSessionTimeoutThread.h"
#include "framework/server/ZStream.h"
#include "tests/framework/server/LoopbackServer.h"
#include "transport/HttpDate.h"
#include "transport/THTTPServerIn.h"

namespace orv::test {
namespace {

constexpr const char* kCookie = "IW_ORVWS_8001";

std::string cookieValue(const std::string& setCookie) {
  const auto eq = setCookie.find('=');
  const auto semi = setCookie.find(';');
  return setCookie.substr(eq + 1, semi == std::string::npos ? std::string::npos : semi - eq - 1);
}

bool hasCrOrLf(const std::string& s) {
  return s.find('\r') != std::string::npos || s.find('\n') != std::string::npos;
}

// --- Session-less answers -----------------------------------------------------------

using DispatchTest = LoopbackServerTest;

TEST_F(DispatchTest, PingAnswersPongWithoutSessionOrCookie) {
  const HttpReply r = browser().get("/$/ping");
  EXPECT_EQ(r.code, 200);
  EXPECT_EQ(r.body, "Pong");
  EXPECT_FALSE(r.hasHeader("Set-Cookie"));
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, ScriptWithAnyCacheBreakerIsTheSameCompressedFile) {
  TestBrowser b = browser();
  const HttpReply a = b.get("/$/js/IWLib__" + controller_->StartUID() + ".js",
                            {{"Accept-Encoding", "gzip, deflate"}});
  const HttpReply c = b.get("/$/js/IWLib__abc.js", {{"Accept-Encoding", "gzip, deflate"}});
  const HttpReply d = b.get("/$/js/IWLib.js", {{"Accept-Encoding", "gzip, deflate"}});
  ASSERT_EQ(a.code, 200);
  EXPECT_EQ(a.body, c.body);
  EXPECT_EQ(a.body, d.body);
  EXPECT_EQ(a.header("Content-Encoding"), "gzip");
  EXPECT_EQ(a.header("Vary"), "Accept-Encoding");
  EXPECT_EQ(a.header("Content-Type"), "application/x-javascript; charset=UTF-8");
  EXPECT_EQ(a.header("Last-Modified"), httpDate(controller_->StartDateTime()));
  EXPECT_EQ(a.header("Cache-Control"), "private");
  const std::string js = detail::zDecompress(a.body);
  EXPECT_EQ(js.rfind("/*!\n * jQuery JavaScript Library v1.8.2", 0), 0u);
  EXPECT_NE(js.find("$.mask"), std::string::npos);
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, ScriptRequestWithTheStartTimeAsIfModifiedSinceGets304) {
  const HttpReply r = browser().get(
      "/$/js/IWBase__x.js", {{"If-Modified-Since", httpDate(controller_->StartDateTime())}});
  EXPECT_EQ(r.code, 304);
  EXPECT_TRUE(r.body.empty());
  const HttpReply older = browser().get(
      "/$/js/IWBase__x.js", {{"If-Modified-Since", httpDate(controller_->StartDateTime() - 1)}});
  EXPECT_EQ(older.code, 200);
}

TEST_F(DispatchTest, ClientWithoutGzipGetsThePlainScript) {
  const HttpReply r = browser().get("/$/js/IWLib.js");
  ASSERT_EQ(r.code, 200);
  EXPECT_FALSE(r.hasHeader("Content-Encoding"));
  EXPECT_EQ(r.body.rfind("/*!", 0), 0u);
}

TEST_F(DispatchTest, EmbeddedImagesAndStyleSheetAreServed) {
  struct Case {
    const char* path;
    const char* type;
  };
  for (const Case& c : {Case{"/$/gfx/Tp.gif", "image/gif"},
                        Case{"/$/gfx/CoolCheckBox_True.gif", "image/gif"},
                        Case{"/$/css/IWNotify.css", "text/css; charset=UTF-8"},
                        Case{"/favicon.ico", "image/x-ico"}}) {
    SCOPED_TRACE(c.path);
    const HttpReply r = browser().get(c.path);
    EXPECT_EQ(r.code, 200);
    EXPECT_EQ(r.header("Content-Type"), c.type);
    EXPECT_FALSE(r.body.empty());
  }
}

TEST_F(DispatchTest, UnknownEmbeddedFileAnswers404WithItsBody) {
  for (const char* path : {"/$/js/NoSuchScript__1.js", "/$/gfx/none.gif", "/missing.png"}) {
    SCOPED_TRACE(path);
    const HttpReply r = browser().get(path);
    EXPECT_EQ(r.code, 404);
    EXPECT_EQ(r.body, "<html><body>404 - Not Found</body></html>");
    EXPECT_EQ(r.header("Content-Type"), "text/html");
  }
}

TEST_F(DispatchTest, BlankPageIsCacheableAndAnswers304WhenTheBrowserHasIt) {
  const HttpReply r = browser().get("/$/blank");
  EXPECT_EQ(r.code, 200);
  EXPECT_EQ(r.body, "<html><head><title></title></head><body></body></html>");
  const HttpReply again = browser().get("/$/blank_", {{"If-Modified-Since", r.header("Last-Modified")}});
  EXPECT_EQ(again.code, 304);
}

TEST_F(DispatchTest, FilesRedirectsBelowTheBaseUrl) {
  const HttpReply r = browser().get("/$/files/pic.png");
  EXPECT_EQ(r.code, 302);
  EXPECT_EQ(r.header("Location"), "/files/pic.png");
}

// --- Static files --------------------------------------------------------------------

TEST_F(DispatchTest, StaticFilesComeFromWwwroot) {
  writeFile(contentDir() + "site.css", "body{}");
  std::filesystem::create_directories(contentDir() + "sub");
  writeFile(contentDir() + "sub/pic.png", "PNGDATA");
  const HttpReply css = browser().get("/site.css");
  EXPECT_EQ(css.code, 200);
  EXPECT_EQ(css.body, "body{}");
  EXPECT_EQ(css.header("Content-Type"), "text/css; charset=UTF-8");
  const HttpReply png = browser().get("/$/sub/pic.png");
  EXPECT_EQ(png.code, 200);
  EXPECT_EQ(png.body, "PNGDATA");
  EXPECT_EQ(png.header("Content-Type"), "image/png");
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, StaticPathsClimbingOutOfWwwrootAreRefused) {
  writeFile(dir_.path() + "outside.css", "SECRET");
  for (const char* path : {"/sub/../../outside.css", "/a/%2e%2e/%2e%2e/outside.css",
                           "/sub/..%2f..%2foutside.css", "/.hidden.css"}) {
    SCOPED_TRACE(path);
    const HttpReply r = browser().get(path);
    EXPECT_EQ(r.code, 500);
    EXPECT_NE(r.body.find("URL contains illegal characters."), std::string::npos);
    EXPECT_EQ(r.body.find("SECRET"), std::string::npos);
  }
}

TEST_F(DispatchTest, BackslashInPathIsRefused) {
  const HttpReply r = browser().get("/a%5cb.css");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Invalid characters in URL."), std::string::npos);
}

TEST_F(DispatchTest, StaticFileNameWithHashGets404) {
  writeFile(contentDir() + "a#b.css", "x");
  const HttpReply r = browser().get("/a%23b.css");
  EXPECT_EQ(r.code, 404);
}

TEST_F(DispatchTest, StaticFileTheBrowserHasGets304) {
  writeFile(contentDir() + "k.txt", "keep");
  const HttpReply first = browser().get("/k.txt");
  ASSERT_EQ(first.code, 200);
  const HttpReply again = browser().get("/k.txt", {{"If-Modified-Since", first.header("Last-Modified")}});
  EXPECT_EQ(again.code, 304);
}

// --- The start sequence ---------------------------------------------------------------

TEST_F(DispatchTest, NewVisitorRunsTheStartSequenceWithExactlyOneSession) {
  TestBrowser b = browser();
  const HttpReply start = b.get("/");
  ASSERT_EQ(start.code, 200);
  EXPECT_EQ(sessionCount(), 1u);
  const auto cookie = start.setCookie(kCookie);
  ASSERT_TRUE(cookie.has_value());
  EXPECT_NE(cookie->find("Path=/"), std::string::npos);
  const std::string value = cookieValue(*cookie);
  const std::string id = value.substr(0, value.find('_'));
  EXPECT_EQ(id.size(), 22u);
  EXPECT_EQ(id.find_first_not_of(kEncode64Alphabet), std::string::npos);
  EXPECT_EQ(value.substr(22), "_1");
  EXPECT_EQ(startPageTarget(start.body), "/$/StartCheck");

  const HttpReply check = b.get("/$/StartCheck?IW_AjaxID=1&IW_width=800&IW_height=600");
  ASSERT_EQ(check.code, 200);
  EXPECT_EQ(startCheckAction(check.body), "/");
  EXPECT_NE(check.body.find("name=\"IW_SessionID_\" value=\"" + id + "\""), std::string::npos);

  const HttpReply redirect =
      b.post("/", "IW_width=800&IW_height=600&IW_SessionID_=" + id + "&IW_TrackID_=1");
  ASSERT_EQ(redirect.code, 200);
  EXPECT_EQ(redirectTarget(redirect.body), "/$/");

  const HttpReply page = b.get("/$/");
  ASSERT_EQ(page.code, 200);
  EXPECT_NE(page.body.find("TestPage track=2"), std::string::npos);
  EXPECT_EQ(TestPage::created.load(), 1);
  EXPECT_EQ(sessionCount(), 1u);
  EXPECT_EQ(cookieValue(*page.setCookie(kCookie)), id + "_2");
}

TEST_F(DispatchTest, StartParametersWithScriptAreDropped) {
  TestBrowser b = browser();
  const HttpReply start = b.get("/?a=1&x=%3Cscript%3Ealert(1)%3C%2Fscript%3E&b=two%20words");
  EXPECT_EQ(startPageTarget(start.body), "/$/StartCheck?a=1&b=two%20words");
}

TEST_F(DispatchTest, StartParametersFilterTable) {
  struct Case {
    const char* query;
    const char* kept;
  };
  for (const Case& c : {Case{"k=%3Ciframe%20src%3Dx%3E", ""}, Case{"k=javascript%20%3Aalert(1)", ""},
                        Case{"k=eval%20(x)", ""}, Case{"IW_width=5&k=v", "?k=v"},
                        Case{"k=plain", "?k=plain"}}) {
    SCOPED_TRACE(c.query);
    TestBrowser b = browser();
    const HttpReply start = b.get(std::string("/?") + c.query);
    EXPECT_EQ(startPageTarget(start.body), std::string("/$/StartCheck") + c.kept);
  }
}

TEST_F(DispatchTest, ExplicitStartEndsTheOldSessionAndDeletesItsCookie) {
  TestBrowser b = browser();
  b.startSession();
  ASSERT_EQ(sessionCount(), 1u);
  const HttpReply r = b.get("/$/Start");
  EXPECT_EQ(r.code, 200);
  EXPECT_EQ(startPageTarget(r.body), "/");
  EXPECT_EQ(sessionCount(), 0u);
  EXPECT_EQ(TestPage::destroyed.load(), 1);
  ASSERT_TRUE(r.setCookie(kCookie).has_value());
  EXPECT_EQ(cookieValue(*r.setCookie(kCookie)), "");
}

TEST_F(DispatchTest, QueryStatusAndKeepAliveNeedNoLock) {
  TestBrowser b = browser();
  EXPECT_EQ(b.get("/$/QueryStatus").body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><status>-1</status>");
  b.startSession();
  EXPECT_EQ(b.get("/$/QueryStatus").body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><status>0</status>");
  EXPECT_EQ(b.get("/$/KeepAlive").body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><response>OK</response>");
}

// --- Errors -------------------------------------------------------------------------

TEST_F(DispatchTest, CallbackWithoutSessionAnswersTheErrorPage) {
  const HttpReply r = browser().get("/$/callback?callback=X.DoOnAsyncClick");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Session was terminated."), std::string::npos);
  EXPECT_NE(r.body.find("Application Error"), std::string::npos);
  EXPECT_FALSE(hasCrOrLf(r.body));
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, UnknownSessionAnswersTheInvalidSessionPageAndDeletesTheCookie) {
  TestBrowser b = browser();
  b.cookies[kCookie] = "aaaaaaaaaaaaaaaaaaaaaa_1";
  const HttpReply r = b.get("/$/");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Session is invalid"), std::string::npos);
  EXPECT_NE(r.body.find("Session ID is invalid."), std::string::npos);
  EXPECT_FALSE(hasCrOrLf(r.body));
  ASSERT_TRUE(r.setCookie(kCookie).has_value());
  EXPECT_EQ(cookieValue(*r.setCookie(kCookie)), "");
  EXPECT_EQ(b.cookies.count(kCookie), 0u);
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, ForeignSourceAddressFailsTheSecurityCheckAndEndsTheSession) {
  TestBrowser owner = browser();
  owner.startSession();
  ASSERT_EQ(sessionCount(), 1u);
  TestBrowser thief(port(), kChromeUA, "127.0.0.2");
  thief.cookies = owner.cookies;
  const HttpReply r = thief.get("/$/");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Security Error"), std::string::npos);
  EXPECT_NE(r.body.find("Security check failed. Please restart the application."),
            std::string::npos);
  EXPECT_NE(r.body.find("The IP you are using is different than the one that initiated the session."),
            std::string::npos);
  EXPECT_FALSE(hasCrOrLf(r.body));
  EXPECT_EQ(sessionCount(), 0u);
  EXPECT_EQ(TestPage::destroyed.load(), 1);
  EXPECT_EQ(owner.get("/$/").code, 500);
}

TEST_F(DispatchTest, UnknownBrowsersCannotOpenASession) {
  TestBrowser b(port(), "curl/7.88.1");
  const HttpReply r = b.get("/");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Unknown browser type. User Agent string: curl/7.88.1"), std::string::npos);
  EXPECT_EQ(sessionCount(), 0u);
  TestBrowser bot(port(), "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)");
  EXPECT_EQ(bot.get("/").code, 200);
  EXPECT_EQ(sessionCount(), 1u);
}

// --- Time-out and purge ------------------------------------------------------------------

TEST_F(DispatchTest, PurgeThreadWaitsSixtySeconds) {
  EXPECT_EQ(TSessionTimeoutThread::kInterval, std::chrono::milliseconds(60000));
}

TEST_F(DispatchTest, SessionNeverVisitedAgainIsPurgedAfterOneMinute) {
  TestBrowser b = browser();
  b.get("/");
  ASSERT_EQ(sessionCount(), 1u);
  advanceMinutes(0.5);
  purge();
  EXPECT_EQ(sessionCount(), 1u);
  advanceMinutes(1.0);
  purge();
  EXPECT_EQ(sessionCount(), 0u);
}

TEST_F(DispatchTest, NewSessionTimedOutAnswersTheTimeoutPageWithOneMinute) {
  TestBrowser b = browser();
  b.get("/");
  advanceMinutes(2);
  const HttpReply r = b.get("/$/StartCheck?IW_width=1&IW_height=1");
  EXPECT_EQ(r.code, 500);
  EXPECT_NE(r.body.find("Application time-out"), std::string::npos);
  EXPECT_NE(r.body.find("The current session timeout value is 1 minute."), std::string::npos);
  EXPECT_FALSE(hasCrOrLf(r.body));
  EXPECT_EQ(cookieValue(*r.setCookie(kCookie)), "");
}

TEST_F(DispatchTest, IdleSessionAnswersUntilTenMinutesThenTimesOutThenIsInvalid) {
  TestBrowser b = browser();
  b.startSession();
  const auto saved = b.cookies;
  advanceMinutes(9);
  EXPECT_EQ(b.get("/$/").code, 200);
  advanceMinutes(10);
  const HttpReply timedOut = b.get("/$/");
  EXPECT_EQ(timedOut.code, 500);
  EXPECT_NE(timedOut.body.find("The current session timeout value is 10 minutes."),
            std::string::npos);
  EXPECT_EQ(sessionCount(), 1u);  // expired, not yet purged
  purge();
  EXPECT_EQ(sessionCount(), 0u);
  EXPECT_EQ(TestPage::destroyed.load(), 1);
  b.cookies = saved;
  const HttpReply invalid = b.get("/$/");
  EXPECT_EQ(invalid.code, 500);
  EXPECT_NE(invalid.body.find("Session is invalid"), std::string::npos);
}

TEST_F(DispatchTest, SessionBusyDuringThePurgeSurvivesIt) {
  TestBrowser b = browser();
  b.startSession();
  Gate gate;
  TestPage::SetHook([&](TIWApplication&, const std::vector<std::string>&) { gate.arriveAndWait(); });
  HttpReply longReply;
  std::thread request([&] { longReply = b.get("/$/"); });
  gate.waitForArrival();
  advanceMinutes(30);
  purge();  // the session is expired but held by the request
  EXPECT_EQ(sessionCount(), 1u);
  EXPECT_EQ(TestPage::destroyed.load(), 0);
  gate.open();
  request.join();
  EXPECT_EQ(longReply.code, 200);
  EXPECT_NE(longReply.body.find("TestPage track="), std::string::npos);
  TestPage::SetHook({});
  EXPECT_EQ(sessionCount(), 1u);  // its request marked it accessed again
}

TEST_F(DispatchTest, StopWaitsForALongRequestBeforeFreeingItsSession) {
  TestBrowser b = browser();
  b.startSession();
  Gate gate;
  std::atomic<bool> sessionWholeAfterTheWait{false};
  TestPage::SetHook([&](TIWApplication& session, const std::vector<std::string>&) {
    gate.arriveAndWait();
    // The stop has begun meanwhile; the session must still be there for this request.
    sessionWholeAfterTheWait = session.AppID().size() == 22 && session.GetActiveForm() != nullptr;
  });
  std::thread request([&] { b.get("/$/"); });  // its connection may be closed by the stop
  gate.waitForArrival();
  const std::string cacheDir = controller_->CacheDir();
  std::thread stopper([&] {
    // The stop sequence: listeners, then every session, the purge thread and the cache.
    server_->Stop();
    controller_.reset();
  });
  EXPECT_EQ(TestPage::destroyed.load(), 0);
  gate.open();
  request.join();
  stopper.join();
  EXPECT_TRUE(sessionWholeAfterTheWait.load());
  EXPECT_EQ(TestPage::destroyed.load(), 1);
  EXPECT_EQ(sessionCount(), 0u);
  EXPECT_FALSE(std::filesystem::exists(cacheDir));
  TestPage::SetHook({});
}

// --- One session, one request at a time -----------------------------------------------------

TEST_F(DispatchTest, TwoRequestsOfOneSessionRunOneAfterTheOther) {
  TestBrowser b = browser();
  b.startSession();
  std::mutex eventsMutex;
  std::vector<std::string> events;
  Gate gate;
  std::atomic<int> calls{0};
  TestPage::SetHook([&](TIWApplication&, const std::vector<std::string>&) {
    const int n = ++calls;
    {
      std::lock_guard hold(eventsMutex);
      events.push_back("enter" + std::to_string(n));
    }
    if (n == 1) gate.arriveAndWait();
    std::lock_guard hold(eventsMutex);
    events.push_back("leave" + std::to_string(n));
  });
  TestBrowser second = b;
  HttpReply first, other;
  std::thread t1([&] { first = b.get("/$/"); });
  gate.waitForArrival();
  std::thread t2([&] { other = second.get("/$/"); });
  // The second request is in the server (its connection is being served) before the
  // first one may finish.
  while (server_->Http().contextCount() < 2) std::this_thread::yield();
  gate.open();
  t1.join();
  t2.join();
  TestPage::SetHook({});
  EXPECT_EQ(first.code, 200);
  EXPECT_EQ(other.code, 200);
  EXPECT_EQ(events, (std::vector<std::string>{"enter1", "leave1", "enter2", "leave2"}));
}

// --- Compression ---------------------------------------------------------------------------

TEST_F(DispatchTest, CompressionFollowsSizeTypeAndAcceptedEncodings) {
  writeFile(contentDir() + "small.txt", std::string(900, 'a'));
  writeFile(contentDir() + "large.txt", std::string(2000, 'b'));
  writeFile(contentDir() + "large.js", std::string(2000, 'c'));
  struct Case {
    const char* path;
    const char* accept;
    const char* encoding;  // "" = not compressed
  };
  for (const Case& c : {Case{"/small.txt", "gzip, deflate", ""},
                        Case{"/large.txt", "gzip, deflate", "gzip"},
                        Case{"/large.txt", "deflate", "deflate"},
                        Case{"/large.txt", "x-gzip", "x-gzip"},
                        Case{"/large.txt", "X-GZIP", "gzip"},
                        Case{"/large.txt", "x-deflate", "x-deflate"},
                        Case{"/large.txt", "br", ""},
                        Case{"/large.js", "gzip", ""}}) {
    SCOPED_TRACE(std::string(c.path) + " " + c.accept);
    const HttpReply r = browser().get(c.path, {{"Accept-Encoding", c.accept}});
    ASSERT_EQ(r.code, 200);
    EXPECT_EQ(r.header("Content-Encoding"), c.encoding);
    if (std::string(c.encoding).empty()) {
      EXPECT_FALSE(r.hasHeader("Vary"));
      continue;
    }
    EXPECT_EQ(r.header("Vary"), "Accept-Encoding");
    EXPECT_EQ(r.header("Content-Length"), std::to_string(r.body.size()));
    const bool zlibWrapped = std::string(c.encoding).find("deflate") != std::string::npos;
    EXPECT_EQ(static_cast<unsigned char>(r.body[0]), zlibWrapped ? 0x78 : 0x1F);
    EXPECT_EQ(detail::zDecompress(r.body), std::string(2000, 'b'));
  }
}

// --- Cache files ------------------------------------------------------------------------------

TEST_F(DispatchTest, OneTimeCacheFileAnswersOnceThenIsGone) {
  TestBrowser b = browser();
  b.startSession();
  std::mutex m;
  std::string href;
  TestPage::SetHook([&](TIWApplication& session, const std::vector<std::string>&) {
    std::lock_guard hold(m);
    if (href.empty())
      href = TIWAppCache::StreamToCacheFile(CacheOwner::Session(session), "one time only",
                                            TCacheType::ctOneTime, "text/plain; charset=UTF-8");
  });
  b.get("/$/");
  TestPage::SetHook({});
  ASSERT_EQ(href.rfind("/$/temp/KVQ", 0), 0u);
  const HttpReply once = b.get(href);
  EXPECT_EQ(once.code, 200);
  EXPECT_EQ(once.body, "one time only");
  EXPECT_EQ(once.header("Content-Type"), "text/plain; charset=UTF-8");
  EXPECT_EQ(b.get(href).code, 404);
}

TEST_F(DispatchTest, CachePathsCannotLeaveTheCacheDirectory) {
  const std::string name = "orv-outside-" + std::to_string(::getpid());
  writeFile(controller_->CacheDir() + "../" + name + ".tmp", "outside");
  EXPECT_EQ(browser().get("/$/temp/..%2f" + name).code, 404);
  EXPECT_EQ(browser().get("/$/temp/nothing-here").code, 404);
  std::filesystem::remove(controller_->CacheDir() + "../" + name + ".tmp");
}

// --- Error pages ----------------------------------------------------------------------------

TEST_F(DispatchTest, ErrorPageComesFromTheTemplateFolderWhenThereIsOne) {
  std::filesystem::create_directories(templateDir());
  writeFile(templateDir() + "IWSESSIONINVALID.html",
            "<html>\r\n<body>OWN {%APPNAME%} {%CONTENT%} {%APPID%} {%FROMCOLOR%}</body>\n</html>");
  TestBrowser b = browser();
  b.cookies[kCookie] = "unknownsession_1";
  const HttpReply r = b.get("/$/");
  EXPECT_EQ(r.code, 500);
  EXPECT_EQ(r.body, "<html><body>OWN ORVWS_8001 Session ID is invalid. unknownsession #224B09</body></html>");
}

}  // namespace
}  // namespace orv::test
