#include "framework/server/CurrentSession.h"

namespace orv {

namespace {
thread_local TIWApplication* tCurrentSession = nullptr;
}  // namespace

TIWApplication* setCurrentSession(TIWApplication* session) {
  TIWApplication* previous = tCurrentSession;
  tCurrentSession = session;
  return previous;
}

TIWApplication* currentSession() { return tCurrentSession; }

}  // namespace orv
