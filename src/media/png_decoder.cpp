#include "media/png_decoder.h"

#include <png.h>

#include <cstring>
#include <new>
#include <vector>

#include "media/image_premultiply.h"
#include "media/png_chunks.h"

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The same side limit a TGA has; libpng refuses larger headers itself.
constexpr png_uint_32 kMaxSide = 65535;
// 8192 × 8192: far beyond any character's image, and a decoded surface of 256 MiB at most.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

struct SMemoryInput {
  const uint8_t* bytes;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* input = static_cast<SMemoryInput*>(png_get_io_ptr(png));
  if (count > input->size - input->position) png_error(png, "truncated");
  std::memcpy(out, input->bytes + input->position, count);
  input->position += count;
}

// Errors end the decode through the jump below; neither errors nor warnings print.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Reads the chunks before the image data and sets the transforms that bring every colour
// type and depth to 8-bit RGBA rows. Like ReadRows it holds no C++ objects, so the error
// jump skips no destructor. False for a file that cannot decode or would be too large.
bool ReadHeader(png_structp png, png_infop info, uint64_t imageDataBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const unsigned bitsPerPixel = unsigned{png_get_channels(png, info)} * png_get_bit_depth(png, info);
  if (uint64_t{width} * height > kMaxPixels || !ImageDataCanHold(imageDataBytes, width, height, bitsPerPixel)) {
    return false;
  }
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_channels(png, info) == 4 && png_get_bit_depth(png, info) == 8 &&
         png_get_rowbytes(png, info) == std::size_t{width} * 4;
}

// Reads the image into the given rows and the chunks after it up to IEND.
bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

// The rows were read as bytes R, G, B, A into the surface's own words; each word becomes
// the surface's 0xAARRGGBB in place.
void RgbaBytesToPixels(CPixelSurface& surface) {
  uint32_t* pixel = surface.Pixels();
  const std::size_t count = std::size_t(surface.Width()) * std::size_t(surface.Height());
  for (std::size_t i = 0; i < count; ++i) {
    uint8_t rgba[4];
    std::memcpy(rgba, pixel + i, 4);
    pixel[i] = (uint32_t{rgba[3]} << 24) | (uint32_t{rgba[0]} << 16) | (uint32_t{rgba[1]} << 8) | rgba[2];
  }
}

std::optional<CPixelSurface> Decode(png_structp png, png_infop info, uint64_t imageDataBytes) {
  if (!ReadHeader(png, info, imageDataBytes)) return std::nullopt;
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  CPixelSurface surface(width, height);
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = reinterpret_cast<png_bytep>(surface.Row(y));
  if (!ReadRows(png, info, rows.data())) return std::nullopt;
  RgbaBytesToPixels(surface);
  Premultiply(surface);
  return surface;
}

}  // namespace

std::optional<CPixelSurface> DecodePng(const uint8_t* bytes, std::size_t byteCount) {
  if (byteCount < sizeof kPngSignature || std::memcmp(bytes, kPngSignature, sizeof kPngSignature) != 0) {
    return std::nullopt;
  }
  // libpng reads every chunk up to IEND, so a file whose chunks run past its end fails
  // anyway; refusing it here spares the allocation of a chunk's stated length.
  const SPngChunkScan scan = ScanPngChunks(bytes, byteCount);
  if (!scan.complete) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  SMemoryInput input{bytes, byteCount, 0};
  png_set_read_fn(png, &input, ReadFromMemory);
  std::optional<CPixelSurface> surface;
  try {
    if (info != nullptr) surface = Decode(png, info, scan.imageDataBytes);
  } catch (const std::bad_alloc&) {
    surface.reset();
  }
  png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  return surface;
}
