#include "platform/ExePaths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orv {
namespace {

TEST(ExePathsTest, DerivesEveryPathFromTheRunningExecutable) {
  const ExePaths& p = exePaths();
  const std::string real = std::filesystem::canonical("/proc/self/exe").string();
  EXPECT_EQ(p.exeFileName, real);
  EXPECT_EQ(p.appName, "test_platform");
  EXPECT_EQ(p.appPath, std::filesystem::path(real).parent_path().string() + "/");
  EXPECT_EQ(p.appPath + p.appName, p.exeFileName);
}

TEST(ExePathsTest, TempDirEndsWithSlashAndFollowsTmpdir) {
  const ExePaths& p = exePaths();
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && tmp[0] == '/') {
    std::string expected = tmp;
    if (expected.back() != '/') expected += '/';
    EXPECT_EQ(p.tempDir, expected);
  } else {
    EXPECT_EQ(p.tempDir, "/tmp/");
  }
}

TEST(ExePathsTest, ReplacedAppPathGetsATrailingSlashAndOldReferencesStayValid) {
  const ExePaths& before = exePaths();
  const std::string original = before.appPath;

  setAppPathForTesting("/srv/calc");
  EXPECT_EQ(exePaths().appPath, "/srv/calc/");
  EXPECT_EQ(exePaths().appName, "test_platform");
  EXPECT_EQ(before.appPath, original);  // the earlier snapshot is untouched and alive

  setAppPathForTesting("/srv/other/");
  EXPECT_EQ(exePaths().appPath, "/srv/other/");

  setAppPathForTesting(original);
  EXPECT_EQ(exePaths().appPath, original);
}

}  // namespace
}  // namespace orv
