// Decoding of the images inside icon and cursor files: PNG through libpng's simplified
// reader, or a device-independent bitmap with its AND mask.
#include <png.h>

#include <cstring>

#include "media/cursor_bytes.h"
#include "media/cursor_reader.h"
#include "media/png_chunks.h"

namespace {

constexpr int kMaxSide = 4096;  // far beyond any cursor; keeps allocations bounded

uint32_t Premultiplied(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
  const auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

CPixelSurface DecodePng(std::string_view bytes) {
  // The simplified reader stops after the image data, so only the chunks before it must
  // fit; one that runs past the end would fail after libpng allocated its stated length.
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const SPngChunkScan scan = ScanPngChunks(data, bytes.size());
  if (!scan.headerFits) return {};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  // One bit a pixel is the least any PNG stores, so the bound holds for every depth.
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      !ImageDataCanHold(scan.imageDataBytes, image.width, image.height, 1)) {
    png_image_free(&image);
    return {};
  }
  // Bytes B, G, R, A in memory are the 0xAARRGGBB layout of the surface.
  image.format = PNG_FORMAT_BGRA;
  CPixelSurface surface(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, surface.Pixels(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  for (int y = 0; y < surface.Height(); ++y) {
    uint32_t* row = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      const uint32_t p = row[x];
      row[x] = Premultiplied(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24);
    }
  }
  return surface;
}

struct SDibLayout {
  int width = 0;
  int height = 0;  // of the image, half the bitmap's stated height
  bool topDown = false;
  uint16_t bits = 0;
  size_t paletteOffset = 0;
  uint32_t paletteCount = 0;
  size_t colourOffset = 0;
  size_t colourStride = 0;
  size_t maskOffset = 0;
  size_t maskStride = 0;
};

std::optional<SDibLayout> ReadDibLayout(std::string_view bytes) {
  const auto headerSize = ReadU32(bytes, 0);
  const auto width = ReadU32(bytes, 4);
  const auto height = ReadU32(bytes, 8);
  const auto bits = ReadU16(bytes, 14);
  const auto compression = ReadU32(bytes, 16);
  const auto coloursUsed = ReadU32(bytes, 32);
  if (!headerSize || *headerSize < 40 || !width || !height || !bits || !compression || !coloursUsed) {
    return std::nullopt;
  }
  SDibLayout layout;
  const int32_t statedHeight = static_cast<int32_t>(*height);
  layout.topDown = statedHeight < 0;
  // The stated height covers the colour rows and the mask rows.
  const int64_t fullHeight = statedHeight < 0 ? -static_cast<int64_t>(statedHeight) : statedHeight;
  layout.width = static_cast<int32_t>(*width);
  layout.height = static_cast<int>(fullHeight / 2);
  layout.bits = *bits;
  if (*compression != 0 || layout.width <= 0 || layout.width > kMaxSide || layout.height <= 0 ||
      layout.height > kMaxSide) {
    return std::nullopt;
  }
  if (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 24 && layout.bits != 32) {
    return std::nullopt;
  }
  // The colour table holds the stated number of entries (any depth may carry one), or
  // the full palette of a palette depth when none is stated.
  constexpr uint32_t kMaxTable = 256;
  if (*coloursUsed > kMaxTable) return std::nullopt;
  layout.paletteCount = *coloursUsed != 0 ? *coloursUsed : layout.bits <= 8 ? 1u << layout.bits : 0;
  layout.paletteOffset = *headerSize;
  layout.colourOffset = layout.paletteOffset + static_cast<size_t>(layout.paletteCount) * 4;
  layout.colourStride = (static_cast<size_t>(layout.width) * layout.bits + 31) / 32 * 4;
  layout.maskOffset = layout.colourOffset + layout.colourStride * static_cast<size_t>(layout.height);
  layout.maskStride = (static_cast<size_t>(layout.width) + 31) / 32 * 4;
  if (layout.maskOffset > bytes.size()) return std::nullopt;
  return layout;
}

// The colour of pixel x in a colour row, as straight B, G, R, A bytes (A only for 32 bits).
uint32_t ColourAt(std::string_view bytes, const SDibLayout& layout, const uint8_t* row, int x) {
  switch (layout.bits) {
    case 32:
      return static_cast<uint32_t>(row[x * 4]) | (row[x * 4 + 1] << 8) | (row[x * 4 + 2] << 16) |
             (static_cast<uint32_t>(row[x * 4 + 3]) << 24);
    case 24:
      return static_cast<uint32_t>(row[x * 3]) | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
    default: {
      const int perByte = 8 / layout.bits;
      const int shift = 8 - layout.bits * (x % perByte + 1);
      const uint32_t index = (row[x / perByte] >> shift) & ((1u << layout.bits) - 1);
      // An index past the palette shows black rather than reading beyond it.
      if (index >= layout.paletteCount) return 0;
      return ReadU32(bytes, layout.paletteOffset + index * 4).value_or(0) & 0xFFFFFF;
    }
  }
}

CPixelSurface DecodeDib(std::string_view bytes) {
  const std::optional<SDibLayout> found = ReadDibLayout(bytes);
  if (!found) return {};
  const SDibLayout& layout = *found;
  const size_t maskBytes = layout.maskStride * static_cast<size_t>(layout.height);
  const bool hasMask = bytes.size() - layout.maskOffset >= maskBytes;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());

  bool useAlpha = false;
  if (layout.bits == 32) {
    for (int y = 0; y < layout.height && !useAlpha; ++y) {
      const uint8_t* row = data + layout.colourOffset + layout.colourStride * static_cast<size_t>(y);
      for (int x = 0; x < layout.width && !useAlpha; ++x) useAlpha = row[x * 4 + 3] != 0;
    }
  }
  // Without alpha the mask decides transparency, so it must be there.
  if (!useAlpha && !hasMask) return {};

  CPixelSurface surface(layout.width, layout.height);
  for (int y = 0; y < layout.height; ++y) {
    const size_t fileRow = static_cast<size_t>(layout.topDown ? y : layout.height - 1 - y);
    const uint8_t* colours = data + layout.colourOffset + layout.colourStride * fileRow;
    const uint8_t* mask = data + layout.maskOffset + layout.maskStride * fileRow;
    uint32_t* out = surface.Row(y);
    for (int x = 0; x < layout.width; ++x) {
      const uint32_t colour = ColourAt(bytes, layout, colours, x);
      uint32_t alpha;
      if (useAlpha) {
        alpha = colour >> 24;
      } else {
        // A set mask bit is a transparent pixel (or one that inverts the screen, which
        // an ARGB cursor cannot show; it is left transparent too).
        const bool masked = (mask[x / 8] >> (7 - x % 8)) & 1;
        alpha = masked ? 0 : 255;
      }
      out[x] = Premultiplied(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF, alpha);
    }
  }
  return surface;
}

}  // namespace

CPixelSurface DecodeIconImage(std::string_view bytes) {
  static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
  if (bytes.substr(0, 8) == std::string_view(kPngSignature, 8)) return DecodePng(bytes);
  return DecodeDib(bytes);
}
