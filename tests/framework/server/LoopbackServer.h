#pragma once
// The real server on loopback for the dispatch tests: a controller built the way
// start-up builds it (AppName "ORVWS_8001", any free port on 127.0.0.1, the
// application path in a temporary folder with its "wwwroot/"), the framework's
// HttpExecute installed as the transport's hook, the listeners of TSaServerIn, and a
// small test page as the main page class. The session registry's clock runs ahead by
// an offset the tests move instead of sleeping.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TSaServerIn.h"
#include "tests/framework/server/HttpTestClient.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv::test {

// A page that records what happens to it. Its event runs the test's hook (guarded:
// tests set it while no request runs, request threads call it).
class TestPage : public TIWAppForm, public SessionForm {
 public:
  using Hook = std::function<void(TIWApplication&, const std::vector<std::string>&)>;

  TestPage();
  const char* ClassName() const override { return "TTestPage"; }

  void ExecuteForm(TIWApplication& session, const std::vector<std::string>& params) override;
  void GenerateForm(TIWApplication& session, THttpReply& reply) override;
  void AddToInitProc(const std::string& code) override { initProc_ += code; }

  static void SetHook(Hook hook);
  static std::atomic<int> created;
  static std::atomic<int> destroyed;
  static std::atomic<int> executions;

 private:
  std::string initProc_;
};

// A gate a request can wait at: the test opens it when it has done what it needs to do
// while the request runs.
class Gate {
 public:
  // Called by the request: marks it arrived and waits until the gate opens.
  void arriveAndWait();
  // Called by the test: waits until a request has arrived.
  void waitForArrival();
  void open();

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool arrived_ = false;
  bool open_ = false;
};

class LoopbackServerTest : public ::testing::Test {
 protected:
  // Settings the test wants on top of the defaults (run as build-time settings).
  virtual void configure(TIWServerControllerBase& /*controller*/) {}

  void SetUp() override;
  void TearDown() override;

  // Moves the registry's clock forward.
  void advanceMinutes(double minutes);
  // Runs one pass of the controller's purge thread and waits for it.
  void purge();

  int port() const { return port_; }
  TestBrowser browser() const { return TestBrowser(port_); }
  std::string contentDir() const { return dir_.path() + "wwwroot/"; }
  std::string templateDir() const { return dir_.path() + "Templates/"; }
  std::size_t sessionCount() const;

  TempDir dir_;
  std::unique_ptr<TIWServerControllerBase> controller_;
  std::unique_ptr<TSaServerIn> server_;
  int port_ = 0;
  std::atomic<double> offsetDays_{0};
};

}  // namespace orv::test
