#include "platform/win32/win32_bitmap.h"

#include <cstddef>

namespace {

// Larger pictures are no picture a dialog shows; the limit keeps the size computation
// and the allocation sane whatever the image says.
constexpr int kMaxSide = 16384;

// One premultiplied channel over a background channel, rounded.
uint32_t Blend(uint32_t channel, uint32_t backgroundChannel, uint32_t alpha) {
  const uint32_t value = channel + (backgroundChannel * (255 - alpha) + 127) / 255;
  return value > 255 ? 255 : value;  // a malformed pixel (channel > alpha) saturates
}

}  // namespace

uint32_t CompositeOver(uint32_t pixel, COLORREF background) {
  const uint32_t alpha = pixel >> 24;
  const uint32_t red = Blend((pixel >> 16) & 0xFF, GetRValue(background), alpha);
  const uint32_t green = Blend((pixel >> 8) & 0xFF, GetGValue(background), alpha);
  const uint32_t blue = Blend(pixel & 0xFF, GetBValue(background), alpha);
  return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

HBITMAP CreateOpaqueBitmap(const uint32_t* pixels, int width, int height, COLORREF background) {
  if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return nullptr;
  }
  // A 32-bit BI_RGB pixel is 0xXXRRGGBB in memory order B, G, R, X: the core's layout.
  auto* out = static_cast<uint32_t*>(bits);
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) out[i] = CompositeOver(pixels[i], background);
  return bitmap;
}
