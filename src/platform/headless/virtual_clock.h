#pragma once
// Time that starts at 0 and moves only when told to: by the message loop as it steps
// frames and waits for timers, or by Sleep. Runs with the same inputs see the same times.
#include <atomic>

#include "platform/headless/headless_clock.h"

class CVirtualClock final : public CHeadlessClock {
 public:
  uint64_t NowMs() override { return now_.load(std::memory_order_acquire); }
  // Returns at once with the clock `ms` later.
  void Sleep(uint32_t ms) override { now_.fetch_add(ms, std::memory_order_acq_rel); }
  // Moves the clock forward to `ms`; an earlier time leaves it where it is.
  void AdvanceTo(uint64_t ms) {
    uint64_t now = now_.load(std::memory_order_acquire);
    while (now < ms && !now_.compare_exchange_weak(now, ms, std::memory_order_acq_rel)) {
    }
  }

 private:
  std::atomic<uint64_t> now_{0};
};
