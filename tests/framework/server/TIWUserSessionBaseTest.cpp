#include "framework/server/TIWUserSessionBase.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "framework/server/CurrentSession.h"

namespace orv {
namespace {

// Sessions are only compared by address here; these stand-ins are never dereferenced.
TIWApplication* fakeSession(int& storage) { return reinterpret_cast<TIWApplication*>(&storage); }

TEST(CurrentSessionTest, IsPerThreadAndReturnsThePreviousBinding) {
  int a = 0;
  int b = 0;
  EXPECT_EQ(currentSession(), nullptr);
  EXPECT_EQ(setCurrentSession(fakeSession(a)), nullptr);
  EXPECT_EQ(setCurrentSession(fakeSession(b)), fakeSession(a));
  TIWApplication* seenByOtherThread = fakeSession(a);
  std::thread([&] { seenByOtherThread = currentSession(); }).join();
  EXPECT_EQ(seenByOtherThread, nullptr);
  EXPECT_EQ(setCurrentSession(nullptr), fakeSession(b));
}

TEST(CurrentSessionTest, ScopeRestoresThePreviousBinding) {
  int a = 0;
  int b = 0;
  setCurrentSession(fakeSession(a));
  {
    CurrentSessionScope scope(fakeSession(b));
    EXPECT_EQ(currentSession(), fakeSession(b));
  }
  EXPECT_EQ(currentSession(), fakeSession(a));
  setCurrentSession(nullptr);
}

TEST(UserSessionBaseTest, ReturnsItsSessionOrTheThreadsSession) {
  int owner = 0;
  int bound = 0;
  TIWUserSessionBase withSession(fakeSession(owner));
  TIWUserSessionBase withoutSession(nullptr);
  EXPECT_EQ(withoutSession.GetWebApplication(), nullptr);
  CurrentSessionScope scope(fakeSession(bound));
  EXPECT_EQ(withSession.GetWebApplication(), fakeSession(owner));
  EXPECT_EQ(withoutSession.GetWebApplication(), fakeSession(bound));
}

TEST(UserSessionBaseTest, FiresOnDestroyOnceAndSwallowsItsError) {
  int fired = 0;
  {
    TIWUserSessionBase data(nullptr);
    data.OnDestroy = [&](TIWUserSessionBase&) {
      ++fired;
      throw std::runtime_error("handler failed");
    };
    data.DoDestroy();
    EXPECT_EQ(fired, 1);
  }  // the destructor does not fire it again
  EXPECT_EQ(fired, 1);

  {
    TIWUserSessionBase data(nullptr);
    data.OnDestroy = [&](TIWUserSessionBase&) { ++fired; };
  }  // freed without DoDestroy: the destructor fires it
  EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace orv
