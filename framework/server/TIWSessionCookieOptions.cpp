#include "framework/server/TIWSessionCookieOptions.h"

#include <stdexcept>
#include <string_view>

#include "framework/server/Messages.h"
#include "framework/server/TIWServerControllerBase.h"

namespace orv {

namespace {

// A cookie name is an HTTP token: visible ASCII without separators.
bool isCookieNameChar(char c) {
  if (c >= '0' && c <= '9') return true;
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

}  // namespace

void TIWSessionCookieOptions::SetCookieNameSuffix(const std::string& v) {
  std::string kept;
  for (char c : v) {
    if (isCookieNameChar(c)) kept += c;
  }
  cookieNameSuffix_ = std::move(kept);
}

void TIWSessionCookieOptions::SetUseCookies(bool v) {
  if (!v && Controller() != nullptr && !Controller()->AllowMultipleSessionsPerUser()) {
    throw std::runtime_error(std::string(msg::kMultipleSessionsRequired));
  }
  useCookies_ = v;
}

void TIWSessionCookieOptions::Assign(const TIWSessionCookieOptions& source) {
  SetUseCookies(source.useCookies_);
  sessionCookies_ = source.sessionCookies_;
  cookieNameSuffix_ = source.cookieNameSuffix_;
  httpOnly_ = source.httpOnly_;
  secure_ = source.secure_;
}

}  // namespace orv
