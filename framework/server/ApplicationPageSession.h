#pragma once
// ApplicationPageSession: what a page sees of its session while it executes or renders
// one request — the session's URL prefixes and identity, the server's settings for
// rendering, page-owned and one-time cache files, the callback registry and the reply of
// an asynchronous callback (RenderSession), and the callback runner, window size and
// form-id option of the events (FormEventSession).
//
// Made on the request thread for one page of one session and bound to the page for
// the call (TIWForm::SessionBinding). It holds plain links: the session outlives the
// request, the page lives in the session, and the object is gone before the request
// ends. Used only by the thread that holds the session's lock.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/FormEventSession.h"
#include "framework/render/RenderSession.h"

namespace orv {

class TIWAppForm;
class TIWApplication;
class TIWServerControllerBase;

class ApplicationPageSession : public RenderSession, public FormEventSession {
 public:
  // `controller` may be none (defaults apply).
  ApplicationPageSession(TIWApplication& session, TIWAppForm& page,
                         const TIWServerControllerBase* controller);

  // The settings a render reads, copied from a controller (defaults without one).
  static RenderSettings SettingsFrom(const TIWServerControllerBase* controller);

  // RenderSession
  const RenderSettings& Settings() const override { return settings_; }
  std::string AppUrlBase() const override;
  std::string InternalUrlBase() const override;
  std::string SessionInternalUrlBase() const override;
  std::string AppID() const override;
  std::uint32_t TrackID() const override;
  std::string FormAction() const override;
  std::string GetInternalFileURL(std::string_view name) const override;
  std::string GetExternalFileURL(std::string_view name) const override;
  bool IsInternetExplorer() const override;
  bool IsMobile() const override;
  bool IsCallBack() const override;
  bool Terminated() const override;
  std::string TakeInitProc() override;
  std::string StoreFormCacheFile(const std::string& contentType, std::string_view bytes) override;
  std::string StoreOneTimeCacheFile(const std::string& contentType,
                                    std::string_view bytes) override;
  void RegisterCallBack(const std::string& name,
                        std::function<void(const std::vector<std::string>&)> callback) override;
  TIWCallBackResponse& CallBackResponse() override;

  // FormEventSession
  void PerformCallBack(TIWForm& sender, const std::string& name) override;
  bool CallBackProcessing() const override;
  void SetFormSize(int width, int height) override;
  bool CheckFormIds() const override;

 private:
  TIWApplication& session_;  // outlives this object (it owns the page)
  TIWAppForm& page_;         // owned by session_
  RenderSettings settings_;
  bool checkFormIds_ = false;
};

}  // namespace orv
