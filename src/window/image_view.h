#pragma once
// Read-only views of premultiplied 0xAARRGGBB images and rectangles inside them, as the
// composition operations take them: decoded images, the layer surface, test data.
#include <cstdint>

#include "media/pixel_surface.h"

struct SImageView {
  const uint32_t* pixels = nullptr;
  int stride = 0;  // in pixels
  int width = 0;
  int height = 0;

  const uint32_t* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
};

inline SImageView ViewOf(const CPixelSurface& surface) {
  return {surface.Pixels(), surface.Width(), surface.Width(), surface.Height()};
}

struct SPixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Whether `rect` is non-empty and lies wholly inside `image`.
inline bool RectInside(const SImageView& image, const SPixelRect& rect) {
  return image.pixels != nullptr && rect.width > 0 && rect.height > 0 && rect.x >= 0 && rect.y >= 0 &&
         rect.x <= image.width - rect.width && rect.y <= image.height - rect.height;
}

// Mirror modes of frames and layers: bit 0 mirrors the columns, bit 1 the rows.
constexpr int kMirrorNone = 0;
constexpr int kMirrorLeftRight = 1;
constexpr int kMirrorTopBottom = 2;
constexpr int kMirrorBoth = 3;
inline bool MirrorsColumns(int mirror) { return (mirror & kMirrorLeftRight) != 0; }
inline bool MirrorsRows(int mirror) { return (mirror & kMirrorTopBottom) != 0; }
