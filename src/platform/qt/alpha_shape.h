#pragma once
// The shape of a per-pixel-alpha window as rectangles: every pixel whose alpha is not
// zero, in bands of rows that share the same runs. The X server takes such a list as a
// window's input shape (clicks elsewhere fall through) and, without a compositor, as its
// bounding shape (the desktop shows through elsewhere).
#include <cstdint>
#include <vector>

// The layout of the X protocol's RECTANGLE, so a list goes to the server as it is.
struct SShapeRect {
  int16_t x = 0;
  int16_t y = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  bool operator==(const SShapeRect&) const = default;
};

// Replaces `out` with the rectangles covering the non-transparent pixels of a
// `width` × `height` image whose rows are `stride` pixels apart. Reuses `out`'s
// capacity, so a window whose shape does not grow allocates nothing. Costs one pass over
// the pixels.
void AlphaShapeRects(const uint32_t* pixels, int width, int height, int stride,
                     std::vector<SShapeRect>& out);
