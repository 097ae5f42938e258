#pragma once
// The PNG decoder: libpng with expansion to 8-bit RGBA, so every valid PNG (grey, grey
// with alpha, palette with or without tRNS, 16-bit, interlaced) loads.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "media/pixel_surface.h"

// Decodes a whole PNG file held in memory into a premultiplied surface. nullopt when the
// signature is wrong or libpng reports any error (corrupt, truncated), and for images of
// more than 8192 × 8192 pixels or a side over 65535; never prints anything. Nothing is
// allocated for a size the file cannot hold. Costs one libpng decode straight into the
// surface plus one pass to convert and premultiply.
std::optional<CPixelSurface> DecodePng(const uint8_t* bytes, std::size_t byteCount);
