#include "transport/TInCustomTCPServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "transport/InErrors.h"
#include "transport/Messages.h"
#include "transport/ThreadName.h"

namespace orv {

namespace {

// How long a listener waits on its socket before it looks at its stop flag again.
constexpr int kAcceptWaitMs = 250;
// Connections taken from the backlog in one pass before the listener looks around.
constexpr int kAcceptBatch = 64;

// A write to a socket whose peer has gone must never end the process.
void ignoreSigpipeOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
      struct sigaction ignore {};
      ignore.sa_handler = SIG_IGN;
      ::sigemptyset(&ignore.sa_mask);
      ::sigaction(SIGPIPE, &ignore, nullptr);
    }
  });
}

}  // namespace

TInCustomTCPServer::TInCustomTCPServer(std::string name) : Name(std::move(name)) {}

TInCustomTCPServer::~TInCustomTCPServer() { SetActive(false); }

void TInCustomTCPServer::SetActive(bool active) {
  if (active) {
    Startup();
  } else {
    Shutdown();
  }
}

std::string TInCustomTCPServer::listenerThreadName(std::size_t number) const {
  return Name + " Listener #" + std::to_string(number);
}

int TInCustomTCPServer::boundPort(std::size_t bindingIndex) const {
  std::lock_guard lock(activeMutex_);
  return bindingIndex < boundPorts_.size() ? boundPorts_[bindingIndex] : 0;
}

std::size_t TInCustomTCPServer::contextCount() const {
  std::lock_guard lock(contextsMutex_);
  return liveCount_;
}

std::size_t TInCustomTCPServer::connectionThreadCount() const {
  std::lock_guard lock(contextsMutex_);
  return slots_.size();
}

bool TInCustomTCPServer::waitForNoConnections(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(contextsMutex_);
  return slotsChanged_.wait_for(lock, timeout, [this] { return slots_.empty(); });
}

void TInCustomTCPServer::Startup() {
  std::lock_guard lock(activeMutex_);
  if (active_) return;
  ignoreSigpipeOnce();
  if (Bindings.empty()) Bindings.push_back(TInSocketHandle{"0.0.0.0", DefaultPort});

  Socket event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!event.valid()) throwSocketError(errno);

  // Bind every address first; any failure closes what this pass bound (the Socket
  // owners do) and reaches the caller with the server still inactive.
  std::vector<Socket> sockets;
  std::vector<int> ports;
  for (const auto& binding : Bindings) {
    const int port = binding.Port < 0 ? DefaultPort : binding.Port;
    sockets.push_back(bindTcpSocket(binding.IP, port, ReuseSocket));
    if (!UseNagle) {
      const int one = 1;
      ::setsockopt(sockets.back().fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
  }
  for (auto& s : sockets) {
    listenOn(s, ListenQueue);
    ports.push_back(localAddressOf(s.fd()).port);
  }

  reapEvent_ = std::move(event);
  boundPorts_ = std::move(ports);
  active_ = true;
  try {
    for (std::size_t i = 0; i < sockets.size(); ++i) {
      auto listener = std::make_unique<Listener>();
      listener->number = i + 1;
      listener->socket = std::move(sockets[i]);
      Listener& l = *listener;
      listeners_.push_back(std::move(listener));
      l.thread = std::thread([this, &l] { listen(l); });
    }
  } catch (...) {
    // A listener thread could not be started: undo the whole start.
    for (auto& l : listeners_) {
      l->stop = true;
      if (l->thread.joinable()) l->thread.join();
    }
    listeners_.clear();
    boundPorts_.clear();
    reapEvent_.reset();
    active_ = false;
    throw;
  }
}

void TInCustomTCPServer::Shutdown() {
  std::lock_guard lock(activeMutex_);
  if (!active_) return;

  // 1. Listeners: stop flag, wake the poll by shutting the listening socket, join.
  for (auto& l : listeners_) {
    l->stop = true;
    ::shutdown(l->socket.fd(), SHUT_RDWR);
  }
  for (auto& l : listeners_) {
    if (l->thread.joinable()) l->thread.join();
  }
  listeners_.clear();

  // 2. Wake every connection thread blocked in a read or write.
  std::list<Slot> ending;
  {
    std::lock_guard slotsLock(contextsMutex_);
    for (auto& slot : slots_) {
      if (slot.context) slot.context->Connection().IOHandler().wakeUp();
    }
    ending.splice(ending.end(), slots_);
  }
  // 3. Wait for every connection thread. No listener runs any more, so nobody else
  // reads finished_ until it is cleared below.
  for (auto& slot : ending) {
    if (slot.thread.joinable()) slot.thread.join();
  }
  ending.clear();
  {
    std::lock_guard slotsLock(contextsMutex_);
    finished_.clear();
    liveCount_ = 0;
  }
  slotsChanged_.notify_all();

  reapEvent_.reset();
  boundPorts_.clear();
  active_ = false;
}

void TInCustomTCPServer::reportListenError(const std::exception& error) {
  if (!OnListenException) return;
  try {
    OnListenException(error);
  } catch (...) {
    // A listener must survive its own error hook.
  }
}

void TInCustomTCPServer::listen(Listener& listener) {
  setCurrentThreadName(listenerThreadName(listener.number));
  // Accepting must stay responsive under load: the listener asks for the highest
  // priority. Only a privileged process gets it; otherwise it runs at normal priority.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), -20);
  const int listenFd = listener.socket.fd();
  const int eventFd = reapEvent_.fd();
  bool backOff = false;  // after running out of descriptors: wait before accepting again
  while (!listener.stop.load()) {
    pollfd fds[2] = {{eventFd, POLLIN, 0}, {listenFd, static_cast<short>(backOff ? 0 : POLLIN), 0}};
    const int ready = ::poll(fds, 2, kAcceptWaitMs);
    backOff = false;
    if (listener.stop.load()) break;
    if (ready <= 0) continue;
    if (fds[0].revents & POLLIN) {
      std::uint64_t count;
      [[maybe_unused]] const ssize_t got = ::read(eventFd, &count, sizeof count);
      reapFinished();
    }
    if (!(fds[1].revents & (POLLIN | POLLERR | POLLHUP))) continue;
    for (int i = 0; i < kAcceptBatch && !listener.stop.load(); ++i) {
      const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) {
        const int error = errno;
        if (error == EAGAIN || error == EWOULDBLOCK || error == EINVAL) break;
        if (error == EINTR || error == ECONNABORTED || error == EPROTO) continue;
        try {
          throwSocketError(error);
        } catch (const std::exception& e) {
          reportListenError(e);
        }
        backOff = error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
        break;
      }
      acceptOne(fd);
    }
  }
  reapFinished();
}

void TInCustomTCPServer::acceptOne(int fd) {
  Socket socket(fd);
  if (!UseNagle) {
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  try {
    std::lock_guard lock(contextsMutex_);
    if (MaxConnections > 0 && liveCount_ >= static_cast<std::size_t>(MaxConnections)) {
      return;  // closed unanswered by the Socket owner
    }
    if (MaxThreads > 0 && slots_.size() >= static_cast<std::size_t>(MaxThreads)) {
      throw EInException(msg::kSchedulerThreadsExceeded);
    }
    auto connection = std::make_unique<TInTCPConnection>(makeIOHandler(std::move(socket)));
    auto it = slots_.emplace(slots_.end());
    it->context = std::make_unique<TInContext>(*this, std::move(connection));
    // Counted among the live contexts from here, so the new thread need not take the
    // lock (which this listener still holds) before it starts serving.
    it->live = true;
    ++liveCount_;
    try {
      // Started under the lock, so the thread cannot finish (and be reaped) before
      // its slot holds it.
      it->thread = std::thread([this, it] { runConnection(it); });
    } catch (...) {
      --liveCount_;
      slots_.erase(it);
      throw;
    }
  } catch (const std::exception& e) {
    reportListenError(e);
  }
}

void TInCustomTCPServer::runConnection(SlotIterator slot) {
  setCurrentThreadName(connectionThreadName());
  TInContext& context = *slot->context;
  try {
    DoConnect(context);
    while (DoExecute(context) && context.Connection().Connected()) {
    }
  } catch (const EInSocketError& e) {
    if (!e.peerGone()) {
      try {
        DoException(context, e);
      } catch (...) {
      }
    }
  } catch (const std::exception& e) {
    try {
      DoException(context, e);
    } catch (...) {
    }
  } catch (...) {
  }
  try {
    DoDisconnect(context);
  } catch (...) {
  }
  try {
    context.Connection().Disconnect();
  } catch (...) {
  }
  // Leaves the live contexts and joins the finished ones in one step.
  std::lock_guard lock(contextsMutex_);
  slot->live = false;
  --liveCount_;
  const bool wake = finished_.empty();
  finished_.push_back(slot);
  if (wake && reapEvent_.valid()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t done = ::write(reapEvent_.fd(), &one, sizeof one);
  }
}

void TInCustomTCPServer::reapFinished() {
  std::list<Slot> done;
  {
    std::lock_guard lock(contextsMutex_);
    for (auto it : finished_) done.splice(done.end(), slots_, it);
    finished_.clear();
  }
  if (done.empty()) return;
  for (auto& slot : done) {
    if (slot.thread.joinable()) slot.thread.join();
  }
  done.clear();
  slotsChanged_.notify_all();
}

void TInCustomTCPServer::DoConnect(TInContext& context) {
  if (OnConnect) OnConnect(context);
}

bool TInCustomTCPServer::DoExecute(TInContext& context) {
  return OnExecute ? OnExecute(context) : false;
}

void TInCustomTCPServer::DoDisconnect(TInContext&) {}

void TInCustomTCPServer::DoException(TInContext& context, const std::exception& error) {
  if (OnException) OnException(context, error);
}

std::unique_ptr<TInIOHandler> TInCustomTCPServer::makeIOHandler(Socket socket) {
  return std::make_unique<TInIOHandler>(std::move(socket));
}

}  // namespace orv
