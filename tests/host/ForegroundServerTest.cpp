// The foreground server ("-SERVE"): start-up through TIWStart opens the listeners,
// requests reach the framework through the installed hook, SIGTERM or SIGINT stop it
// (every session freed, page destroy handlers run), and a server that cannot start
// ends with an "Error: " line and exit status 1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/IWInit.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TIWSessions.h"
#include "host/ForegroundServer.h"
#include "host/TIWStart.h"
#include "platform/ExePaths.h"
#include "tests/framework/server/HttpTestClient.h"
#include "tests/framework/server/ServerTestSupport.h"
#include "transport/HttpHook.h"
#include "transport/THttpReply.h"

namespace orv {
namespace {

// A page that renders a fixed document and counts its destruction.
class CountingPage : public TIWAppForm, public SessionForm {
 public:
  explicit CountingPage(std::atomic<int>& destroyed) {
    OnDestroy = [&destroyed](TIWAppForm&) { ++destroyed; };
  }
  void ExecuteForm(TIWApplication&, const std::vector<std::string>&) override {}
  void GenerateForm(TIWApplication&, THttpReply& reply) override {
    reply.SendRenderStream("<html><body>served</body></html>");
  }
  void AddToInitProc(const std::string&) override {}
};

// A port that was free a moment ago on 127.0.0.1.
int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

// Waits until the server answers "/$/ping" (or the process it runs in gives up).
bool waitForPong(int port, std::future<int>& running) {
  for (;;) {
    if (running.wait_for(std::chrono::seconds(0)) == std::future_status::ready) return false;
    try {
      test::HttpRequestSpec spec;
      spec.target = "/$/ping";
      if (test::httpRequest(port, spec).body == "Pong") return true;
    } catch (const std::exception&) {
      // Not listening yet.
    }
    std::this_thread::yield();
  }
}

class ForegroundServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(dir_.path());
    port_ = freePort();
    test::ProbeController::storedSettings = [this](test::ProbeController& c) {
      c.SetAppName("ORVWS_8001");
      c.SetBoundIP("127.0.0.1");
      c.SetPort(port_);
    };
    TIWServerControllerBase::SetServerControllerClass<test::ProbeController>();
    InitializeFramework();
    SetMainFormClass(
        [this](TIWApplication&) { return std::make_unique<CountingPage>(destroyed_); });
  }
  void TearDown() override {
    FinalizeFramework();
    setHttpHook({});
    SetMainFormClass({});
    TIWServerControllerBase::SetServerControllerClass(nullptr);
    test::ProbeController::storedSettings = nullptr;
  }

  test::TempDir dir_;
  int port_ = 0;
  std::atomic<int> destroyed_{0};
};

TEST_F(ForegroundServerTest, SwitchIsServeWithDashOrSlashInAnyCase) {
  for (const char* p : {"-SERVE", "/serve", "-Serve"}) EXPECT_TRUE(HasServeSwitch({p})) << p;
  for (const char* p : {"SERVE", "-SERVER", "--serve", "-GUI", ""}) EXPECT_FALSE(HasServeSwitch({p})) << p;
}

TEST_F(ForegroundServerTest, ServesUntilSigtermThenFreesEverySession) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    std::future<int> running =
        std::async(std::launch::async, [] { return TIWStart(false, {"-SERVE"}).Run(); });
    ASSERT_TRUE(waitForPong(port_, running));
    test::TestBrowser visitor(port_);
    const test::HttpReply page = visitor.startSession();
    EXPECT_EQ(page.code, 200);
    EXPECT_EQ(page.body, "<html><body>served</body></html>");
    EXPECT_EQ(TIWSessions::Instance().GetCount(), 1u);
    const std::string cacheDir = IWServerController()->CacheDir();
    ::kill(::getpid(), signal);
    EXPECT_EQ(running.get(), 0);
    EXPECT_EQ(TIWSessions::Instance().GetCount(), 0u);
    EXPECT_EQ(destroyed_.exchange(0), 1);
    FinalizeFramework();  // what the program's entry does next
    EXPECT_FALSE(std::filesystem::exists(cacheDir));
    const std::string log = dir_.path() + exePaths().appName + ".log";
    EXPECT_FALSE(std::filesystem::exists(log) &&
                 test::readFile(log).find("Error: ") != std::string::npos);
  }
}

TEST_F(ForegroundServerTest, PortInUseEndsWithAnErrorLineAndStatusOne) {
  const int blocker = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<std::uint16_t>(port_));
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(blocker, 1), 0);
  EXPECT_EQ(TIWStart(false, {"-SERVE"}).Run(), 1);
  ::close(blocker);
  const std::vector<std::string> lines = test::readLines(dir_.path() + exePaths().appName + ".log");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(" Error: "), std::string::npos);
}

TEST_F(ForegroundServerTest, OtherStartsKeepExitStatusZero) {
  TIWServerControllerBase::SetServerControllerClass(nullptr);
  EXPECT_EQ(TIWStart(false, {}).Run(), 0);      // no controller class: logged, status 0
  EXPECT_EQ(TIWStart(false, {"-SERVE"}).Run(), 1);  // the same failure in "-SERVE" mode
}

}  // namespace
}  // namespace orv
