#include "platform/Beep.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace orv {

namespace detail {
namespace {

struct BeepCounters {
  std::atomic<std::uint64_t> total{0};
  std::mutex mutex;  // guards byType; a leaf lock (nothing else is taken while held)
  std::map<unsigned, std::uint64_t> byType;
};

BeepCounters& beepCounters() {
  static BeepCounters counters;
  return counters;
}

std::atomic<bool>& keepFiles() {
  // Read once, when first asked: the operator's wish at start.
  static std::atomic<bool> keep{[] {
    const char* v = std::getenv("ORVWS_KEEP_FILES");
    return v != nullptr && std::strcmp(v, "1") == 0;
  }()};
  return keep;
}

// Take the start value while the process is still single-threaded, before anything
// (a test, the desktop toggle) may change the environment.
[[maybe_unused]] const bool kKeepFilesReadAtStart = keepFiles().load();

}  // namespace
}  // namespace detail

void MessageBeep(unsigned type) {
  auto& c = detail::beepCounters();
  {
    std::lock_guard lock(c.mutex);
    ++c.byType[type];
  }
  c.total.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t beepCount() { return detail::beepCounters().total.load(std::memory_order_relaxed); }

std::uint64_t beepCount(unsigned type) {
  auto& c = detail::beepCounters();
  std::lock_guard lock(c.mutex);
  const auto it = c.byType.find(type);
  return it == c.byType.end() ? 0 : it->second;
}

bool shiftKeyHeld() { return detail::keepFiles().load(); }

void setKeepFiles(bool keep) { detail::keepFiles().store(keep); }

}  // namespace orv
