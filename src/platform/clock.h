#pragma once
// Time as the frame loop and the status sampler see it.
#include <cstdint>

class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds of a monotonic clock that wraps at 2^32, like a multimedia timer.
  virtual uint32_t Milliseconds() = 0;
  // Suspends the calling thread for about `ms` milliseconds.
  virtual void Sleep(uint32_t ms) = 0;
  // Asks for `ms` timer resolution while frames run; each Begin pairs with one End.
  virtual void BeginTimerResolution(uint32_t ms) = 0;
  virtual void EndTimerResolution(uint32_t ms) = 0;
};
