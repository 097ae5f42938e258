#include "platform/qt/alpha_shape.h"

#include <algorithm>

namespace {

// The X protocol's coordinates are 16 bits wide; nothing larger reaches a window.
constexpr int kMaxExtent = 32767;

}  // namespace

void AlphaShapeRects(const uint32_t* pixels, int width, int height, int stride,
                     std::vector<SShapeRect>& out) {
  out.clear();
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) return;
  width = std::min(width, kMaxExtent);
  height = std::min(height, kMaxExtent);
  size_t bandStart = 0;  // first rectangle of the band the previous row belongs to
  bool haveBand = false;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
    const size_t rowStart = out.size();
    for (int x = 0; x < width;) {
      if ((row[x] >> 24) == 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && (row[x] >> 24) != 0) ++x;
      out.push_back(SShapeRect{static_cast<int16_t>(start), static_cast<int16_t>(y),
                               static_cast<uint16_t>(x - start), 1});
    }
    // A row with the same runs as the band above it makes that band one row taller.
    const size_t rowCount = out.size() - rowStart;
    const size_t bandCount = rowStart - bandStart;
    bool same = haveBand && rowCount == bandCount &&
                out[bandStart].y + out[bandStart].height == y;
    for (size_t i = 0; same && i < rowCount; ++i) {
      same = out[bandStart + i].x == out[rowStart + i].x &&
             out[bandStart + i].width == out[rowStart + i].width;
    }
    if (same && rowCount > 0) {
      for (size_t i = 0; i < bandCount; ++i) ++out[bandStart + i].height;
      out.resize(rowStart);
    } else {
      bandStart = rowStart;
      haveBand = rowCount > 0;
    }
  }
}
