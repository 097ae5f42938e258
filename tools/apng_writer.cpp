#include "apng_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <string_view>
#include <vector>

#include "animation.h"
#include "media/straight_colour.h"

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// One row as straight R, G, B (and A when `alpha`) bytes.
void StraightRow(const uint32_t* pixels, int width, bool alpha, std::vector<png_byte>& row) {
  png_byte* out = row.data();
  for (int x = 0; x < width; ++x) {
    const SStraightColour colour = Unpremultiply(pixels[x]);
    *out++ = colour.red;
    *out++ = colour.green;
    *out++ = colour.blue;
    if (alpha) *out++ = colour.alpha;
  }
}

// One frame as a plain PNG file in memory; false when libpng reports an error.
bool EncodePng(const CPixelSurface& surface, bool alpha, std::string& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * (alpha ? 4 : 3));
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    StraightRow(surface.Row(y), surface.Width(), alpha, row);
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24) |
         (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8) |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
}

void AppendBigEndian32(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 24);
  out += static_cast<char>(value >> 16);
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

void AppendBigEndian16(std::string& out, uint32_t value) {
  out += static_cast<char>(value >> 8);
  out += static_cast<char>(value);
}

// length, type, data, CRC-32 of type and data.
void AppendChunk(std::string& out, std::string_view type, std::string_view data) {
  AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.append(type);
  out.append(data);
  const auto* crcStart = reinterpret_cast<const Bytef*>(out.data() + typeAt);
  AppendBigEndian32(out, static_cast<uint32_t>(crc32(0L, crcStart, static_cast<uInt>(type.size() + data.size()))));
}

// The parts of a PNG file libpng wrote that the animation reuses.
struct SPngParts {
  std::string_view header;            // IHDR's data
  std::vector<std::string_view> data;  // each IDAT's data, in order
};

// Splits our own encoder's output into chunks; false when it is not well formed.
bool SplitPng(std::string_view png, SPngParts& parts) {
  if (!png.starts_with(kSignature)) return false;
  for (size_t at = kSignature.size(); at + 12 <= png.size();) {
    const uint32_t length = BigEndian32(png, at);
    if (length > png.size() - at - 12) return false;
    const std::string_view type = png.substr(at + 4, 4);
    const std::string_view data = png.substr(at + 8, length);
    if (type == "IHDR") parts.header = data;
    if (type == "IDAT") parts.data.push_back(data);
    at += 12 + static_cast<size_t>(length);
  }
  return parts.header.size() == 13 && !parts.data.empty();
}

// The frame control chunk: the whole picture, shown for the animation's delay, replacing
// what was there (blend "source"), left in place afterwards (dispose "none").
std::string FrameControl(const SAnimation& animation, uint32_t sequence) {
  std::string data;
  AppendBigEndian32(data, sequence);
  AppendBigEndian32(data, static_cast<uint32_t>(animation.width));
  AppendBigEndian32(data, static_cast<uint32_t>(animation.height));
  AppendBigEndian32(data, 0);  // x offset
  AppendBigEndian32(data, 0);  // y offset
  AppendBigEndian16(data, static_cast<uint32_t>(animation.delayTicks));
  AppendBigEndian16(data, static_cast<uint32_t>(animation.ticksPerSecond));
  data += '\0';  // dispose: none
  data += '\0';  // blend: source
  return data;
}

}  // namespace

bool EncodeApng(const SAnimation& animation, std::string& out) {
  if (animation.frameCount == 0 || animation.frameCount > 0xFFFFFFFFu) return false;
  out.assign(kSignature);
  uint32_t sequence = 0;
  std::string png;
  for (size_t index = 0; index < animation.frameCount; ++index) {
    png.clear();
    SPngParts parts;
    if (!EncodePng(animation.frame(index), animation.transparent, png) || !SplitPng(png, parts)) return false;
    if (index == 0) {
      AppendChunk(out, "IHDR", parts.header);
      std::string control;
      AppendBigEndian32(control, static_cast<uint32_t>(animation.frameCount));
      AppendBigEndian32(control, 0);  // plays: forever
      AppendChunk(out, "acTL", control);
    }
    AppendChunk(out, "fcTL", FrameControl(animation, sequence++));
    for (std::string_view data : parts.data) {
      if (index == 0) {
        AppendChunk(out, "IDAT", data);
      } else {
        std::string frameData;
        AppendBigEndian32(frameData, sequence++);
        frameData.append(data);
        AppendChunk(out, "fdAT", frameData);
      }
    }
  }
  AppendChunk(out, "IEND", {});
  return true;
}
