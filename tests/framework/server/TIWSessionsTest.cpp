// The session registry: registration, look-up with its waiting, time-outs, the purge
// pass and thread, removal, the list lock, and many threads at once.
#include <barrier>
#include <filesystem>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/SessionId.h"
#include "framework/server/TIWUserSessionBase.h"
#include "framework/server/TSessionTimeoutThread.h"
#include "tests/framework/server/SessionTestSupport.h"
#include "transport/ThreadName.h"

namespace orv::test {
namespace {

class TIWSessionsTest : public ::testing::Test {
 protected:
  void SetUp() override { registry.SetClock(clock.function()); }
  // Runs f on another thread and waits for it (the session lock belongs to threads).
  template <class F>
  static auto onOtherThread(F f) {
    decltype(f()) result{};
    std::thread t([&] { result = f(); });
    t.join();
    return result;
  }

  ManualClock clock;
  TIWSessions registry;
  CreatingRequest creating;
};

TEST_F(TIWSessionsTest, NewSessionIsRegisteredUnderARandomIdAndHandedOutLocked) {
  auto s = newSession(registry, creating);
  EXPECT_EQ(registry.GetCount(), 1u);
  EXPECT_EQ(s->AppID().size(), 22u);
  EXPECT_EQ(s->AppID().find_first_not_of(kEncode64Alphabet), std::string::npos);
  EXPECT_EQ(s->TaggedSessionName(), s->AppID());
  EXPECT_TRUE(registry.IsValidSession(s.get()));
  EXPECT_FALSE(onOtherThread([&] { return s->TryLock(); }));
  s->Unlock();
  bool expired = true;
  EXPECT_EQ(onOtherThread([&] {
              auto found = registry.LookupAndLock(s->AppID(), expired);
              if (found) found->Unlock();
              return found;
            }),
            s);
  EXPECT_FALSE(expired);
}

TEST_F(TIWSessionsTest, SessionFieldsStartAsForANewBrowser) {
  auto s = newSession(registry, creating, "10.0.0.7");
  s->Unlock();
  EXPECT_EQ(s->IP(), "10.0.0.7");
  EXPECT_EQ(s->TrackID(), 1u);
  EXPECT_EQ(s->Status(), 0);
  EXPECT_EQ(s->FormWidth(), -1);
  EXPECT_EQ(s->FormHeight(), -1);
  EXPECT_EQ(s->AppUrlBase(), "/");
  EXPECT_EQ(s->InternalUrlBase(), "/$/");
  EXPECT_EQ(s->SessionInternalUrlBase(), "/$/");
  EXPECT_EQ(s->SessionUrlBase(), "/");
  EXPECT_EQ(s->GetActiveForm(), nullptr);
}

TEST_F(TIWSessionsTest, UnknownIdIsNotFoundAndNotExpired) {
  bool expired = true;
  EXPECT_EQ(registry.LookupAndLock("nosuchsession", expired), nullptr);
  EXPECT_FALSE(expired);
  EXPECT_EQ(registry.QueryStatus("nosuchsession"), -1);
}

TEST_F(TIWSessionsTest, ExpiredSessionIsReportedUntilThePurgeRemovesIt) {
  auto s = newSession(registry, creating);
  s->SetSessionTimeOut(1);
  s->Unlock();
  const std::string id = s->AppID();
  s.reset();
  clock.advanceSeconds(59);
  bool expired = false;
  auto found = registry.LookupAndLock(id, expired);
  ASSERT_NE(found, nullptr);
  found->Unlock();
  found.reset();
  clock.advanceSeconds(2);
  TIWSessions::ExpiredInfo info;
  EXPECT_EQ(registry.LookupAndLock(id, expired, 0, &info), nullptr);
  EXPECT_TRUE(expired);
  EXPECT_EQ(info.timeoutMinutes, 1);
  std::vector<std::shared_ptr<TIWApplication>> freed;
  registry.RemoveExpiredSessions(freed);
  EXPECT_EQ(freed.size(), 1u);
  EXPECT_EQ(registry.GetCount(), 0u);
  EXPECT_EQ(registry.LookupAndLock(id, expired), nullptr);
  EXPECT_FALSE(expired);
}

TEST_F(TIWSessionsTest, QueryStatusAndMarkAccessKeepASessionAlive) {
  auto s = newSession(registry, creating);
  s->SetSessionTimeOut(10);
  s->Unlock();
  for (int i = 0; i < 3; ++i) {
    clock.advanceMinutes(9);
    EXPECT_EQ(registry.QueryStatus(s->AppID()), 0);
  }
  clock.advanceMinutes(9);
  registry.MarkAccess(s->AppID());
  EXPECT_FALSE(s->IsExpired(clock()));
  clock.advanceMinutes(10);
  EXPECT_TRUE(s->IsExpired(clock()));
}

TEST_F(TIWSessionsTest, LookupWaitsForTheRequestThatHoldsTheSession) {
  auto s = newSession(registry, creating);  // held by this thread, as by a request
  std::atomic<bool> obtained{false};
  std::thread second([&] {
    bool expired = false;
    auto found = registry.LookupAndLock(s->AppID(), expired);
    obtained = found != nullptr;
    if (found) found->Unlock();
  });
  EXPECT_FALSE(obtained.load());
  s->Unlock();
  second.join();
  EXPECT_TRUE(obtained.load());
}

TEST_F(TIWSessionsTest, LookupWithALimitGivesUpOnABusySession) {
  auto s = newSession(registry, creating);
  bool expired = true;
  EXPECT_EQ(onOtherThread([&] { return registry.LookupAndLock(s->AppID(), expired, 30); }),
            nullptr);
  EXPECT_FALSE(expired);
  s->Unlock();
}

TEST_F(TIWSessionsTest, TerminateAndClearSkipBusySessions) {
  auto busy = newSession(registry, creating);
  auto idle = newSession(registry, creating);
  idle->Unlock();
  EXPECT_FALSE(onOtherThread([&] { return registry.Terminate(busy->AppID()); }));
  EXPECT_FALSE(registry.Terminate("unknown"));
  onOtherThread([&] {
    registry.Clear();
    return 0;
  });
  EXPECT_EQ(registry.GetCount(), 1u);
  EXPECT_TRUE(registry.IsValidSession(busy.get()));
  EXPECT_FALSE(registry.IsValidSession(idle.get()));
  busy->Unlock();
  EXPECT_TRUE(registry.Terminate(busy->AppID()));
  EXPECT_EQ(registry.GetCount(), 0u);
}

TEST_F(TIWSessionsTest, TerminateSkipsTheCallingThreadsOwnSession) {
  auto s = newSession(registry, creating);
  s->Unlock();
  CurrentSessionScope bind(s.get());
  EXPECT_FALSE(registry.Terminate(s->AppID()));
  EXPECT_EQ(registry.GetCount(), 1u);
}

TEST_F(TIWSessionsTest, PurgePassLeavesABusySessionForTheNextPass) {
  auto s = newSession(registry, creating);
  s->SetSessionTimeOut(1);
  clock.advanceMinutes(5);
  std::vector<std::shared_ptr<TIWApplication>> freed;
  onOtherThread([&] {
    registry.RemoveExpiredSessions(freed);
    return 0;
  });
  EXPECT_TRUE(freed.empty());
  EXPECT_EQ(registry.GetCount(), 1u);
  s->Unlock();
  registry.RemoveExpiredSessions(freed);
  EXPECT_EQ(freed.size(), 1u);
}

TEST_F(TIWSessionsTest, FreeAllWaitsForTheRequestThatHoldsASession) {
  auto s = newSession(registry, creating);
  std::atomic<int> destroyed{0};
  registry.FOnDestroySession = [&](TIWApplication&) { ++destroyed; };
  TIWApplication* raw = s.get();
  s.reset();  // the registry and the lock keep it; this thread plays the request
  std::atomic<bool> done{false};
  std::thread stopper([&] {
    registry.FreeAll();
    done = true;
  });
  // The session stays whole while its request runs.
  EXPECT_EQ(destroyed.load(), 0);
  EXPECT_FALSE(raw->AppID().empty());
  raw->Unlock();
  stopper.join();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(destroyed.load(), 1);
  EXPECT_EQ(registry.GetCount(), 0u);
}

TEST_F(TIWSessionsTest, RemoveHeldTakesASessionOutBeforeItsLockIsReleased) {
  auto s = newSession(registry, creating);
  const std::string id = s->AppID();
  std::atomic<bool> looked{false};
  std::shared_ptr<TIWApplication> seen;
  std::thread waiting([&] {
    bool expired = false;
    seen = registry.LookupAndLock(id, expired);
    looked = true;
  });
  registry.RemoveHeld(s);
  s->Unlock();
  waiting.join();
  EXPECT_TRUE(looked.load());
  EXPECT_EQ(seen, nullptr);  // the waiting request finds no session, not a dead one
}

TEST_F(TIWSessionsTest, ListLockTexts) {
  auto s = newSession(registry, creating);
  s->Unlock();
  auto other = newSession(registry, creating);
  other->Unlock();
  std::unique_ptr<TIWLockedList> none;
  EXPECT_EQ(errorOf([&] { registry.UnLockList(none); }), "Wrong list object type.");
  auto empty = std::make_unique<TIWLockedList>();
  EXPECT_EQ(errorOf([&] { registry.UnLockList(empty); }),
            "The list instance does not contain lock information");
  CurrentSessionScope bind(s.get());
  auto list = registry.LockList(false);
  EXPECT_EQ(list->sessions.size(), 2u);
  EXPECT_EQ(list->FLockMode, TIWSessionListLock::slRead);
  EXPECT_EQ(s->SessionListLock(), TIWSessionListLock::slRead);
  EXPECT_EQ(errorOf([&] { registry.LockList(true); }),
            "This session already holds a lock in session list");
  registry.UnLockList(list);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(s->SessionListLock(), TIWSessionListLock::slNone);
  auto writing = registry.LockList(true);
  EXPECT_EQ(writing->FLockMode, TIWSessionListLock::slWrite);
  registry.UnLockList(writing);
  EXPECT_EQ(registry.GetCount(), 2u);  // the registry is free again
}

TEST_F(TIWSessionsTest, ChangedIdFindsTheSameSession) {
  auto s = newSession(registry, creating);
  s->Unlock();
  const std::string old = s->AppID();
  registry.DoChangeSessionID(old, "renamed");
  bool expired = false;
  auto found = registry.LookupAndLock("renamed", expired);
  EXPECT_EQ(found, s);
  found->Unlock();
}

// --- The purge thread ------------------------------------------------------------------

TEST_F(TIWSessionsTest, PurgeThreadFreesExpiredSessionsOnItsOwnThread) {
  TSessionTimeoutThread purge(registry);
  std::mutex m;
  std::string destroyingThread;
  TIWApplication* boundWhileDestroyed = nullptr;
  registry.FOnDestroySession = [&](TIWApplication&) {
    std::lock_guard hold(m);
    destroyingThread = currentThreadName();
    boundWhileDestroyed = currentSession();
  };
  auto s = newSession(registry, creating);
  s->SetSessionTimeOut(1);
  s->Unlock();
  TIWApplication* raw = s.get();
  s.reset();
  purge.RunPassNow();
  EXPECT_EQ(registry.GetCount(), 1u);
  clock.advanceSeconds(61);
  purge.RunPassNow();
  EXPECT_EQ(registry.GetCount(), 0u);
  EXPECT_EQ(purge.Passes(), 2u);
  std::lock_guard hold(m);
  EXPECT_EQ(destroyingThread, "IW Session Timeout Thread");
  EXPECT_EQ(boundWhileDestroyed, raw);
}

TEST_F(TIWSessionsTest, PurgeThreadStopsAtOnce) {
  auto purge = std::make_unique<TSessionTimeoutThread>(registry);
  const auto start = std::chrono::steady_clock::now();
  purge.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// --- Destruction --------------------------------------------------------------------

class FailingData : public TIWUserSessionBase {
 public:
  explicit FailingData(TIWApplication* s) : TIWUserSessionBase(s) {
    OnDestroy = [](TIWUserSessionBase&) { throw std::runtime_error("data module fails"); };
  }
};

TEST_F(TIWSessionsTest, DestructionRunsEveryStepWhateverTheStepsRaise) {
  std::vector<std::string> steps;
  registry.FOnDestroySession = [&](TIWApplication&) {
    steps.push_back("destroy event");
    throw std::runtime_error("event fails");
  };
  auto s = newSession(registry, creating);
  s->Unlock();
  s->SetData(std::make_unique<FailingData>(s.get()));
  auto page = std::make_unique<TIWAppForm>();
  page->OnDestroy = [&](TIWAppForm&) {
    steps.push_back("page");
    throw std::runtime_error("page fails");
  };
  s->SetActiveForm(s->AddForm(std::move(page)));
  s.reset();
  EXPECT_NO_THROW(registry.Clear());
  EXPECT_EQ(steps, (std::vector<std::string>{"destroy event", "page"}));
  EXPECT_EQ(registry.GetCount(), 0u);
}

// --- Many threads at once ---------------------------------------------------------------

TEST_F(TIWSessionsTest, ManyRequestsOfOneSessionNeverOverlap) {
  TSessionTimeoutThread purge(registry);
  auto s = newSession(registry, creating);
  s->SetSessionTimeOut(10);
  s->Unlock();
  const std::string id = s->AppID();
  s.reset();
  int counter = 0;  // touched only under the session lock
  std::atomic<int> inside{0};
  std::atomic<bool> overlap{false};
  constexpr int kThreads = 8;
  constexpr int kRounds = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        bool expired = false;
        auto found = registry.LookupAndLock(id, expired);
        ASSERT_NE(found, nullptr);
        if (++inside != 1) overlap = true;
        ++counter;
        found->MarkAccess();
        --inside;
        found->Unlock();
      }
    });
  }
  // Meanwhile other sessions come and go and the purge thread runs passes.
  std::thread churn([&] {
    for (int i = 0; i < 50; ++i) {
      CreatingRequest c;
      auto other = newSession(registry, c);
      other->SetSessionTimeOut(1);
      other->Unlock();
      if (i % 2 == 0) registry.Terminate(other->AppID());
      purge.RunPassNow();
    }
  });
  for (auto& t : threads) t.join();
  churn.join();
  EXPECT_FALSE(overlap.load());
  EXPECT_EQ(counter, kThreads * kRounds);
  clock.advanceMinutes(2);
  purge.RunPassNow();
  EXPECT_EQ(registry.GetCount(), 1u);
}

}  // namespace
}  // namespace orv::test
