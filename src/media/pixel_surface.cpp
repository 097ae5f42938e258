#include "media/pixel_surface.h"

CPixelSurface::CPixelSurface(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
}

uint64_t HashPixels(const CPixelSurface& surface) {
  uint64_t hash = 0xcbf29ce484222325ull;
  const std::size_t count = static_cast<std::size_t>(surface.Width()) * static_cast<std::size_t>(surface.Height());
  const uint32_t* pixels = surface.Pixels();
  for (std::size_t i = 0; i < count; ++i) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (pixels[i] >> shift) & 0xFFu;
      hash *= 0x100000001b3ull;
    }
  }
  return hash;
}
