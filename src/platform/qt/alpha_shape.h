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

// The list is YX-banded, as the X protocol names it: sorted by y, then x; rectangles that
// share a row share their y and height; none overlap.
// Replaces `out` with the rectangles covering the non-transparent pixels of a
// `width` × `height` image whose rows are `stride` pixels apart. Reuses `out`'s
// capacity, so a window whose shape does not grow allocates nothing. Costs one pass over
// the pixels.
void AlphaShapeRects(const uint32_t* pixels, int width, int height, int stride,
                     std::vector<SShapeRect>& out);
// The same for an image that differs from the one `rects` was made for (same size) only
// in rows [top, bottom): only those rows are scanned, the rest of the list is kept, and
// `rects` ends as AlphaShapeRects would make it. `scratch` is working space whose
// capacity is reused.
void AlphaShapeRectsAgain(const uint32_t* pixels, int width, int height, int stride, int top, int bottom,
                          std::vector<SShapeRect>& rects, std::vector<SShapeRect>& scratch);
