#pragma once
// UserSessionUnit: this application's per-session data module. It adds nothing to the
// framework's base; one instance lives in each browser session's Data, owned by the
// session and freed with it.
#include "framework/server/TIWUserSessionBase.h"

namespace orv {

class TIWUserSession : public TIWUserSessionBase {
 public:
  using TIWUserSessionBase::TIWUserSessionBase;
};

}  // namespace orv
