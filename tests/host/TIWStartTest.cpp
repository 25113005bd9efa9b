#include "host/TIWStart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <stdexcept>

#include "framework/server/IWInit.h"
#include "host/CommandLine.h"
#include "platform/ExePaths.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

using test::ProbeController;

TEST(CommandLineTest, FindsTheGuiSwitchInAnyCaseWithEitherPrefix) {
  struct Case {
    std::vector<std::string> params;
    bool want;
  };
  const Case cases[] = {
      {{"-GUI"}, true},          {{"/GUI"}, true},          {{"-gui"}, true},
      {{"/gui"}, true},          {{"-Gui"}, true},          {{"/gUI"}, true},
      {{"x", "-GUI", "y"}, true}, {{}, false},              {{"GUI"}, false},
      {{"--GUI"}, false},        {{"-GUIX"}, false},        {{"-GU"}, false},
      {{"/ GUI"}, false},        {{"\\GUI"}, false},        {{"-"}, false},
      {{"-SERVE"}, false},       {{""}, false},             {{"-G\xC3\x9C" "I"}, false},
  };
  for (const Case& k : cases) {
    std::string name;
    for (const auto& p : k.params) name += "[" + p + "]";
    SCOPED_TRACE(name);
    EXPECT_EQ(findCmdLineSwitch(k.params, "GUI"), k.want);
    EXPECT_EQ(TIWStart(false, k.params).mShowUI, k.want);
    EXPECT_TRUE(TIWStart(true, k.params).mShowUI);
  }
}

TEST(CommandLineTest, ReadsTheProcessParameters) {
  // The test runner starts this program with its own options; none is the program name.
  const auto params = processParams();
  for (const auto& p : params) EXPECT_FALSE(p.ends_with("test_host")) << p;
}

// A window that records what start-up asks of it.
class RecordingWindow : public ServerWindow {
 public:
  RecordingWindow(std::vector<std::string>& events, std::string startError)
      : events_(events), startError_(std::move(startError)) {}
  void Start() override {
    events_.push_back("start");
    if (!startError_.empty()) throw std::runtime_error(startError_);
  }
  void Log(const std::string& text) override { events_.push_back("log " + text); }
  void RunMessageLoop() override { events_.push_back("loop"); }

 private:
  std::vector<std::string>& events_;
  std::string startError_;
};

class StartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(appDir_.path());
    resetSlots();
  }
  void TearDown() override {
    FinalizeFramework();
    resetSlots();
  }
  static void resetSlots() {
    SetAppInit(nullptr);
    TIWServerControllerBase::SetServerControllerClass(nullptr);
    TIWStart::SetServiceInit(nullptr);
    TIWStart::SetWindowFactory(nullptr);
    ProbeController::storedSettings = nullptr;
  }
  // The framework initialised and a controller class registered.
  static void initialize() {
    InitializeFramework();
    TIWServerControllerBase::SetServerControllerClass<ProbeController>();
  }
  std::string logFile() const { return appDir_.path() + exePaths().appName + ".log"; }
  std::vector<std::string> logLines() const { return test::readLines(logFile()); }
  void installWindow(std::string startError = {}) {
    TIWStart::SetWindowFactory([this, startError] {
      events_.push_back("create");
      return std::make_unique<RecordingWindow>(events_, startError);
    });
  }

  test::TempDir appDir_;
  std::vector<std::string> events_;
};

// One "date time Error: message" line, CR LF.
void expectOneErrorLine(const std::string& file, const std::string& message) {
  const std::string text = test::readFile(file);
  const std::regex line(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} Error: (.*)\r\n)");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, line)) << text;
  EXPECT_EQ(m[1].str(), message);
}

TEST_F(StartTest, LogsEachStartUpFailureAsOneErrorLine) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string want;
  };
  const Case cases[] = {
      {"framework not initialised", [] {}, "Application is not initialized."},
      {"no controller class", [] { InitializeFramework(); }, "No server controller is defined."},
      {"controller construction fails",
       [] {
         initialize();
         ProbeController::storedSettings = [](ProbeController& c) { c.SetSessionTimeout(70000); };
       },
       "Invalid session timeout value."},
      {"service mode fails",
       [] {
         initialize();
         TIWStart::SetServiceInit([](const std::string&, const std::string&, const std::string&)
                                      -> bool { throw std::runtime_error("service failed"); });
       },
       "service failed"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    resetSlots();
    std::filesystem::remove(logFile());
    k.arrange();
    TIWStart(false, {}).Run();  // never throws
    expectOneErrorLine(logFile(), k.want);
    FinalizeFramework();
  }
}

TEST_F(StartTest, ExecuteLogsTheSameWay) {
  TIWStart::Execute(false, {"-GUI"});
  expectOneErrorLine(logFile(), "Application is not initialized.");
}

TEST_F(StartTest, AFailingPortIniIsLogged) {
  initialize();
  test::writeFile(appDir_.path() + "port.ini", "[PORTS]\r\nPort=70000\r\n");
  TIWStart(false, {}).Run();
  expectOneErrorLine(logFile(), "Invalid port value: 70000");
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(StartTest, StartsQuietlyAndKeepsTheControllerUntilFinalization) {
  initialize();
  TIWStart(false, {}).Run();
  EXPECT_FALSE(std::filesystem::exists(logFile()));
  ASSERT_NE(IWServerController(), nullptr);
  const std::string cacheDir = IWServerController()->CacheDir();
  EXPECT_TRUE(std::filesystem::is_directory(cacheDir));
  FinalizeFramework();
  EXPECT_EQ(IWServerController(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(cacheDir));
}

TEST_F(StartTest, WithoutTheSwitchRunsServiceModeAndNeverTheWindow) {
  for (const bool serviceResult : {true, false}) {
    SCOPED_TRACE(serviceResult);
    resetSlots();
    initialize();
    ProbeController::storedSettings = [](ProbeController& c) {
      c.SetAppName("ORVWS_8001");
      c.SetDescription("The description");
    };
    std::vector<std::string> calls;
    TIWStart::SetServiceInit(
        [&](const std::string& app, const std::string& service, const std::string& description) {
          calls.push_back(app + "|" + service + "|" + description);
          return serviceResult;
        });
    installWindow();
    events_.clear();
    TIWStart start(false, {"-INSTALL"});
    start.Run();
    EXPECT_EQ(calls, std::vector<std::string>{"ORVWS_8001|ORVWS_8001|The description"});
    EXPECT_EQ(start.mShowUI, !serviceResult);
    EXPECT_TRUE(events_.empty());
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    FinalizeFramework();
  }
}

TEST_F(StartTest, WithTheSwitchRunsTheWindowWithoutServiceMode) {
  initialize();
  bool serviceCalled = false;
  TIWStart::SetServiceInit([&](const std::string&, const std::string&, const std::string&) {
    serviceCalled = true;
    return true;
  });
  installWindow();
  TIWStart(false, {"/gui"}).Run();
  EXPECT_FALSE(serviceCalled);
  EXPECT_EQ(events_, (std::vector<std::string>{"create", "start", "loop"}));
  EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(StartTest, AFailedWindowStartIsLoggedTwiceAndTheWindowStays) {
  initialize();
  installWindow("Could not bind socket. Address and port are already in use.");
  TIWStart(true, {}).Run();
  EXPECT_EQ(events_, (std::vector<std::string>{
                         "create", "start",
                         "log Error: Could not bind socket. Address and port are already in use.",
                         "loop"}));
  expectOneErrorLine(logFile(), "Could not bind socket. Address and port are already in use.");
}

TEST_F(StartTest, AWindowThatCannotBeMadeIsLogged) {
  initialize();
  TIWStart::SetWindowFactory([]() -> std::unique_ptr<ServerWindow> {
    throw std::runtime_error("no display");
  });
  TIWStart(false, {"-GUI"}).Run();
  expectOneErrorLine(logFile(), "no display");
}

TEST_F(StartTest, AnAppInitThatBuildsNoControllerIsAnError) {
  SetAppInit([] {});
  TIWStart(false, {}).Run();
  expectOneErrorLine(logFile(), "No server controller is defined.");
}

}  // namespace
}  // namespace orv
