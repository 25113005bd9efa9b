#include "framework/server/IWInit.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <filesystem>
#include <thread>

#include "framework/server/TIWServerControllerBase.h"
#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

using test::errorOf;

class FrameworkInitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(appDir_.path());
    SetAppInit(nullptr);
    TIWServerControllerBase::SetServerControllerClass(nullptr);
    test::ProbeController::storedSettings = nullptr;
  }
  void TearDown() override {
    FinalizeFramework();
    SetAppInit(nullptr);
    TIWServerControllerBase::SetServerControllerClass(nullptr);
    SetMainFormClass(nullptr);
    test::ProbeController::storedSettings = nullptr;
  }

  test::TempDir appDir_;
};

TEST_F(FrameworkInitTest, InstallsAppInit) {
  EXPECT_FALSE(GetAppInit());
  InitializeFramework();
  EXPECT_TRUE(GetAppInit());
}

TEST_F(FrameworkInitTest, AppInitWithoutAControllerClassRaises) {
  EXPECT_EQ(errorOf([] { FrameworkAppInit(); }), "No server controller is defined.");
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(FrameworkInitTest, AppInitBuildsTheRegisteredControllerUntilFinalization) {
  test::ProbeController::storedSettings = [](test::ProbeController& c) { c.SetPort(8001); };
  TIWServerControllerBase::SetServerControllerClass<test::ProbeController>();
  InitializeFramework();
  GetAppInit()();
  TIWServerControllerBase* c = IWServerController();
  ASSERT_NE(c, nullptr);
  EXPECT_NE(dynamic_cast<test::ProbeController*>(c), nullptr);
  EXPECT_EQ(c->Port(), 8001);
  EXPECT_TRUE(c->Frozen());
  const std::string cacheDir = c->CacheDir();
  EXPECT_TRUE(std::filesystem::is_directory(cacheDir));

  FinalizeFramework();
  EXPECT_EQ(IWServerController(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(cacheDir));
  FinalizeFramework();  // nothing left: no effect
}

TEST_F(FrameworkInitTest, AppInitPassesAConstructionErrorOn) {
  test::ProbeController::storedSettings = [](test::ProbeController& c) { c.SetAppName("bad name"); };
  TIWServerControllerBase::SetServerControllerClass<test::ProbeController>();
  EXPECT_EQ(errorOf([] { FrameworkAppInit(); }),
            "Invalid application name. Application name must follow the same rules of "
            "TComponent name");
  EXPECT_EQ(IWServerController(), nullptr);
}

TEST_F(FrameworkInitTest, NamesAStartUpThreadButNotTheProcessMainThread) {
  TIWServerControllerBase::SetServerControllerClass<test::ProbeController>();
  char mainBefore[16] = {};
  ::pthread_getname_np(::pthread_self(), mainBefore, sizeof mainBefore);

  std::string threadName;
  std::string error;
  std::thread([&] {
    error = errorOf([] { FrameworkAppInit(); });
    char name[16] = {};
    ::pthread_getname_np(::pthread_self(), name, sizeof name);
    threadName = name;
  }).join();
  EXPECT_EQ(error, "");
  EXPECT_EQ(threadName, "IW Main Thread");
  FinalizeFramework();

  FrameworkAppInit();
  char mainAfter[16] = {};
  ::pthread_getname_np(::pthread_self(), mainAfter, sizeof mainAfter);
  EXPECT_STREQ(mainAfter, mainBefore);
}

TEST_F(FrameworkInitTest, KeepsTheMainFormClass) {
  // Pages belong to the page layer (a factory needs the complete page class); here only
  // the empty slot is seen.
  EXPECT_FALSE(GetMainFormClass());
  SetMainFormClass(nullptr);
  EXPECT_FALSE(GetMainFormClass());
}

}  // namespace
}  // namespace orv
