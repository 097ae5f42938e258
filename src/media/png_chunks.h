#pragma once
// A walk over the chunk list of a PNG held in memory, before libpng reads it. libpng
// allocates a chunk's stated length before it reads the chunk, and the whole image before
// it reads the image data, so a file of a few bytes can make it ask for gigabytes. The
// walk tells the decoders which files cannot decode however libpng treats them, so they
// are refused before any such allocation.
#include <cstddef>
#include <cstdint>

struct SPngChunkScan {
  // Every chunk before the first IDAT lies wholly inside the data.
  bool headerFits = false;
  // Every chunk up to and including IEND lies wholly inside the data.
  bool complete = false;
  // The IDAT bytes that lie inside the data.
  uint64_t imageDataBytes = 0;
};

// Walks the chunks after the 8-byte signature (the caller has checked it).
SPngChunkScan ScanPngChunks(const uint8_t* bytes, std::size_t byteCount);

// Whether `imageDataBytes` of zlib data could hold the filtered rows of an image of this
// size at this many bits a pixel. Deflate expands a byte to at most 1032, so an image
// needing more cannot be complete and libpng would stop at its end with an error.
bool ImageDataCanHold(uint64_t imageDataBytes, uint32_t width, uint32_t height, unsigned bitsPerPixel);
