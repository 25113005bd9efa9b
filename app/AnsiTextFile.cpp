#include "app/AnsiTextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/CodePage.h"

namespace orv {

namespace {

// Permissions of a set written under a temporary name: readable by everyone, like any
// file the server creates.
constexpr mode_t kFileMode = 0644;

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Closes a descriptor when the scope ends.
struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::optional<AnsiTextFile> AnsiTextFile::create(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return std::nullopt;
  return AnsiTextFile(fd, path);
}

std::optional<AnsiTextFile> AnsiTextFile::createTemporary(const std::string& dir,
                                                          std::string_view prefix) {
  std::string templ = dir + std::string(prefix) + "XXXXXX";
  const int fd = ::mkostemp(templ.data(), O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  ::fchmod(fd, kFileMode);
  return AnsiTextFile(fd, std::move(templ));
}

AnsiTextFile::AnsiTextFile(AnsiTextFile&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), bytes_(std::move(other.bytes_)) {
  other.fd_ = -1;
}

AnsiTextFile::~AnsiTextFile() {
  if (fd_ >= 0) ::close(fd_);
}

void AnsiTextFile::writeLine(std::string_view utf8) {
  std::string line = utf8ToCp1252(utf8);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  bytes_ += line;
  bytes_ += "\r\n";
}

bool AnsiTextFile::close(bool sync) {
  if (fd_ < 0) return false;
  bool ok = writeAll(fd_, bytes_);
  if (ok && sync && ::fsync(fd_) != 0) ok = false;
  if (::close(fd_) != 0) ok = false;
  fd_ = -1;
  return ok;
}

std::optional<std::string> readAnsiTextFile(const std::string& path) {
  FdCloser f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (f.fd < 0) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(f.fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return cp1252ToUtf8(bytes);
}

std::optional<std::string> readAnsiFirstLine(const std::string& path) {
  FdCloser f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (f.fd < 0) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(f.fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    const std::string_view chunk(buffer, static_cast<std::size_t>(n));
    const auto end = chunk.find_first_of("\r\n");
    bytes.append(chunk.substr(0, end));
    if (end != std::string_view::npos) break;
  }
  return cp1252ToUtf8(bytes);
}

}  // namespace orv
