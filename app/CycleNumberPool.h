#pragma once
// CycleNumberPool: the random numbers that tell the files of concurrent solve cycles
// apart. A solve cycle names its solver input, result, error and plot files after the
// layout file, the server port and a number from 0 to 9998 drawn for that cycle. Two
// cycles that ran at the same moment with the same number would write, read and delete
// each other's files, so a number stays held from the draw until its cycle has dealt
// with its files, and a draw that hits a held number is drawn again.
//
// One pool serves the whole process (process()), because every session's cycles share
// the same folder; tests build their own with an injected generator. Lease is the
// RAII holder of one drawn number.
//
// Thread-safe: any request thread may draw and release at any time.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <set>

namespace orv {

class CycleNumberPool {
 public:
  // Numbers are drawn from 0 to kMaxNumber.
  static constexpr int kMaxNumber = 9998;

  // Supplies candidates; called with the pool's lock held. Each result is taken modulo
  // kMaxNumber + 1 (a negative one by its magnitude).
  using Generator = std::function<int()>;

  // A pool drawing from a generator seeded once from the system's random source.
  CycleNumberPool();
  explicit CycleNumberPool(Generator generator);
  CycleNumberPool(const CycleNumberPool&) = delete;
  CycleNumberPool& operator=(const CycleNumberPool&) = delete;

  // The pool of this process.
  static CycleNumberPool& process();

  // One held number; released when the lease ends. The pool must outlive its leases
  // (the process pool lives until the process ends).
  class Lease {
   public:
    Lease(Lease&& other) noexcept : pool_(other.pool_), number_(other.number_) {
      other.pool_ = nullptr;
    }
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease() {
      if (pool_ != nullptr) pool_->release(number_);
    }
    int number() const { return number_; }

   private:
    friend class CycleNumberPool;
    Lease(CycleNumberPool* pool, int number) : pool_(pool), number_(number) {}
    CycleNumberPool* pool_;  // the pool that keeps this number held; null once moved from
    int number_;
  };

  // Draws numbers until one is not held and holds it. When every number is held (9 999
  // cycles running at once) it waits for one to be released.
  Lease acquire();

  // Numbers held right now.
  std::size_t heldCount() const;
  bool isHeld(int number) const;

 private:
  void release(int number);

  // Guards held_ and generator_ (and the generator's own state). A leaf lock: nothing
  // else is locked while it is held.
  mutable std::mutex mutex_;
  std::condition_variable released_;  // signalled whenever a number is released
  std::set<int> held_;
  Generator generator_;
};

}  // namespace orv
