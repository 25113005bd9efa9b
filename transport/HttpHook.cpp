#include "transport/HttpHook.h"

#include <memory>
#include <mutex>
#include <shared_mutex>

#include "platform/ExePaths.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"

namespace orv {

namespace {

// Guards the three process-wide entries below. Taken only to copy or replace them,
// never while a hook runs; a leaf lock.
std::shared_mutex gHookMutex;
std::shared_ptr<const HttpHookFunction> gHttpHook;
std::shared_ptr<const HttpCompressFunction> gCompressHook;
std::string gPacketTempDir;

}  // namespace

void setHttpHook(HttpHookFunction hook) {
  auto fresh = hook ? std::make_shared<const HttpHookFunction>(std::move(hook)) : nullptr;
  std::unique_lock lock(gHookMutex);
  gHttpHook = std::move(fresh);
}

bool httpHookInstalled() {
  std::shared_lock lock(gHookMutex);
  return gHttpHook != nullptr;
}

void callHttpHook(std::uint8_t* block, std::size_t size) {
  std::shared_ptr<const HttpHookFunction> hook;
  {
    std::shared_lock lock(gHookMutex);
    hook = gHttpHook;
  }
  if (!hook) throw EInException(msg::kHttpHookNotSet);
  (*hook)(block, size);
}

void setHttpCompressHook(HttpCompressFunction hook) {
  auto fresh = hook ? std::make_shared<const HttpCompressFunction>(std::move(hook)) : nullptr;
  std::unique_lock lock(gHookMutex);
  gCompressHook = std::move(fresh);
}

void callHttpCompressHook(const TInHTTPRequestInfo& request, TInHTTPResponseInfo& response) {
  std::shared_ptr<const HttpCompressFunction> hook;
  {
    std::shared_lock lock(gHookMutex);
    hook = gCompressHook;
  }
  if (hook) (*hook)(request, response);
}

void setPacketTempDir(const std::string& directory) {
  std::unique_lock lock(gHookMutex);
  gPacketTempDir = directory;
}

std::string packetTempDir() {
  {
    std::shared_lock lock(gHookMutex);
    if (!gPacketTempDir.empty()) return gPacketTempDir;
  }
  return exePaths().tempDir;
}

}  // namespace orv
