#pragma once
// A mouse cursor as read from a cursor file: one or more frames of premultiplied ARGB
// pixels with the hotspot, and for animated cursors the order and duration of the
// steps. Platform backends turn it into a native cursor.
#include <cstdint>
#include <string>
#include <vector>

#include "media/pixel_surface.h"

struct SCursorFrame {
  CPixelSurface image;
  int hotspotX = 0;
  int hotspotY = 0;
};

struct SCursorStep {
  int frame = 0;             // index into the frames
  uint32_t durationMs = 0;   // 0 for a static cursor
};

struct SCursorImage {
  std::vector<SCursorFrame> frames;  // at least one
  std::vector<SCursorStep> steps;    // the animation cycle; one step for a static cursor
  // The file it was read from, for systems that load cursor files themselves; empty
  // for a cursor made in memory.
  std::u16string path;
};
