#pragma once
// The monotonic system clock with real sleeps, for runs that keep wall-clock pace.
#include "platform/headless/headless_clock.h"

class CRealClock final : public CHeadlessClock {
 public:
  uint64_t NowMs() override;
  void Sleep(uint32_t ms) override;
};
