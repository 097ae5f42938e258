#pragma once
// Checks every decoder's result must pass: a non-empty size and premultiplied pixels
// (no colour channel above alpha). A failure aborts, which the fuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "media/pixel_surface.h"

inline void CheckPremultipliedSurface(const CPixelSurface& surface) {
  if (surface.Width() <= 0 || surface.Height() <= 0) std::abort();
  const std::size_t count = static_cast<std::size_t>(surface.Width()) * static_cast<std::size_t>(surface.Height());
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t p = surface.Pixels()[i];
    const uint32_t alpha = p >> 24;
    if ((p & 0xFF) > alpha || ((p >> 8) & 0xFF) > alpha || ((p >> 16) & 0xFF) > alpha) std::abort();
  }
}
