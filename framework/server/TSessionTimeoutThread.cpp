#include "framework/server/TSessionTimeoutThread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "transport/ThreadName.h"

namespace orv {

TSessionTimeoutThread::TSessionTimeoutThread(TIWSessions& registry,
                                             std::chrono::milliseconds interval)
    : registry_(registry), interval_(interval) {
  thread_ = std::thread([this] { run(); });
}

TSessionTimeoutThread::~TSessionTimeoutThread() { Stop(); }

void TSessionTimeoutThread::Stop() {
  {
    std::lock_guard hold(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  done_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TSessionTimeoutThread::RunPassNow() {
  std::unique_lock hold(mutex_);
  if (stop_) return;
  const std::uint64_t target = passes_ + 1;
  ++requested_;
  wake_.notify_all();
  done_.wait(hold, [&] { return passes_ >= target || stop_; });
}

std::uint64_t TSessionTimeoutThread::Passes() const {
  std::lock_guard hold(mutex_);
  return passes_;
}

void TSessionTimeoutThread::run() {
  setCurrentThreadName("IW Session Timeout Thread");
  // Lower priority: purging never competes with requests for the processor.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 5);
  std::unique_lock hold(mutex_);
  for (;;) {
    const bool woken = wake_.wait_for(hold, interval_, [&] { return stop_ || requested_ > 0; });
    if (stop_) return;
    if (woken) --requested_;
    hold.unlock();
    try {
      pass();
    } catch (...) {
      // A failing pass must not end the thread (and with it the process); the next
      // pass tries again.
    }
    hold.lock();
    ++passes_;
    done_.notify_all();
  }
}

void TSessionTimeoutThread::pass() {
  std::vector<std::shared_ptr<TIWApplication>> freeList;
  registry_.RemoveExpiredSessions(freeList);
  // Outside the registry lock; each session binds itself to this thread while it is
  // destroyed and swallows the errors of its destruction.
  while (!freeList.empty()) {
    std::shared_ptr<TIWApplication> session = std::move(freeList.back());
    freeList.pop_back();
    session.reset();
  }
  const TIWServerControllerBase* c = IWServerController();
  if (c != nullptr && c->RestartExpiredSession() && ++passNumber_ % 60 == 0)
    registry_.ExpiredSessions().Purge(registry_.Now(), 240, 100);
}

}  // namespace orv
