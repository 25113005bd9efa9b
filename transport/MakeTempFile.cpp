#include "transport/MakeTempFile.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "transport/HttpDate.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"

namespace orv {

namespace {

std::string upperHex(std::uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

// Incremented before each use, so the first name carries 1.
std::atomic<std::uint64_t> gTempFileCounter{0};

}  // namespace

const std::string& tempFileStartStamp() {
  // Computed once, on first use (which the transport and the framework reach during
  // start-up): local date-time as a day number times 86,400,000, truncated.
  static const std::string stamp = [] {
    const double days = nowLocalDateTime();
    const double ms = days * 86400000.0;
    return upperHex(ms > 0 ? static_cast<std::uint64_t>(ms) : 0);
  }();
  return stamp;
}

std::string MakeTempFile(const std::string& directory, const std::string& prefix,
                         const std::string& extension) {
  if (directory.empty()) throw EInException(msg::kMakeTempFileNoPath);
  std::string name = directory;
  if (name.back() != '/') name += '/';
  name += prefix;
  name += tempFileStartStamp();
  name += upperHex(gTempFileCounter.fetch_add(1, std::memory_order_relaxed) + 1);
  name += extension.empty() ? std::string(".tmp") : extension;
  return name;
}

}  // namespace orv
