#include "tests/framework/server/LoopbackServer.h"

#include <filesystem>

#include "framework/server/IWInit.h"
#include "framework/server/ServerSideInit.h"
#include "framework/server/TIWServer.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TSessionTimeoutThread.h"
#include "platform/ExePaths.h"
#include "transport/HttpDate.h"
#include "transport/HttpHook.h"
#include "transport/THttpReply.h"

namespace orv::test {
namespace {

std::mutex gHookMutex;  // guards gHook
TestPage::Hook gHook;

}  // namespace

std::atomic<int> TestPage::created{0};
std::atomic<int> TestPage::destroyed{0};
std::atomic<int> TestPage::executions{0};

TestPage::TestPage() {
  setName("TestPage");
  setTitle("Test page");
  OnCreate = [](TIWAppForm&) { ++created; };
  OnDestroy = [](TIWAppForm&) { ++destroyed; };
}

void TestPage::SetHook(Hook hook) {
  std::lock_guard hold(gHookMutex);
  gHook = std::move(hook);
}

void TestPage::ExecuteForm(TIWApplication& session, const std::vector<std::string>& params) {
  ++executions;
  Hook hook;
  {
    std::lock_guard hold(gHookMutex);
    hook = gHook;
  }
  if (hook) hook(session, params);
}

void TestPage::GenerateForm(TIWApplication& session, THttpReply& reply) {
  reply.mContentType = "text/html; charset=UTF-8";
  reply.SendRenderStream("<!DOCTYPE HTML><html><body>TestPage track=" +
                         std::to_string(session.TrackID()) + " init=" + initProc_ +
                         "</body></html>");
  initProc_.clear();
}

void Gate::arriveAndWait() {
  std::unique_lock hold(mutex_);
  arrived_ = true;
  cv_.notify_all();
  cv_.wait(hold, [&] { return open_; });
}

void Gate::waitForArrival() {
  std::unique_lock hold(mutex_);
  cv_.wait(hold, [&] { return arrived_; });
}

void Gate::open() {
  std::lock_guard hold(mutex_);
  open_ = true;
  cv_.notify_all();
}

class LoopbackController : public TIWServerControllerBase {
 public:
  explicit LoopbackController(ConstructionKey key) : TIWServerControllerBase(key) {}
  static inline std::function<void(TIWServerControllerBase&)> settings;

 protected:
  void ApplyStoredSettings() override {
    SetAppName("ORVWS_8001");
    SetDescription("ORV Web Server Application  for port 8001");
    SetPort(0);
    SetBoundIP("127.0.0.1");
    SetSessionTimeout(10);
    if (settings) settings(*this);
  }
};

void LoopbackServerTest::SetUp() {
  setAppPathForTesting(dir_.path());
  std::filesystem::create_directories(contentDir());
  TestPage::created = 0;
  TestPage::destroyed = 0;
  TestPage::executions = 0;
  TestPage::SetHook({});
  LoopbackController::settings = [this](TIWServerControllerBase& c) { configure(c); };
  controller_ = TIWServerControllerBase::New<LoopbackController>();
  LoopbackController::settings = nullptr;
  InitServerSide(*controller_);
  SetMainFormClass([](TIWApplication&) { return std::make_unique<TestPage>(); });
  TIWSessions::Instance().SetClock([this] { return nowLocalDateTime() + offsetDays_.load(); });
  setHttpHook(&HttpExecute);
  server_ = std::make_unique<TSaServerIn>();
  server_->Start();
  port_ = server_->Port();
}

void LoopbackServerTest::TearDown() {
  if (server_) server_->Stop();
  server_.reset();
  setHttpHook({});
  TestPage::SetHook({});
  controller_.reset();  // frees every session, stops the purge thread, removes the cache
  TIWSessions::Instance().SetClock({});
  SetMainFormClass({});
}

void LoopbackServerTest::advanceMinutes(double minutes) {
  offsetDays_.store(offsetDays_.load() + minutes / 1440.0);
}

void LoopbackServerTest::purge() { controller_->SessionTimeoutThread().RunPassNow(); }

std::size_t LoopbackServerTest::sessionCount() const { return TIWSessions::Instance().GetCount(); }

}  // namespace orv::test
