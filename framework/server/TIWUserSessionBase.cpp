#include "framework/server/TIWUserSessionBase.h"

#include "framework/server/CurrentSession.h"

namespace orv {

TIWUserSessionBase::TIWUserSessionBase(TIWApplication* session) : mWebApplication(session) {
  // A data module made while a request runs also joins that session's list of data
  // modules (and leaves it when freed); the session layer adds that registration.
}

TIWUserSessionBase::~TIWUserSessionBase() { DoDestroy(); }

TIWApplication* TIWUserSessionBase::GetWebApplication() const {
  return mWebApplication != nullptr ? mWebApplication : currentSession();
}

void TIWUserSessionBase::DoDestroy() {
  if (destroyFired_) return;
  destroyFired_ = true;
  if (!OnDestroy) return;
  try {
    OnDestroy(*this);
  } catch (...) {
    // Swallowed: see the header.
  }
}

}  // namespace orv
