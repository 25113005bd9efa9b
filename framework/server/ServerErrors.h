#pragma once
// The errors of the framework's server side that dispatch turns into particular
// answers: invalid and expired sessions and failed security checks get their own error
// pages (and lose the session cookie), unknown resources get 404, a silent abort ends
// a request without an error page. Each carries exactly the text the visitor sees.
#include <stdexcept>
#include <string>
#include <string_view>

namespace orv {

class EIWServerError : public std::runtime_error {
 public:
  explicit EIWServerError(std::string_view message) : std::runtime_error(std::string(message)) {}
};

// The request names a session the registry does not know.
class EInvalidAppID : public EIWServerError {
 public:
  explicit EInvalidAppID(std::string_view message, std::string appID = {})
      : EIWServerError(message), appID_(std::move(appID)) {}
  const std::string& appID() const noexcept { return appID_; }

 private:
  std::string appID_;
};

// The request names a session that has timed out but not yet been purged.
class EExpiredSession : public EIWServerError {
 public:
  EExpiredSession(std::string_view message, std::string appID, int timeoutMinutes,
                  std::string runParams)
      : EIWServerError(message),
        appID_(std::move(appID)),
        timeoutMinutes_(timeoutMinutes),
        runParams_(std::move(runParams)) {}
  const std::string& appID() const noexcept { return appID_; }
  int timeoutMinutes() const noexcept { return timeoutMinutes_; }
  const std::string& runParams() const noexcept { return runParams_; }

 private:
  std::string appID_;
  int timeoutMinutes_;
  std::string runParams_;
};

// A request of a session failed a security check (another IP, another browser).
class ESecurityError : public EIWServerError {
 public:
  using EIWServerError::EIWServerError;
};

// The browser of a new session is not supported.
class EUnknownBrowserException : public EIWServerError {
 public:
  using EIWServerError::EIWServerError;
};

// An embedded resource that does not exist (answered with 404).
class EInvalidResource : public EIWServerError {
 public:
  using EIWServerError::EIWServerError;
};

// Ends the request quietly: the reply prepared so far (a redirect, an authentication
// request) is sent as it is, without an error page.
class EAbort : public EIWServerError {
 public:
  EAbort() : EIWServerError("Operation aborted") {}
};

}  // namespace orv
