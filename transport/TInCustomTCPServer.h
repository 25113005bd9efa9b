#pragma once
// The multi-threaded TCP server under the HTTP layer. It binds every configured
// address, runs one listener thread per binding and gives every accepted connection a
// thread of its own (no pool, no limit unless one is set), on which the protocol layer
// runs `DoExecute` until it returns false.
//
// Ownership: the server owns its listening sockets, its listener threads and one slot
// per connection (the connection's context, with its socket, and its thread). Finished
// connection threads are joined promptly by a listener (a finishing thread wakes it
// through an event descriptor), so no thread or descriptor outlives its connection.
//
// Threads: `SetActive` is called by the controlling thread (start-up, the window, the
// service) and never from a connection thread. Stopping stops the listeners, shuts
// every live connection's socket down so that blocked reads return, and joins every
// connection thread before it returns.
//
// Lock order: activeMutex_ (start/stop), then contextsMutex_ (the slots), then a
// connection's TInIOHandler descriptor lock. Hooks are never called under a lock.
//
// Subclasses that override the Do* hooks must call SetActive(false) in their own
// destructor, so that no thread runs their overrides while they are being destroyed.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "transport/Socket.h"
#include "transport/TInContext.h"
#include "transport/TInIOHandler.h"

namespace orv {

// One address the server listens on. A negative port means the server's DefaultPort;
// port 0 lets the system choose (see TInCustomTCPServer::boundPort).
struct TInSocketHandle {
  std::string IP;  // empty = all IPv4 interfaces; an address with ":" is IPv6
  int Port = -1;
};

class TInCustomTCPServer {
 public:
  explicit TInCustomTCPServer(std::string name = "TInCustomTCPServer");
  virtual ~TInCustomTCPServer();
  TInCustomTCPServer(const TInCustomTCPServer&) = delete;
  TInCustomTCPServer& operator=(const TInCustomTCPServer&) = delete;

  // Settings: change them only while the server is inactive.
  std::string Name;
  std::vector<TInSocketHandle> Bindings;
  int DefaultPort = 0;
  int ListenQueue = 15;
  bool UseNagle = true;
  // Live connections allowed at once (0: no limit); one more is closed unanswered.
  int MaxConnections = 0;
  // Connection threads allowed at once (0: no limit); one more fails with "The maximum
  // number of threads for this scheduler is exceeded." and its connection is closed.
  int MaxThreads = 0;
  bool ReuseSocket = true;

  // Hooks (do nothing when unset). OnExecute runs when DoExecute is not overridden.
  std::function<void(TInContext&)> OnConnect;
  std::function<bool(TInContext&)> OnExecute;
  std::function<void(TInContext&, const std::exception&)> OnException;
  // Errors of a listener pass (accepting, starting a thread); the listener goes on.
  std::function<void(const std::exception&)> OnListenException;

  // Starts (binds and listens on every binding; on failure nothing stays open and the
  // error reaches the caller) or stops serving.
  void SetActive(bool active);
  bool Active() const { return active_.load(); }

  // The port a binding actually listens on (after start; useful with port 0).
  int boundPort(std::size_t bindingIndex = 0) const;
  // Live contexts (connections whose thread runs the protocol).
  std::size_t contextCount() const;
  // Connection threads not yet joined.
  std::size_t connectionThreadCount() const;
  // Waits until every connection thread has ended and been joined; false on time-out.
  bool waitForNoConnections(std::chrono::milliseconds timeout) const;

  // The thread name of listener n (1-based) and of connection threads.
  std::string listenerThreadName(std::size_t number) const;
  std::string connectionThreadName() const { return Name + "Scheduler User"; }

 protected:
  // Connection hooks, called on the connection's thread.
  virtual void DoConnect(TInContext& context);
  virtual bool DoExecute(TInContext& context);
  virtual void DoDisconnect(TInContext& context);
  virtual void DoException(TInContext& context, const std::exception& error);
  // Makes the I/O handler of an accepted socket (an encrypted variant overrides it).
  virtual std::unique_ptr<TInIOHandler> makeIOHandler(Socket socket);

  void Startup();
  void Shutdown();

 private:
  struct Listener {
    std::size_t number = 0;  // 1-based binding number
    Socket socket;
    std::thread thread;
    std::atomic<bool> stop{false};
  };
  struct Slot {
    std::unique_ptr<TInContext> context;
    std::thread thread;
    bool live = false;
  };
  using SlotIterator = std::list<Slot>::iterator;

  void listen(Listener& listener);
  void acceptOne(int fd);
  void runConnection(SlotIterator slot);
  void reapFinished();
  void reportListenError(const std::exception& error);

  // Serialises SetActive; guards listeners_, boundPorts_ and the event descriptor's
  // creation and removal.
  mutable std::mutex activeMutex_;
  std::atomic<bool> active_{false};
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::vector<int> boundPorts_;
  // Finishing connection threads write to it; listeners poll it and join them.
  Socket reapEvent_;

  // Guards slots_, finished_ and liveCount_.
  mutable std::mutex contextsMutex_;
  mutable std::condition_variable slotsChanged_;
  std::list<Slot> slots_;
  std::vector<SlotIterator> finished_;
  std::size_t liveCount_ = 0;
};

}  // namespace orv
