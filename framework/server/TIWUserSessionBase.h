#pragma once
// TIWUserSessionBase: the base of an application's per-session data module. Each
// browser session gets one (the application's TIWUserSession) when it is created; the
// session keeps it in its Data field, owns it and frees it when the session ends.
//
// Used by the session's request threads, one at a time (the session lock serialises
// them).
#include <functional>

namespace orv {

class TIWApplication;

class TIWUserSessionBase {
 public:
  // `session` is the owning session (nullptr: look it up through the calling thread,
  // see GetWebApplication).
  explicit TIWUserSessionBase(TIWApplication* session);
  // Fires OnDestroy (see DoDestroy) unless that has happened already.
  virtual ~TIWUserSessionBase();
  TIWUserSessionBase(const TIWUserSessionBase&) = delete;
  TIWUserSessionBase& operator=(const TIWUserSessionBase&) = delete;

  // The owning session, or, when none was given, the session bound to the calling
  // thread (nullptr outside a request).
  TIWApplication* GetWebApplication() const;

  // Fires OnDestroy once; an exception it raises is swallowed, because the session is
  // going away whatever the handler thinks of it.
  void DoDestroy();

  std::function<void(TIWUserSessionBase&)> OnDestroy;

 protected:
  TIWApplication* mWebApplication;  // not owned: the session owns this data module

 private:
  bool destroyFired_ = false;
};

}  // namespace orv
