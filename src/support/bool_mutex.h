#pragma once
// CBoolMutex: a busy mark the frame thread sets while it works through its pending
// requests and the main thread reads to decide whether it may act at once. Atomic
// because the two threads touch it without a lock.
#include <atomic>

class CBoolMutex {
 public:
  CBoolMutex() = default;
  virtual ~CBoolMutex() = default;
  CBoolMutex(const CBoolMutex&) = delete;
  CBoolMutex& operator=(const CBoolMutex&) = delete;

  bool IsBusy() const { return m_busy.load(std::memory_order_acquire); }
  void SetBusy(bool busy) { m_busy.store(busy, std::memory_order_release); }

 private:
  std::atomic<bool> m_busy{false};
};
