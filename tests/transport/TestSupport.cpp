#include "tests/transport/TestSupport.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orv::test {

namespace {

bool iequals(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::size_t countEntries(const char* dir) {
  std::size_t n = 0;
  DIR* d = ::opendir(dir);
  if (d == nullptr) return 0;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] != '.') ++n;
  }
  ::closedir(d);
  return n;
}

}  // namespace

RawClient::RawClient(int port, const std::string& ip) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, ip.c_str(), &addr.sin_addr);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

RawClient::~RawClient() { close(); }

RawClient& RawClient::operator=(RawClient&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void RawClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void RawClient::shutdownWrite() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

bool RawClient::send(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool RawClient::sendByteByByte(const std::string& bytes) {
  const int one = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  for (char c : bytes) {
    if (::send(fd_, &c, 1, MSG_NOSIGNAL) != 1) return false;
  }
  return true;
}

std::string RawClient::readUntil(const std::string& marker, std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  std::string data = std::move(pending_);
  pending_.clear();
  char buffer[65536];
  while (marker.empty() || data.find(marker) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          until - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready <= 0) break;
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

std::string RawClient::readAll(std::chrono::milliseconds timeout) { return readUntil("", timeout); }

bool RawClient::waitForClose(std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          until - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) return true;
    pending_.append(buffer, static_cast<std::size_t>(n));
  }
}

std::string HttpResponse::header(const std::string& name) const {
  for (const auto& [n, v] : headers) {
    if (iequals(n, name)) return v;
  }
  return {};
}

bool HttpResponse::hasHeader(const std::string& name) const {
  for (const auto& h : headers) {
    if (iequals(h.first, name)) return true;
  }
  return false;
}

std::vector<std::string> HttpResponse::headerNames() const {
  std::vector<std::string> names;
  for (const auto& h : headers) names.push_back(h.first);
  return names;
}

std::vector<std::string> HttpResponse::all(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : headers) {
    if (iequals(n, name)) values.push_back(v);
  }
  return values;
}

HttpResponse parseResponse(const std::string& raw) {
  HttpResponse r;
  const auto end = raw.find("\r\n\r\n");
  if (end == std::string::npos) return r;
  std::istringstream head(raw.substr(0, end));
  std::string line;
  std::getline(head, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  r.statusLine = line;
  while (std::getline(head, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto colon = line.find(": ");
    if (colon == std::string::npos) {
      r.headers.emplace_back(line, "");
    } else {
      r.headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
  }
  r.body = raw.substr(end + 4);
  r.valid = true;
  return r;
}

std::string exchange(int port, const std::string& request) {
  RawClient client(port);
  if (!client.connected()) throw std::runtime_error("cannot connect");
  client.send(request);
  return client.readAll();
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orv-transport-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::files() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_)) {
    names.push_back(e.path().filename().string());
  }
  return names;
}

std::size_t processThreadCount() { return countEntries("/proc/self/task"); }
std::size_t processFdCount() {
  // The directory stream itself holds one descriptor while counting.
  return countEntries("/proc/self/fd") - 1;
}

int freeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = 0;
  ::inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace orv::test
