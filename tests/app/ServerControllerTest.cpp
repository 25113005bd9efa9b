#include "app/ServerController.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppUnits.h"
#include "app/UserSessionUnit.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/IWInit.h"
#include "framework/server/TBrowser.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWSessions.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"
#include "platform/ExePaths.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

class AppServerControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { setAppPathForTesting(appDir_.path()); }
  void TearDown() override {
    FinalizeFramework();
    TIWServerControllerBase::SetServerControllerClass(nullptr);
  }
  static std::unique_ptr<TIWServerController> build() {
    return TIWServerControllerBase::New<TIWServerController>();
  }

  test::TempDir appDir_;
};

TEST_F(AppServerControllerTest, HasTheBuildTimeSettings) {
  const auto c = build();
  struct Case {
    const char* name;
    std::string got;
    std::string want;
  };
  auto b = [](bool v) { return std::string(v ? "true" : "false"); };
  auto i = [](long long v) { return std::to_string(v); };
  const Case cases[] = {
      {"AppName", c->AppName(), "ORVWS_8001"},
      {"Description", c->Description(), "ORV Web Server Application  for port 8001"},
      {"DisplayName", c->DisplayName(), "ORV Web Server Application"},
      {"Port", i(c->Port()), "8001"},
      {"SessionTimeout", i(c->SessionTimeout()), "10"},
      {"ShowLoadingAnimation", b(c->ShowLoadingAnimation()), "true"},
      {"RedirectMsgDelay", i(c->RedirectMsgDelay()), "0"},
      {"ServerResizeTimeout", i(c->ServerResizeTimeout()), "0"},
      {"AllowMultipleSessionsPerUser", b(c->AllowMultipleSessionsPerUser()), "false"},
      {"SSLOptions.Port", i(c->SSLOptions().Port()), "0"},
      {"SSLOptions.NonSSLRequest",
       b(c->SSLOptions().NonSSLRequest() == NonSSLRequestMode::nsAccept), "true"},
      {"SSLOptions.SSLVersion", b(c->SSLOptions().SSLVersion() == SSLVersion::SSLv3), "true"},
      {"SSLOptions.SSLVersions", b(c->SSLOptions().SSLVersions().empty()), "true"},
      {"ExceptionLogger.ReportInfos",
       b(c->ExceptionLogger().ReportInfos() ==
         std::set<ReportInfo>{ReportInfo::riAppInfo, ReportInfo::riExceptionInfo,
                              ReportInfo::riIWAppInfo, ReportInfo::riStackTrace}),
       "true"},
      {"OnNewSession", b(static_cast<bool>(c->OnNewSession)), "true"},
      {"Version", c->Version(), "14.0.52"},
      // Everything else keeps the framework's defaults.
      {"ContentPath", c->ContentPath(), appDir_.path() + "wwwroot/"},
      {"TemplateDir", c->TemplateDir(), appDir_.path() + "Templates/"},
      {"CacheDir", c->CacheDir(), exePaths().tempDir + c->ProcessID() + "/"},
      {"URLBase", c->URLBase(), ""},
      {"CookieOptions.UseCookies", b(c->CookieOptions().UseCookies()), "true"},
      {"Compression.Enabled", b(c->Compression().Enabled()), "true"},
      {"UseAjaxNotify", b(c->UseAjaxNotify()), "true"},
      {"RestartExpiredSession", b(c->RestartExpiredSession()), "false"},
      {"SecurityOptions.CheckSameIP", b(c->SecurityOptions().CheckSameIP()), "true"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.got, k.want);
  }
}

TEST_F(AppServerControllerTest, PortIniReplacesThePorts) {
  {
    const auto c = build();
    EXPECT_EQ(c->Port(), 8001);
  }
  test::writeFile(appDir_.path() + "port.ini", "[PORTS]\r\nPort=9000\r\nSSLPort=9443\r\n");
  const auto c = build();
  EXPECT_EQ(c->Port(), 9000);
  EXPECT_EQ(c->SSLOptions().Port(), 9443);
  EXPECT_EQ(c->RedirectPortString(false), ":9000");
}

TEST_F(AppServerControllerTest, AppNameIsLockedAfterStartUp) {
  const auto c = build();
  EXPECT_EQ(test::errorOf([&] { c->SetAppName("Other"); }),
            "AppName is locked. Suggestion: Set in ServerController OnConfig event instead.");
  EXPECT_EQ(c->AppName(), "ORVWS_8001");
}

TEST_F(AppServerControllerTest, TheApplicationUnitsRegisterThisControllerClass) {
  TIWServerControllerBase::SetServerControllerClass(nullptr);
  InitializeApplicationUnits();
  InitializeFramework();
  GetAppInit()();
  ASSERT_NE(IWServerController(), nullptr);
  EXPECT_NE(dynamic_cast<TIWServerController*>(IWServerController()), nullptr);
  EXPECT_EQ(IWServerController()->AppName(), "ORVWS_8001");
}

TEST_F(AppServerControllerTest, GivesEachNewSessionItsOwnUserSession) {
  const auto c = build();
  TIWSessions registry;
  THttpRequest request;
  request.mUserAgent =
      "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/120.0.0.0 Safari/537.36";
  THttpReply reply;
  auto newSession = [&] {
    auto s = TIWApplication::Create(registry, TBrowser::CreateBrowser(request.mUserAgent), request,
                                    reply, "", "", "", "127.0.0.1");
    c->DoNewSession(*s);  // what the dispatch does right after registering a session
    return s;
  };
  auto first = newSession();
  auto second = newSession();
  ASSERT_NE(first->Data(), nullptr);
  ASSERT_NE(second->Data(), nullptr);
  EXPECT_NE(first->Data(), second->Data());
  EXPECT_NE(dynamic_cast<TIWUserSession*>(first->Data()), nullptr);
  EXPECT_EQ(first->Data()->GetWebApplication(), first.get());
  EXPECT_EQ(second->Data()->GetWebApplication(), second.get());

  // The session owns its user session: freeing the session frees it.
  bool destroyed = false;
  first->Data()->OnDestroy = [&](TIWUserSessionBase&) { destroyed = true; };
  first->Unlock();
  second->Unlock();
  registry.FreeAll();
  first.reset();  // the last reference: the session is destroyed
  second.reset();
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace orv
