// One session's own operations: URLs, page execution and the track ID, error display,
// termination and redirection, downloads, and cache files of sessions and pages.
#include <filesystem>

#include <gtest/gtest.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWServerControllerBase.h"
#include "tests/framework/server/SessionTestSupport.h"
#include "transport/TReadCacheFileStream.h"

namespace orv::test {
namespace {

class RecordingPage : public TIWAppForm, public SessionForm {
 public:
  explicit RecordingPage(std::string name) { setName(std::move(name)); }
  void ExecuteForm(TIWApplication&, const std::vector<std::string>& params) override {
    received = params;
    if (fail) throw std::runtime_error(fail);
    if (onExecute) onExecute();
  }
  void GenerateForm(TIWApplication& session, THttpReply& reply) override {
    reply.SendRenderStream("page " + Name() + " track " + std::to_string(session.TrackID()));
  }
  void AddToInitProc(const std::string& code) override { initProc += code; }

  std::vector<std::string> received;
  const char* fail = nullptr;
  std::function<void()> onExecute;
  std::string initProc;
};

class TIWApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(dir.path());
    ProbeController::storedSettings = [this](ProbeController& c) {
      c.SetAppName("ORVWS_8001");
      if (configure) configure(c);
    };
  }
  void start() {
    controller = TIWServerControllerBase::New<ProbeController>();
    registry.SetClock(clock.function());
    session = newSession(registry, creating);
    bind = std::make_unique<CurrentSessionScope>(session.get());
  }
  void TearDown() override {
    bind.reset();
    if (session) session->Unlock();
    session.reset();
    registry.FreeAll();
    controller.reset();
    ProbeController::storedSettings = nullptr;
  }
  RecordingPage& addPage(const std::string& name) {
    auto page = std::make_unique<RecordingPage>(name);
    RecordingPage& p = *page;
    session->AddForm(std::move(page));
    return p;
  }

  TempDir dir;
  std::function<void(ProbeController&)> configure;
  std::unique_ptr<TIWServerControllerBase> controller;
  ManualClock clock;
  TIWSessions registry;
  CreatingRequest creating;
  std::shared_ptr<TIWApplication> session;
  std::unique_ptr<CurrentSessionScope> bind;
};

TEST_F(TIWApplicationTest, UrlsOfInternalAndExternalFiles) {
  start();
  const std::string uid = controller->StartUID();
  EXPECT_EQ(session->GetInternalFileURL("/js/IWBase.js"), "/$/js/IWBase__" + uid + ".js");
  EXPECT_EQ(session->GetInternalFileURL("js\\IWLib.js"), "/$/js/IWLib__" + uid + ".js");
  EXPECT_EQ(session->GetInternalFileURL("/gfx/Tp.gif"), "/$/gfx/Tp.gif");
  EXPECT_EQ(session->GetExternalFileURL("http://example.com/a.png"), "http://example.com/a.png");
  EXPECT_EQ(session->GetExternalFileURL("/img/a.png"), "/img/a.png");
  EXPECT_EQ(session->UserCacheDir(), controller->CacheDir() + "user/" + session->AppID() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(session->UserCacheDir()));
  EXPECT_EQ(session->UserCacheUrlBase(), "/$/ORVWS_8001/" + session->AppID() + "/");
}

TEST_F(TIWApplicationTest, UrlBaseOfTheControllerPrefixesEverything) {
  configure = [](ProbeController& c) { c.SetURLBase("app"); };
  start();
  EXPECT_EQ(session->AppUrlBase(), "/app/");
  EXPECT_EQ(session->InternalUrlBase(), "/app/$/");
  EXPECT_EQ(session->SessionUrlBase(), "/app/");
}

TEST_F(TIWApplicationTest, MultipleSessionsPerUserPutTheIdIntoTheUrls) {
  configure = [](ProbeController& c) { c.SetAllowMultipleSessionsPerUser(true); };
  start();
  EXPECT_EQ(session->SessionInternalUrlBase(), "/" + session->AppID() + "/$/");
  EXPECT_EQ(session->SessionUrlBase(), "/" + session->AppID() + "/");
}

TEST_F(TIWApplicationTest, EachExecutionAdvancesTheTrackId) {
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  EXPECT_TRUE(session->ExecuteActiveForm({"EDIT1=5"}));
  EXPECT_EQ(session->TrackID(), 2u);
  EXPECT_EQ(page.received, std::vector<std::string>{"EDIT1=5"});
  EXPECT_EQ(session->FormAction(), "/$/");
  THttpReply reply;
  session->ProcessForm(reply, {"IW_FormName=mainpage", "EDIT1=6"});
  EXPECT_EQ(page.received, (std::vector<std::string>{"IW_FormName=mainpage", "EDIT1=6"}));
  EXPECT_EQ(session->TrackID(), 3u);
  ASSERT_TRUE(reply.mContentStream);
  EXPECT_EQ(reply.mContentStream->readAll(), "page MainPage track 3");
}

TEST_F(TIWApplicationTest, ValuesOfAStalePageAreDiscarded) {
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  session->ExecuteActiveForm({"IW_FormName=OtherPage", "EDIT1=5"});
  EXPECT_TRUE(page.received.empty());
}

TEST_F(TIWApplicationTest, NoActivePageLeftEndsTheSession) {
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  page.onExecute = [&] { session->RemoveForm(page); };
  session->ExecuteActiveForm({});
  EXPECT_TRUE(session->Terminated());
}

TEST_F(TIWApplicationTest, ReleasedPagesAreFreedAfterTheEvent) {
  start();
  RecordingPage& first = addPage("First");
  RecordingPage& second = addPage("Second");
  int destroyed = 0;
  first.OnDestroy = [&](TIWAppForm&) { ++destroyed; };
  session->SetActiveForm(first);
  first.onExecute = [&] {
    session->SetActiveForm(second);
    session->ReleaseForm(first);
    session->ReleaseForm(first);
    EXPECT_EQ(destroyed, 0);
  };
  session->ExecuteActiveForm({});
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(session->GetFormCount(), 1u);
  EXPECT_EQ(session->GetActiveForm(), &second);
  EXPECT_EQ(session->FindFormByName("second"), &second);
  EXPECT_EQ(session->FindFormByName("first"), nullptr);
}

TEST_F(TIWApplicationTest, PageErrorsBecomeAnInPageMessage) {
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  page.fail = "Value \"x\" is not a number";
  EXPECT_FALSE(session->ExecuteActiveForm({}));
  EXPECT_EQ(page.initProc,
            "IWShowMessage(\"Value \\\"x\\\" is not a number\", \"\", \"\", \"OK\");");
  EXPECT_EQ(session->TrackID(), 2u);  // processing went on as after a success
}

TEST_F(TIWApplicationTest, WithoutAjaxNotifyTheMessageIsAnAlert) {
  configure = [](ProbeController& c) { c.SetUseAjaxNotify(false); };
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  page.fail = "</script>";
  session->ExecuteActiveForm({});
  EXPECT_EQ(page.initProc, "window.alert(\"\\x3C/script>\");");
}

TEST_F(TIWApplicationTest, ExecuteFormErrorHandlerMayTakeTheError) {
  start();
  RecordingPage& page = addPage("MainPage");
  session->SetActiveForm(page);
  page.fail = "handled elsewhere";
  std::string seen;
  session->OnExecuteFormError = [&](TIWApplication&, const std::exception& e, bool& handled) {
    seen = e.what();
    handled = true;
  };
  session->ExecuteActiveForm({});
  EXPECT_EQ(seen, "handled elsewhere");
  EXPECT_TRUE(page.initProc.empty());
}

TEST_F(TIWApplicationTest, TerminateWithAMessagePreparesTheReply) {
  start();
  session->Terminate(std::string());
  THttpReply reply;
  ASSERT_TRUE(session->SendRenderOverride(reply));
  EXPECT_EQ(reply.mContentStream->readAll(),
            "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head><body>This session has been "
            "terminated</body></html>");
  EXPECT_FALSE(session->SendRenderOverride(reply));
  EXPECT_TRUE(session->Terminated());
}

TEST_F(TIWApplicationTest, TerminateInACallbackSendsTheBrowserToAOneTimeFile) {
  start();
  session->SetIsCallBack(true);
  session->Terminate("Bye");
  const auto scripts = session->TakeCallBackScripts();
  ASSERT_EQ(scripts.size(), 1u);
  const auto a = scripts[0].find("\"/$/temp/");
  ASSERT_NE(a, std::string::npos);
  const std::string href = scripts[0].substr(a + 1, scripts[0].find('"', a + 1) - a - 1);
  TReadCacheFileStream file(controller->CacheDir() + href.substr(8) + ".tmp");
  EXPECT_EQ(file.readAll(),
            "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head><body>Bye</body></html>");
  EXPECT_EQ(file.cacheType(), TReadCacheFileStream::ctOneTime);
}

TEST_F(TIWApplicationTest, GoToUrlBecomesARedirectPage) {
  start();
  struct Case {
    const char* url;
    bool prepend;
    const char* target;
  };
  for (const Case& c : {Case{"other", true, "/other"}, Case{"pic.png", true, "/pic.png"},
                        Case{"http://example.com/", true, "http://example.com/"},
                        Case{"/$/x", true, "/$/x"}, Case{"plain", false, "plain"}}) {
    SCOPED_TRACE(c.url);
    session->GoToURL(c.url, true, c.prepend);
    EXPECT_TRUE(session->IsRedirect());
    THttpReply reply;
    ASSERT_TRUE(session->SendRenderOverride(reply));
    EXPECT_EQ(reply.mContentStream->readAll(), HtmlRedirect(c.target, true));
  }
}

TEST_F(TIWApplicationTest, RedirectPagesKeepTheUrlInsideTheScriptString) {
  EXPECT_EQ(HtmlRedirect("/$/", true),
            "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<script>window.location.replace(\"/$/\");"
            "</script>\r\n</head></html>");
  EXPECT_EQ(HtmlRedirect("/a", false),
            "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<script>window.location.href = \"/a\";"
            "</script>\r\n</head></html>");
  EXPECT_EQ(HtmlRedirect("x\");alert(1);//</script>", true),
            "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<script>window.location.replace("
            "\"x\\\");alert(1);//\\x3C/script>\");</script>\r\n</head></html>");
}

TEST_F(TIWApplicationTest, DownloadsCarryTheirDisposition) {
  start();
  const std::string file = dir.path() + "report.pdf";
  writeFile(file, "%PDF");
  THttpReply reply;
  session->Initialize(creating.request, reply);
  session->SendFile(file, true, "Résumé \"final\"\r\nX: y.pdf");
  EXPECT_TRUE(session->SkipGenerateForm());
  EXPECT_EQ(reply.mContentType, "application/pdf; charset=UTF-8");
  ASSERT_EQ(reply.mHeaders.size(), 1u);
  EXPECT_EQ(reply.mHeaders[0],
            "Content-Disposition:attachment; filename=\"Résumé finalX: y.pdf\"; "
            "filename*=UTF-8''R%C3%A9sum%C3%A9%20%22final%22%0D%0AX%3A%20y.pdf");
  EXPECT_EQ(reply.mFilePathname, file);
}

TEST_F(TIWApplicationTest, AndroidDownloadsArePlainAttachments) {
  creating.request.mUserAgent =
      "Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 (KHTML, like Gecko) "
      "Chrome/120.0.0.0 Mobile Safari/537.36";
  start();
  THttpReply reply;
  session->Initialize(creating.request, reply);
  session->SendStream("data", false, "report.pdf");
  EXPECT_EQ(reply.mContentType, "application/octet-stream; charset=UTF-8");
  EXPECT_EQ(reply.mHeaders[0], "Content-Disposition:attachment; filename=\"report.PDF\"");
}

TEST_F(TIWApplicationTest, PageCacheFilesGoWithTheirPage) {
  start();
  RecordingPage& page = addPage("MainPage");
  const std::string href = TIWAppCache::StreamToCacheFile(CacheOwner::Form(page), "GIF89a",
                                                          TCacheType::ctForm, "image/gif");
  const std::string file = controller->CacheDir() + href.substr(8) + ".tmp";
  EXPECT_TRUE(std::filesystem::exists(file));
  TReadCacheFileStream read(file);
  EXPECT_EQ(read.readAll(), "GIF89a");
  EXPECT_EQ(read.contentType(), "image/gif");
  EXPECT_EQ(read.href(), href);
  session->FreeForm(page);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(TIWApplicationTest, SessionCacheFilesAndTheUserFolderGoWithTheSession) {
  start();
  const std::string href = TIWAppCache::StreamToCacheFile(CacheOwner::Session(*session), "x",
                                                          TCacheType::ctSession, "text/plain");
  const std::string file = controller->CacheDir() + href.substr(8) + ".tmp";
  const std::string userDir = session->UserCacheDir();
  EXPECT_TRUE(std::filesystem::exists(file));
  bind.reset();
  session->Unlock();
  ASSERT_TRUE(registry.Terminate(session->AppID()));
  session.reset();
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(std::filesystem::exists(userDir));
}

TEST_F(TIWApplicationTest, CacheOperationsCheckTheirOwner) {
  start();
  EXPECT_EQ(errorOf([] { TIWAppCache::StreamToCacheFile({}, "x", TCacheType::ctApp, "t"); }),
            "Cache owner must be specified.");
  TIWAppForm stranger;
  EXPECT_EQ(errorOf([&] {
              TIWAppCache::StreamToCacheFile(CacheOwner::Form(stranger), "x", TCacheType::ctForm, "t");
            }),
            "Session object is not defined.");
  EXPECT_EQ(errorOf([&] {
              TIWAppCache::StreamToCacheFile(CacheOwner::Session(*session), "x", TCacheType::ctForm,
                                             "t");
            }),
            "IWForm object is not defined.");
  EXPECT_EQ(errorOf([&] {
              TIWAppCache::AddFileToCache(CacheOwner::Session(*session), dir.path() + "none.png",
                                          TCacheType::ctSession, "image/png");
            }),
            "Can't add file \"" + dir.path() + "none.png\" to cache. The file does not exist.");
}

TEST_F(TIWApplicationTest, AddedFilesAreCopiedOnceAndApplicationFilesListed) {
  start();
  writeFile(dir.path() + "plot.png", "PNG");
  const std::string a = TIWAppCache::AddFileToCache(CacheOwner::Session(*session),
                                                    dir.path() + "plot.png", TCacheType::ctApp,
                                                    "image/png");
  const std::string b = TIWAppCache::AddFileToCache(CacheOwner::Session(*session),
                                                    dir.path() + "plot.png", TCacheType::ctApp,
                                                    "image/png");
  EXPECT_EQ(a, "/$/temp/plot.png");
  EXPECT_EQ(b, a);
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "plot.png"));
  ASSERT_FALSE(controller->CacheFiles().empty());
  EXPECT_EQ(controller->CacheFiles().back(), controller->CacheDir() + "plot.png.tmp");
  std::vector<std::string> list{controller->CacheDir() + "plot.png.tmp", dir.path() + "gone.tmp"};
  EXPECT_EQ(TIWAppCache::ClearCache(list), 0u);
  EXPECT_FALSE(std::filesystem::exists(controller->CacheDir() + "plot.png.tmp"));
}

TEST_F(TIWApplicationTest, NamedCacheFilesStayInTheCacheDirectory) {
  start();
  const std::string href = TIWAppCache::StreamToCacheFile(
      CacheOwner::Session(*session), "x", TCacheType::ctSession, "text/plain", "../../evil.txt");
  EXPECT_EQ(href, "/$/temp/evil.txt");
  EXPECT_TRUE(std::filesystem::exists(controller->CacheDir() + "evil.txt.tmp"));
}

}  // namespace
}  // namespace orv::test
