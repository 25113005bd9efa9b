#pragma once
// The owner of one socket descriptor (closed on destruction) and the few socket calls
// the TCP server needs: creating, binding and listening sockets, addresses of either
// end. Every descriptor is created close-on-exec, so a started program never inherits
// one. Failures raise EInSocketError with the system's message text.
#include <string>

namespace orv {

class Socket {
 public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() { reset(); }
  Socket(Socket&& other) noexcept : fd_(other.release()) {}
  Socket& operator=(Socket&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

struct SocketAddress {
  std::string ip;
  int port = 0;
};

// A TCP socket bound to ip:port (IPv4, or IPv6 when the address holds ":"), not yet
// listening; SO_REUSEADDR when `reuse`. Raises the bind error (for example "Address
// already in use") with the socket closed again.
Socket bindTcpSocket(const std::string& ip, int port, bool reuse);
// Starts listening with the given backlog and makes the socket non-blocking.
void listenOn(const Socket& socket, int backlog);

SocketAddress localAddressOf(int fd);
SocketAddress peerAddressOf(int fd);

// Raises EInSocketError for the errno value, with peerGone set for resets, aborts and
// shut-down or closed sockets.
[[noreturn]] void throwSocketError(int errorCode);
bool isPeerGoneError(int errorCode);

}  // namespace orv
