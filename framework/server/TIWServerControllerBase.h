#pragma once
// TIWServerControllerBase: the web framework's settings object, one per process.
//
// It holds every server setting with its default, the option groups (owned), the
// derived directories (content, templates, the per-run cache directory) and the
// application's event handlers. An application derives its own controller class, sets
// its build-time settings in ApplyStoredSettings() and registers the class with
// SetServerControllerClass; start-up builds the one instance with New<T>(), which runs
// the construction order that decides which value wins:
//   1. the defaults (member initialisers, ContentPath = application path + "wwwroot/",
//      ProcessID and StartUID from the start time);
//   2. the application's build-time settings (ApplyStoredSettings, virtual);
//   3. "port.ini" in the application path: section "PORTS", keys "Port" and "SSLPort"
//      (a missing key or an unreadable value gives 0);
//   4. the common completion: empty Description, DisplayName, AppName and TemplateDir
//      get their derived values, OnConfig fires (the last moment to change frozen
//      settings), an empty CacheDir becomes the ProcessID folder of the system
//      temporary directory, and the settings freeze;
//   5. the cache directory is created if missing.
// While it lives the instance is reachable through IWServerController(); constructing
// a second one while the first lives raises kControllerExists. Destruction removes the
// cache directory with everything in it and clears that reference.
//
// Frozen settings (AppName, BoundIP, HTMLHeaders, ContentPath, Compression,
// ShowLoadingAnimation, StyleSheet, MobileOptions, ProxyPortRedirection, UseAjaxNotify,
// RestartExpiredSession, URLBase, AllowMultipleSessionsPerUser, DocType, CacheDir)
// raise "<Name> is locked. Suggestion: ..." once construction has ended.
//
// Threads: settings are written on the main thread during start-up only and read
// freely by request threads and the purge thread afterwards; freezing enforces that
// for the settings request threads depend on. The few values that change while the
// server runs are atomic (SessionTimeout, GUIActive) or locked (CacheFiles).
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/server/Authenticator.h"
#include "framework/server/TIWBackButtonOptions.h"
#include "framework/server/TIWCompressionOptions.h"
#include "framework/server/TIWExceptionLogger.h"
#include "framework/server/TIWJavaScriptOptions.h"
#include "framework/server/TIWMobileOptions.h"
#include "framework/server/TIWProxyPortRedirection.h"
#include "framework/server/TIWSSLOptions.h"
#include "framework/server/TIWSearchEngineOptions.h"
#include "framework/server/TIWSecurityOptions.h"
#include "framework/server/TIWSessionCookieOptions.h"

namespace orv {

// Defined by the session, request and page layers; the controller only passes them to
// the application's event handlers.
class TIWApplication;
class TIWAppForm;
class THttpRequest;
class THttpReply;
class TBrowser;
class TSessionTimeoutThread;

enum class RenderingMode { rnInFile, rnInMemory };
enum class LogMode { loNone, loFile };
enum class ComInitializationMode { ciNone, ciNormal, ciMultiThreaded };
enum class ShowMessageType { smAlert, smNewWindow, smSameWindow, smSameWindowFrame, smAjaxNotify };

// What a Back-button handler learns and may decide.
struct BackButtonResyncInfo {
  std::string formName;
  std::uint64_t submittedTrackID = 0;
  std::uint64_t currentTrackID = 0;
  bool resync = false;  // set by the handler: re-render the current page
};

class TIWServerControllerBase {
 protected:
  // Only New<T>() can make one: a controller is never used half-built.
  class ConstructionKey {
    friend class TIWServerControllerBase;
    ConstructionKey() = default;
  };

 public:
  // A registered controller class: makes a fully constructed controller.
  using ServerControllerClass = std::function<std::unique_ptr<TIWServerControllerBase>()>;

  // Builds a controller of class T (derived from this one, constructible from a
  // ConstructionKey) in the construction order above. Any error of steps 2 to 5
  // propagates; the half-built controller is destroyed (its cache directory removed).
  template <class T>
  static std::unique_ptr<T> New() {
    std::unique_ptr<T> controller(new T(ConstructionKey{}));
    controller->finishConstruction();
    return controller;
  }

  explicit TIWServerControllerBase(ConstructionKey);
  virtual ~TIWServerControllerBase();
  TIWServerControllerBase(const TIWServerControllerBase&) = delete;
  TIWServerControllerBase& operator=(const TIWServerControllerBase&) = delete;

  // Process-wide registration of the class that start-up creates.
  static void SetServerControllerClass(ServerControllerClass factory);
  template <class T>
  static void SetServerControllerClass() {
    SetServerControllerClass([] { return std::unique_ptr<TIWServerControllerBase>(New<T>()); });
  }
  // Empty when no class is registered.
  static ServerControllerClass GetServerControllerClass();

  // Raise "<name> is locked. ..." when the settings are frozen.
  void CheckLock(const std::string& name) const;
  // The same for the live controller; nothing when there is none.
  static void CheckLockGlobal(const std::string& name);
  bool Frozen() const { return frozen_.load(std::memory_order_acquire); }

  // ":" + port, or "" (port 0 or less, 443 for HTTPS, 80 for HTTP). The port is the
  // proxy's when ProxyPortRedirection is active, else SSLOptions.Port / Port.
  std::string RedirectPortString(bool https) const;
  void MakeGUIActive() { guiActive_.store(true, std::memory_order_release); }
  // The session purge thread ("IW Session Timeout Thread"), running while the
  // controller lives.
  TSessionTimeoutThread& SessionTimeoutThread() { return *sessionTimeoutThread_; }
  bool AuthActive() const;
  std::string GetVersion() const;
  // A new one-time cache file (served once, then deleted) of the calling thread's
  // session with this content type; returns its URL. Raises "Session is not started."
  // when no session is bound to the thread.
  std::string NewCacheFile(const std::string& contentType);

  // --- Settings, in declaration order ---------------------------------------------
  bool PageTransitions() const { return pageTransitions_; }
  void SetPageTransitions(bool v) { pageTransitions_ = v; }
  int ServerResizeTimeout() const { return serverResizeTimeout_; }
  void SetServerResizeTimeout(int v) { serverResizeTimeout_ = v; }
  const std::string& Theme() const { return theme_; }
  // Clears StyleSheet (raising the StyleSheet lock error when that would change a
  // frozen style sheet).
  void SetTheme(const std::string& v);
  bool ShowLoadingAnimation() const { return showLoadingAnimation_; }
  void SetShowLoadingAnimation(bool v);
  RenderingMode Rendering() const { return rendering_; }
  void SetRendering(RenderingMode v) { rendering_ = v; }
  bool DebugHTML() const { return debugHTML_; }
  void SetDebugHTML(bool v) { debugHTML_ = v; }
  // The computer's name (at most 256 characters; empty when unavailable).
  const std::string& MachineName() const { return machineName_; }
  // loFile: the creation of the cache directory is written to the log file.
  LogMode Log() const { return log_; }
  void SetLog(LogMode v) { log_ = v; }
  // Local start time in days since 1899-12-30, milliseconds cut to 0.
  double StartDateTime() const { return startDateTime_; }
  // Start time in whole seconds since 0001-01-01, upper-case hexadecimal (a cache
  // breaker of script URLs).
  const std::string& StartUID() const { return startUID_; }
  bool AuthBeforeNewSession() const { return authBeforeNewSession_; }
  void SetAuthBeforeNewSession(bool v) { authBeforeNewSession_ = v; }
  // Trimmed; must be a valid identifier. Empty until construction ends ("MyIWApp"
  // when the application sets none).
  const std::string& AppName() const { return appName_; }
  void SetAppName(const std::string& v);
  const std::string& BoundIP() const { return boundIP_; }
  void SetBoundIP(const std::string& v);
  bool AllowMultipleSessionsPerUser() const { return allowMultipleSessionsPerUser_; }
  void SetAllowMultipleSessionsPerUser(bool v);
  // Absolute, ends with "/" and with ProcessID + "/".
  const std::string& CacheDir() const { return cacheDir_; }
  // Trimmed; empty means the system temporary directory, a relative path is taken
  // relative to it; ProcessID + "/" is appended unless already there; the directory is
  // created with its parents (failure: "Unable to create cache directory \"...\".").
  void SetCacheDir(const std::string& v);
  const TIWCompressionOptions& Compression() const { return compression_; }
  TIWCompressionOptions& Compression() { return compression_; }
  void SetCompression(const TIWCompressionOptions& v);
  // Threads have no COM on Linux: stored only.
  ComInitializationMode ComInitialization() const { return comInitialization_; }
  void SetComInitialization(ComInitializationMode v) { comInitialization_ = v; }
  const std::string& Encoding() const { return encoding_; }
  void SetEncoding(const std::string& v) { encoding_ = v; }
  // Root of static files; absolute and ends with "/". Empty resets it to the
  // application path + "wwwroot/"; a relative path is taken relative to the
  // application path.
  const std::string& ContentPath() const { return contentPath_; }
  void SetContentPath(const std::string& v);
  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& v) { description_ = v; }
  const std::string& DisplayName() const { return displayName_; }
  void SetDisplayName(const std::string& v) { displayName_ = v; }
  ShowMessageType ExceptionDisplayMode() const { return exceptionDisplayMode_; }
  void SetExceptionDisplayMode(ShowMessageType v) { exceptionDisplayMode_ = v; }
  bool EnableImageToolbar() const { return enableImageToolbar_; }
  void SetEnableImageToolbar(bool v) { enableImageToolbar_ = v; }
  bool GUIActive() const { return guiActive_.load(std::memory_order_acquire); }
  bool HistoryEnabled() const { return historyEnabled_; }
  void SetHistoryEnabled(bool v) { historyEnabled_ = v; }
  const std::vector<std::string>& HTMLHeaders() const { return htmlHeaders_; }
  void SetHTMLHeaders(std::vector<std::string> v);
  const std::vector<std::string>& ContentFiles() const { return contentFiles_; }
  void SetContentFiles(std::vector<std::string> v) { contentFiles_ = std::move(v); }
  const std::string& MasterTemplate() const { return masterTemplate_; }
  void SetMasterTemplate(const std::string& v) { masterTemplate_ = v; }
  // 0 to 65535 (0: the system assigns one); else "Invalid port value: <n>".
  int Port() const { return port_; }
  void SetPort(int v);
  // Milliseconds from 1899-12-30 to the start, base 36, at least 10 digits: the name
  // of this run's cache folder.
  const std::string& ProcessID() const { return processID_; }
  int RedirectMsgDelay() const { return redirectMsgDelay_; }
  void SetRedirectMsgDelay(int v) { redirectMsgDelay_ = v; }
  // Minutes, 0 to 65535; else "Invalid session timeout value.".
  int SessionTimeout() const { return sessionTimeout_.load(std::memory_order_relaxed); }
  void SetSessionTimeout(int v);
  const TIWSSLOptions& SSLOptions() const { return sslOptions_; }
  TIWSSLOptions& SSLOptions() { return sslOptions_; }
  void SetSSLOptions(const TIWSSLOptions& v) { sslOptions_.Assign(v); }
  // Error page templates; ends with "/". Empty resets it to the application path +
  // "Templates/"; a relative path is taken relative to the application path.
  const std::string& TemplateDir() const { return templateDir_; }
  void SetTemplateDir(const std::string& v);
  const std::string& StyleSheet() const { return styleSheet_; }
  // A non-empty style sheet clears Theme.
  void SetStyleSheet(const std::string& v);
  // Empty, or "/" + prefix + "/".
  const std::string& URLBase() const { return urlBase_; }
  void SetURLBase(const std::string& v);
  // Not owned: the application keeps its authenticator alive as long as the controller.
  Authenticator* Auther() const { return auther_; }
  void SetAuther(Authenticator* v) { auther_ = v; }
  bool JavascriptDebug() const { return javascriptDebug_; }
  void SetJavascriptDebug(bool v) { javascriptDebug_ = v; }
  // Empty (pages then use "<!DOCTYPE HTML>") or "<!DOCTYPE" ... ">".
  const std::string& DocType() const { return docType_; }
  void SetDocType(const std::string& v);
  const std::string& IECompatibilityMode() const { return ieCompatibilityMode_; }
  void SetIECompatibilityMode(const std::string& v) { ieCompatibilityMode_ = v; }
  // Application-lifetime cache files (thread-safe: request threads add to the list).
  std::vector<std::string> CacheFiles() const;
  void AddCacheFile(const std::string& fileName);
  // Deletes every listed file; names deleted or already gone leave the list. Returns
  // how many remain.
  std::size_t ClearCacheFiles();
  // Sorted without regard to ASCII case, duplicates ignored.
  const std::vector<std::string>& ServerVariables() const { return serverVariables_; }
  void SetServerVariables(const std::vector<std::string>& v);
  void AddServerVariable(const std::string& name);
  bool ShowStartParams() const { return showStartParams_; }
  void SetShowStartParams(bool v) { showStartParams_ = v; }
  const TIWExceptionLogger& ExceptionLogger() const { return exceptionLogger_; }
  TIWExceptionLogger& ExceptionLogger() { return exceptionLogger_; }
  void SetExceptionLogger(const TIWExceptionLogger& v) { exceptionLogger_.Assign(v); }
  const TIWSessionCookieOptions& CookieOptions() const { return cookieOptions_; }
  TIWSessionCookieOptions& CookieOptions() { return cookieOptions_; }
  void SetCookieOptions(const TIWSessionCookieOptions& v) { cookieOptions_.Assign(v); }
  const TIWSearchEngineOptions& SearchEngineOptions() const { return searchEngineOptions_; }
  TIWSearchEngineOptions& SearchEngineOptions() { return searchEngineOptions_; }
  void SetSearchEngineOptions(const TIWSearchEngineOptions& v) { searchEngineOptions_.Assign(v); }
  const TIWJavaScriptOptions& JavaScriptOptions() const { return javaScriptOptions_; }
  TIWJavaScriptOptions& JavaScriptOptions() { return javaScriptOptions_; }
  void SetJavaScriptOptions(const TIWJavaScriptOptions& v) { javaScriptOptions_.Assign(v); }
  const TIWSecurityOptions& SecurityOptions() const { return securityOptions_; }
  TIWSecurityOptions& SecurityOptions() { return securityOptions_; }
  void SetSecurityOptions(const TIWSecurityOptions& v) { securityOptions_.Assign(v); }
  const TIWBackButtonOptions& BackButtonOptions() const { return backButtonOptions_; }
  TIWBackButtonOptions& BackButtonOptions() { return backButtonOptions_; }
  void SetBackButtonOptions(const TIWBackButtonOptions& v) { backButtonOptions_.Assign(v); }
  const TIWMobileOptions& MobileOptions() const { return mobileOptions_; }
  TIWMobileOptions& MobileOptions() { return mobileOptions_; }
  void SetMobileOptions(const TIWMobileOptions& v);
  const TIWProxyPortRedirection& ProxyPortRedirection() const { return proxyPortRedirection_; }
  TIWProxyPortRedirection& ProxyPortRedirection() { return proxyPortRedirection_; }
  void SetProxyPortRedirection(const TIWProxyPortRedirection& v);
  bool HttpKeepAlive() const { return httpKeepAlive_; }
  void SetHttpKeepAlive(bool v) { httpKeepAlive_ = v; }
  // Only meaningful inside another web server; no effect here.
  const std::string& RewriteURL() const { return rewriteURL_; }
  void SetRewriteURL(const std::string& v) { rewriteURL_ = v; }
  bool RestartExpiredSession() const { return restartExpiredSession_; }
  void SetRestartExpiredSession(bool v);
  bool LogSessionEvents() const { return logSessionEvents_; }
  void SetLogSessionEvents(bool v) { logSessionEvents_ = v; }
  bool UseAjaxNotify() const { return useAjaxNotify_; }
  void SetUseAjaxNotify(bool v);
  // "14.0.52"; writing has no effect.
  std::string Version() const { return GetVersion(); }
  void SetVersion(const std::string&) {}

  // Obsolete settings, kept so that code naming them still builds: reading gives a
  // neutral value, writing is ignored.
  std::string CharSet() const { return {}; }
  void SetCharSet(const std::string&) {}
  int CacheExpiry() const { return 0; }
  void SetCacheExpiry(int) {}
  std::string FilesDir() const { return {}; }
  void SetFilesDir(const std::string&) {}
  std::string InternalFilesDir() const { return {}; }
  void SetInternalFilesDir(const std::string&) {}
  std::string InternalFilesURL() const { return {}; }
  void SetInternalFilesURL(const std::string&) {}
  bool UseInternalFiles() const { return false; }
  void SetUseInternalFiles(bool) {}

  // --- Events: optional; a handler that is not set is skipped ---------------------
  std::function<void(TIWServerControllerBase& controller)> OnConfig;
  std::function<void(TIWApplication& session)> OnNewSession;
  std::function<void(TIWApplication& session)> OnCloseSession;
  std::function<void(TIWApplication& session)> OnSessionRestarted;
  std::function<void(TIWApplication& session, std::string& id)> OnGetSessionID;
  // May create the form to show first; the session takes it over.
  std::function<void(TIWApplication& session, std::unique_ptr<TIWAppForm>& form)> OnGetMainForm;
  // May replace the detected browser; the session owns it.
  std::function<void(TIWApplication& session, std::unique_ptr<TBrowser>& browser)> OnBrowserCheck;
  std::function<void(THttpRequest& request, THttpReply& reply)> OnBeforeDispatch;
  std::function<void(THttpRequest& request, THttpReply& reply)> OnAfterDispatch;
  std::function<void(const std::string& path, THttpRequest& request, bool& handled,
                     THttpReply& reply)>
      OnExecuteRequest;
  // session: nullptr for errors outside a session.
  std::function<void(TIWApplication* session, const std::exception& error, bool& handled)>
      OnException;
  std::function<void(TIWApplication* session, const std::exception& error)> OnLogException;
  std::function<void(BackButtonResyncInfo& info)> OnBackButton;
  // replacement: another form of the session to render instead (not owned).
  std::function<void(TIWApplication& session, TIWAppForm& form, TIWAppForm*& replacement)>
      OnBeforeRender;
  std::function<void(TIWApplication& session, TIWAppForm& form)> OnAfterRender;
  std::function<void(const std::string& tag, std::string& value)> OnUserTag;
  std::function<void(TIWApplication& session, const std::string& tag, std::string& value)>
      OnSessionTag;
  std::function<void(std::string& parameter, bool& valid, int position)> OnParseParameter;

  // The dispatching methods: each does nothing when its handler is not set.
  void DoConfig();
  void DoNewSession(TIWApplication& session);
  void DoCloseSession(TIWApplication& session);
  void DoSessionRestarted(TIWApplication& session);
  void DoGetSessionID(TIWApplication& session, std::string& id);
  void DoGetMainForm(TIWApplication& session, std::unique_ptr<TIWAppForm>& form);
  void DoBrowserCheck(TIWApplication& session, std::unique_ptr<TBrowser>& browser);
  void DoBeforeDispatch(THttpRequest& request, THttpReply& reply);
  void DoAfterDispatch(THttpRequest& request, THttpReply& reply);
  void DoExecuteRequest(const std::string& path, THttpRequest& request, bool& handled,
                        THttpReply& reply);
  void DoException(TIWApplication* session, const std::exception& error, bool& handled);
  void DoLogException(TIWApplication* session, const std::exception& error);
  void DoBackButton(BackButtonResyncInfo& info);
  void DoBeforeRender(TIWApplication& session, TIWAppForm& form, TIWAppForm*& replacement);
  void DoAfterRender(TIWApplication& session, TIWAppForm& form);
  void DoUserTag(const std::string& tag, std::string& value);
  void DoSessionTag(TIWApplication& session, const std::string& tag, std::string& value);
  void DoParseParameter(std::string& parameter, bool& valid, int position);

 protected:
  // Step 2 of the construction order: the application's build-time settings. The
  // base class has none.
  virtual void ApplyStoredSettings() {}

 private:
  void finishConstruction();
  void loadPortIni();
  void createCommon();
  // Creates the directory when missing (logged with Log = loFile); raises the cache
  // directory error on failure.
  void ensureCacheDir(const std::string& dir);
  // Removes the folder reserved for ProcessID when it did not become the cache directory.
  void releaseReservedDir();

  std::atomic<bool> frozen_{false};
  // Removes expired sessions of the process's registry every 60 s; stopped (and
  // joined) by the destructor after every session has been freed.
  std::unique_ptr<TSessionTimeoutThread> sessionTimeoutThread_;
  // The cache directory this controller created (removed again when it is replaced or
  // when the controller goes); empty when it found the directory already there.
  std::string createdCacheDir_;

  bool pageTransitions_ = false;
  int serverResizeTimeout_ = 0;
  std::string theme_;
  bool showLoadingAnimation_ = true;
  RenderingMode rendering_ = RenderingMode::rnInMemory;
  bool debugHTML_ = false;
  std::string machineName_;
  LogMode log_ = LogMode::loNone;
  double startDateTime_ = 0;
  std::string startUID_;
  bool authBeforeNewSession_ = false;
  std::string appName_;
  std::string boundIP_;
  bool allowMultipleSessionsPerUser_ = false;
  std::string cacheDir_;
  // "<temp>/<ProcessID>/", made (atomically) when ProcessID is chosen, so that another
  // run started in the same millisecond cannot choose the same name; it becomes the
  // cache directory, or is removed when the cache directory ends up elsewhere.
  std::string reservedDir_;
  TIWCompressionOptions compression_;
  ComInitializationMode comInitialization_ = ComInitializationMode::ciNone;
  std::string encoding_;
  std::string contentPath_;
  std::string description_;
  std::string displayName_;
  ShowMessageType exceptionDisplayMode_ = ShowMessageType::smAlert;
  bool enableImageToolbar_ = false;
  std::atomic<bool> guiActive_{false};
  bool historyEnabled_ = false;
  std::vector<std::string> htmlHeaders_;
  std::vector<std::string> contentFiles_;
  std::string masterTemplate_;
  int port_ = 0;
  std::string processID_;
  int redirectMsgDelay_ = 0;
  std::atomic<int> sessionTimeout_{10};
  TIWSSLOptions sslOptions_;
  std::string templateDir_;
  std::string styleSheet_;
  std::string urlBase_;
  Authenticator* auther_ = nullptr;  // not owned, see SetAuther
  bool javascriptDebug_ = false;
  std::string docType_;
  std::string ieCompatibilityMode_;
  mutable std::mutex cacheFilesMutex_;  // guards cacheFiles_; a leaf lock
  std::vector<std::string> cacheFiles_;
  std::vector<std::string> serverVariables_;
  bool showStartParams_ = true;
  TIWExceptionLogger exceptionLogger_;
  TIWSessionCookieOptions cookieOptions_;
  TIWSearchEngineOptions searchEngineOptions_;
  TIWJavaScriptOptions javaScriptOptions_;
  TIWSecurityOptions securityOptions_;
  TIWBackButtonOptions backButtonOptions_;
  TIWMobileOptions mobileOptions_;
  TIWProxyPortRedirection proxyPortRedirection_;
  bool httpKeepAlive_ = false;
  std::string rewriteURL_;
  bool restartExpiredSession_ = false;
  bool logSessionEvents_ = false;
  bool useAjaxNotify_ = true;
};

// The live controller, or nullptr before start-up and after it has gone.
TIWServerControllerBase* IWServerController();

namespace detail {
// The start-time texts, from local milliseconds since 1899-12-30 (exposed for tests).
std::string processIDFromMilliseconds(std::int64_t msSince18991230);
std::string startUIDFromMilliseconds(std::int64_t msSince18991230);
}  // namespace detail

}  // namespace orv
