#pragma once
// A reader-writer lock with explicit begin/end calls: many readers or one writer. The
// session registry and the embedded file table are guarded by one each. Built on
// std::shared_mutex, the platform's slim reader-writer lock; like it, the lock is not
// recursive, and each End call must come from the thread that made the Begin call.
#include <shared_mutex>

namespace orv {

class TIWSlimReaderWriter {
 public:
  void BeginRead() { mutex_.lock_shared(); }
  void EndRead() { mutex_.unlock_shared(); }
  void BeginWrite() { mutex_.lock(); }
  void EndWrite() { mutex_.unlock(); }
  bool TryBeginRead() { return mutex_.try_lock_shared(); }
  bool TryBeginWrite() { return mutex_.try_lock(); }

 private:
  std::shared_mutex mutex_;
};

// Scoped holders for the common case of one block of code.
class ReadLock {
 public:
  explicit ReadLock(TIWSlimReaderWriter& lock) : lock_(lock) { lock_.BeginRead(); }
  ~ReadLock() { lock_.EndRead(); }
  ReadLock(const ReadLock&) = delete;
  ReadLock& operator=(const ReadLock&) = delete;

 private:
  TIWSlimReaderWriter& lock_;
};

class WriteLock {
 public:
  explicit WriteLock(TIWSlimReaderWriter& lock) : lock_(lock) { lock_.BeginWrite(); }
  ~WriteLock() { lock_.EndWrite(); }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

 private:
  TIWSlimReaderWriter& lock_;
};

}  // namespace orv
