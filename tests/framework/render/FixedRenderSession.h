#pragma once
// A session for render tests: fixed addresses and identity, settable settings, cache
// files kept in memory under "/$/temp/F<n>", callbacks and the callback reply recorded.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/render/RenderSession.h"
#include "framework/render/TIWCallBackResponse.h"

namespace orv::testing {

class FixedRenderSession : public RenderSession {
 public:
  RenderSettings settings;
  bool ie = false;
  bool mobile = false;
  bool callBack = false;
  bool terminated = false;
  std::string pending;  // the one-shot start-up script
  std::uint32_t trackID = 7;
  TIWCallBackResponse response;
  struct CacheFile {
    std::string contentType;
    std::string bytes;
    bool formOwned;
  };
  std::map<std::string, CacheFile> cacheFiles;  // by address
  std::string cachePrefix = "/$/temp/F";        // addresses are this + a number
  std::map<std::string, std::function<void(const std::vector<std::string>&)>> callbacks;

  const RenderSettings& Settings() const override { return settings; }
  std::string AppUrlBase() const override { return "/"; }
  std::string InternalUrlBase() const override { return "/$/"; }
  std::string SessionInternalUrlBase() const override { return "/$/"; }
  std::string AppID() const override { return "sessionid"; }
  std::uint32_t TrackID() const override { return trackID; }
  std::string FormAction() const override { return "/$/"; }
  std::string GetInternalFileURL(std::string_view name) const override {
    std::string n(name.substr(name.starts_with("/") ? 1 : 0));
    if (n.ends_with(".js")) n = n.substr(0, n.size() - 3) + "__X.js";
    return "/$/" + n;
  }
  std::string GetExternalFileURL(std::string_view name) const override {
    return "/" + std::string(name.substr(name.starts_with("/") ? 1 : 0));
  }
  bool IsInternetExplorer() const override { return ie; }
  bool IsMobile() const override { return mobile; }
  bool IsCallBack() const override { return callBack; }
  bool Terminated() const override { return terminated; }
  std::string TakeInitProc() override { return std::exchange(pending, {}); }
  std::string StoreFormCacheFile(const std::string& contentType, std::string_view bytes) override {
    return store(contentType, bytes, true);
  }
  std::string StoreOneTimeCacheFile(const std::string& contentType,
                                    std::string_view bytes) override {
    return store(contentType, bytes, false);
  }
  void RegisterCallBack(const std::string& name,
                        std::function<void(const std::vector<std::string>&)> callback) override {
    callbacks[name] = std::move(callback);
  }
  TIWCallBackResponse& CallBackResponse() override { return response; }

 private:
  std::string store(const std::string& contentType, std::string_view bytes, bool formOwned) {
    const std::string href = cachePrefix + std::to_string(cacheFiles.size() + 1);
    cacheFiles[href] = {contentType, std::string(bytes), formOwned};
    return href;
  }
};

}  // namespace orv::testing
