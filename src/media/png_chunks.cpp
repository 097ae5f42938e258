#include "media/png_chunks.h"

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr uint64_t kChunkFrame = 12;  // length, type and CRC around the data
constexpr uint64_t kDeflateMaxExpansion = 1032;

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool TypeIs(const uint8_t* type, const char (&name)[5]) {
  return type[0] == name[0] && type[1] == name[1] && type[2] == name[2] && type[3] == name[3];
}

}  // namespace

SPngChunkScan ScanPngChunks(const uint8_t* bytes, std::size_t byteCount) {
  SPngChunkScan scan;
  bool seenImageData = false;
  uint64_t position = kSignatureSize;
  while (position + 8 <= byteCount) {
    const uint64_t length = ReadBigEndian32(bytes + position);
    const uint8_t* type = bytes + position + 4;
    const bool isImageData = TypeIs(type, "IDAT");
    const uint64_t left = byteCount - position;
    const bool fits = length + kChunkFrame <= left;
    if (isImageData) {
      seenImageData = true;
      const uint64_t inside = left - 8;
      scan.imageDataBytes += length < inside ? length : inside;
    }
    if (!seenImageData) scan.headerFits = fits;
    if (!fits) return scan;
    if (TypeIs(type, "IEND")) {
      scan.complete = true;
      return scan;
    }
    position += length + kChunkFrame;
  }
  // Ran out within a chunk header: a reader needs that header before it can go on.
  if (!seenImageData) scan.headerFits = false;
  return scan;
}

bool ImageDataCanHold(uint64_t imageDataBytes, uint32_t width, uint32_t height, unsigned bitsPerPixel) {
  // The packed pixels alone, without the filter bytes and the interlaced passes' rounding,
  // so the bound never refuses an image that does fit. Compared row by row, so that no
  // product of the stated sizes can overflow.
  const uint64_t rowBits = uint64_t{width} * bitsPerPixel;
  if (rowBits == 0) return true;
  const uint64_t capacityBits = imageDataBytes * kDeflateMaxExpansion * 8;
  return height <= capacityBits / rowBits;
}
