#pragma once
// Helpers of the transport tests: a raw-socket client for loopback servers, a parsed
// HTTP response, temporary directories, and the process's thread and descriptor counts.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// A blocking TCP client with a receive time-out (so a broken server fails a test
// instead of hanging it).
class RawClient {
 public:
  RawClient() = default;
  explicit RawClient(int port, const std::string& ip = "127.0.0.1");
  ~RawClient();
  RawClient(RawClient&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  RawClient& operator=(RawClient&& other) noexcept;

  bool connected() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Sends all bytes (false when the peer has gone).
  bool send(const std::string& bytes);
  // Sends every byte in a send call of its own (no-delay on).
  bool sendByteByByte(const std::string& bytes);
  // Reads until the peer closes (or the time-out passes).
  std::string readAll(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Reads until `marker` has arrived; returns everything read so far.
  std::string readUntil(const std::string& marker,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // True when the peer closed the connection (EOF or reset) within the time-out.
  bool waitForClose(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  void shutdownWrite();
  void close();

 private:
  int fd_ = -1;
  std::string pending_;
};

struct HttpResponse {
  bool valid = false;
  std::string statusLine;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  std::string header(const std::string& name) const;  // first value, any letter case
  bool hasHeader(const std::string& name) const;
  std::vector<std::string> headerNames() const;
  std::vector<std::string> all(const std::string& name) const;
};

// Parses status line, header lines and everything after the empty line as the body.
HttpResponse parseResponse(const std::string& raw);

// Sends a request on a new connection and reads everything until the server closes.
std::string exchange(int port, const std::string& request);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }  // with a trailing "/"
  std::vector<std::string> files() const;

 private:
  std::string path_;
};

std::size_t processThreadCount();
std::size_t processFdCount();
// A port that was free a moment ago on 127.0.0.1.
int freeLoopbackPort();

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace orv::test
