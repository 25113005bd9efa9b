#include "platform/Beep.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/ExePaths.h"
#include "platform/Process.h"

namespace orv {
namespace {

TEST(BeepTest, CountsEveryBeepInTotalAndByType) {
  const auto total = beepCount();
  const auto of25 = beepCount(25);
  const auto of5 = beepCount(5);
  MessageBeep(25);
  MessageBeep(5);
  MessageBeep(5);
  EXPECT_EQ(beepCount(), total + 3);
  EXPECT_EQ(beepCount(25), of25 + 1);
  EXPECT_EQ(beepCount(5), of5 + 2);
  EXPECT_EQ(beepCount(0x12345), 0u);
}

TEST(BeepTest, BeepsFromManyThreadsAreAllCounted) {
  const auto total = beepCount();
  const auto of25 = beepCount(25);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 1000; ++i) MessageBeep(25);
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(beepCount(), total + 8000);
  EXPECT_EQ(beepCount(25), of25 + 8000);
}

TEST(BeepTest, KeepFilesToggleDrivesTheShiftKey) {
  const bool start = shiftKeyHeld();
  setKeepFiles(true);
  EXPECT_TRUE(shiftKeyHeld());
  setKeepFiles(false);
  EXPECT_FALSE(shiftKeyHeld());
  setKeepFiles(start);
}

// Also run inside a child started by the next test: the operator's wish is read at
// start.
TEST(BeepTest, ShiftKeyFollowsTheKeepFilesVariableAtStart) {
  const char* v = std::getenv("ORVWS_KEEP_FILES");
  EXPECT_EQ(shiftKeyHeld(), v != nullptr && std::strcmp(v, "1") == 0);
}

TEST(BeepTest, KeepFilesVariableAtStartHoldsTheShiftKey) {
  ::setenv("ORVWS_KEEP_FILES", "1", 1);
  const ProcessResult r =
      runProcessAndWait("\"" + exePaths().exeFileName +
                            "\" --gtest_filter=BeepTest.ShiftKeyFollowsTheKeepFilesVariableAtStart",
                        "");
  ::unsetenv("ORVWS_KEEP_FILES");
  EXPECT_EQ(r.outcome, ProcessOutcome::Finished);
  EXPECT_EQ(r.exitCode, 0);
}

}  // namespace
}  // namespace orv
