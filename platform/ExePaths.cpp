#include "platform/ExePaths.h"

#include <unistd.h>

#include <sys/stat.h>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace orv {

namespace detail {
namespace {

std::string withSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string readExeLink() {
  std::string buf(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buf.size()) {
      buf.resize(static_cast<std::size_t>(n));
      break;
    }
    buf.resize(buf.size() * 2);
  }
  // The kernel marks an executable replaced on disk while running; the name is still
  // the one the operator installed.
  constexpr std::string_view kDeleted = " (deleted)";
  struct stat st {};
  if (buf.size() > kDeleted.size() && buf.ends_with(kDeleted) && ::stat(buf.c_str(), &st) != 0) {
    buf.resize(buf.size() - kDeleted.size());
  }
  return buf;
}

ExePaths computePaths() {
  ExePaths p;
  p.exeFileName = readExeLink();
  const auto slash = p.exeFileName.rfind('/');
  const std::string file =
      slash == std::string::npos ? p.exeFileName : p.exeFileName.substr(slash + 1);
  p.appPath = slash == std::string::npos ? std::string("./") : p.exeFileName.substr(0, slash + 1);
  const auto dot = file.rfind('.');
  p.appName = (dot == std::string::npos || dot == 0) ? file : file.substr(0, dot);
  // Only an absolute TMPDIR is taken: a relative one would move with the current
  // directory, which every page creation changes.
  const char* tmp = std::getenv("TMPDIR");
  p.tempDir = (tmp != nullptr && tmp[0] == '/') ? withSlash(tmp) : std::string("/tmp/");
  return p;
}

struct PathStore {
  std::atomic<const ExePaths*> current{nullptr};
  std::mutex mutex;  // guards snapshots and replacing `current`; a leaf lock
  std::vector<std::unique_ptr<const ExePaths>> snapshots;  // every version ever handed out
};

PathStore& store() {
  static PathStore s;
  return s;
}

}  // namespace
}  // namespace detail

const ExePaths& exePaths() {
  auto& s = detail::store();
  if (const ExePaths* p = s.current.load(std::memory_order_acquire)) return *p;
  std::lock_guard lock(s.mutex);
  if (const ExePaths* p = s.current.load(std::memory_order_relaxed)) return *p;
  s.snapshots.push_back(std::make_unique<const ExePaths>(detail::computePaths()));
  s.current.store(s.snapshots.back().get(), std::memory_order_release);
  return *s.snapshots.back();
}

void setAppPathForTesting(const std::string& appPath) {
  ExePaths next = exePaths();
  next.appPath = detail::withSlash(appPath);
  auto& s = detail::store();
  std::lock_guard lock(s.mutex);
  s.snapshots.push_back(std::make_unique<const ExePaths>(std::move(next)));
  s.current.store(s.snapshots.back().get(), std::memory_order_release);
}

}  // namespace orv
