#include "framework/server/TIWServerControllerBase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <regex>

#include "framework/server/CurrentSession.h"
#include "framework/server/Messages.h"
#include "platform/ExePaths.h"
#include "transport/HttpHook.h"
#include "tests/framework/server/ServerTestSupport.h"
#include "tests/framework/server/SessionTestSupport.h"

namespace orv {
namespace {

using test::errorOf;
using test::ProbeController;
namespace fs = std::filesystem;

class ServerControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(appDir_.path());
    ProbeController::storedSettings = nullptr;
  }
  void TearDown() override { ProbeController::storedSettings = nullptr; }

  static std::unique_ptr<ProbeController> build() {
    return TIWServerControllerBase::New<ProbeController>();
  }
  void writePortIni(const std::string& text) {
    test::writeFile(appDir_.path() + "port.ini", text);
  }

  test::TempDir appDir_;
};

std::string locked(const std::string& name) {
  return name + " is locked. Suggestion: Set in ServerController OnConfig event instead.";
}

// --- Defaults ------------------------------------------------------------------------

TEST_F(ServerControllerTest, HasEveryDefaultAfterConstruction) {
  const auto c = build();
  const std::string& app = appDir_.path();
  struct Case {
    const char* name;
    std::string got;
    std::string want;
  };
  auto b = [](bool v) { return std::string(v ? "true" : "false"); };
  auto i = [](long long v) { return std::to_string(v); };
  const Case cases[] = {
      {"PageTransitions", b(c->PageTransitions()), "false"},
      {"ServerResizeTimeout", i(c->ServerResizeTimeout()), "0"},
      {"Theme", c->Theme(), ""},
      {"ShowLoadingAnimation", b(c->ShowLoadingAnimation()), "true"},
      {"Rendering", b(c->Rendering() == RenderingMode::rnInMemory), "true"},
      {"DebugHTML", b(c->DebugHTML()), "false"},
      {"Log", b(c->Log() == LogMode::loNone), "true"},
      {"AuthBeforeNewSession", b(c->AuthBeforeNewSession()), "false"},
      {"AppName", c->AppName(), "MyIWApp"},
      {"BoundIP", c->BoundIP(), ""},
      {"AllowMultipleSessionsPerUser", b(c->AllowMultipleSessionsPerUser()), "false"},
      {"CacheDir", c->CacheDir(), exePaths().tempDir + c->ProcessID() + "/"},
      {"ComInitialization", b(c->ComInitialization() == ComInitializationMode::ciNone), "true"},
      {"Encoding", c->Encoding(), ""},
      {"ContentPath", c->ContentPath(), app + "wwwroot/"},
      {"Description", c->Description(), std::string(msg::kDefaultDescription)},
      {"DisplayName", c->DisplayName(), std::string(msg::kDefaultDescription)},
      {"ExceptionDisplayMode", b(c->ExceptionDisplayMode() == ShowMessageType::smAlert), "true"},
      {"EnableImageToolbar", b(c->EnableImageToolbar()), "false"},
      {"GUIActive", b(c->GUIActive()), "false"},
      {"HistoryEnabled", b(c->HistoryEnabled()), "false"},
      {"HTMLHeaders", i(static_cast<long long>(c->HTMLHeaders().size())), "0"},
      {"ContentFiles", i(static_cast<long long>(c->ContentFiles().size())), "0"},
      {"MasterTemplate", c->MasterTemplate(), ""},
      {"Port", i(c->Port()), "0"},
      {"RedirectMsgDelay", i(c->RedirectMsgDelay()), "0"},
      {"SessionTimeout", i(c->SessionTimeout()), "10"},
      {"TemplateDir", c->TemplateDir(), app + "Templates/"},
      {"StyleSheet", c->StyleSheet(), ""},
      {"URLBase", c->URLBase(), ""},
      {"Auther", b(c->Auther() == nullptr), "true"},
      {"AuthActive", b(c->AuthActive()), "false"},
      {"JavascriptDebug", b(c->JavascriptDebug()), "false"},
      {"DocType", c->DocType(), ""},
      {"IECompatibilityMode", c->IECompatibilityMode(), ""},
      {"CacheFiles", i(static_cast<long long>(c->CacheFiles().size())), "0"},
      {"ShowStartParams", b(c->ShowStartParams()), "true"},
      {"HttpKeepAlive", b(c->HttpKeepAlive()), "false"},
      {"RewriteURL", c->RewriteURL(), ""},
      {"RestartExpiredSession", b(c->RestartExpiredSession()), "false"},
      {"LogSessionEvents", b(c->LogSessionEvents()), "false"},
      {"UseAjaxNotify", b(c->UseAjaxNotify()), "true"},
      {"Version", c->Version(), "14.0.52"},
      {"GetVersion", c->GetVersion(), "14.0.52"},
      // Option groups.
      {"SSLOptions.CertificatePassword", c->SSLOptions().CertificatePassword(), ""},
      {"SSLOptions.Port", i(c->SSLOptions().Port()), "0"},
      {"SSLOptions.NonSSLRequest",
       b(c->SSLOptions().NonSSLRequest() == NonSSLRequestMode::nsAccept), "true"},
      {"SSLOptions.SSLVersion", b(c->SSLOptions().SSLVersion() == SSLVersion::TLSv12), "true"},
      {"SSLOptions.CipherList", c->SSLOptions().CipherList(), ""},
      {"SSLOptions.SSLVersions", b(c->SSLOptions().SSLVersions().empty()), "true"},
      {"SSLOptions.DHParamsFile", c->SSLOptions().DHParamsFile(), ""},
      {"CookieOptions.SessionCookies", b(c->CookieOptions().SessionCookies()), "true"},
      {"CookieOptions.CookieNameSuffix", c->CookieOptions().CookieNameSuffix(), ""},
      {"CookieOptions.UseCookies", b(c->CookieOptions().UseCookies()), "true"},
      {"CookieOptions.HttpOnly", b(c->CookieOptions().HttpOnly()), "false"},
      {"CookieOptions.Secure", b(c->CookieOptions().Secure()), "false"},
      {"SearchEngineOptions.RedirectToContentHandler",
       b(c->SearchEngineOptions().RedirectToContentHandler()), "false"},
      {"SearchEngineOptions.ContentHandlerPath", c->SearchEngineOptions().ContentHandlerPath(),
       ""},
      {"JavaScriptOptions.Debug", b(c->JavaScriptOptions().Debug()), "false"},
      {"JavaScriptOptions.UseUncompressedFiles",
       b(c->JavaScriptOptions().UseUncompressedFiles()), "false"},
      {"JavaScriptOptions.EnableFirebug", b(c->JavaScriptOptions().EnableFirebug()), "false"},
      {"JavaScriptOptions.AjaxErrorMode",
       b(c->JavaScriptOptions().AjaxErrorMode() == AjaxErrorMode::emAlert), "true"},
      {"JavaScriptOptions.RenderjQuery", b(c->JavaScriptOptions().RenderjQuery()), "true"},
      {"SecurityOptions.CheckSameIP", b(c->SecurityOptions().CheckSameIP()), "true"},
      {"SecurityOptions.CheckSameUA", b(c->SecurityOptions().CheckSameUA()), "false"},
      {"SecurityOptions.CheckFormId", b(c->SecurityOptions().CheckFormId()), "false"},
      {"SecurityOptions.ShowSecurityErrorDetails",
       b(c->SecurityOptions().ShowSecurityErrorDetails()), "true"},
      {"BackButtonOptions.ShowMessage", b(c->BackButtonOptions().ShowMessage()), "false"},
      {"BackButtonOptions.WarningMessage", c->BackButtonOptions().WarningMessage(), ""},
      {"BackButtonOptions.Mode",
       b(c->BackButtonOptions().Mode() == BackButtonMode::bmDisableCompat), "true"},
      {"MobileOptions.ViewportTag", c->MobileOptions().ViewportTag(), ""},
      {"ProxyPortRedirection.Active", b(c->ProxyPortRedirection().Active()), "false"},
      {"ProxyPortRedirection.HttpPort", i(c->ProxyPortRedirection().HttpPort()), "80"},
      {"ProxyPortRedirection.HttpsPort", i(c->ProxyPortRedirection().HttpsPort()), "443"},
      {"Compression.Enabled", b(c->Compression().Enabled()), "true"},
      {"Compression.Level", i(c->Compression().Level()), "1"},
      {"Compression.MinSize", i(c->Compression().MinSize()), "1024"},
      {"Compression.AllowGZip", b(c->Compression().AllowGZip()), "true"},
      {"Compression.AllowDeflate", b(c->Compression().AllowDeflate()), "true"},
      {"Compression.PreCompress", b(c->Compression().PreCompress()), "true"},
      {"ExceptionLogger.Enabled", b(c->ExceptionLogger().Enabled()), "false"},
      {"ExceptionLogger.LogType",
       b(c->ExceptionLogger().LogType() == ExceptionLogType::ltFile), "true"},
      {"ExceptionLogger.ReportInfos", i(static_cast<long long>(c->ExceptionLogger().ReportInfos().size())),
       "5"},
      {"ExceptionLogger.FilePath", c->ExceptionLogger().FilePath(), ""},
      {"ExceptionLogger.FileName", c->ExceptionLogger().FileName(), ""},
      {"ExceptionLogger.PurgeAfterDays", i(c->ExceptionLogger().PurgeAfterDays()), "0"},
      // Obsolete settings read neutral values.
      {"CharSet", c->CharSet(), ""},
      {"CacheExpiry", i(c->CacheExpiry()), "0"},
      {"FilesDir", c->FilesDir(), ""},
      {"InternalFilesDir", c->InternalFilesDir(), ""},
      {"InternalFilesURL", c->InternalFilesURL(), ""},
      {"UseInternalFiles", b(c->UseInternalFiles()), "false"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.got, k.want);
  }
  EXPECT_EQ(c->ServerVariables(),
            (std::vector<std::string>{"APP_POOL_ID", "SERVER_ADDR", "SERVER_NAME", "SERVER_PORT",
                                      "SERVER_SOFTWARE"}));
  EXPECT_TRUE(fs::is_directory(c->CacheDir()));
}

TEST_F(ServerControllerTest, MachineNameIsTheHostName) {
  const auto c = build();
  char host[257] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(c->MachineName(), host);
}

TEST_F(ServerControllerTest, IsReachableWhileItLivesAndOnlyThen) {
  EXPECT_EQ(IWServerController(), nullptr);
  {
    const auto c = build();
    EXPECT_EQ(IWServerController(), c.get());
  }
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(ServerControllerTest, RefusesASecondControllerWhileOneLives) {
  const auto first = build();
  EXPECT_EQ(errorOf([] { build(); }), msg::kControllerExists);
  EXPECT_EQ(IWServerController(), first.get());
}

// --- Construction order --------------------------------------------------------------

struct PortIniCase {
  const char* name;
  const char* portIni;  // nullptr: no file
  int wantPort;
  int wantSSLPort;
};

class PortIniTest : public ServerControllerTest,
                    public ::testing::WithParamInterface<PortIniCase> {};

TEST_P(PortIniTest, ReplacesTheBuildTimePorts) {
  const PortIniCase& k = GetParam();
  if (k.portIni != nullptr) writePortIni(k.portIni);
  ProbeController::storedSettings = [](ProbeController& c) {
    c.SetPort(8001);
    c.SSLOptions().SetPort(8443);
  };
  const auto c = build();
  EXPECT_EQ(c->Port(), k.wantPort);
  EXPECT_EQ(c->SSLOptions().Port(), k.wantSSLPort);
}

INSTANTIATE_TEST_SUITE_P(
    ServerControllerTest, PortIniTest,
    ::testing::Values(
        PortIniCase{"NoFile", nullptr, 8001, 8443},
        PortIniCase{"BothKeys", "[PORTS]\r\nPort=9000\r\nSSLPort=9443\r\n", 9000, 9443},
        PortIniCase{"PortOnly", "[PORTS]\nPort=9000\n", 9000, 0},
        PortIniCase{"SectionWithoutKeys", "[PORTS]\r\n", 0, 0},
        PortIniCase{"SectionMissing", "[OTHER]\r\nPort=9000\r\n", 0, 0},
        PortIniCase{"EmptyFile", "", 0, 0},
        PortIniCase{"NamesInAnyCase", "[ports]\nport = 9001\nsslport= 9444 \n", 9001, 9444},
        PortIniCase{"UnreadableValue", "[PORTS]\nPort=eighty\nSSLPort=9x\n", 0, 0},
        PortIniCase{"HexValue", "[PORTS]\nPort=$1F90\n", 8080, 0},
        PortIniCase{"Commented", "; ports\n[PORTS]\n;Port=1\nPort=9002\n", 9002, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerControllerTest, PortIniWithAnImpossiblePortStopsConstruction) {
  writePortIni("[PORTS]\nPort=70000\n");
  EXPECT_EQ(errorOf([] { build(); }), "Invalid port value: 70000");
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(ServerControllerTest, PortIniThatCannotBeReadStopsConstruction) {
  fs::create_directory(appDir_.path() + "port.ini");
  const std::string error = errorOf([] { build(); });
  EXPECT_EQ(error.rfind("Cannot read \"" + appDir_.path() + "port.ini\": ", 0), 0u) << error;
}

TEST_F(ServerControllerTest, RunsTheStepsInOrderSoTheLaterValueWins) {
  writePortIni("[PORTS]\nPort=9000\n");
  std::vector<std::string> seen;
  ProbeController::storedSettings = [&](ProbeController& c) {
    // Step 2 sees the defaults.
    seen.push_back("stored: port " + std::to_string(c.Port()) + ", app '" + c.AppName() +
                   "', cache '" + c.CacheDir() + "', description '" + c.Description() + "'");
    c.SetPort(8001);
    c.SetAppName("StoredName");
    c.OnConfig = [&](TIWServerControllerBase& cc) {
      // OnConfig sees port.ini and the derived values; frozen settings still change.
      seen.push_back("config: port " + std::to_string(cc.Port()) + ", app '" + cc.AppName() +
                     "', cache '" + cc.CacheDir() + "', display '" + cc.DisplayName() + "'");
      cc.SetAppName("ConfigName");
      cc.SetPort(9100);
    };
  };
  const auto c = build();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "stored: port 0, app '', cache '', description ''");
  EXPECT_EQ(seen[1], "config: port 9000, app 'StoredName', cache '', display '" +
                         std::string(msg::kDefaultDescription) + "'");
  EXPECT_EQ(c->AppName(), "ConfigName");
  EXPECT_EQ(c->Port(), 9100);
  EXPECT_TRUE(c->Frozen());
}

TEST_F(ServerControllerTest, DerivesDisplayNameFromDescription) {
  ProbeController::storedSettings = [](ProbeController& c) { c.SetDescription("My service"); };
  const auto c = build();
  EXPECT_EQ(c->Description(), "My service");
  EXPECT_EQ(c->DisplayName(), "My service");
}

TEST_F(ServerControllerTest, TakesARelativeTemplateDirFromTheApplicationPath) {
  ProbeController::storedSettings = [](ProbeController& c) { c.SetTemplateDir("tpl"); };
  const auto c = build();
  EXPECT_EQ(c->TemplateDir(), appDir_.path() + "tpl/");
}

// --- Validation ----------------------------------------------------------------------

struct ValidationCase {
  const char* name;
  std::function<void(TIWServerControllerBase&)> action;
  std::string wantError;  // "" = accepted
};

// Every case runs on an unfrozen controller (during construction).
TEST_F(ServerControllerTest, ValidatesEverySettingWithItsText) {
  const std::string startWith =
      "Invalid value for DocType property: DocType must start with \"<!DOCTYPE\"";
  const std::string endWith = "Invalid value for DocType property: DocType must end with \">\"";
  const std::vector<ValidationCase> cases = {
      {"AppName empty", [](auto& c) { c.SetAppName(""); }, "Application name cannot be empty"},
      {"AppName blanks", [](auto& c) { c.SetAppName("   "); }, "Application name cannot be empty"},
      {"AppName digit first", [](auto& c) { c.SetAppName("1App"); },
       "Invalid application name. Application name must follow the same rules of TComponent "
       "name"},
      {"AppName blank inside", [](auto& c) { c.SetAppName("my app"); },
       "Invalid application name. Application name must follow the same rules of TComponent "
       "name"},
      {"AppName hyphen", [](auto& c) { c.SetAppName("my-app"); },
       "Invalid application name. Application name must follow the same rules of TComponent "
       "name"},
      {"AppName non-ASCII", [](auto& c) { c.SetAppName("Caf\xC3\xA9"); },
       "Invalid application name. Application name must follow the same rules of TComponent "
       "name"},
      {"AppName valid", [](auto& c) { c.SetAppName("_Orv_8001"); }, ""},
      {"SessionTimeout -1", [](auto& c) { c.SetSessionTimeout(-1); },
       "Invalid session timeout value."},
      {"SessionTimeout 65536", [](auto& c) { c.SetSessionTimeout(65536); },
       "Invalid session timeout value."},
      {"SessionTimeout 70000", [](auto& c) { c.SetSessionTimeout(70000); },
       "Invalid session timeout value."},
      {"SessionTimeout 0", [](auto& c) { c.SetSessionTimeout(0); }, ""},
      {"SessionTimeout 65535", [](auto& c) { c.SetSessionTimeout(65535); }, ""},
      {"DocType html", [](auto& c) { c.SetDocType("<html>"); }, startWith},
      {"DocType lower case", [](auto& c) { c.SetDocType("<!doctype html>"); }, startWith},
      {"DocType unclosed", [](auto& c) { c.SetDocType("<!DOCTYPE html"); }, endWith},
      {"DocType valid", [](auto& c) { c.SetDocType("  <!DOCTYPE html>  "); }, ""},
      {"DocType empty", [](auto& c) { c.SetDocType(""); }, ""},
      {"Port negative", [](auto& c) { c.SetPort(-1); }, "Invalid port value: -1"},
      {"Port too big", [](auto& c) { c.SetPort(65536); }, "Invalid port value: 65536"},
      {"SSL port too big", [](auto& c) { c.SSLOptions().SetPort(100000); },
       "Invalid port value: 100000"},
      {"Proxy port negative", [](auto& c) { c.ProxyPortRedirection().SetHttpPort(-80); },
       "Invalid port value: -80"},
      {"Compression level 0", [](auto& c) { c.Compression().SetLevel(0); },
       "Invalid compression level (1 to 9): 0"},
      {"Compression level 10", [](auto& c) { c.Compression().SetLevel(10); },
       "Invalid compression level (1 to 9): 10"},
      {"Cookies off while sessions follow cookies",
       [](auto& c) { c.CookieOptions().SetUseCookies(false); },
       "In order to disable cookies you must set ServerController.AllowMultipleSessionsPerUser "
       "to TRUE."},
      {"One session per user without cookies",
       [](auto& c) {
         c.SetAllowMultipleSessionsPerUser(true);
         c.CookieOptions().SetUseCookies(false);
         c.SetAllowMultipleSessionsPerUser(false);
       },
       "You must set CookieOptions.UseCookies to TRUE before setting "
       "ServerController.AllowMultipleSessionsPerUser to FALSE."},
      {"Cookies off with sessions in URLs",
       [](auto& c) {
         c.SetAllowMultipleSessionsPerUser(true);
         c.CookieOptions().SetUseCookies(false);
       },
       ""},
  };
  std::vector<std::string> results;
  ProbeController::storedSettings = [&](ProbeController& c) {
    for (const ValidationCase& k : cases) results.push_back(errorOf([&] { k.action(c); }));
    // Leave a consistent state behind for the rest of the construction.
    c.SetAllowMultipleSessionsPerUser(true);
    c.CookieOptions().SetUseCookies(true);
    c.SetAllowMultipleSessionsPerUser(false);
  };
  const auto c = build();
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t n = 0; n < cases.size(); ++n) {
    SCOPED_TRACE(cases[n].name);
    EXPECT_EQ(results[n], cases[n].wantError);
  }
}

TEST_F(ServerControllerTest, RejectedValuesLeaveTheSettingAsItWas) {
  const auto c = build();
  c->SetSessionTimeout(20);
  EXPECT_EQ(errorOf([&] { c->SetSessionTimeout(70000); }), "Invalid session timeout value.");
  EXPECT_EQ(c->SessionTimeout(), 20);
}

struct NormaliseCase {
  const char* input;
  const char* want;
};

TEST_F(ServerControllerTest, NormalisesURLBase) {
  const NormaliseCase cases[] = {{"app", "/app/"},   {"/app", "/app/"}, {"app/", "/app/"},
                                 {" app ", "/app/"}, {"", ""},          {"   ", ""},
                                 {"/", "/"},         {"a/b", "/a/b/"}};
  std::vector<std::string> got;
  ProbeController::storedSettings = [&](ProbeController& c) {
    for (const auto& k : cases) {
      c.SetURLBase(k.input);
      got.push_back(c.URLBase());
    }
  };
  const auto c = build();
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    SCOPED_TRACE(cases[n].input);
    EXPECT_EQ(got[n], cases[n].want);
  }
}

TEST_F(ServerControllerTest, KeepsContentPathAndTemplateDirAbsoluteWithASlash) {
  const std::string app = appDir_.path();
  struct Case {
    const char* input;
    std::string wantContent;
    std::string wantTemplate;
  };
  const Case cases[] = {{"/srv/www", "/srv/www/", "/srv/www/"},
                        {"/srv/www/", "/srv/www/", "/srv/www/"},
                        {"static", app + "static/", app + "static/"},
                        {" static/ ", app + "static/", app + "static/"},
                        {"", app + "wwwroot/", app + "Templates/"}};
  std::vector<std::pair<std::string, std::string>> got;
  ProbeController::storedSettings = [&](ProbeController& c) {
    for (const auto& k : cases) {
      c.SetContentPath(k.input);
      c.SetTemplateDir(k.input);
      got.emplace_back(c.ContentPath(), c.TemplateDir());
    }
  };
  const auto c = build();
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    SCOPED_TRACE(cases[n].input);
    EXPECT_EQ(got[n].first, cases[n].wantContent);
    EXPECT_EQ(got[n].second, cases[n].wantTemplate);
  }
}

TEST_F(ServerControllerTest, ThemeAndStyleSheetExcludeEachOther) {
  ProbeController::storedSettings = [](ProbeController& c) {
    c.SetTheme("Blue");
    c.SetStyleSheet("site.css");
    EXPECT_EQ(c.Theme(), "");
    c.SetTheme("Green");
    EXPECT_EQ(c.StyleSheet(), "");
    c.SetStyleSheet("");
    EXPECT_EQ(c.Theme(), "Green");
  };
  const auto c = build();
  // After start-up a theme may change only while it would not clear a style sheet.
  c->SetTheme("Red");
  EXPECT_EQ(c->Theme(), "Red");
}

TEST_F(ServerControllerTest, ThemeCannotClearAFrozenStyleSheet) {
  ProbeController::storedSettings = [](ProbeController& c) { c.SetStyleSheet("site.css"); };
  const auto c = build();
  EXPECT_EQ(errorOf([&] { c->SetTheme("Red"); }), locked("StyleSheet"));
  EXPECT_EQ(c->StyleSheet(), "site.css");
}

TEST_F(ServerControllerTest, KeepsServerVariablesSortedWithoutDuplicates) {
  const auto c = build();
  c->AddServerVariable("server_name");
  c->AddServerVariable("HTTP_HOST");
  c->AddServerVariable("ZZ");
  EXPECT_EQ(c->ServerVariables(),
            (std::vector<std::string>{"APP_POOL_ID", "HTTP_HOST", "SERVER_ADDR", "SERVER_NAME",
                                      "SERVER_PORT", "SERVER_SOFTWARE", "ZZ"}));
  c->SetServerVariables({"b", "A", "a", "C"});
  EXPECT_EQ(c->ServerVariables(), (std::vector<std::string>{"A", "b", "C"}));
}

TEST_F(ServerControllerTest, WritingTheVersionHasNoEffect) {
  const auto c = build();
  c->SetVersion("1.0");
  c->SetCharSet("utf-8");
  c->SetUseInternalFiles(true);
  EXPECT_EQ(c->Version(), "14.0.52");
  EXPECT_EQ(c->CharSet(), "");
  EXPECT_FALSE(c->UseInternalFiles());
}

TEST_F(ServerControllerTest, MakeGUIActiveSetsGUIActive) {
  const auto c = build();
  c->MakeGUIActive();
  EXPECT_TRUE(c->GUIActive());
}

class FixedPolicy : public Authenticator {
 public:
  explicit FixedPolicy(AuthPolicy p) : policy_(p) {}
  AuthPolicy Policy() const override { return policy_; }

 private:
  AuthPolicy policy_;
};

TEST_F(ServerControllerTest, AuthIsActiveOnlyWithARestrictingAuthenticator) {
  const auto c = build();
  FixedPolicy none(AuthPolicy::apRestrictNone);
  FixedPolicy all(AuthPolicy::apRestrictAll);
  EXPECT_FALSE(c->AuthActive());
  c->SetAuther(&none);
  EXPECT_FALSE(c->AuthActive());
  c->SetAuther(&all);
  EXPECT_TRUE(c->AuthActive());
  c->SetAuther(nullptr);
}

// --- Freezing ------------------------------------------------------------------------

TEST_F(ServerControllerTest, LocksEveryFrozenSettingAfterStartUp) {
  const auto c = build();
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"AppName", [&] { c->SetAppName("Other"); }},
      {"BoundIP", [&] { c->SetBoundIP("127.0.0.1"); }},
      {"HTMLHeaders", [&] { c->SetHTMLHeaders({"<meta>"}); }},
      {"ContentPath", [&] { c->SetContentPath("/srv"); }},
      {"Compression", [&] { c->SetCompression(TIWCompressionOptions{}); }},
      {"Compression", [&] { c->Compression().SetEnabled(false); }},
      {"Compression", [&] { c->Compression().SetLevel(5); }},
      {"Compression", [&] { c->Compression().SetMinSize(1); }},
      {"Compression", [&] { c->Compression().SetAllowGZip(false); }},
      {"Compression", [&] { c->Compression().SetAllowDeflate(false); }},
      {"Compression", [&] { c->Compression().SetPreCompress(false); }},
      {"ShowLoadingAnimation", [&] { c->SetShowLoadingAnimation(false); }},
      {"StyleSheet", [&] { c->SetStyleSheet("x.css"); }},
      {"MobileOptions", [&] { c->SetMobileOptions(TIWMobileOptions{}); }},
      {"MobileOptions", [&] { c->MobileOptions().SetViewportTag("width=device-width"); }},
      {"ProxyPortRedirection", [&] { c->SetProxyPortRedirection(TIWProxyPortRedirection{}); }},
      {"ProxyPortRedirection", [&] { c->ProxyPortRedirection().SetActive(true); }},
      {"ProxyPortRedirection", [&] { c->ProxyPortRedirection().SetHttpPort(8080); }},
      {"ProxyPortRedirection", [&] { c->ProxyPortRedirection().SetHttpsPort(8443); }},
      {"UseAjaxNotify", [&] { c->SetUseAjaxNotify(false); }},
      {"RestartExpiredSession", [&] { c->SetRestartExpiredSession(true); }},
      {"URLBase", [&] { c->SetURLBase("app"); }},
      {"AllowMultipleSessionsPerUser", [&] { c->SetAllowMultipleSessionsPerUser(true); }},
      {"DocType", [&] { c->SetDocType("<!DOCTYPE html>"); }},
      {"CacheDir", [&] { c->SetCacheDir("elsewhere"); }},
  };
  for (const auto& [name, action] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(errorOf(action), locked(name));
  }
  // Nothing changed.
  EXPECT_EQ(c->AppName(), "MyIWApp");
  EXPECT_EQ(c->Compression().Level(), 1);
  EXPECT_TRUE(c->Compression().Enabled());
  EXPECT_FALSE(c->ProxyPortRedirection().Active());
  EXPECT_EQ(c->URLBase(), "");
  EXPECT_EQ(c->CacheDir(), exePaths().tempDir + c->ProcessID() + "/");
}

TEST_F(ServerControllerTest, LeavesOtherSettingsWritableAfterStartUp) {
  const auto c = build();
  EXPECT_EQ(errorOf([&] {
              c->SetSessionTimeout(30);
              c->SetPort(8080);
              c->SSLOptions().SetPort(8443);
              c->SecurityOptions().SetCheckSameUA(true);
              c->SetDescription("d");
            }),
            "");
  EXPECT_EQ(c->SessionTimeout(), 30);
  EXPECT_EQ(c->Port(), 8080);
}

TEST_F(ServerControllerTest, ChecksTheLockGloballyThroughTheLiveController) {
  EXPECT_EQ(errorOf([] { TIWServerControllerBase::CheckLockGlobal("Handlers.Add"); }), "");
  const auto c = build();
  EXPECT_EQ(errorOf([] { TIWServerControllerBase::CheckLockGlobal("Handlers.Add"); }),
            locked("Handlers.Add"));
}

// --- Option groups -------------------------------------------------------------------

TEST(CompressionOptionsTest, KeepsItsSwitchesConsistent) {
  TIWCompressionOptions o;
  o.SetAllowGZip(false);
  EXPECT_TRUE(o.Enabled());
  o.SetAllowDeflate(false);
  EXPECT_FALSE(o.Enabled());
  o.SetEnabled(true);
  EXPECT_TRUE(o.AllowGZip());
  EXPECT_TRUE(o.AllowDeflate());
  o.SetAllowDeflate(false);
  o.SetEnabled(false);
  o.SetEnabled(true);
  EXPECT_TRUE(o.AllowGZip());
  EXPECT_FALSE(o.AllowDeflate());
}

TEST(CompressionOptionsTest, AssignCopiesEveryField) {
  TIWCompressionOptions a;
  a.SetLevel(6);
  a.SetMinSize(10);
  a.SetAllowGZip(false);
  a.SetPreCompress(false);
  TIWCompressionOptions b;
  b.Assign(a);
  EXPECT_EQ(b.Level(), 6);
  EXPECT_EQ(b.MinSize(), 10);
  EXPECT_FALSE(b.AllowGZip());
  EXPECT_TRUE(b.AllowDeflate());
  EXPECT_FALSE(b.PreCompress());
  TIWCompressionOptions copy(a);  // a free-standing copy
  EXPECT_EQ(copy.Level(), 6);
  EXPECT_EQ(copy.Controller(), nullptr);
}

TEST(CookieOptionsTest, DropsCharactersNotAllowedInCookieNames) {
  TIWSessionCookieOptions o;
  const NormaliseCase cases[] = {{"_x", "_x"},         {"a b", "ab"},    {"a;b=c,d", "abcd"},
                                 {"Caf\xC3\xA9", "Caf"}, {"\"q\"", "q"}, {"v1.2-x~", "v1.2-x~"},
                                 {"(){}[]<>@/?:\\", ""}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.input);
    o.SetCookieNameSuffix(k.input);
    EXPECT_EQ(o.CookieNameSuffix(), k.want);
  }
}

TEST(CookieOptionsTest, AFreeStandingGroupMayTurnCookiesOff) {
  TIWSessionCookieOptions o;
  o.SetUseCookies(false);
  EXPECT_FALSE(o.UseCookies());
}

TEST_F(ServerControllerTest, AssigningAGroupToTheControllerKeepsItsChecks) {
  TIWSessionCookieOptions noCookies;
  noCookies.SetUseCookies(false);
  const auto c = build();
  EXPECT_EQ(errorOf([&] { c->SetCookieOptions(noCookies); }),
            "In order to disable cookies you must set "
            "ServerController.AllowMultipleSessionsPerUser to TRUE.");
  EXPECT_TRUE(c->CookieOptions().UseCookies());
  EXPECT_EQ(c->CookieOptions().Controller(), c.get());

  TIWSSLOptions ssl;
  ssl.SetPort(8443);
  ssl.SetSSLVersion(SSLVersion::SSLv3);
  c->SetSSLOptions(ssl);
  EXPECT_EQ(c->SSLOptions().Port(), 8443);
  EXPECT_EQ(c->SSLOptions().SSLVersion(), SSLVersion::SSLv3);
  EXPECT_EQ(c->SSLOptions().Controller(), c.get());
}

// --- RedirectPortString --------------------------------------------------------------

struct RedirectCase {
  const char* name;
  bool proxyActive;
  int proxyHttp, proxyHttps, port, sslPort;
  bool https;
  const char* want;
};

TEST_F(ServerControllerTest, RedirectPortStringNamesOnlyNonStandardPorts) {
  const RedirectCase cases[] = {
      {"http 8001", false, 80, 443, 8001, 0, false, ":8001"},
      {"http 80", false, 80, 443, 80, 0, false, ""},
      {"http 0", false, 80, 443, 0, 0, false, ""},
      {"http 443 is not special", false, 80, 443, 443, 0, false, ":443"},
      {"https 8443", false, 80, 443, 8001, 8443, true, ":8443"},
      {"https 443", false, 80, 443, 8001, 443, true, ""},
      {"https none", false, 80, 443, 8001, 0, true, ""},
      {"https 80 is not special", false, 80, 443, 8001, 80, true, ":80"},
      {"proxy http", true, 8080, 443, 8001, 8443, false, ":8080"},
      {"proxy http 80", true, 80, 443, 8001, 8443, false, ""},
      {"proxy https", true, 80, 9443, 8001, 8443, true, ":9443"},
      {"proxy https 443", true, 80, 443, 8001, 8443, true, ""},
      {"proxy port 0", true, 0, 0, 8001, 8443, false, ""},
  };
  std::vector<std::string> got;
  ProbeController::storedSettings = [&](ProbeController& c) {
    for (const RedirectCase& k : cases) {
      c.ProxyPortRedirection().SetActive(k.proxyActive);
      c.ProxyPortRedirection().SetHttpPort(k.proxyHttp);
      c.ProxyPortRedirection().SetHttpsPort(k.proxyHttps);
      c.SetPort(k.port);
      c.SSLOptions().SetPort(k.sslPort);
      got.push_back(c.RedirectPortString(k.https));
    }
  };
  const auto c = build();
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    SCOPED_TRACE(cases[n].name);
    EXPECT_EQ(got[n], cases[n].want);
  }
}

// --- ProcessID and StartUID ----------------------------------------------------------

TEST(StartStampTest, FormatsKnownTimes) {
  struct Case {
    std::int64_t ms;
    const char* processID;
    const char* startUID;
  };
  const Case cases[] = {
      {0, "0000000000", "DF3E62700"},                          // 1899-12-30 00:00:00
      {172800500, "00002uvppw", "DF3E8CA00"},                  // 1900-01-01 00:00:00.500
      {3913228800000, "01dxpne2o0", "EDD254900"},              // 2024-01-01 00:00:00
      {4006075060123, "01f4d5nnh7", "EE2AE01B4"},              // 2026-12-10 14:37:40.123
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.ms);
    EXPECT_EQ(detail::processIDFromMilliseconds(k.ms), k.processID);
    EXPECT_EQ(detail::startUIDFromMilliseconds(k.ms), k.startUID);
  }
}

std::int64_t localMsNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  ::localtime_r(&t, &tm);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  return ms + tm.tm_gmtoff * 1000 + 25569LL * 86400000;
}

TEST_F(ServerControllerTest, StampsTheStartInItsFormats) {
  const std::int64_t before = localMsNow();
  const auto c = build();
  const std::int64_t after = localMsNow();

  ASSERT_TRUE(std::regex_match(c->ProcessID(), std::regex("[0-9a-z]{10,}"))) << c->ProcessID();
  const std::int64_t processMs = std::stoll(c->ProcessID(), nullptr, 36);
  EXPECT_GE(processMs, before);
  EXPECT_LE(processMs, after + 1000);  // a clash with an existing folder moves it on

  ASSERT_TRUE(std::regex_match(c->StartUID(), std::regex("[0-9A-F]+"))) << c->StartUID();
  const std::int64_t startSeconds = std::stoll(c->StartUID(), nullptr, 16);
  // Whole seconds since 0001-01-01 (day 1), the same instant as StartDateTime.
  EXPECT_EQ(startSeconds, std::llround((c->StartDateTime() + 693594) * 86400));

  const double startMs = c->StartDateTime() * 86400000.0;
  EXPECT_EQ(std::fmod(std::round(startMs), 1000.0), 0.0);  // milliseconds cut to 0
  EXPECT_GE(std::llround(startMs), before - 1000);
  EXPECT_LE(std::llround(startMs), after);
}

// --- Cache directory -----------------------------------------------------------------

TEST_F(ServerControllerTest, SendsRequestTemporaryFilesToTheCacheDirWhileItLives) {
  {
    const auto c = build();
    EXPECT_EQ(packetTempDir(), c->CacheDir());
  }
  EXPECT_EQ(packetTempDir(), exePaths().tempDir);
}

TEST_F(ServerControllerTest, TwoControllersInARowUseTwoCacheDirectoriesAndRemoveTheirOwn) {
  auto first = build();
  const std::string firstDir = first->CacheDir();
  ASSERT_TRUE(fs::is_directory(firstDir));
  test::writeFile(firstDir + "page.tmp", "cached");
  fs::create_directory(firstDir + "user");
  test::writeFile(firstDir + "user/x.tmp", "cached");
  first.reset();
  EXPECT_FALSE(fs::exists(firstDir));

  auto second = build();
  const std::string secondDir = second->CacheDir();
  EXPECT_NE(secondDir, firstDir);
  EXPECT_TRUE(fs::is_directory(secondDir));
  EXPECT_EQ(secondDir, exePaths().tempDir + second->ProcessID() + "/");
  second.reset();
  EXPECT_FALSE(fs::exists(secondDir));
}

TEST_F(ServerControllerTest, ResolvesTheCacheDirSetting) {
  test::TempDir root;
  std::vector<std::pair<std::string, std::string>> got;  // value, ProcessID
  ProbeController::storedSettings = [&](ProbeController& c) {
    const std::string pid = c.ProcessID();
    c.SetCacheDir("  " + root.path() + "a  ");
    got.emplace_back(c.CacheDir(), root.path() + "a/" + pid + "/");
    c.SetCacheDir(root.path() + "b/" + pid + "/");
    got.emplace_back(c.CacheDir(), root.path() + "b/" + pid + "/");
    c.SetCacheDir(root.path() + "c/" + pid);
    got.emplace_back(c.CacheDir(), root.path() + "c/" + pid + "/");
    c.SetCacheDir("orv-rel-test/sub");
    got.emplace_back(c.CacheDir(), exePaths().tempDir + "orv-rel-test/sub/" + pid + "/");
    c.SetCacheDir("");
    got.emplace_back(c.CacheDir(), exePaths().tempDir + pid + "/");
    c.SetCacheDir(root.path() + "final");
  };
  const auto c = build();
  for (const auto& [value, want] : got) EXPECT_EQ(value, want);
  EXPECT_EQ(c->CacheDir(), root.path() + "final/" + c->ProcessID() + "/");
  EXPECT_TRUE(fs::is_directory(c->CacheDir()));
  // The folders made for the earlier values did not stay behind.
  EXPECT_FALSE(fs::exists(root.path() + "a/" + c->ProcessID()));
  EXPECT_FALSE(fs::exists(root.path() + "b/" + c->ProcessID()));
  EXPECT_FALSE(fs::exists(exePaths().tempDir + "orv-rel-test/sub/" + c->ProcessID()));
  EXPECT_FALSE(fs::exists(exePaths().tempDir + c->ProcessID()));
  std::error_code ec;
  fs::remove_all(exePaths().tempDir + "orv-rel-test", ec);
}

TEST_F(ServerControllerTest, ACacheDirThatCannotBeMadeStopsConstruction) {
  test::TempDir root;
  test::writeFile(root.path() + "file", "not a folder");
  std::string wanted;
  ProbeController::storedSettings = [&](ProbeController& c) {
    wanted = root.path() + "file/" + c.ProcessID() + "/";
    c.OnConfig = [&](TIWServerControllerBase& cc) { cc.SetCacheDir(root.path() + "file"); };
  };
  const std::string error = errorOf([] { build(); });
  EXPECT_EQ(error, "Unable to create cache directory \"" + wanted + "\".");
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(ServerControllerTest, CreatesTheCacheDirAgainWhenItVanishedBeforeTheEnd) {
  test::TempDir root;
  std::string dir;
  ProbeController::storedSettings = [&](ProbeController& c) {
    c.SetCacheDir(root.path() + "x");
    dir = c.CacheDir();
    c.OnConfig = [&](TIWServerControllerBase&) { fs::remove_all(root.path() + "x"); };
  };
  const auto c = build();
  EXPECT_TRUE(fs::is_directory(dir));
}

TEST_F(ServerControllerTest, FailsWhenTheCacheDirVanishedAndCannotBeMadeAgain) {
  test::TempDir root;
  std::string dir;
  ProbeController::storedSettings = [&](ProbeController& c) {
    c.SetCacheDir(root.path() + "x");
    dir = c.CacheDir();
    c.OnConfig = [&](TIWServerControllerBase&) {
      fs::remove_all(root.path() + "x");
      test::writeFile(root.path() + "x", "blocks the folder");
    };
  };
  const std::string error = errorOf([] { build(); });
  EXPECT_EQ(error, "Unable to create cache directory \"" + dir + "\".");
}

TEST_F(ServerControllerTest, LogsTheCreationOfTheCacheDirWhenAsked) {
  const std::string logFile = appDir_.path() + exePaths().appName + ".log";
  {
    const auto quiet = build();
  }
  EXPECT_FALSE(fs::exists(logFile));

  ProbeController::storedSettings = [](ProbeController& c) { c.SetLog(LogMode::loFile); };
  const auto c = build();
  const auto lines = test::readLines(logFile);
  ASSERT_EQ(lines.size(), 1u);
  const std::string want = "Cache directory created \"" + c->CacheDir() + "\"";
  EXPECT_TRUE(lines[0].ends_with(" " + want)) << lines[0];
}

TEST_F(ServerControllerTest, DeletesItsApplicationCacheFiles) {
  test::TempDir other;
  const std::string outside = other.path() + "app.tmp";
  test::writeFile(outside, "x");
  auto c = build();
  c->AddCacheFile(outside);
  c->AddCacheFile(other.path() + "never-existed.tmp");
  EXPECT_EQ(c->CacheFiles().size(), 2u);
  c.reset();
  EXPECT_FALSE(fs::exists(outside));
}

TEST_F(ServerControllerTest, ClearCacheFilesKeepsNamesItCouldNotDelete) {
  test::TempDir other;
  fs::create_directory(other.path() + "busy");
  test::writeFile(other.path() + "busy/inside", "x");  // a non-empty folder is not deleted
  test::writeFile(other.path() + "a.tmp", "x");
  const auto c = build();
  c->AddCacheFile(other.path() + "a.tmp");
  c->AddCacheFile(other.path() + "busy");
  EXPECT_EQ(c->ClearCacheFiles(), 1u);
  EXPECT_EQ(c->CacheFiles(), std::vector<std::string>{other.path() + "busy"});
}

// --- Cache files of the session ------------------------------------------------------

TEST_F(ServerControllerTest, NewCacheFileBelongsToTheThreadsSession) {
  const auto c = build();
  EXPECT_EQ(errorOf([&] { c->NewCacheFile("text/plain"); }), "Session is not started.");

  TIWSessions registry;
  test::CreatingRequest creating;
  auto session = test::newSession(registry, creating);
  {
    CurrentSessionScope bind(session.get());
    const std::string href = c->NewCacheFile("text/plain");
    ASSERT_TRUE(href.starts_with("/$/temp/")) << href;
    EXPECT_TRUE(fs::is_regular_file(c->CacheDir() + href.substr(8) + ".tmp")) << href;
    EXPECT_NE(c->NewCacheFile("text/plain"), href);
  }
  session->Unlock();
  registry.FreeAll();
  session.reset();
}

// --- Events --------------------------------------------------------------------------

TEST_F(ServerControllerTest, SkipsEventsWithoutHandlers) {
  const auto c = build();
  std::string id = "keep";
  bool handled = false;
  bool valid = true;
  std::string value;
  std::string parameter = "p";
  BackButtonResyncInfo info;
  // No handler is set: each dispatcher returns without touching its arguments. The
  // session and form objects are never touched, so none is needed.
  auto& session = *reinterpret_cast<TIWApplication*>(&id);
  c->DoConfig();
  c->DoNewSession(session);
  c->DoGetSessionID(session, id);
  c->DoException(nullptr, std::runtime_error("x"), handled);
  c->DoUserTag("tag", value);
  c->DoParseParameter(parameter, valid, 0);
  c->DoBackButton(info);
  EXPECT_EQ(id, "keep");
  EXPECT_FALSE(handled);
  EXPECT_TRUE(valid);
  EXPECT_EQ(value, "");
  EXPECT_FALSE(info.resync);
}

TEST_F(ServerControllerTest, CallsAssignedHandlersThroughTheirDispatchers) {
  const auto c = build();
  std::vector<std::string> calls;
  c->OnGetSessionID = [&](TIWApplication&, std::string& id) { id = "chosen"; };
  c->OnException = [&](TIWApplication* s, const std::exception& e, bool& handled) {
    calls.push_back(std::string("exception ") + e.what() + (s == nullptr ? " outside" : ""));
    handled = true;
  };
  c->OnUserTag = [&](const std::string& tag, std::string& value) { value = "<" + tag + ">"; };
  c->OnParseParameter = [&](std::string& p, bool& valid, int position) {
    p += std::to_string(position);
    valid = false;
  };
  std::string id;
  auto& session = *reinterpret_cast<TIWApplication*>(&id);
  c->DoGetSessionID(session, id);
  bool handled = false;
  c->DoException(nullptr, std::runtime_error("boom"), handled);
  std::string value;
  c->DoUserTag("t", value);
  std::string parameter = "p";
  bool valid = true;
  c->DoParseParameter(parameter, valid, 3);
  EXPECT_EQ(id, "chosen");
  EXPECT_TRUE(handled);
  EXPECT_EQ(calls, std::vector<std::string>{"exception boom outside"});
  EXPECT_EQ(value, "<t>");
  EXPECT_EQ(parameter, "p3");
  EXPECT_FALSE(valid);
}

}  // namespace
}  // namespace orv
