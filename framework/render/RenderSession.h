#pragma once
// What page rendering needs of the session it renders for and of the server's
// settings: URL prefixes and identity, the browser, the pending one-shot start-up
// script, cache files for pictures, the callback registry and the reply being built
// for an asynchronous callback.
//
// The render and control layers see a session only through this interface; the
// server layer implements it for a live session (and tests implement it with fixed
// values). An implementation is used by the one thread that holds the session's lock
// while a page renders or executes.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TIWCallBackResponse;

// The server settings a page render reads (copied from the server controller).
struct RenderSettings {
  std::string DocType;                   // empty: "<!DOCTYPE HTML>"
  std::vector<std::string> HTMLHeaders;  // raw head lines
  bool PageTransitions = false;
  bool ShowLoadingAnimation = true;
  int SessionTimeout = 10;      // minutes
  int ServerResizeTimeout = 0;  // milliseconds; 0: 1000
  bool EnableImageToolbar = false;
  bool EnableFirebug = false;  // the browser debugging console script
  std::string StyleSheet;      // location of the server's style sheet
  std::vector<std::string> ContentFiles;
  std::string ViewportTag;  // mobile browsers; empty: the default viewport
  // Browser-side script options.
  bool UseUncompressedFiles = false;
  bool RenderjQuery = true;
  bool JavaScriptDebug = false;
  int AjaxErrorMode = 1;  // 0 none, 1 alert, 2 console
  // Back-button handling: 0 intercept globally, 1 intercept per page, 2 enable,
  // 3 disable (compatible; the default).
  int BackButtonMode = 3;
  bool BackButtonShowMessage = false;
  std::string BackButtonWarningMessage;
};

class RenderSession {
 public:
  virtual ~RenderSession() = default;

  // --- Identity and addresses --------------------------------------------------------
  virtual const RenderSettings& Settings() const = 0;
  // mAppUrlBase, mInternalUrlBase, mSessionInternalUrlBase of the session.
  virtual std::string AppUrlBase() const = 0;
  virtual std::string InternalUrlBase() const = 0;
  virtual std::string SessionInternalUrlBase() const = 0;
  virtual std::string AppID() const = 0;
  virtual std::uint32_t TrackID() const = 0;
  // The URL the page's form posts to.
  virtual std::string FormAction() const = 0;
  // Internal files ("/js/IWBase.js" -> "/$/js/IWBase__<start id>.js") and other files.
  virtual std::string GetInternalFileURL(std::string_view name) const = 0;
  virtual std::string GetExternalFileURL(std::string_view name) const = 0;

  // --- The browser and the request ----------------------------------------------------
  virtual bool IsInternetExplorer() const = 0;
  virtual bool IsMobile() const = 0;
  // The request being answered is an asynchronous callback.
  virtual bool IsCallBack() const = 0;
  // The session was terminated during the request.
  virtual bool Terminated() const = 0;
  // The session's pending one-shot start-up script, taken and cleared.
  virtual std::string TakeInitProc() = 0;

  // --- Cache files ----------------------------------------------------------------------
  // Stores bytes in a cache file that lives as long as the page this session object
  // serves, and returns its address.
  virtual std::string StoreFormCacheFile(const std::string& contentType,
                                         std::string_view bytes) = 0;
  // Stores bytes in a cache file served once.
  virtual std::string StoreOneTimeCacheFile(const std::string& contentType,
                                            std::string_view bytes) = 0;

  // --- Asynchronous callbacks -------------------------------------------------------------
  // Registers (or rebinds) a server callback under its qualified name; the callback is
  // called with the request's parameters ("name=value").
  virtual void RegisterCallBack(const std::string& name,
                                std::function<void(const std::vector<std::string>&)> callback) = 0;
  // The reply of the asynchronous callback being answered.
  virtual TIWCallBackResponse& CallBackResponse() = 0;
};

}  // namespace orv
