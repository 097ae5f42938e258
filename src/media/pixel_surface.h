#pragma once
// A 32-bit image in the layout every decoder, cache and work surface shares: pixels are
// 0xAARRGGBB values (bytes B, G, R, A in memory) with premultiplied colour, rows top to
// bottom, stride = width × 4 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

class CPixelSurface {
 public:
  CPixelSurface() = default;
  // A surface of the given size, every pixel fully transparent. Negative sizes give an
  // empty surface.
  CPixelSurface(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }

  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }
  uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  uint32_t& At(int x, int y) { return Row(y)[x]; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// The 64-bit FNV-1a hash of the pixels, each pixel contributing its four bytes in memory
// order (B, G, R, A), rows top to bottom. Tools print it to compare decodes.
uint64_t HashPixels(const CPixelSurface& surface);
