#pragma once
// Premultiplied 0xAARRGGBB pixels back to straight colour, for the image formats that
// store colour without alpha folded in, rounding to the nearest value.
#include <algorithm>
#include <cstdint>

struct SStraightColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
};

inline SStraightColour Unpremultiply(uint32_t pixel) {
  const uint32_t a = pixel >> 24;
  uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  if (a != 0 && a != 255) {
    r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
    g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
    b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
  }
  return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), static_cast<uint8_t>(a)};
}
