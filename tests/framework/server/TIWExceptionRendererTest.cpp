#include <gtest/gtest.h>

#include "framework/server/ServerErrors.h"
#include "framework/server/TIWExceptionRenderer.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWServerInternalFiles.h"
#include "tests/framework/server/SessionTestSupport.h"

namespace orv::test {
namespace {

bool has(const std::string& page, const std::string& text) {
  return page.find(text) != std::string::npos;
}

class TIWExceptionRendererTest : public ::testing::Test {
 public:
  void SetUp() override {
    setAppPathForTesting(dir.path());
    ProbeController::storedSettings = [this](ProbeController& c) {
      c.SetAppName("ORVWS_8001");
      if (configure) configure(c);
    };
    TIWServerInternalFiles::Instance().RegisterFrameworkFiles();
    request.mHost = "server.example";
    request.mPathInfo = "/$/";
    request.mUserAgent = kChromeUA;
    request.mRemoteAddr = "192.0.2.1";
    request.mHttpMethod = THttpMethod::hmGet;
  }
  void TearDown() override {
    controller.reset();
    ProbeController::storedSettings = nullptr;
  }
  std::string render(const std::exception& e, const TIWApplication* session = nullptr) {
    if (!controller) controller = TIWServerControllerBase::New<ProbeController>();
    return TIWExceptionRenderer::RenderHTML(e, &request, session);
  }

  TempDir dir;
  std::function<void(ProbeController&)> configure;
  std::unique_ptr<TIWServerControllerBase> controller;
  THttpRequest request;
};

TEST_F(TIWExceptionRendererTest, EachKindHasItsHeaderAndText) {
  struct Case {
    std::function<std::string(TIWExceptionRendererTest&)> page;
    const char* kind;
    const char* header;
    const char* specific;
  };
  const Case cases[] = {
      {[](auto& t) { return t.render(ESecurityError("Different IP")); }, "SECURITYCHECK",
       "Security Error", "Security check failed. Please restart the application."},
      {[](auto& t) { return t.render(EExpiredSession("Your session has expired due to inactivity.", "abc", 10, "")); },
       "SESSIONTIMEOUT", "Application time-out",
       "The current session timeout value is 10 minutes."},
      {[](auto& t) { return t.render(EInvalidAppID("Session ID is invalid.", "abc")); },
       "SESSIONINVALID", "Session is invalid", "Session ID is invalid."},
      {[](auto& t) { return t.render(std::runtime_error("boom")); }, "ERROR", "Application Error",
       "Depending on the error condition, it might be possible to restart the application."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::string page = c.page(*this);
    EXPECT_TRUE(has(page, c.header));
    EXPECT_TRUE(has(page, c.specific));
    EXPECT_TRUE(has(page, "ORVWS_8001"));
    EXPECT_TRUE(has(page, "#224B09"));
    EXPECT_TRUE(has(page, "#A9DB80"));
    EXPECT_EQ(page.find('\r'), std::string::npos);
    EXPECT_EQ(page.find('\n'), std::string::npos);
    EXPECT_FALSE(has(page, "{%"));
  }
}

TEST_F(TIWExceptionRendererTest, TimeoutTextSaysMinuteOrMinutes) {
  struct Case {
    int minutes;
    const char* ending;
  };
  for (const Case& c : {Case{1, "The current session timeout value is 1 minute."},
                        Case{10, "The current session timeout value is 10 minutes."},
                        Case{2, "The current session timeout value is 2 minutes."}}) {
    SCOPED_TRACE(c.minutes);
    EXPECT_TRUE(has(render(EExpiredSession("x", "id", c.minutes, "")), c.ending));
  }
  EXPECT_FALSE(has(render(EExpiredSession("x", "id", 1, "")), "1 minutes"));
}

TEST_F(TIWExceptionRendererTest, RestartLinksCarryTheStartParameters) {
  const std::string timeout = render(EExpiredSession("x", "id", 10, "?a=1"));
  EXPECT_TRUE(has(timeout, "href=\"/$/start/?a=1\""));
  const std::string invalid = render(EInvalidAppID("x", "id"));
  EXPECT_TRUE(has(invalid, "href=\"/$/start\""));
}

TEST_F(TIWExceptionRendererTest, MessagesAreEscaped) {
  const std::string page = render(std::runtime_error("<b>&\"</b>"));
  EXPECT_TRUE(has(page, "&lt;b&gt;&amp;&quot;&lt;/b&gt;"));
  EXPECT_FALSE(has(page, "<b>&\""));
}

TEST_F(TIWExceptionRendererTest, DetailsOfAnErrorButNotOfASessionPage) {
  EXPECT_TRUE(has(render(std::runtime_error("boom")), "Error details:"));
  EXPECT_TRUE(has(render(std::runtime_error("boom")), std::string(120, '-')));
  EXPECT_FALSE(has(render(EInvalidAppID("x", "id")), "Error details:"));
  EXPECT_FALSE(has(render(EExpiredSession("x", "id", 1, "")), "Error details:"));
}

TEST_F(TIWExceptionRendererTest, SecurityDetailsCanBeSwitchedOff) {
  configure = [](ProbeController& c) { c.SecurityOptions().SetShowSecurityErrorDetails(false); };
  const std::string page = render(ESecurityError("The IP you are using is different"));
  EXPECT_TRUE(has(page, "[Error details are disabled in server configuration]"));
  EXPECT_FALSE(has(page, "The IP you are using"));
  EXPECT_FALSE(has(page, "Error details:"));
}

TEST_F(TIWExceptionRendererTest, SessionInformationOnlyForTheServerMachineItself) {
  ManualClock clock;
  TIWSessions registry;
  registry.SetClock(clock.function());
  CreatingRequest creating;
  if (!controller) controller = TIWServerControllerBase::New<ProbeController>();
  auto session = newSession(registry, creating);
  session->Unlock();
  for (const char* host : {"localhost", "127.0.0.1", "server.example", "localhost.example"}) {
    SCOPED_TRACE(host);
    request.mHost = host;
    const std::string report =
        TIWExceptionRenderer::DetailReport(std::runtime_error("boom"), request, session.get());
    const bool local = std::string(host) == "localhost" || std::string(host) == "127.0.0.1";
    EXPECT_EQ(has(report, "Session ID: " + session->AppID()), local);
    EXPECT_EQ(has(report, "Application name: ORVWS_8001"), local);
    EXPECT_TRUE(has(report, "Exception message: boom"));
    EXPECT_TRUE(has(report, "Request path: /$/"));
    EXPECT_TRUE(has(report, "Client IP: 192.0.2.1"));
  }
  session.reset();
  registry.FreeAll();
}

TEST_F(TIWExceptionRendererTest, WithoutControllerOrRequestThePageIsTheBareMessage) {
  EXPECT_EQ(TIWExceptionRenderer::RenderHTML(std::runtime_error("plain"), &request, nullptr),
            "plain");
  controller = TIWServerControllerBase::New<ProbeController>();
  EXPECT_EQ(TIWExceptionRenderer::RenderHTML(std::runtime_error("plain"), nullptr, nullptr),
            "plain");
}

}  // namespace
}  // namespace orv::test
