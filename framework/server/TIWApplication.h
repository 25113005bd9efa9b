#pragma once
// TIWApplication: one browser's session. It owns that browser's pages (forms), its
// per-session data module (Data), its browser description and its cache files, and
// knows the URL prefixes under which the browser reaches it.
//
// Lifetime: created by Create() on the request thread that has no valid session ID,
// which registers it in the registry (TIWSessions) and takes its session lock; served
// one request at a time; removed from the registry when it is terminated or expires.
// The registry and every request that works on the session hold it by shared_ptr, so
// the session object outlives whichever of them lets go last; its destructor runs the
// destruction sequence (data module, pages, cache files) with the session bound to the
// destroying thread, every step swallowing its own errors.
//
// Threads: everything except the members marked "any thread" is used only by the
// thread that holds the session lock (FLock). The lock serialises the session's
// requests; it is only ever tried (TryLock) while the registry lock is held.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render/TIWCallBackResponse.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TIWCallBacks.h"

namespace orv {

class TBrowser;
class THttpReply;
class THttpRequest;
class TIWAppForm;
class TIWForm;
class TIWSessions;
class TIWUserSessionBase;
class TIWServerControllerBase;

// The lock a session's thread holds on the registry through LockList.
enum class TIWSessionListLock { slNone, slRead, slWrite };

// How ShowMessage presents a message (the controller's ExceptionDisplayMode).
enum class ShowMessageType;

struct TIWPermissions {
  bool mCanEditPages = false;
};

class TIWApplication {
  struct Key {};  // construction only through Create()

 public:
  // Builds a session for the creating request and registers it under a new ID with
  // its lock taken (steps: creation, InitApplication, SetSessionID). The registry and
  // the controller (nullptr: defaults, no events) must outlive the session.
  // Raises EUnknownBrowserException for an unsupported browser, the registry's error
  // for a clashing ID.
  static std::shared_ptr<TIWApplication> Create(TIWSessions& registry,
                                                std::unique_ptr<TBrowser> browser,
                                                THttpRequest& request, THttpReply& reply,
                                                const std::string& urlBase,
                                                const std::string& authPassword,
                                                const std::string& authUser,
                                                const std::string& clientIP);

  TIWApplication(Key, TIWSessions& registry, std::unique_ptr<TBrowser> browser);
  ~TIWApplication();
  TIWApplication(const TIWApplication&) = delete;
  TIWApplication& operator=(const TIWApplication&) = delete;

  // --- Identity and URL prefixes -------------------------------------------------
  const std::string& AppID() const { return FAppID; }  // any thread (fixed once registered)
  const std::string& TaggedSessionName() const { return FTaggedSessionName; }
  const std::string& AppUrlBase() const { return mAppUrlBase; }
  const std::string& InternalUrlBase() const { return mInternalUrlBase; }
  const std::string& SessionInternalUrlBase() const { return mSessionInternalUrlBase; }
  const std::string& SessionUrlBase() const { return mSessionUrlBase; }
  const std::string& UserCacheUrlBase() const { return mUserCacheUrlBase; }
  const std::string& UserCacheDir() const { return mUserCacheDir; }
  const std::string& CookiePath() const { return mCookiePath; }
  void SetCookiePath(const std::string& path) { mCookiePath = path; }
  // Replaces the ID of a live session (renames the registry entry, moves the user
  // cache directory, redirects the browser to the application URL).
  void ResetApplicationID();

  // --- The session lock ---------------------------------------------------------
  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }
  bool TryLock() { return FLock.try_lock(); }

  // --- Time-out (any thread) ------------------------------------------------------
  void MarkAccess();
  // mCreationTime + mLastAccess / 86400 (local date-time in days).
  double GetLastAccess() const;
  double CreationTime() const { return mCreationTime; }
  int GetSessionTimeOut() const { return FSessionTimeOut.load(); }
  void SetSessionTimeOut(int minutes) { FSessionTimeOut.store(minutes); }
  // now - GetLastAccess >= time-out / 1440.
  bool IsExpired(double now) const;
  int Status() const { return mStatus.load(); }

  // --- The request being served ---------------------------------------------------
  // Binds a request: clears the per-request flags and the callback response.
  void Initialize(THttpRequest& request, THttpReply& reply);
  THttpRequest* Request() const { return FRequest; }
  THttpReply* Response() const { return FResponse; }
  bool IsCallBack() const { return FIsCallBack; }
  void SetIsCallBack(bool v) { FIsCallBack = v; }
  bool CallBackProcessing() const { return FCallBackProcessing; }
  void SetCallBackProcessing(bool v) { FCallBackProcessing = v; }
  // Script the callback reply must run (filled by GoToURL, SendFile, Terminate in a
  // callback; the callback response of the events layer takes it over).
  const std::vector<std::string>& CallBackScripts() const { return callBackScripts_; }
  void AddCallBackScript(const std::string& script) { callBackScripts_.push_back(script); }
  std::vector<std::string> TakeCallBackScripts();
  bool IsRedirect() const { return mIsRedirect; }
  bool SkipExecuteForm() const { return mSkipExecuteForm; }
  void SetSkipExecuteForm(bool v) { mSkipExecuteForm = v; }
  bool SkipGenerateForm() const { return mSkipGenerateForm; }
  void SetSkipGenerateForm(bool v) { mSkipGenerateForm = v; }
  bool RemoveCookie() const { return mRemoveCookie; }
  void SetRemoveCookie(bool v) { mRemoveCookie = v; }

  // --- Data of the creating request -----------------------------------------------
  const std::string& IP() const { return FIP; }  // any thread
  const std::string& AuthUser() const { return FAuthUser; }
  const std::string& AuthPassword() const { return FAuthPassword; }
  const std::string& ReferringURL() const { return FReferringURL; }
  const TBrowser& Browser() const { return *mBrowser; }  // any thread
  // Start parameters "name=value" (names compare without case).
  const std::vector<std::string>& RunParams() const { return FRunParams; }
  std::string RunParamValue(std::string_view name) const;
  // Replaces the start parameters (a restarted session inherits the expired one's).
  void SetRunParams(std::vector<std::string> params) { FRunParams = std::move(params); }
  const std::string& MasterTemplate() const { return FMasterTemplate; }
  const TIWPermissions& Permissions() const { return mPermissions; }
  bool SecureMode() const { return FSecureMode; }
  const std::string& ApplicationPath() const;

  // --- Per-session data module ----------------------------------------------------
  TIWUserSessionBase* Data() const { return FData.get(); }
  void SetData(std::unique_ptr<TIWUserSessionBase> data);

  // --- Window size reported by the browser (-1 until reported) --------------------
  int FormWidth() const { return FFormWidth; }
  int FormHeight() const { return FFormHeight; }
  void SetFormSize(int width, int height);

  // --- Forms ----------------------------------------------------------------------
  // Takes ownership of a page made for this session; it becomes FLastForm.
  TIWAppForm& AddForm(std::unique_ptr<TIWAppForm> form);
  // Adds the page and runs its creation event (OnCreate); if that raises, the page
  // leaves the session again (without its destroy event) and the error passes on.
  TIWAppForm& AddAndCreateForm(std::unique_ptr<TIWAppForm> form);
  // Frees one of the session's pages now (its destroy handler runs).
  void FreeForm(TIWAppForm& form);
  TIWAppForm* GetActiveForm() const;
  // Pushes the form on the stack of shown forms unless it is on top already; clears
  // the mapped URL; fires the form's show event; applies a known window size.
  void SetActiveForm(TIWAppForm& form);
  // Takes every occurrence of the form off the stack.
  void RemoveForm(TIWAppForm& form);
  // Queues the form once; it is freed after the running event.
  void ReleaseForm(TIWAppForm& form);
  TIWAppForm* FindFormByName(std::string_view name) const;
  TIWAppForm* FindFormByClassName(std::string_view className) const;
  TIWAppForm* GetForm(std::size_t index) const;
  std::size_t GetFormCount() const { return FForms.size(); }
  std::size_t GetActiveFormCount() const { return FActiveForms.size(); }
  TIWAppForm* LastForm() const { return FLastForm; }

  // --- Page execution -------------------------------------------------------------
  std::uint32_t TrackID() const { return FTrackID; }
  const std::string& FormAction() const { return FFormAction; }
  const std::string& MappedURL() const { return FMappedURL; }
  void SetMappedURL(const std::string& url) { FMappedURL = url; }
  const std::string& InitProc() const { return mInitProc; }
  // The pending one-shot start-up script, taken by the next render.
  std::string TakeInitProc();
  void AddToInitProc(const std::string& code) { mInitProc += code; }
  // Events (ExecuteActiveForm), then, unless a file or a prepared reply is being sent,
  // rendering (GenerateActiveForm).
  void ProcessForm(THttpReply& reply, const std::vector<std::string>& params);
  // Runs the active form's event; returns false when an error was caught (and shown).
  bool ExecuteActiveForm(std::vector<std::string> params);
  void GenerateActiveForm(THttpReply& reply);
  void HandleExecuteFormError(const std::exception& error);
  // Shows a message to the visitor on the re-rendered page (see the source).
  void ShowMessage(const std::string& text, ShowMessageType kind,
                   const std::string& templateName = {});
  // Handler for errors during event execution; may set handled.
  std::function<void(TIWApplication& session, const std::exception& error, bool& handled)>
      OnExecuteFormError;

  // --- Page events (TIWApplicationEvents.cpp) -------------------------------------
  // Executes / renders one of the session's pages that has no renderer of its own
  // (not a SessionForm), bound to the session through ApplicationPageSession.
  void ExecutePage(TIWAppForm& page, const std::vector<std::string>& params);
  void GeneratePage(TIWAppForm& page, THttpReply& reply);
  // The named callbacks. A name registered while `page` is being created, rendered or
  // executed is qualified with the page's name ("PAGE.EDIT1.DoOnAsyncChange").
  TIWCallBacks& CallBacks() { return FCallbacks; }
  void RegisterCallBack(const std::string& name, TIWCallBacks::Function function,
                        const TIWForm* page = nullptr);
  void UnregisterCallBack(const std::string& name);
  // Runs a callback for the page `sender` (its name qualified with the page's name
  // first, then as given) with a copy of the active page's parameters; an unknown name
  // makes the browser log "Callback method not found".
  void PerformCallBack(TIWForm& sender, const std::string& name);
  // The reply of the asynchronous callback being answered (emptied by Initialize).
  TIWCallBackResponse& CallBackResponse() { return FCallBackResponse; }
  // Answers "/$/callback": executes the active page and sends the response document
  // (the page's partial render, or the re-submit script when another page is active).
  void ProcessCallBack(THttpReply& reply, const std::vector<std::string>& params);

  // --- Termination and redirection ------------------------------------------------
  void Terminate() { mTerminated = true; }
  // Also prepares a small document with the message (empty: the default text).
  void Terminate(const std::string& message);
  void TerminateAndRedirect(const std::string& url);
  bool Terminated() const { return mTerminated; }
  void GoToURL(const std::string& url, bool replace = true, bool prependBase = true);
  // A prepared reply that replaces page rendering (owned by the session until sent).
  void SetRenderOverride(std::string document);
  bool HasRenderOverride() const { return mRenderOverride.has_value(); }
  // Sends and releases a prepared reply; false when there was none.
  bool SendRenderOverride(THttpReply& reply);

  // --- Downloads ------------------------------------------------------------------
  void SendFile(const std::string& path, bool attachment, const std::string& fileName = {},
                const std::string& contentType = {});
  void SendStream(std::string bytes, bool attachment, const std::string& fileName,
                  const std::string& contentType = {});

  // --- URLs -----------------------------------------------------------------------
  std::string GetInternalFileURL(const std::string& name) const;
  std::string GetExternalFileURL(const std::string& name) const;
  std::string GetApplicationURL() const;

  // --- Cache files ----------------------------------------------------------------
  // Session-lifetime cache files (deleted when the session goes).
  std::vector<std::string>& CacheFiles() { return mCacheFiles; }
  // Form-lifetime cache files of one of the session's forms (deleted with the form).
  std::vector<std::string>& FormCacheFiles(const TIWAppForm& form);
  bool OwnsForm(const TIWAppForm& form) const;

  // --- Registry bookkeeping -------------------------------------------------------
  TIWSessionListLock SessionListLock() const { return FSessionListLock; }
  void SetSessionListLock(TIWSessionListLock mode) { FSessionListLock = mode; }
  TIWSessions& Registry() const { return registry_; }

 private:
  friend class TIWSessions;

  void InitApplication(THttpRequest& request, THttpReply& reply, const std::string& urlBase,
                       const std::string& authPassword, const std::string& authUser,
                       const std::string& clientIP);
  void SetSessionID(std::shared_ptr<TIWApplication> self);
  void setUrlBasesForID();
  void createUserCacheDir();
  void freeReleasedForms();
  // Whether the page is one of this session's pages (TIWApplicationEvents.cpp).
  bool ownsPage(const TIWForm& page) const;
  void destroyForm(std::unique_ptr<TIWAppForm> form) noexcept;
  void sendDownload(std::unique_ptr<class ByteStream> content, const std::string& path,
                    bool attachment, const std::string& fileName, std::string contentType);

  TIWSessions& registry_;  // not owned: the registry outlives every session

  // Read by other threads (the registry, the purge thread, status queries).
  std::atomic<int> mStatus{0};
  std::atomic<int> mLastAccess{0};
  std::atomic<int> FSessionTimeOut{10};
  double mCreationTime = 0;

  TIWSessionListLock FSessionListLock = TIWSessionListLock::slNone;
  TIWAppForm* FLastForm = nullptr;  // one of FForms, or none
  // The session lock: held by the thread serving a request of this session. Tried
  // (never awaited) while the registry lock is held; see TIWSessions for the order.
  std::mutex FLock;
  bool FSecureMode = false;
  int FFormHeight = -1;
  int FFormWidth = -1;
  bool FCallBackProcessing = false;
  TIWCallBacks FCallbacks;
  TIWCallBackResponse FCallBackResponse;
  TIWPermissions mPermissions;
  mutable std::string FApplicationPath;
  std::vector<TIWAppForm*> FActiveForms;    // stack of shown forms, all in FForms
  std::vector<TIWAppForm*> FReleasedForms;  // freed after the running event
  std::string FAppID;
  std::string mAppUrlBase;
  std::string mInternalUrlBase;
  std::string mSessionInternalUrlBase;
  std::string mSessionUrlBase;
  std::string mUserCacheUrlBase;
  std::string FAuthPassword;
  std::string FAuthUser;
  std::vector<std::string> callBackScripts_;
  std::unique_ptr<TBrowser> mBrowser;
  std::unique_ptr<TIWUserSessionBase> FData;
  std::string FFormAction;
  // Every page of the session, in creation order (owned).
  std::vector<std::unique_ptr<TIWAppForm>> FForms;
  std::string FIP;
  bool FIsCallBack = false;
  std::string FMasterTemplate;
  std::string FReferringURL;
  THttpReply* FResponse = nullptr;   // the request being served (not owned)
  THttpRequest* FRequest = nullptr;  // the request being served (not owned)
  std::vector<std::string> FRunParams;
  double FSessionTimeStamp = 0;
  bool mTerminated = false;
  bool mSkipExecuteForm = false;
  bool mSkipGenerateForm = false;
  bool mIsRedirect = false;
  std::uint32_t FTrackID = 1;
  std::string FTaggedSessionName;
  std::string mUserCacheDir;
  std::string FMappedURL;
  std::optional<std::string> mRenderOverride;
  std::vector<std::string> mCacheFiles;
  // Form-lifetime cache files, per form (keys are forms in FForms).
  std::vector<std::pair<const TIWAppForm*, std::vector<std::string>>> formCacheFiles_;
  std::string mInitProc;
  std::string mCookiePath;
  bool mRemoveCookie = false;
};

// The document that sends a browser to url (window.location.replace, or assigning
// window.location.href when replace is false). The url is written as a script string,
// so quotes and markup in it cannot end the script.
std::string HtmlRedirect(const std::string& url, bool replace);

}  // namespace orv
