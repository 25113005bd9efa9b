#include "app/CycleNumberPool.h"

#include <memory>
#include <random>

namespace orv {

namespace {

CycleNumberPool::Generator seededGenerator() {
  // Seeded once, when the pool is made; the engine lives inside the generator and is
  // only touched under the pool's lock.
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  return [engine] {
    std::uniform_int_distribution<int> draw(0, CycleNumberPool::kMaxNumber);
    return draw(*engine);
  };
}

int inRange(int candidate) {
  const int n = candidate % (CycleNumberPool::kMaxNumber + 1);
  return n < 0 ? -n : n;
}

}  // namespace

CycleNumberPool::CycleNumberPool() : CycleNumberPool(seededGenerator()) {}

CycleNumberPool::CycleNumberPool(Generator generator) : generator_(std::move(generator)) {}

CycleNumberPool& CycleNumberPool::process() {
  // Never destroyed: request threads may still hold leases while the process ends.
  static CycleNumberPool* const pool = new CycleNumberPool();
  return *pool;
}

CycleNumberPool::Lease CycleNumberPool::acquire() {
  std::unique_lock lock(mutex_);
  released_.wait(lock, [this] { return held_.size() <= static_cast<std::size_t>(kMaxNumber); });
  for (;;) {
    const int number = inRange(generator_());
    if (held_.insert(number).second) return Lease(this, number);
  }
}

std::size_t CycleNumberPool::heldCount() const {
  std::lock_guard lock(mutex_);
  return held_.size();
}

bool CycleNumberPool::isHeld(int number) const {
  std::lock_guard lock(mutex_);
  return held_.contains(number);
}

void CycleNumberPool::release(int number) {
  {
    std::lock_guard lock(mutex_);
    held_.erase(number);
  }
  released_.notify_one();
}

}  // namespace orv
