#pragma once
// The multimedia timer as the frame loop's clock: its millisecond count, the system
// sleep and the system timer resolution.
#include <cstdint>

#include "platform/clock.h"

class CWin32Clock final : public IClock {
 public:
  uint32_t Milliseconds() override;
  void Sleep(uint32_t ms) override;
  // The resolution is system-wide; the system keeps the finest one still asked for.
  void BeginTimerResolution(uint32_t ms) override;
  void EndTimerResolution(uint32_t ms) override;
};
