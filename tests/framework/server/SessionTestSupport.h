#pragma once
// Helpers of the session tests: a registry clock the test moves, sessions made the way
// a request makes them, and a controller for the tests that need settings.
#include <atomic>
#include <memory>
#include <string>

#include "framework/server/TBrowser.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWSessions.h"
#include "tests/framework/server/HttpTestClient.h"
#include "tests/framework/server/ServerTestSupport.h"
#include "transport/HttpDate.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"

namespace orv::test {

// A clock that starts at the real time and moves only when told.
class ManualClock {
 public:
  ManualClock() : now_(nowLocalDateTime()) {}
  double operator()() const { return now_.load(); }
  void advanceSeconds(double s) { now_.store(now_.load() + s / 86400.0); }
  void advanceMinutes(double m) { advanceSeconds(m * 60); }
  TIWSessions::Clock function() {
    return [this] { return now_.load(); };
  }

 private:
  std::atomic<double> now_;
};

// The request a session is created for (kept alive as long as the session may look
// at it).
struct CreatingRequest {
  THttpRequest request;
  THttpReply reply;
  CreatingRequest() { request.mUserAgent = kChromeUA; }
};

// A new session registered in `registry`, locked by the calling thread.
inline std::shared_ptr<TIWApplication> newSession(TIWSessions& registry, CreatingRequest& creating,
                                                  const std::string& ip = "127.0.0.1") {
  return TIWApplication::Create(registry, TBrowser::CreateBrowser(creating.request.mUserAgent),
                                creating.request, creating.reply, "", "", "", ip);
}

}  // namespace orv::test
