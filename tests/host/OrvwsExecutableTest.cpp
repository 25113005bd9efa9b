// The real program: a copy of ORVWS in a folder of its own, started as a user would,
// writes its start-up errors to ORVWS.log beside itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <regex>

#include "tests/framework/server/ServerTestSupport.h"

extern char** environ;

namespace orv {
namespace {

namespace fs = std::filesystem;

class OrvwsExecutableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = dir_.path() + "ORVWS";
    fs::copy_file(std::string(ORV_BINARY_DIR) + "/bin/ORVWS", exe_);
    fs::create_directory(dir_.path() + "tmp");
  }

  // Runs the copy with the given parameters and TMPDIR; returns its exit status.
  int run(const std::vector<std::string>& params, const std::string& tmpDir) {
    std::vector<std::string> args{exe_};
    args.insert(args.end(), params.begin(), params.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env{"TMPDIR=" + tmpDir};
    for (char** e = environ; *e != nullptr; ++e) {
      if (!std::string(*e).starts_with("TMPDIR=")) env.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, exe_.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string log() const { return dir_.path() + "ORVWS.log"; }
  std::string tmp() const { return dir_.path() + "tmp/"; }

  test::TempDir dir_;
  std::string exe_;
};

// The one line of the log, without its time stamp.
std::string onlyErrorLine(const std::string& file) {
  const std::string text = test::readFile(file);
  const std::regex line(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} (Error: .*)\r\n)");
  std::smatch m;
  if (!std::regex_match(text, m, line)) return "not one error line: " + text;
  return m[1].str();
}

TEST_F(OrvwsExecutableTest, StartsCleanlyAndLeavesNoCacheBehind) {
  for (const char* params : {"", "-GUI"}) {
    SCOPED_TRACE(params);
    std::vector<std::string> p;
    if (*params != '\0') p.push_back(params);
    EXPECT_EQ(run(p, tmp()), 0);
    EXPECT_FALSE(fs::exists(log()));
    EXPECT_TRUE(fs::is_empty(tmp()));  // its cache directory came and went
  }
}

TEST_F(OrvwsExecutableTest, LogsACacheDirectoryThatCannotBeMade) {
  const std::string blocker = dir_.path() + "blocker";
  test::writeFile(blocker, "a file where a folder should be");
  EXPECT_EQ(run({}, blocker), 0);
  const std::string line = onlyErrorLine(log());
  EXPECT_TRUE(std::regex_match(
      line, std::regex("Error: Unable to create cache directory \"" + blocker +
                       "/[0-9a-z]{10,}/\"\\.")))
      << line;
}

TEST_F(OrvwsExecutableTest, LogsAnImpossiblePortFromPortIni) {
  test::writeFile(dir_.path() + "port.ini", "[PORTS]\r\nPort=70000\r\n");
  EXPECT_EQ(run({"/gui"}, tmp()), 0);
  EXPECT_EQ(onlyErrorLine(log()), "Error: Invalid port value: 70000");
  EXPECT_TRUE(fs::is_empty(tmp()));
}

TEST_F(OrvwsExecutableTest, AppendsOneLinePerFailedStart) {
  test::writeFile(dir_.path() + "port.ini", "[PORTS]\r\nSSLPort=-1\r\n");
  EXPECT_EQ(run({}, tmp()), 0);
  EXPECT_EQ(run({}, tmp()), 0);
  const auto lines = test::readLines(log());
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& l : lines) EXPECT_TRUE(l.ends_with(" Error: Invalid port value: -1")) << l;
}

}  // namespace
}  // namespace orv
