#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/mylib/myLib.h"
#include "platform/Beep.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr unsigned kFailedStartBeep = 5;
constexpr unsigned kWarningBeep = 25;

std::string readFile(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& p, const std::string& content, bool executable = false) {
  fs::create_directories(p.parent_path());
  {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
  }
  if (executable) fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
}

// A fresh directory under the system temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "mylib-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = fs::canonical(tmpl);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

// Sets environment variables for one test and restores the previous values.
class EnvGuard {
 public:
  ~EnvGuard() {
    for (const auto& [name, old] : saved_) {
      if (old) {
        ::setenv(name.c_str(), old->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }
  void set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.contains(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// Waits (without polling loops of our own) until a process that is not our child has
// ended: a pidfd becomes readable when it terminates.
bool processEnds(pid_t pid, std::chrono::milliseconds limit) {
  const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (fd < 0) return errno == ESRCH;
  pollfd p{fd, POLLIN, 0};
  const int n = ::poll(&p, 1, static_cast<int>(limit.count()));
  ::close(fd);
  return n == 1;
}

class RunProgramOKTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // "mark" writes its arguments into marked.txt of its working directory.
    writeFile(dir_.path() / "mark", "#!/bin/sh\necho \"$@\" > marked.txt\n", true);
  }
  std::string marked() const { return readFile(dir_.path() / "marked.txt"); }

  TempDir dir_;
};

TEST_F(RunProgramOKTest, ProgramThatExitsAtOnce) {
  const auto beeps = beepCount();
  EXPECT_TRUE(RunProgramOK("true", dir_.str()));
  EXPECT_EQ(beepCount(), beeps);
}

TEST_F(RunProgramOKTest, ExitCodeDoesNotMatterOnlyTheStart) {
  EXPECT_TRUE(RunProgramOK("false", dir_.str()));
}

TEST_F(RunProgramOKTest, WaitsUntilASleepingProgramHasEnded) {
  EXPECT_TRUE(RunProgramOK("sh -c \"sleep 0.3; echo done > finished.txt\"", dir_.str()));
  // The file is written after the sleep: it is there only if the call waited.
  EXPECT_EQ(readFile(dir_.path() / "finished.txt"), "done\n");
}

TEST_F(RunProgramOKTest, MissingProgramFailsAfterTwoAttemptsWithOneBeep) {
  const auto beeps = beepCount();
  const auto failedStartBeeps = beepCount(kFailedStartBeep);
  EXPECT_FALSE(RunProgramOK("missing.EXE", dir_.str()));
  EXPECT_EQ(beepCount() - beeps, 1u);
  EXPECT_EQ(beepCount(kFailedStartBeep) - failedStartBeeps, 1u);
}

TEST_F(RunProgramOKTest, SecondAttemptRunsTheTextWithoutApostrophes) {
  // "'mark'" names no program; without its two apostrophes it does (no beep for a pair).
  auto beeps = beepCount();
  EXPECT_TRUE(RunProgramOK("'mark' first", dir_.str()));
  EXPECT_EQ(marked(), "first\n");
  EXPECT_EQ(beepCount(), beeps);

  // A single apostrophe is removed too, with the warning of RemoveAnsiQuotes.
  beeps = beepCount(kFailedStartBeep);
  EXPECT_TRUE(RunProgramOK("ma'rk second", dir_.str()));
  EXPECT_EQ(marked(), "second\n");
  EXPECT_EQ(beepCount(kFailedStartBeep) - beeps, 1u);
}

TEST_F(RunProgramOKTest, BlanksAroundTheCommandTextAreIgnored) {
  EXPECT_TRUE(RunProgramOK("  \t mark blanks \r\n ", dir_.str()));
  EXPECT_EQ(marked(), "blanks\n");
}

TEST_F(RunProgramOKTest, RunsInTheWorkingDirectoryTheCallerNames) {
  EXPECT_TRUE(RunProgramOK("sh -c \"pwd > where.txt\"", dir_.str()));
  EXPECT_EQ(readFile(dir_.path() / "where.txt"), dir_.str() + "\n");
}

TEST_F(RunProgramOKTest, SolverCommandLineWithTxtArgument) {
  // The solver's command line ends in ".TXT": the desktop's open action is offered the
  // text first, and as it names no file the program is started.
  writeFile(dir_.path() / "pump.EXE", "#!/bin/sh\necho \"$@\" > marked.txt\n", true);
  const std::string input = "/DIAGRAMINPUT=" + dir_.str() + "/pump@8001_4711.TXT";
  EXPECT_TRUE(RunProgramOK("pump.EXE " + input, dir_.str()));
  EXPECT_EQ(marked(), input + "\n");
}

TEST_F(RunProgramOKTest, EmptyCommandFailsWithOneBeep) {
  const auto beeps = beepCount();
  EXPECT_FALSE(RunProgramOK("   ", dir_.str()));
  EXPECT_EQ(beepCount() - beeps, 1u);
}

TEST_F(RunProgramOKTest, TimeLimitKillsTheProcessGroupAndReportsTimeOut) {
  const auto beeps = beepCount();
  const auto outcome =
      RunProgramOK("sh -c \"sleep 30 & echo $! > child.pid; wait\"", dir_.str(), 1000ms);
  EXPECT_EQ(outcome, ProcessOutcome::TimedOut);
  EXPECT_EQ(beepCount(), beeps);  // the start did not fail
  // The program's own child went with it.
  const std::string pidText = readFile(dir_.path() / "child.pid");
  ASSERT_FALSE(pidText.empty());
  EXPECT_TRUE(processEnds(static_cast<pid_t>(std::stol(pidText)), 10s));
}

TEST_F(RunProgramOKTest, TimeLimitNotReachedReportsFinished) {
  EXPECT_EQ(RunProgramOK("mark quick", dir_.str(), 30s), ProcessOutcome::Finished);
  EXPECT_EQ(marked(), "quick\n");
}

TEST_F(RunProgramOKTest, TimeLimitWithMissingProgramReportsFailedStart) {
  const auto beeps = beepCount(kFailedStartBeep);
  EXPECT_EQ(RunProgramOK("missing.EXE", dir_.str(), 30s), ProcessOutcome::StartFailed);
  EXPECT_EQ(beepCount(kFailedStartBeep) - beeps, 1u);
}

TEST_F(RunProgramOKTest, RefusesCommandTextLongerThan255CharactersInsteadOfCuttingIt) {
  // sh -c "echo x > long.txt; : <padding>" of an exact length in characters.
  auto command = [](std::size_t length, const std::string& pad) {
    std::string c = "sh -c \"echo x > long.txt; : ";
    std::size_t chars = c.size() + 1;  // the closing quote
    while (chars < length) {
      c += pad;
      ++chars;
    }
    return c + "\"";
  };
  struct {
    const char* name;
    std::string text;
    bool runs;
  } cases[] = {
      {"255 characters", command(255, "a"), true},
      {"256 characters", command(256, "a"), false},
      {"255 characters, more bytes", command(255, "\xC3\xA9"), true},
      {"256 characters, more bytes", command(256, "\xC3\xA9"), false},
      {"255 characters between blanks", "   " + command(255, "a") + "   ", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir_.path() / "long.txt");
    const auto beeps = beepCount();
    EXPECT_EQ(RunProgramOK(c.text, dir_.str()), c.runs);
    EXPECT_EQ(fs::exists(dir_.path() / "long.txt"), c.runs);
    EXPECT_EQ(beepCount() - beeps, c.runs ? 0u : 1u);
  }
}

TEST_F(RunProgramOKTest, StartedProgramInheritsNoDescriptorOfOurs) {
  // A descriptor opened without close-on-exec, as a careless part of the server might.
  const int leaked = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(leaked, 0);
  const int high = ::dup2(leaked, 77);
  ::close(leaked);
  ASSERT_EQ(high, 77);
  EXPECT_TRUE(RunProgramOK("sh -c \"ls /proc/self/fd > fds.txt\"", dir_.str()));
  ::close(high);
  // ls sees its standard descriptors and the one it reads the directory with.
  std::istringstream in(readFile(dir_.path() / "fds.txt"));
  std::string fd;
  while (in >> fd) EXPECT_TRUE(fd == "0" || fd == "1" || fd == "2" || fd == "3") << fd;
}

TEST_F(RunProgramOKTest, SeveralCallersWaitForTheirOwnPrograms) {
  constexpr int kCallers = 4;
  std::vector<std::thread> threads;
  std::atomic<int> started{0};
  for (int i = 0; i < kCallers; ++i) {
    threads.emplace_back([&, i] {
      const std::string n = std::to_string(i);
      if (RunProgramOK("sh -c \"sleep 0.2; echo " + n + " > out" + n + ".txt\"", dir_.str())) {
        ++started;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(started.load(), kCallers);
  for (int i = 0; i < kCallers; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(readFile(dir_.path() / ("out" + n + ".txt")), n + "\n");
  }
}

TEST(BeepTest, SoundsTheWarningType) {
  const auto beeps = beepCount(kWarningBeep);
  Beep();
  EXPECT_EQ(beepCount(kWarningBeep) - beeps, 1u);
}

TEST(RemoveAnsiQuotesTest, RemovesApostrophesAndBeepsUnlessNoneOrAPair) {
  struct {
    std::string text;
    std::string expected;
    bool beeps;
  } cases[] = {{"'pump.EXE'", "pump.EXE", false},
               {"it's", "its", true},
               {"plain", "plain", false},
               {"'''", "", true}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto beeps = beepCount(kFailedStartBeep);
    RemoveAnsiQuotes(c.text);
    EXPECT_EQ(c.text, c.expected);
    EXPECT_EQ(beepCount(kFailedStartBeep) - beeps, c.beeps ? 1u : 0u);
  }
}

// The desktop's association files live in a temporary XDG tree for these tests.
class ProgramAssociationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.set("HOME", dir_.str());
    env_.set("XDG_DATA_HOME", (dir_.path() / "data").string());
    env_.set("XDG_DATA_DIRS", (dir_.path() / "system-data").string());
    env_.set("XDG_CONFIG_HOME", (dir_.path() / "config").string());
    env_.set("XDG_CONFIG_DIRS", (dir_.path() / "system-config").string());
    env_.set("BROWSER", std::nullopt);
    env_.set("PATH", (dir_.path() / "bin").string());
    writeFile(dir_.path() / "data/mime/globs2",
              "# weight:type:glob\n"
              "50:application/x-orv-layout:*.orvdly\n"
              "50:application/x-orv-set:*.orvset\n"
              "50:application/x-orv-orphan:*.orvorphan\n"
              "40:application/x-orv-low:*.orvtwo\n"
              "60:application/x-orv-high:*.orvtwo\n");
    writeFile(dir_.path() / "config/mimeapps.list",
              "[Added Associations]\n"
              "application/x-orv-set=setview.desktop;\n"
              "[Default Applications]\n"
              "application/x-orv-layout=missing.desktop;layoutview.desktop;\n"
              "application/x-orv-high=high.desktop\n");
    writeFile(dir_.path() / "data/applications/layoutview.desktop",
              "[Desktop Entry]\nName=Layout viewer\nExec=\"/opt/orv tools/layout view\" %F\n"
              "[Desktop Action New]\nExec=/wrong\n");
    writeFile(dir_.path() / "system-data/applications/setview.desktop",
              "[Desktop Entry]\nExec=/opt/app/setview %U\n");
    writeFile(dir_.path() / "system-data/applications/high.desktop",
              "[Desktop Entry]\nExec=highview\n");
  }

  TempDir dir_;
  EnvGuard env_;
};

TEST_F(ProgramAssociationTest, ReadsTheDefaultApplicationOfTheExtensionsType) {
  struct {
    std::string extension;
    std::string program;
  } cases[] = {
      {"orvdly", "/opt/orv tools/layout view"},  // quoted path, arguments with "%"
      {"ORVDLY", "/opt/orv tools/layout view"},  // letter case of the extension
      {"orvset", "/opt/app/setview"},            // added association, system data dir
      {"orvtwo", "highview"},                    // the glob of higher weight
      {"orvorphan", ""},                         // a type without an application
      {"nosuchextension", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extension);
    EXPECT_EQ(GetProgramAssociation(c.extension), c.program);
  }
}

TEST_F(ProgramAssociationTest, LongerThan255CharactersGivesNone) {
  writeFile(dir_.path() / "data/applications/layoutview.desktop",
            "[Desktop Entry]\nExec=/" + std::string(255, 'x') + " %F\n");
  EXPECT_EQ(GetProgramAssociation("orvdly"), "");
  writeFile(dir_.path() / "data/applications/layoutview.desktop",
            "[Desktop Entry]\nExec=/" + std::string(254, 'x') + " %F\n");
  EXPECT_EQ(GetProgramAssociation("orvdly"), "/" + std::string(254, 'x'));
}

TEST_F(ProgramAssociationTest, HtmIsTheBrowserVariableThenXdgOpen) {
  EXPECT_EQ(GetProgramAssociation("HTM"), "");  // neither is there
  writeFile(dir_.path() / "bin/xdg-open", "#!/bin/sh\n", true);
  EXPECT_EQ(GetProgramAssociation("HTM"), (dir_.path() / "bin/xdg-open").string());
  env_.set("BROWSER", "/opt/web/browser --new-window %s:/usr/bin/other");
  EXPECT_EQ(GetProgramAssociation("HTM"), "/opt/web/browser --new-window");
  EXPECT_EQ(GetProgramAssociation("htm"), "/opt/web/browser --new-window");
  EXPECT_EQ(GetProgramAssociation("HTML"), "/opt/web/browser --new-window");
}

TEST_F(ProgramAssociationTest, NewBrowserWindowGetsTheAddressAsOneArgument) {
  // The browser writes its arguments into a FIFO that we read with a time-bounded poll.
  const fs::path fifo = dir_.path() / "browser.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path browser = dir_.path() / "my browser";
  writeFile(browser,
            "#!/bin/sh\n{ for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; echo END; } > '" +
                fifo.string() + "'\n",
            true);
  env_.set("PATH", "/usr/bin:/bin");
  env_.set("BROWSER", browser.string());
  // Read and write, so that opening does not wait for the browser and no end of file is
  // seen before it writes.
  const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);

  ASSERT_TRUE(StartNewBrowserWindow("http://127.0.0.1:8001/a b?q=\"x\""));

  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (got.find("END\n") == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left <= 0ms) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) != 1) break;
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  EXPECT_EQ(got, "[http://127.0.0.1:8001/a b?q=%22x%22]\nEND\n");
}

TEST_F(ProgramAssociationTest, NewBrowserWindowWithoutBrowserStartsNothing) {
  EXPECT_FALSE(StartNewBrowserWindow("http://127.0.0.1:8001/"));
}

}  // namespace
}  // namespace orv
