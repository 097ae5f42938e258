#pragma once
// The 30 frames per second grid of the frame thread, as a pure function of the clock.
#include <cstdint>

struct SFramePacing {
  uint32_t windowStart = 0;   // clock value the grid counts from
  uint32_t frameCounter = 0;  // frames since windowStart
};

// One frame's pacing. `now` is the clock read before the frame's work. Returns how many
// milliseconds to sleep after the work: frames fall on a grid of 33⅓ ms from the window
// start, a late frame sleeps 0 until the grid is reached again, and the grid re-anchors
// at the first frame that starts 1000 ms or more after the window start.
uint32_t NextFrameSleep(SFramePacing& pacing, uint32_t now);
