#include "transport/Socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <cstring>

#include "transport/InErrors.h"

namespace orv {

void Socket::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool isPeerGoneError(int errorCode) {
  return errorCode == ECONNRESET || errorCode == ECONNABORTED || errorCode == EPIPE ||
         errorCode == ESHUTDOWN || errorCode == ENOTCONN || errorCode == ETIMEDOUT ||
         errorCode == EHOSTUNREACH || errorCode == ENETUNREACH;
}

void throwSocketError(int errorCode) {
  throw EInSocketError(std::strerror(errorCode), errorCode, isPeerGoneError(errorCode));
}

namespace {

SocketAddress fromSockaddr(const sockaddr_storage& ss) {
  SocketAddress a;
  char text[INET6_ADDRSTRLEN] = {};
  if (ss.ss_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(&ss);
    ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    a.port = ntohs(in->sin_port);
  } else if (ss.ss_family == AF_INET6) {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&ss);
    ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
    a.port = ntohs(in6->sin6_port);
  }
  a.ip = text;
  return a;
}

}  // namespace

Socket bindTcpSocket(const std::string& ip, int port, bool reuse) {
  const bool v6 = ip.find(':') != std::string::npos;
  sockaddr_storage ss{};
  socklen_t len;
  if (v6) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&ss);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET6, ip.c_str(), &in6->sin6_addr) != 1) throwSocketError(EINVAL);
    len = sizeof(sockaddr_in6);
  } else {
    auto* in = reinterpret_cast<sockaddr_in*>(&ss);
    in->sin_family = AF_INET;
    in->sin_port = htons(static_cast<std::uint16_t>(port));
    const std::string addr = ip.empty() ? "0.0.0.0" : ip;
    if (::inet_pton(AF_INET, addr.c_str(), &in->sin_addr) != 1) throwSocketError(EINVAL);
    len = sizeof(sockaddr_in);
  }
  if (port < 0 || port > 65535) throwSocketError(EINVAL);
  Socket s(::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!s.valid()) throwSocketError(errno);
  const int one = 1;
  if (reuse) ::setsockopt(s.fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (v6) ::setsockopt(s.fd(), IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
  if (::bind(s.fd(), reinterpret_cast<sockaddr*>(&ss), len) != 0) throwSocketError(errno);
  return s;
}

void listenOn(const Socket& socket, int backlog) {
  if (::listen(socket.fd(), backlog) != 0) throwSocketError(errno);
  const int flags = ::fcntl(socket.fd(), F_GETFL);
  ::fcntl(socket.fd(), F_SETFL, flags | O_NONBLOCK);
}

SocketAddress localAddressOf(int fd) {
  sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return {};
  return fromSockaddr(ss);
}

SocketAddress peerAddressOf(int fd) {
  sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return {};
  return fromSockaddr(ss);
}

}  // namespace orv
