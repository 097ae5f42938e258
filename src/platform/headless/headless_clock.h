#pragma once
// The clocks of the headless backend also give the full 64-bit millisecond count, so
// that timer deadlines never wrap.
#include <cstdint>

#include "platform/clock.h"

class CHeadlessClock : public IClock {
 public:
  virtual uint64_t NowMs() = 0;
  uint32_t Milliseconds() override { return static_cast<uint32_t>(NowMs()); }
  // Timer resolution only matters for a real scheduler; these clocks need none.
  void BeginTimerResolution(uint32_t) override {}
  void EndTimerResolution(uint32_t) override {}
};
