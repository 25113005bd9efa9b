#pragma once
// The browser of a new session, recognised from its User-Agent header. The registered
// browsers are tried in a fixed order, each with the oldest version the framework
// supports; search engines are recognised first and always supported; anything else is
// the "Unknown browser", which can never open a session.
//
// A TBrowser is created once per session (the session owns it) and is immutable
// afterwards, so any thread that holds the session may read it.
#include <memory>
#include <string>
#include <string_view>

namespace orv {

enum class BrowserKind {
  Edge,
  FirefoxMobile,
  Firefox,
  InternetExplorer,
  OperaNext,
  ChromeMobile,
  Chrome,
  AndroidWebKit,
  SafariMobile,
  Safari,
  OperaMobile,
  Opera,
  SearchEngine,
  Unknown,
};

class TBrowser {
 public:
  // Recognises the user agent (never fails: unrecognised agents give Unknown).
  static std::unique_ptr<TBrowser> CreateBrowser(std::string_view userAgent);

  TBrowser(BrowserKind kind, int major, int minor, std::string userAgent);

  BrowserKind Kind() const { return kind_; }
  // The browser's display name ("Chrome", "Internet Explorer", "Unknown browser", ...).
  std::string_view Name() const;
  int MajorVersion() const { return major_; }
  int MinorVersion() const { return minor_; }
  const std::string& UserAgent() const { return userAgent_; }

  // Known and at least its minimum version (search engines always).
  bool IsSupported() const;
  bool IsSearchEngine() const { return kind_ == BrowserKind::SearchEngine; }
  bool IsInternetExplorer() const { return kind_ == BrowserKind::InternetExplorer; }
  // Runs on Android (downloads get a plain attachment header there).
  bool IsAndroid() const;

 private:
  BrowserKind kind_;
  int major_;
  int minor_;
  std::string userAgent_;
};

}  // namespace orv
