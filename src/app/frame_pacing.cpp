#include "app/frame_pacing.h"

uint32_t NextFrameSleep(SFramePacing& pacing, uint32_t now) {
  // The grid step is computed in single precision, as the frame loop always has, so
  // frame times stay the same across platforms.
  const auto target = static_cast<uint32_t>(static_cast<float>(pacing.frameCounter + 1) * 33.333332f);
  const uint32_t elapsed = now - pacing.windowStart;  // wraps like the millisecond clock
  const uint32_t sleep = target > elapsed ? target - elapsed : 0;
  if (elapsed >= 1000) {
    pacing.windowStart = now;
    pacing.frameCounter = 0;
  }
  ++pacing.frameCounter;
  return sleep;
}
