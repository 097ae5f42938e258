#pragma once
// The PNG decoder: libpng with expansion to 8-bit RGBA, so every valid PNG (grey, grey
// with alpha, palette with or without tRNS, 16-bit, interlaced) loads.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "media/pixel_surface.h"

// Decodes a whole PNG file held in memory into a premultiplied surface. nullopt when the
// signature is wrong or libpng reports any error (corrupt, truncated, too large); never
// prints anything. Costs one libpng decode plus one pass to convert and premultiply.
std::optional<CPixelSurface> DecodePng(const uint8_t* bytes, std::size_t byteCount);
