#pragma once
// How the session cookie is written. The cookie is "IW_" + AppName + CookieNameSuffix.
// Turning UseCookies off is allowed only while the controller carries the session ID
// in URLs (AllowMultipleSessionsPerUser on): without either, no request could find
// its session.
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

class TIWSessionCookieOptions : public OptionGroup {
 public:
  // True: a cookie without expiry (it ends with the browser session).
  bool SessionCookies() const { return sessionCookies_; }
  void SetSessionCookies(bool v) { sessionCookies_ = v; }
  const std::string& CookieNameSuffix() const { return cookieNameSuffix_; }
  // Characters not allowed in a cookie name are dropped.
  void SetCookieNameSuffix(const std::string& v);
  bool UseCookies() const { return useCookies_; }
  // false raises kMultipleSessionsRequired unless the owning controller has
  // AllowMultipleSessionsPerUser on.
  void SetUseCookies(bool v);
  bool HttpOnly() const { return httpOnly_; }
  void SetHttpOnly(bool v) { httpOnly_ = v; }
  bool Secure() const { return secure_; }
  void SetSecure(bool v) { secure_ = v; }

  void Assign(const TIWSessionCookieOptions& source);

 private:
  bool sessionCookies_ = true;
  std::string cookieNameSuffix_;
  bool useCookies_ = true;
  bool httpOnly_ = false;
  bool secure_ = false;
};

}  // namespace orv
