#include "framework/server/ApplicationPageSession.h"

#include "framework/controls/TIWAppForm.h"
#include "framework/server/TBrowser.h"
#include "framework/server/TIWAppCache.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWServerControllerBase.h"

namespace orv {

ApplicationPageSession::ApplicationPageSession(TIWApplication& session, TIWAppForm& page,
                                               const TIWServerControllerBase* controller)
    : session_(session),
      page_(page),
      settings_(SettingsFrom(controller)),
      checkFormIds_(controller != nullptr && controller->SecurityOptions().CheckFormId()) {}

RenderSettings ApplicationPageSession::SettingsFrom(const TIWServerControllerBase* c) {
  RenderSettings s;
  if (c == nullptr) return s;
  s.DocType = c->DocType();
  s.HTMLHeaders = c->HTMLHeaders();
  s.PageTransitions = c->PageTransitions();
  s.ShowLoadingAnimation = c->ShowLoadingAnimation();
  s.SessionTimeout = c->SessionTimeout();
  s.ServerResizeTimeout = c->ServerResizeTimeout();
  s.EnableImageToolbar = c->EnableImageToolbar();
  s.EnableFirebug = c->JavaScriptOptions().EnableFirebug();
  s.StyleSheet = c->StyleSheet();
  s.ContentFiles = c->ContentFiles();
  s.UseUncompressedFiles = c->JavaScriptOptions().UseUncompressedFiles();
  s.RenderjQuery = c->JavaScriptOptions().RenderjQuery();
  s.JavaScriptDebug = c->JavaScriptOptions().Debug();
  s.AjaxErrorMode = static_cast<int>(c->JavaScriptOptions().AjaxErrorMode());
  s.BackButtonMode = static_cast<int>(c->BackButtonOptions().Mode());
  s.BackButtonShowMessage = c->BackButtonOptions().ShowMessage();
  s.BackButtonWarningMessage = c->BackButtonOptions().WarningMessage();
  return s;
}

std::string ApplicationPageSession::AppUrlBase() const { return session_.AppUrlBase(); }

std::string ApplicationPageSession::InternalUrlBase() const { return session_.InternalUrlBase(); }

std::string ApplicationPageSession::SessionInternalUrlBase() const {
  return session_.SessionInternalUrlBase();
}

std::string ApplicationPageSession::AppID() const { return session_.AppID(); }

std::uint32_t ApplicationPageSession::TrackID() const { return session_.TrackID(); }

std::string ApplicationPageSession::FormAction() const { return session_.FormAction(); }

std::string ApplicationPageSession::GetInternalFileURL(std::string_view name) const {
  return session_.GetInternalFileURL(std::string(name));
}

std::string ApplicationPageSession::GetExternalFileURL(std::string_view name) const {
  return session_.GetExternalFileURL(std::string(name));
}

bool ApplicationPageSession::IsInternetExplorer() const {
  return session_.Browser().IsInternetExplorer();
}

bool ApplicationPageSession::IsMobile() const {
  switch (session_.Browser().Kind()) {
    case BrowserKind::FirefoxMobile:
    case BrowserKind::ChromeMobile:
    case BrowserKind::AndroidWebKit:
    case BrowserKind::SafariMobile:
    case BrowserKind::OperaMobile:
      return true;
    default:
      return false;
  }
}

bool ApplicationPageSession::IsCallBack() const { return session_.IsCallBack(); }

bool ApplicationPageSession::Terminated() const { return session_.Terminated(); }

std::string ApplicationPageSession::TakeInitProc() { return session_.TakeInitProc(); }

std::string ApplicationPageSession::StoreFormCacheFile(const std::string& contentType,
                                                       std::string_view bytes) {
  return TIWAppCache::StreamToCacheFile(CacheOwner::Form(page_), bytes, TCacheType::ctForm,
                                        contentType);
}

std::string ApplicationPageSession::StoreOneTimeCacheFile(const std::string& contentType,
                                                          std::string_view bytes) {
  return TIWAppCache::StreamToCacheFile(CacheOwner::Session(session_), bytes, TCacheType::ctOneTime,
                                        contentType);
}

void ApplicationPageSession::RegisterCallBack(
    const std::string& name, std::function<void(const std::vector<std::string>&)> callback) {
  session_.RegisterCallBack(name, std::move(callback), &page_);
}

TIWCallBackResponse& ApplicationPageSession::CallBackResponse() {
  return session_.CallBackResponse();
}

void ApplicationPageSession::PerformCallBack(TIWForm& sender, const std::string& name) {
  session_.PerformCallBack(sender, name);
}

bool ApplicationPageSession::CallBackProcessing() const { return session_.CallBackProcessing(); }

void ApplicationPageSession::SetFormSize(int width, int height) {
  session_.SetFormSize(width, height);
}

bool ApplicationPageSession::CheckFormIds() const { return checkFormIds_; }

}  // namespace orv
