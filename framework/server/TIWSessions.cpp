#include "framework/server/TIWSessions.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "framework/server/CurrentSession.h"
#include "framework/server/Messages.h"
#include "framework/server/SessionId.h"
#include "framework/server/TIWServerControllerBase.h"
#include "transport/HttpDate.h"

namespace orv {

// --- TIWExpiredSessionList ----------------------------------------------------------

void TIWExpiredSessionList::Add(const std::string& id, std::vector<std::string> runParams,
                                double expiredAt) {
  std::lock_guard hold(lock_);
  list_[id] = TExpiredSession{std::move(runParams), expiredAt};
}

bool TIWExpiredSessionList::Contains(const std::string& id) const {
  std::lock_guard hold(lock_);
  return list_.contains(id);
}

std::vector<std::string> TIWExpiredSessionList::RunParams(const std::string& id, bool remove) {
  std::lock_guard hold(lock_);
  const auto it = list_.find(id);
  if (it == list_.end()) return {};
  std::vector<std::string> params = it->second.mRunParams;
  if (remove) list_.erase(it);
  return params;
}

void TIWExpiredSessionList::Purge(double now, int maxAgeMinutes, std::size_t minCount) {
  std::lock_guard hold(lock_);
  if (list_.size() < minCount) return;
  std::erase_if(list_, [&](const auto& entry) {
    return now - entry.second.mExpiredAt > maxAgeMinutes / 1440.0;
  });
}

void TIWExpiredSessionList::Clear() {
  std::lock_guard hold(lock_);
  list_.clear();
}

std::size_t TIWExpiredSessionList::Count() const {
  std::lock_guard hold(lock_);
  return list_.size();
}

// --- TIWSessions ----------------------------------------------------------------------

TIWSessions::TIWSessions() : clock_([] { return nowLocalDateTime(); }) {}

TIWSessions::~TIWSessions() { FreeAll(); }

TIWSessions& TIWSessions::Instance() {
  static TIWSessions registry;
  return registry;
}

void TIWSessions::SetClock(Clock clock) {
  clock_ = clock ? std::move(clock) : Clock([] { return nowLocalDateTime(); });
}

double TIWSessions::Now() const { return clock_(); }

std::string TIWSessions::generateSessionIDLocked() {
  std::string id;
  do {
    id = NewGuidEncode64();
  } while (FSessions.contains(id));
  return id;
}

std::string TIWSessions::GenerateSessionID() {
  ReadLock hold(FLock);
  return generateSessionIDLocked();
}

void TIWSessions::addLocked(const std::shared_ptr<TIWApplication>& session) {
  if (!FSessions.emplace(session->AppID(), session).second)
    throw std::runtime_error("List does not allow duplicates");
}

void TIWSessions::AddSessionAndLock(const std::shared_ptr<TIWApplication>& session) {
  session->Lock();  // not yet visible to any other thread: never waits
  WriteLock hold(FLock);
  try {
    addLocked(session);
  } catch (const std::exception& e) {
    session->Unlock();
    throw std::runtime_error(std::string(msg::kAddSessionFailed) + e.what());
  }
}

std::shared_ptr<TIWApplication> TIWSessions::LookupAndLock(const std::string& id, bool& expired,
                                                           int timeoutMs,
                                                           ExpiredInfo* expiredInfo) {
  expired = false;
  const auto start = std::chrono::steady_clock::now();
  bool foundExpired = false;
  std::vector<std::string> expiredParams;
  for (;;) {
    {
      ReadLock hold(FLock);
      const auto it = FSessions.find(id);
      if (it == FSessions.end()) break;
      const std::shared_ptr<TIWApplication>& session = it->second;
      if (session->IsExpired(Now())) {
        expired = true;
        foundExpired = true;
        expiredParams = session->RunParams();
        if (expiredInfo != nullptr) {
          expiredInfo->timeoutMinutes = session->GetSessionTimeOut();
          expiredInfo->runParams = expiredParams;
        }
        break;
      }
      // Only tried under the registry lock, never awaited (lock order).
      if (session->TryLock()) return session;
    }
    if (timeoutMs > 0 &&
        std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeoutMs))
      return nullptr;
    // Another request of the same session is running: it releases within its request.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const TIWServerControllerBase* c = IWServerController();
  if (c != nullptr && c->RestartExpiredSession()) {
    if (foundExpired)
      FExpiredSessions.Add(id, std::move(expiredParams), Now());
    else
      expired = FExpiredSessions.Contains(id);
  }
  return nullptr;
}

std::shared_ptr<TIWApplication> TIWSessions::LookupByTaggedNameAndLock(const std::string& name) {
  for (;;) {
    {
      ReadLock hold(FLock);
      std::shared_ptr<TIWApplication> found;
      for (const auto& [id, session] : FSessions)
        if (session->TaggedSessionName() == name) {
          found = session;
          break;
        }
      if (!found) return nullptr;
      if (found->TryLock()) return found;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool TIWSessions::IsValidSession(const TIWApplication* session) {
  if (session == nullptr) return false;
  ReadLock hold(FLock);
  for (const auto& [id, s] : FSessions)
    if (s.get() == session) return true;
  return false;
}

std::size_t TIWSessions::GetCount() {
  ReadLock hold(FLock);
  return FSessions.size();
}

void TIWSessions::freeSessions(std::vector<std::shared_ptr<TIWApplication>>& sessions) {
  // Each destructor binds its session to this thread and swallows its own errors. A
  // request thread that still holds a reference (it has just released the session
  // lock) keeps the object alive; the destruction then runs when it lets go.
  while (!sessions.empty()) {
    std::shared_ptr<TIWApplication> s = std::move(sessions.back());
    sessions.pop_back();
    s.reset();
  }
}

bool TIWSessions::Terminate(const std::string& id) {
  std::vector<std::shared_ptr<TIWApplication>> removed;
  {
    WriteLock hold(FLock);
    const auto it = FSessions.find(id);
    if (it == FSessions.end()) return false;
    std::shared_ptr<TIWApplication> session = it->second;
    if (session.get() == currentSession() || !session->TryLock()) return false;
    FSessions.erase(it);
    session->Unlock();
    removed.push_back(std::move(session));
  }
  freeSessions(removed);
  return true;
}

void TIWSessions::RemoveHeld(const std::shared_ptr<TIWApplication>& session) {
  if (!session) return;
  WriteLock hold(FLock);
  const auto it = FSessions.find(session->AppID());
  if (it != FSessions.end() && it->second == session) FSessions.erase(it);
}

void TIWSessions::Clear() {
  std::vector<std::shared_ptr<TIWApplication>> removed;
  {
    WriteLock hold(FLock);
    for (auto it = FSessions.begin(); it != FSessions.end();) {
      const std::shared_ptr<TIWApplication>& session = it->second;
      if (session.get() != currentSession() && session->TryLock()) {
        session->Unlock();
        removed.push_back(session);
        it = FSessions.erase(it);
      } else {
        ++it;
      }
    }
  }
  freeSessions(removed);
}

void TIWSessions::FreeAll() {
  std::vector<std::shared_ptr<TIWApplication>> removed;
  {
    WriteLock hold(FLock);
    for (auto it = FSessions.begin(); it != FSessions.end();) {
      if (it->second.get() == currentSession()) {
        ++it;
        continue;
      }
      removed.push_back(std::move(it->second));
      it = FSessions.erase(it);
    }
  }
  // Out of the registry now, so no new request can reach them. A session that is still
  // serving a request is waited for (its lock is held for exactly that request); the
  // registry is not held while waiting.
  for (const auto& session : removed) {
    session->Lock();
    session->Unlock();
  }
  freeSessions(removed);
}

void TIWSessions::RemoveExpiredSessions(std::vector<std::shared_ptr<TIWApplication>>& freeList) {
  const double now = Now();
  std::vector<std::pair<std::string, std::vector<std::string>>> expiredParams;
  {
    WriteLock hold(FLock);
    for (auto it = FSessions.end(); it != FSessions.begin();) {
      --it;
      const std::shared_ptr<TIWApplication>& session = it->second;
      if (!session->IsExpired(now)) continue;
      // A session that is serving a request is left for the next pass.
      if (!session->TryLock()) continue;
      session->Unlock();
      expiredParams.emplace_back(it->first, session->RunParams());
      freeList.push_back(session);
      it = FSessions.erase(it);
    }
  }
  const TIWServerControllerBase* c = IWServerController();
  if (c != nullptr && c->RestartExpiredSession())
    for (auto& [id, params] : expiredParams) FExpiredSessions.Add(id, std::move(params), now);
}

std::unique_ptr<TIWLockedList> TIWSessions::LockList(bool write) {
  TIWApplication* current = currentSession();
  if (current != nullptr && current->SessionListLock() != TIWSessionListLock::slNone)
    throw std::runtime_error(std::string(msg::kSessionHoldsListLock));
  if (write)
    FLock.BeginWrite();
  else
    FLock.BeginRead();
  auto list = std::make_unique<TIWLockedList>();
  list->FLockMode = write ? TIWSessionListLock::slWrite : TIWSessionListLock::slRead;
  if (current != nullptr) current->SetSessionListLock(list->FLockMode);
  list->sessions.reserve(FSessions.size());
  for (const auto& [id, session] : FSessions) list->sessions.push_back(session);
  return list;
}

void TIWSessions::UnLockList(std::unique_ptr<TIWLockedList>& list) {
  if (!list) throw std::runtime_error(std::string(msg::kWrongListObject));
  if (list->FLockMode == TIWSessionListLock::slNone)
    throw std::runtime_error(std::string(msg::kListHasNoLock));
  const TIWSessionListLock mode = list->FLockMode;
  list.reset();
  if (TIWApplication* current = currentSession())
    current->SetSessionListLock(TIWSessionListLock::slNone);
  if (mode == TIWSessionListLock::slWrite)
    FLock.EndWrite();
  else
    FLock.EndRead();
}

int TIWSessions::QueryStatus(const std::string& id) {
  ReadLock hold(FLock);
  const auto it = FSessions.find(id);
  if (it == FSessions.end()) return -1;
  it->second->MarkAccess();
  return it->second->Status();
}

void TIWSessions::MarkAccess(const std::string& id) {
  ReadLock hold(FLock);
  const auto it = FSessions.find(id);
  if (it != FSessions.end()) it->second->MarkAccess();
}

void TIWSessions::DoChangeSessionID(const std::string& oldID, const std::string& newID) {
  WriteLock hold(FLock);
  const auto it = FSessions.find(oldID);
  if (it == FSessions.end() || FSessions.contains(newID)) return;
  std::shared_ptr<TIWApplication> session = std::move(it->second);
  FSessions.erase(it);
  FSessions.emplace(newID, std::move(session));
}

std::vector<std::string> TIWSessions::GetExpiredRunParams(const std::string& id, bool remove) {
  return FExpiredSessions.RunParams(id, remove);
}

void TIWSessions::ClearExpiredSessionsList() { FExpiredSessions.Clear(); }

}  // namespace orv
