#pragma once
// The session bound to the calling thread: a request binds its session to the thread
// that serves it for as long as it runs, and the purge thread binds each session it
// frees. Everything that needs "the session of this request" without being handed it
// (the user session's GetWebApplication, forms, cache files) reads it here.
//
// One slot per thread; no locking needed. The slot does not own the session.
namespace orv {

class TIWApplication;

// Binds `session` (nullptr: none) to the calling thread and returns the one bound
// before.
TIWApplication* setCurrentSession(TIWApplication* session);
// The session bound to the calling thread, or nullptr.
TIWApplication* currentSession();

// Binds a session for one scope and puts the previous binding back at its end.
class CurrentSessionScope {
 public:
  explicit CurrentSessionScope(TIWApplication* session) : previous_(setCurrentSession(session)) {}
  ~CurrentSessionScope() { setCurrentSession(previous_); }
  CurrentSessionScope(const CurrentSessionScope&) = delete;
  CurrentSessionScope& operator=(const CurrentSessionScope&) = delete;

 private:
  TIWApplication* previous_;
};

}  // namespace orv
