#include "media/png_writer.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <string>
#include <vector>

#include "media/pixel_surface.h"
#include "media/straight_colour.h"
#include "support/file_system.h"

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// One row of premultiplied 0xAARRGGBB pixels as straight-alpha R, G, B, A bytes.
void UnpremultiplyRow(const uint32_t* pixels, int width, std::vector<png_byte>& row) {
  for (int x = 0; x < width; ++x) {
    const SStraightColour colour = Unpremultiply(pixels[x]);
    png_byte* out = &row[static_cast<size_t>(x) * 4];
    out[0] = colour.red;
    out[1] = colour.green;
    out[2] = colour.blue;
    out[3] = colour.alpha;
  }
}

// Encodes into `out`; false when libpng reports an error.
bool Encode(const CPixelSurface& surface, std::string& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * 4);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()),
               8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    UnpremultiplyRow(surface.Row(y), surface.Width(), row);
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const std::u16string& path, const CPixelSurface& surface) {
  if (surface.Empty()) return false;
  std::string bytes;
  if (!Encode(surface, bytes)) return false;
  return WriteFileAtomically(path, bytes);
}
