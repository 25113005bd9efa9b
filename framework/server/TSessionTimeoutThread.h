#pragma once
// TSessionTimeoutThread ("IW Session Timeout Thread"): removes expired sessions. Every
// time its wait of one interval (60 s) on its stop signal runs out, it takes the
// expired sessions that are not serving a request out of the registry and frees them,
// outside the registry lock, each bound to this thread while it is freed; a busy
// session waits for the next pass. With RestartExpiredSession, every 60th pass also
// drops expired-list entries older than 240 minutes once the list holds 100.
//
// Created and started by the server controller, stopped (and joined) when it goes.
// The registry must outlive the thread. RunPassNow lets tests run one pass on the
// thread at a moment of their choosing, together with an injected registry clock.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace orv {

class TIWSessions;

class TSessionTimeoutThread {
 public:
  static constexpr std::chrono::milliseconds kInterval{60000};

  explicit TSessionTimeoutThread(TIWSessions& registry,
                                 std::chrono::milliseconds interval = kInterval);
  // Stops and joins the thread.
  ~TSessionTimeoutThread();
  TSessionTimeoutThread(const TSessionTimeoutThread&) = delete;
  TSessionTimeoutThread& operator=(const TSessionTimeoutThread&) = delete;

  // Sets the stop signal and waits for the thread (a running pass completes first).
  void Stop();
  // Wakes the thread for one pass and returns when that pass has finished.
  void RunPassNow();
  // Passes completed so far.
  std::uint64_t Passes() const;

 private:
  void run();
  void pass();

  TIWSessions& registry_;  // not owned; outlives this thread
  const std::chrono::milliseconds interval_;

  // Guards the fields below; held only around waits and flag changes, never during a
  // pass (a pass takes the registry lock and frees sessions).
  mutable std::mutex mutex_;
  std::condition_variable wake_;   // stop signal and RunPassNow requests
  std::condition_variable done_;   // a pass finished
  bool stop_ = false;
  std::uint64_t requested_ = 0;    // passes asked for by RunPassNow
  std::uint64_t passes_ = 0;
  std::uint64_t passNumber_ = 0;  // the thread's own count, for the 60th-pass rule
  std::thread thread_;
};

}  // namespace orv
