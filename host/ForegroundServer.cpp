#include "host/ForegroundServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "framework/server/ServerText.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TSaServerIn.h"

namespace orv {
namespace {

// The write end of the stop pipe, for the signal handler (which may only make
// async-signal-safe calls). Process-wide because signal dispositions are.
volatile sig_atomic_t gStopPipe = -1;

extern "C" void onStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (gStopPipe >= 0) {
    const ssize_t n = ::write(gStopPipe, &byte, 1);
    (void)n;  // a full pipe already holds a stop request
  }
  errno = saved;
}

// Installs the SIGINT/SIGTERM handlers for its lifetime. A handler (not a blocked signal
// mask) because threads made before it (the purge thread) would otherwise still take
// the default action of a signal delivered to them and end the process unclean.
class StopSignals {
 public:
  StopSignals() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe failed");
    gStopPipe = fds_[1];
    struct sigaction action {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &oldInt_);
    ::sigaction(SIGTERM, &action, &oldTerm_);
  }
  ~StopSignals() {
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    gStopPipe = -1;
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  void wait() {
    pollfd p{fds_[0], POLLIN, 0};
    for (;;) {
      const int n = ::poll(&p, 1, -1);
      if (n > 0) return;
      if (n < 0 && errno != EINTR) return;
    }
  }

 private:
  int fds_[2] = {-1, -1};
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
};

}  // namespace

bool HasServeSwitch(const std::vector<std::string>& params) {
  for (const std::string& p : params)
    if (p.size() == 6 && (p[0] == '-' || p[0] == '/') && detail::equalsNoCase(p.substr(1), "SERVE"))
      return true;
  return false;
}

void ServeForeground() {
  StopSignals signals;
  TSaServerIn server;
  server.Start();
  const TIWServerControllerBase* c = IWServerController();
  std::string host = c != nullptr ? c->BoundIP() : std::string();
  host = host.substr(0, host.find(','));
  if (host.empty() || host == "0.0.0.0") host = "localhost";
  std::printf("%s serving on http://%s:%d/ (stop with Ctrl+C)\n",
              c != nullptr ? c->AppName().c_str() : "", host.c_str(), server.Port());
  std::fflush(stdout);
  signals.wait();
  server.Stop();
  TIWSessions::Instance().FreeAll();
}

}  // namespace orv
