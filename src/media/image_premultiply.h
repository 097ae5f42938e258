#pragma once
// Premultiplied alpha is computed once, when an image is decoded, so composition can
// blend without dividing.
#include <cstdint>

class CPixelSurface;

// floor(x / 255) for every x up to 255 × 255, without a division.
inline uint32_t DivideBy255(uint32_t x) { return (x * 0x8081u) >> 23; }

// c' = c × a / 255 with truncation, for one straight-alpha 0xAARRGGBB pixel.
inline uint32_t PremultiplyPixel(uint32_t argb) {
  const uint32_t alpha = argb >> 24;
  if (alpha == 0xFFu) return argb;
  if (alpha == 0u) return 0u;
  const uint32_t red = DivideBy255(((argb >> 16) & 0xFFu) * alpha);
  const uint32_t green = DivideBy255(((argb >> 8) & 0xFFu) * alpha);
  const uint32_t blue = DivideBy255((argb & 0xFFu) * alpha);
  return (alpha << 24) | (red << 16) | (green << 8) | blue;
}
// Premultiplies every pixel of the surface in place. Opaque and fully transparent
// pixels take a fast path; costs one pass over the pixels.
void Premultiply(CPixelSurface& surface);
