#pragma once
// An animation for the encoders: its picture size, frame count and timing, and a source
// that composes one frame at a time, so no encoder needs every frame in memory at once.
#include <cstddef>
#include <functional>

#include "media/pixel_surface.h"

struct SAnimation {
  int width = 0;
  int height = 0;
  size_t frameCount = 0;
  int delayTicks = 3;        // each frame shows for delayTicks / ticksPerSecond seconds
  int ticksPerSecond = 30;
  bool transparent = false;  // false: every pixel is opaque
  // Frame `index` (0 to frameCount - 1) at width × height, premultiplied 0xAARRGGBB.
  std::function<CPixelSurface(size_t index)> frame;
};
