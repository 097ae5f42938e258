#include "media/tga_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <type_traits>

#include "media/image_premultiply.h"

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kFooterSize = 26;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE";
constexpr std::size_t kSignatureLength = sizeof kFooterSignature - 1;
// The distance of the signature from the end: it is followed by "." and a NUL.
constexpr std::size_t kSignatureFromEnd = 18;
constexpr uint16_t kExtensionAreaSize = 495;
constexpr std::size_t kKeyColourOffset = 470;

constexpr int kTypeColourMapped = 1;
constexpr int kTypeGrey = 3;
constexpr int kTypeRunLength = 8;
constexpr int kDescriptorRightToLeft = 0x10;
constexpr int kDescriptorTopFirst = 0x20;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// Whether [offset, offset + count) lies inside data of `size` bytes, without overflow.
bool Inside(uint64_t offset, uint64_t count, uint64_t size) { return offset <= size && count <= size - offset; }

struct STgaImage {
  int width = 0;
  int height = 0;
  int bytesPerPixel = 0;
  int kind = 0;  // image type & 7
  bool runLength = false;
  bool topFirst = false;
  bool rightToLeft = false;
  std::array<uint32_t, 256> palette{};  // indexes past the colour map stay transparent
  bool hasKeyColour = false;
  uint32_t keyColour = 0;
};

bool HasFooter(const uint8_t* bytes, std::size_t size) {
  return size >= kFooterSize &&
         std::memcmp(bytes + size - kSignatureFromEnd, kFooterSignature, kSignatureLength) == 0;
}

// Reads the key colour from the extension area when the footer names one of full size.
bool ReadKeyColour(const uint8_t* bytes, std::size_t size, STgaImage& image) {
  const uint32_t extensionOffset = ReadU32(bytes + size - kFooterSize);
  if (extensionOffset == 0) return true;
  if (!Inside(extensionOffset, 2, size)) return false;
  if (ReadU16(bytes + extensionOffset) != kExtensionAreaSize) return true;
  if (!Inside(uint64_t{extensionOffset} + kKeyColourOffset, 4, size)) return false;
  const uint8_t* key = bytes + extensionOffset + kKeyColourOffset;
  image.hasKeyColour = true;
  image.keyColour = (uint32_t{static_cast<uint8_t>(key[0] - 1)} << 24) | (uint32_t{key[1]} << 16) |
                    (uint32_t{key[2]} << 8) | key[3];
  return true;
}

void ReadPalette(const uint8_t* map, std::size_t length, int entryBytes, STgaImage& image) {
  const std::size_t used = length < image.palette.size() ? length : image.palette.size();
  for (std::size_t i = 0; i < used; ++i) {
    const uint8_t* entry = map + i * static_cast<std::size_t>(entryBytes);
    uint32_t colour = 0;
    if (entryBytes == 4) {
      colour = ReadU32(entry);
    } else {
      colour = 0xFF000000u | (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
      if (image.hasKeyColour && colour == image.keyColour) colour = 0;
    }
    image.palette[i] = colour;
  }
}

// Each packet takes at least 1 + pixelBytes bytes and yields at most 128 pixels, so a
// file that claims more pixels than that is truncated; refused before allocating.
bool RunLengthCanHold(std::size_t available, std::size_t pixelCount, std::size_t pixelBytes) {
  return pixelCount / 128 <= available / (1 + pixelBytes);
}

// Expands the run-length packets into width × height pixels in stored order, converting
// each run's pixel once. Fails when a packet does not lie within the data or the data
// ends before every pixel is decoded.
template <std::size_t kBytes, typename Convert>
bool ExpandRunLength(const uint8_t* bytes, std::size_t size, std::size_t position, std::size_t pixelCount,
                     uint32_t* out, Convert convert) {
  std::size_t decoded = 0;
  while (decoded < pixelCount) {
    if (position >= size) return false;
    const uint8_t header = bytes[position++];
    std::size_t count = (header & 0x7Fu) + 1u;
    if (count > pixelCount - decoded) count = pixelCount - decoded;
    if (header & 0x80u) {
      if (!Inside(position, kBytes, size)) return false;
      std::fill_n(out + decoded, count, convert(bytes + position));
      position += kBytes;
    } else {
      if (!Inside(position, count * kBytes, size)) return false;
      for (std::size_t i = 0; i < count; ++i, position += kBytes) out[decoded + i] = convert(bytes + position);
    }
    decoded += count;
  }
  return true;
}

template <std::size_t kBytes, typename Convert>
void ConvertRaw(const uint8_t* stored, std::size_t pixelCount, uint32_t* out, Convert convert) {
  for (std::size_t i = 0; i < pixelCount; ++i, stored += kBytes) out[i] = convert(stored);
}

uint32_t Expand5(uint32_t channel) { return channel * 255u / 31u; }

// Calls body(std::integral_constant<std::size_t, bytes per pixel>, converter), the
// converter turning one stored pixel into 0xAARRGGBB.
template <typename Body>
bool WithConverter(const STgaImage& image, Body body) {
  switch (image.bytesPerPixel) {
    case 4:
      return body(std::integral_constant<std::size_t, 4>{}, [](const uint8_t* p) { return ReadU32(p); });
    case 3:
      return body(std::integral_constant<std::size_t, 3>{}, [](const uint8_t* p) {
        return 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      });
    case 2:
      if (image.kind == kTypeGrey) {
        // Grey with 8 alpha bits: grey first, alpha second.
        return body(std::integral_constant<std::size_t, 2>{},
                    [](const uint8_t* p) { return (uint32_t{p[1]} << 24) | (p[0] * 0x010101u); });
      }
      return body(std::integral_constant<std::size_t, 2>{}, [](const uint8_t* p) {
        const uint32_t value = ReadU16(p);
        return 0xFF000000u | (Expand5((value >> 10) & 31u) << 16) | (Expand5((value >> 5) & 31u) << 8) |
               Expand5(value & 31u);
      });
    default:
      if (image.kind == kTypeColourMapped) {
        return body(std::integral_constant<std::size_t, 1>{}, [&image](const uint8_t* p) { return image.palette[*p]; });
      }
      return body(std::integral_constant<std::size_t, 1>{}, [&image](const uint8_t* p) {
        const uint32_t grey = 0xFF000000u + *p * 0x010101u;
        return image.hasKeyColour && grey == image.keyColour ? 0u : grey;
      });
  }
}

// Turns stored order into top-down, left-to-right.
void Orient(const STgaImage& image, CPixelSurface& surface) {
  if (!image.topFirst) {
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(surface.Row(top), surface.Row(top) + image.width, surface.Row(bottom));
    }
  }
  if (image.rightToLeft) {
    for (int y = 0; y < image.height; ++y) std::reverse(surface.Row(y), surface.Row(y) + image.width);
  }
}

std::optional<CPixelSurface> Decode(const uint8_t* bytes, std::size_t size) {
  if (size < kHeaderSize || !HasFooter(bytes, size)) return std::nullopt;
  const uint8_t* header = bytes;
  const std::size_t idLength = header[0];
  const int colourMapType = header[1];
  const int imageType = header[2];
  const std::size_t mapLength = ReadU16(header + 5);
  const int mapEntryBytes = header[7] / 8;
  const int depth = header[16];
  const int descriptor = header[17];

  STgaImage image;
  image.kind = imageType & 7;
  image.runLength = (imageType & kTypeRunLength) != 0;
  image.width = ReadU16(header + 12);
  image.height = ReadU16(header + 14);
  // 15-bit pixels take two bytes like 16-bit ones.
  image.bytesPerPixel = (depth + 7) / 8;
  image.topFirst = (descriptor & kDescriptorTopFirst) != 0;
  image.rightToLeft = (descriptor & kDescriptorRightToLeft) != 0;

  if (image.kind == 0 || image.kind > kTypeGrey) return std::nullopt;
  // A colour-mapped image needs a colour map of 3- or 4-byte entries and 8-bit indexes.
  if (image.kind == kTypeColourMapped &&
      (colourMapType != 1 || (mapEntryBytes != 3 && mapEntryBytes != 4) || image.bytesPerPixel != 1)) {
    return std::nullopt;
  }
  if (image.bytesPerPixel < 1 || image.bytesPerPixel > 4 || image.width == 0 || image.height == 0) {
    return std::nullopt;
  }
  if (!ReadKeyColour(bytes, size, image)) return std::nullopt;

  const std::size_t mapOffset = kHeaderSize + idLength;
  const std::size_t mapBytes = mapLength * static_cast<std::size_t>(mapEntryBytes);
  if (!Inside(mapOffset, mapBytes, size)) return std::nullopt;
  if (image.kind == kTypeColourMapped) ReadPalette(bytes + mapOffset, mapLength, mapEntryBytes, image);

  const std::size_t pixelOffset = mapOffset + mapBytes;
  const std::size_t pixelCount = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  const std::size_t pixelBytes = static_cast<std::size_t>(image.bytesPerPixel);
  if (image.runLength ? !RunLengthCanHold(size - pixelOffset, pixelCount, pixelBytes)
                      : !Inside(pixelOffset, uint64_t{pixelCount} * pixelBytes, size)) {
    return std::nullopt;
  }

  CPixelSurface surface(image.width, image.height);
  const bool decoded = WithConverter(image, [&](auto pixelSize, auto convert) {
    constexpr std::size_t kBytes = decltype(pixelSize)::value;
    // Premultiplied as converted, so a run's pixel is premultiplied once.
    const auto premultiplied = [&convert](const uint8_t* p) { return PremultiplyPixel(convert(p)); };
    if (image.runLength) {
      return ExpandRunLength<kBytes>(bytes, size, pixelOffset, pixelCount, surface.Pixels(), premultiplied);
    }
    ConvertRaw<kBytes>(bytes + pixelOffset, pixelCount, surface.Pixels(), premultiplied);
    return true;
  });
  if (!decoded) return std::nullopt;
  Orient(image, surface);
  return surface;
}

}  // namespace

std::optional<CPixelSurface> DecodeTga(const uint8_t* bytes, std::size_t byteCount) {
  try {
    return Decode(bytes, byteCount);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}
