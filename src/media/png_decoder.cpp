#include "media/png_decoder.h"

#include <png.h>

#include <cstring>
#include <new>

#include "media/image_premultiply.h"

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The same limit a TGA has; libpng refuses larger headers before allocating rows.
constexpr png_uint_32 kMaxSide = 65535;

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

// libpng's whole-image read with the transforms that bring every colour type and depth
// to 8-bit RGBA rows. It holds no C++ objects, so the error jump skips no destructor.
bool ReadWholeImage(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_png(png, info, PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_SCALE_16 | PNG_TRANSFORM_GRAY_TO_RGB, nullptr);
  return true;
}

std::optional<CPixelSurface> ConvertRows(png_structp png, png_infop info) {
  if (png_get_channels(png, info) != 4 || png_get_bit_depth(png, info) != 8) return std::nullopt;
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  png_bytepp rows = png_get_rows(png, info);
  if (rows == nullptr || width <= 0 || height <= 0) return std::nullopt;
  CPixelSurface surface(width, height);
  for (int y = 0; y < height; ++y) {
    const png_byte* source = rows[y];
    uint32_t* target = surface.Row(y);
    for (int x = 0; x < width; ++x, source += 4) {
      target[x] = (uint32_t{source[3]} << 24) | (uint32_t{source[0]} << 16) | (uint32_t{source[1]} << 8) | source[2];
    }
  }
  Premultiply(surface);
  return surface;
}

}  // namespace

std::optional<CPixelSurface> DecodePng(const uint8_t* bytes, std::size_t byteCount) {
  if (byteCount < sizeof kPngSignature || std::memcmp(bytes, kPngSignature, sizeof kPngSignature) != 0) {
    return std::nullopt;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  SMemoryInput input{bytes, byteCount, 0};
  png_set_read_fn(png, &input, ReadFromMemory);
  std::optional<CPixelSurface> surface;
  try {
    if (info != nullptr && ReadWholeImage(png, info)) surface = ConvertRows(png, info);
  } catch (const std::bad_alloc&) {
    surface.reset();
  }
  // Also frees the rows that the whole-image read allocated.
  png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  return surface;
}
