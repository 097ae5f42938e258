#pragma once
// The TGA decoder: our own reader of Truevision TGA 2.0 files (the footer is required),
// raw and run-length encoded, 8/16/24/32 bits, colour maps of 3- or 4-byte entries, the
// key colour of the extension area and both orientation bits. Every read is checked
// against the end of the data.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "media/pixel_surface.h"

// Decodes a whole TGA file held in memory into a premultiplied, top-down surface.
// nullopt when the data breaks any rule (no footer, unsupported layout, truncated
// data); never prints anything. Costs one pass over the data and one over the pixels.
std::optional<CPixelSurface> DecodeTga(const uint8_t* bytes, std::size_t byteCount);
