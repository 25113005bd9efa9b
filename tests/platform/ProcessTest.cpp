#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <future>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/ChildProcess.h"
#include "tests/platform/TempDir.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

// A named pipe the test reads while a started program writes into it: the reader sees
// the data as it comes and end-of-file once every writer (the program and anything it
// started) is gone. No timing guesses.
class Fifo {
 public:
  explicit Fifo(std::string path) : path_(std::move(path)) {
    if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
    fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("open fifo failed");
  }
  ~Fifo() { ::close(fd_); }
  Fifo(const Fifo&) = delete;
  Fifo& operator=(const Fifo&) = delete;

  const std::string& path() const { return path_; }

  // Reads until `want` has arrived (or, with an empty `want`, until end-of-file).
  // Gives up after `limit` so a broken start fails the test instead of hanging it.
  std::string readUntil(const std::string& want, std::chrono::seconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      if (!want.empty() && got_.find(want) != std::string::npos) return got_;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) {
        timedOut_ = true;
        return got_;
      }
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char buf[512];
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n > 0) {
        got_.append(buf, static_cast<std::size_t>(n));
      } else if (n == 0) {
        if (p.revents & POLLHUP) {
          eof_ = true;
          return got_;
        }
      } else if (errno != EAGAIN && errno != EINTR) {
        return got_;
      }
    }
  }
  bool eof() const { return eof_; }
  bool timedOut() const { return timedOut_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::string got_;
  bool eof_ = false;
  bool timedOut_ = false;
};

// No child of this process is left, running or as a zombie.
bool noChildrenLeft() {
  int status = 0;
  return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

// Puts a directory in front of PATH for one test.
class PathPrefix {
 public:
  explicit PathPrefix(const std::string& dir) {
    const char* old = std::getenv("PATH");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("PATH", (dir + ":" + old_).c_str(), 1);
  }
  ~PathPrefix() {
    if (had_) {
      ::setenv("PATH", old_.c_str(), 1);
    } else {
      ::unsetenv("PATH");
    }
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(ProcessTest, SplitsCommandTextAtBlanksKeepingQuotedWordsTogether) {
  struct Case {
    const char* command;
    std::vector<std::string> words;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"   \t ", {}},
      {"solver", {"solver"}},
      {"  solver  ", {"solver"}},
      {"calc.EXE /DIAGRAMINPUT=/srv/calc/pump@8001_4711.TXT",
       {"calc.EXE", "/DIAGRAMINPUT=/srv/calc/pump@8001_4711.TXT"}},
      {"a  b\tc", {"a", "b", "c"}},
      {"\"my dir/prog\" \"x y\" z", {"my dir/prog", "x y", "z"}},
      {"xdg-open \"http://localhost:8001/\"", {"xdg-open", "http://localhost:8001/"}},
      {"pre\"fix mid\"post", {"prefix midpost"}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"unterminated quote  stays", {"unterminated quote  stays"}},
      {"it's", {"it's"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(splitCommandLine(c.command), c.words);
  }
}

TEST(ProcessTest, ProgramThatEndsAtOnceIsFinished) {
  const ProcessResult r = runProcessAndWait("/bin/true", "");
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, ReportsExitCodesAndSignals) {
  test::TempDir dir;
  dir.write("seven.sh", "#!/bin/sh\nexit 7\n", true);
  dir.write("term.sh", "#!/bin/sh\nkill -TERM $$\n", true);

  ProcessResult r = runProcessAndWait("false", dir.path());  // found on PATH
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.exitCode, 1);

  r = runProcessAndWait("seven.sh", dir.path());
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.exitCode, 7);

  r = runProcessAndWait("term.sh", dir.path());
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.signal, SIGTERM);
  EXPECT_EQ(r.exitCode, 128 + SIGTERM);
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, SleepingProgramIsWaitedFor) {
  test::TempDir dir;
  dir.write("slow.sh", "#!/bin/sh\nsleep 0.3\necho done > done.txt\n", true);
  const ProcessResult r = runProcessAndWait("slow.sh", dir.path());
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(dir.read("done.txt"), "done\n");  // it ran to its end before we returned
}

TEST(ProcessTest, ProgramsThatCannotStartReportStartFailed) {
  test::TempDir dir;
  dir.write("plain.txt", "not a program\n", false);
  dir.write("noshebang", "echo hi\n", true);
  dir.write("sub/prog.sh", "#!/bin/sh\n", true);
  std::filesystem::create_directories(dir.file("adir"));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"missing.EXE", dir.path()},
      {"missing.EXE /DIAGRAMINPUT=x.TXT", dir.path()},
      {"", dir.path()},
      {"   ", dir.path()},
      {"\"\" arg", dir.path()},
      {"plain.txt", dir.path()},  // not executable
      {"noshebang", dir.path()},  // executable bit, but no format the kernel runs
      {"adir", dir.path()},       // a directory
      {"./missing", dir.path()},
      {"sub/prog.sh", dir.file("no-such-dir")},  // working directory missing
      {"/bin/true", dir.file("no-such-dir")},
  };
  for (const auto& [command, wd] : cases) {
    SCOPED_TRACE(command + " in " + wd);
    const ProcessResult r = runProcessAndWait(command, wd);
    EXPECT_EQ(r.outcome, ProcessOutcome::StartFailed);
  }
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, ChildRunsInTheNamedWorkingDirectory) {
  test::TempDir dir;
  dir.write("where.sh", "#!/bin/sh\npwd > where.txt\n", true);
  ASSERT_NE(std::filesystem::current_path().string(), dir.path());
  const ProcessResult r = runProcessAndWait("where.sh", dir.path());
  ASSERT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(dir.read("where.txt"), dir.path() + "\n");
}

TEST(ProcessTest, WorkingDirectoryIsSearchedBeforePath) {
  test::TempDir dir;
  // A program called like a system one: the working directory's copy wins.
  dir.write("true", "#!/bin/sh\necho mine > marker.txt\n", true);
  const ProcessResult r = runProcessAndWait("true", dir.path());
  ASSERT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(dir.read("marker.txt"), "mine\n");
  EXPECT_EQ(findProgram("true", dir.path()), dir.file("true"));
  EXPECT_EQ(findProgram("sh", dir.path()), findProgram("sh", ""));
  EXPECT_FALSE(findProgram("sh", "").empty());
}

TEST(ProcessTest, QuotedWordsAndBlanksReachTheProgramIntact) {
  test::TempDir dir;
  dir.write("my dir/args.sh",
            "#!/bin/sh\n{ echo $#; for a in \"$@\"; do echo \"[$a]\"; done; } > args.txt\n", true);
  // The program word is relative: it is found from the working directory.
  const ProcessResult r =
      runProcessAndWait("  \"my dir/args.sh\" \"a  b\" c \"\" 'd'  ", dir.path());
  ASSERT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(dir.read("args.txt"), "4\n[a  b]\n[c]\n[]\n['d']\n");
}

TEST(ProcessTest, ChildGetsDevNullAndNoDescriptorOfOurs) {
  test::TempDir dir;
  // Opened without close-on-exec on purpose: even a careless descriptor stays here.
  const int file = ::open(dir.write("canary.txt", "x").c_str(), O_RDONLY);
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ASSERT_GE(file, 0);
  ASSERT_GE(sock, 0);
  struct stat st {};
  ASSERT_EQ(::fstat(sock, &st), 0);
  const std::string sockName = "socket:[" + std::to_string(st.st_ino) + "]";

  dir.write("fds.sh",
            "#!/bin/sh\n"
            "r=''\n"
            "for f in /proc/$$/fd/*; do r=\"$r${f##*/} $(readlink \"$f\")\n\"; done\n"
            "printf '%s' \"$r\" > fds.txt\n",
            true);
  const ProcessResult r = runProcessAndWait("fds.sh", dir.path());
  ::close(file);
  ::close(sock);
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  ASSERT_EQ(r.outcome, ProcessOutcome::Finished);

  std::map<int, std::string> fds;
  std::istringstream in(dir.read("fds.txt"));
  int fd;
  std::string target;
  while (in >> fd >> target) fds[fd] = target;
  EXPECT_EQ(fds[0], "/dev/null");
  EXPECT_EQ(fds[1], "/dev/null");
  EXPECT_EQ(fds[2], "/dev/null");
  for (const auto& [n, t] : fds) {
    SCOPED_TRACE(std::to_string(n) + " -> " + t);
    EXPECT_EQ(t.find("canary.txt"), std::string::npos);
    EXPECT_NE(t, sockName);
    EXPECT_FALSE(n == pipeFds[0] || n == pipeFds[1]) << "our pipe's number is open in the child";
  }
}

TEST(ProcessTest, TimeLimitKillsTheChildAndEverythingItStarted) {
  test::TempDir dir;
  Fifo fifo(dir.file("alive"));
  // The grandchild holds the pipe open for as long as it lives.
  dir.write("stubborn.sh",
            "#!/bin/sh\n"
            "( echo ready; exec sleep 300 ) > alive &\n"
            "exec sleep 300\n",
            true);
  auto run = std::async(std::launch::async,
                        [&] { return runProcessAndWait("stubborn.sh", dir.path(), 2000ms); });
  EXPECT_NE(fifo.readUntil("ready\n").find("ready"), std::string::npos);
  fifo.readUntil("");  // end-of-file: the grandchild is gone
  EXPECT_TRUE(fifo.eof());
  EXPECT_FALSE(fifo.timedOut());
  const ProcessResult r = run.get();
  EXPECT_EQ(r.outcome, ProcessOutcome::TimedOut);
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, ProgramEndingWithinTheLimitIsFinished) {
  const ProcessResult r = runProcessAndWait("/bin/true", "", 10000ms);
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.exitCode, 0);
}

TEST(ProcessTest, ManyThreadsRunTheirOwnProgramsAtOnce) {
  test::TempDir dir;
  dir.write("echo.sh", "#!/bin/sh\necho \"$1\" > \"out-$1.txt\"\n", true);
  std::vector<std::future<ProcessResult>> runs;
  for (int i = 0; i < 8; ++i) {
    runs.push_back(std::async(std::launch::async, [&, i] {
      return runProcessAndWait("echo.sh " + std::to_string(i), dir.path());
    }));
  }
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(runs[i].get().outcome, ProcessOutcome::Finished);
    EXPECT_EQ(dir.read("out-" + std::to_string(i) + ".txt"), std::to_string(i) + "\n");
  }
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, WindowsProgramGoesThroughWineWhenWineIsOnPath) {
  test::TempDir dir;
  // Copied from Windows: "MZ" header and no execute permission.
  dir.write("calc.EXE", std::string("MZ\x90\0\3\0\0\0", 8), false);
  dir.write("bin/wine",
            "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > wine-args.txt\n", true);
  PathPrefix path(dir.file("bin"));
  const ProcessResult r = runProcessAndWait("calc.EXE /DIAGRAMINPUT=in.TXT", dir.path());
  ASSERT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(dir.read("wine-args.txt"),
            dir.path() + "\n" + dir.file("calc.EXE") + "\n/DIAGRAMINPUT=in.TXT\n");
}

TEST(ProcessTest, WindowsProgramWithoutWineCannotStart) {
  if (!findProgram("wine", "").empty()) GTEST_SKIP() << "wine is installed here";
  test::TempDir dir;
  dir.write("calc.EXE", std::string("MZ\x90\0\3\0\0\0", 8), true);
  EXPECT_EQ(findProgram("calc.EXE", dir.path()), "");
  EXPECT_EQ(runProcessAndWait("calc.EXE", dir.path()).outcome, ProcessOutcome::StartFailed);
}

TEST(ProcessTest, DetachedProgramRunsWithoutLeavingAZombie) {
  test::TempDir dir;
  Fifo fifo(dir.file("report"));
  dir.write("bg.sh", "#!/bin/sh\n{ pwd; echo \"$1\"; } > report\n", true);
  ASSERT_TRUE(startProcessDetached("bg.sh \"hello there\"", dir.path()));
  const std::string got = fifo.readUntil("");
  EXPECT_TRUE(fifo.eof());
  EXPECT_EQ(got, dir.path() + "\nhello there\n");
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, DetachedStartReportsFailures) {
  test::TempDir dir;
  dir.write("prog.sh", "#!/bin/sh\n", true);
  dir.write("noshebang", "echo hi\n", true);
  EXPECT_FALSE(startProcessDetached("missing-program", dir.path()));
  EXPECT_FALSE(startProcessDetached("", dir.path()));
  EXPECT_FALSE(startProcessDetached("noshebang", dir.path()));  // exec fails in the grandchild
  EXPECT_FALSE(startProcessDetached("/bin/true", dir.file("no-such-dir")));
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ProcessTest, ShellOpenHandsOnlyExistingFilesToTheHandler) {
  test::TempDir dir;
  Fifo fifo(dir.file("opened"));
  dir.write("bin/xdg-open", "#!/bin/sh\necho \"$@\" > " + fifo.path() + "\n", true);
  dir.write("help.htm", "<html></html>");
  PathPrefix path(dir.file("bin"));

  EXPECT_FALSE(shellOpen(""));
  EXPECT_FALSE(shellOpen(dir.file("missing.htm")));
  EXPECT_FALSE(shellOpen(dir.path()));  // a directory is no file
  EXPECT_FALSE(shellOpen("calc.EXE /DIAGRAMINPUT=" + dir.file("help.htm")));

  ASSERT_TRUE(shellOpen(dir.file("help.htm")));
  EXPECT_EQ(fifo.readUntil(""), dir.file("help.htm") + "\n");
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ChildProcessTest, OwnerKillsAndReapsARunningChildWhenDestroyed) {
  test::TempDir dir;
  Fifo fifo(dir.file("alive"));
  dir.write("hold.sh", "#!/bin/sh\n( echo up; exec sleep 300 ) > alive &\nexec sleep 300\n", true);
  int error = -1;
  {
    auto child = ChildProcess::start("/bin/sh", {"sh", "hold.sh"}, dir.path(), error);
    ASSERT_TRUE(child.has_value());
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(child->running());
    EXPECT_EQ(::getpgid(child->pid()), child->pid());  // leads its own group
    EXPECT_NE(fifo.readUntil("up\n").find("up"), std::string::npos);
    EXPECT_FALSE(child->tryWait().has_value());
  }
  fifo.readUntil("");
  EXPECT_TRUE(fifo.eof());
  EXPECT_TRUE(noChildrenLeft());
}

TEST(ChildProcessTest, StartReportsTheErrno) {
  int error = 0;
  auto child = ChildProcess::start("/no/such/program", {"x"}, "", error);
  EXPECT_FALSE(child.has_value());
  EXPECT_EQ(error, ENOENT);
}

}  // namespace
}  // namespace orv
