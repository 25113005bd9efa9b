#include "platform/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <mutex>

#include "platform/ExePaths.h"

namespace orv {

namespace detail {
namespace {

// Guards appending to every log file of the process; a leaf lock (taken last, nothing
// is taken while it is held).
std::mutex& logMutex() {
  static std::mutex m;
  return m;
}

std::string localTimestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  char buf[32];
  const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return std::string(buf, n);
}

std::string logFileName(const std::string& ext) {
  const ExePaths& p = exePaths();
  std::string name = p.appPath + p.appName;
  if (!ext.empty()) {
    if (ext.front() != '.') name += '.';
    name += ext;
  }
  return name;
}

}  // namespace
}  // namespace detail

void LogFileAppend(const std::string& text, const std::string& ext) {
  try {
    std::string line = detail::localTimestamp();
    line += ' ';
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    line += "\r\n";
    const std::string file = detail::logFileName(ext);

    std::lock_guard lock(detail::logMutex());
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    std::size_t done = 0;
    while (done < line.size()) {
      const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
  } catch (...) {
    // Out of memory while formatting: the entry is lost, the caller goes on.
  }
}

}  // namespace orv
