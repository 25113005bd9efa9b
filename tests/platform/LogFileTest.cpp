#include "platform/LogFile.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/ExePaths.h"
#include "tests/platform/TempDir.h"

namespace orv {
namespace {

// Points the application path at a fresh directory for the test's duration.
class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = exePaths().appPath;
    setAppPathForTesting(dir_.path());
  }
  void TearDown() override { setAppPathForTesting(original_); }

  std::vector<std::string> lines(const std::string& file) const {
    const std::string content = dir_.read(file);
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < content.size()) {
      const auto end = content.find("\r\n", start);
      if (end == std::string::npos) {
        out.push_back("UNTERMINATED:" + content.substr(start));
        break;
      }
      out.push_back(content.substr(start, end - start));
      start = end + 2;
    }
    return out;
  }

  test::TempDir dir_;
  std::string original_;
};

const std::regex kLine(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} (.*)$)");

TEST_F(LogFileTest, AppendsTimeStampedCrLfLinesToTheFileNamedAfterTheApplication) {
  LogFileAppend("Error: Application is not initialized.", "log");
  LogFileAppend("second", "log");

  const std::string raw = dir_.read("test_platform.log");
  ASSERT_FALSE(raw.empty());
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  const auto l = lines("test_platform.log");
  ASSERT_EQ(l.size(), 2u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(l[0], m, kLine)) << l[0];
  EXPECT_EQ(m[1], "Error: Application is not initialized.");
  ASSERT_TRUE(std::regex_match(l[1], m, kLine)) << l[1];
  EXPECT_EQ(m[1], "second");
}

TEST_F(LogFileTest, TheExtensionNamesTheFile) {
  LogFileAppend("a", "txt");
  LogFileAppend("b", ".err");
  EXPECT_EQ(lines("test_platform.txt").size(), 1u);
  EXPECT_EQ(lines("test_platform.err").size(), 1u);
  EXPECT_TRUE(dir_.read("test_platform.log").empty());
}

TEST_F(LogFileTest, ALineBreakInTheTextStaysInsideOneEntry) {
  LogFileAppend("one\r\ntwo\nthree", "log");
  const auto l = lines("test_platform.log");
  ASSERT_EQ(l.size(), 1u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(l[0], m, kLine));
  EXPECT_EQ(m[1], "one  two three");
}

TEST_F(LogFileTest, AnUnwritableLogIsSilentlySkipped) {
  setAppPathForTesting(dir_.file("missing/dir"));
  EXPECT_NO_THROW(LogFileAppend("lost", "log"));
}

TEST_F(LogFileTest, ConcurrentAppendsKeepEveryLineWhole) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kPerThread; ++i) {
        LogFileAppend(
            "thread " + std::to_string(t) + " entry " + std::to_string(i) + std::string(100, 'x'),
            "log");
      }
    });
  }
  for (auto& th : threads) th.join();

  const auto l = lines("test_platform.log");
  ASSERT_EQ(l.size(), static_cast<std::size_t>(kThreads * kPerThread));
  std::set<std::string> seen;
  for (const auto& line : l) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, kLine)) << line;
    seen.insert(m[1]);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kPerThread));
}

}  // namespace
}  // namespace orv
