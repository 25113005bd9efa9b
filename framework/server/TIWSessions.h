#pragma once
// TIWSessions: the registry of live sessions, from session ID to session. It hands a
// request its session locked (LookupAndLock), registers new sessions, removes
// terminated and expired ones, and answers the session-less status queries.
//
// Ownership: the registry holds each session by shared_ptr; a request that has looked
// a session up holds another reference until it ends. A session is removed from the
// registry only while nobody holds its session lock (purge and Terminate skip busy
// sessions; FreeAll waits for them), and its destruction runs when the last reference
// goes, so no thread ever sees a session freed under it.
//
// Locks, in order: the registry lock (FLock) may be held while a session's lock is
// *tried*, never while one is awaited; a thread that holds a session lock may take the
// registry lock. The expired list has its own leaf lock. Session destruction always
// runs with no registry lock held (its handlers may look at the registry).
//
// Time: every "now" comes from the registry's clock (the local date-time in days since
// 1899-12-30), which tests replace to move time instead of sleeping.
//
// One registry serves the process (Instance()); tests may make their own.
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/server/TIWApplication.h"
#include "framework/server/TIWSlimReaderWriter.h"

namespace orv {

// A snapshot of the sessions, handed out with the registry held (LockList); the only
// valid token for UnLockList.
struct TIWLockedList {
  std::vector<std::shared_ptr<TIWApplication>> sessions;
  TIWSessionListLock FLockMode = TIWSessionListLock::slNone;
};

// Start parameters of sessions that expired, kept while RestartExpiredSession is on.
class TIWExpiredSessionList {
 public:
  struct TExpiredSession {
    std::vector<std::string> mRunParams;
    double mExpiredAt = 0;
  };
  void Add(const std::string& id, std::vector<std::string> runParams, double expiredAt);
  bool Contains(const std::string& id) const;
  // The start parameters recorded for an ID (removing the entry when asked).
  std::vector<std::string> RunParams(const std::string& id, bool remove);
  // Drops entries older than maxAgeMinutes, but only once the list holds minCount.
  void Purge(double now, int maxAgeMinutes, std::size_t minCount);
  void Clear();
  std::size_t Count() const;

 private:
  mutable std::mutex lock_;  // guards list_; a leaf lock
  std::map<std::string, TExpiredSession> list_;
};

class TIWSessions {
 public:
  using Clock = std::function<double()>;

  TIWSessions();
  // Frees every session still registered (waiting for requests that hold one).
  ~TIWSessions();
  TIWSessions(const TIWSessions&) = delete;
  TIWSessions& operator=(const TIWSessions&) = delete;

  // The process's registry.
  static TIWSessions& Instance();

  // The clock (set before sessions exist; the default reads the local time).
  void SetClock(Clock clock);
  double Now() const;

  // Registers a session under its ID (already set) and takes its lock.
  void AddSessionAndLock(const std::shared_ptr<TIWApplication>& session);
  // Finds the session and returns it locked; waits, polling every 10 ms, while another
  // request holds it (timeoutMs 0: without limit; above 0: at most that long, then
  // none). expired: the session exists but has timed out (or, with
  // RestartExpiredSession, its ID is in the expired list).
  // expiredInfo (optional) receives the time-out and start parameters of a session
  // found expired, for the time-out page.
  struct ExpiredInfo {
    int timeoutMinutes = 0;
    std::vector<std::string> runParams;
  };
  std::shared_ptr<TIWApplication> LookupAndLock(const std::string& id, bool& expired,
                                                int timeoutMs = 0,
                                                ExpiredInfo* expiredInfo = nullptr);
  std::shared_ptr<TIWApplication> LookupByTaggedNameAndLock(const std::string& name);
  bool IsValidSession(const TIWApplication* session);
  std::size_t GetCount();

  // Removes and frees one session; false when it is unknown, busy, or the calling
  // thread's own session.
  bool Terminate(const std::string& id);
  // Removes a session whose lock the calling thread holds (a terminated session at the
  // end of its request, a session that failed a security check). Removing it before
  // its lock is released keeps a waiting request of the same session from taking it
  // over. The caller then releases the lock and drops its reference; the session is
  // destroyed when the last reference goes.
  void RemoveHeld(const std::shared_ptr<TIWApplication>& session);
  // Removes and frees every session it can lock (skipping busy ones and the calling
  // thread's own).
  void Clear();
  // Removes every session; sessions still serving a request are freed as soon as that
  // request lets go of them (this call waits for it). For the server's stop.
  void FreeAll();
  // The purge pass: removes every expired session that is not busy into freeList.
  void RemoveExpiredSessions(std::vector<std::shared_ptr<TIWApplication>>& freeList);

  // Takes the registry for reading or writing for the calling thread and returns a
  // snapshot; "This session already holds a lock in session list" when the thread's
  // session holds one already.
  std::unique_ptr<TIWLockedList> LockList(bool write);
  // "Wrong list object type." for no list, "The list instance does not contain lock
  // information" for a list without a lock; otherwise releases the registry.
  void UnLockList(std::unique_ptr<TIWLockedList>& list);

  // -1 for an unknown ID, else the session's status (0); marks the session accessed.
  int QueryStatus(const std::string& id);
  void MarkAccess(const std::string& id);

  // A new ID that no live session has.
  std::string GenerateSessionID();
  void DoChangeSessionID(const std::string& oldID, const std::string& newID);
  std::vector<std::string> GetExpiredRunParams(const std::string& id, bool remove);
  void ClearExpiredSessionsList();
  TIWExpiredSessionList& ExpiredSessions() { return FExpiredSessions; }

  // Fired on the registering thread after a session was added, and while a session is
  // destroyed (errors swallowed). Set at start-up (the desktop window counts sessions).
  std::function<void(TIWApplication& session)> FOnCreateSession;
  std::function<void(TIWApplication& session)> FOnDestroySession;

 private:
  friend class TIWApplication;
  // GenerateSessionID with the registry already held.
  std::string generateSessionIDLocked();
  // Registers under the registry's write lock (held by the caller).
  void addLocked(const std::shared_ptr<TIWApplication>& session);
  // Frees sessions taken out of the registry (no registry lock held).
  static void freeSessions(std::vector<std::shared_ptr<TIWApplication>>& sessions);

  // Guards FSessions. First in the lock order: see the header comment.
  TIWSlimReaderWriter FLock;
  TIWExpiredSessionList FExpiredSessions;
  std::map<std::string, std::shared_ptr<TIWApplication>> FSessions;  // sorted, case-sensitive
  Clock clock_;  // set before use, read-only while sessions exist
};

}  // namespace orv
