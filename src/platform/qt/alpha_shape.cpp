#include "platform/qt/alpha_shape.h"

#include <algorithm>

namespace {

// The X protocol's coordinates are 16 bits wide; nothing larger reaches a window.
constexpr int kMaxExtent = 32767;

}  // namespace

namespace {

// Where the last band of a list starts, and whether the list has one yet.
struct SBandEnd {
  size_t start = 0;
  bool present = false;
};

// The rectangles from `first` on, which must be one band's runs at row `y`, `rows` tall:
// merged into the band above when that ends at `y` with the same runs, else kept as a
// band of their own.
void CloseBand(std::vector<SShapeRect>& out, size_t first, int y, int rows, SBandEnd& band) {
  const size_t count = out.size() - first;
  const size_t bandCount = first - band.start;
  bool same = band.present && count == bandCount && out[band.start].y + out[band.start].height == y;
  for (size_t i = 0; same && i < count; ++i) {
    same = out[band.start + i].x == out[first + i].x && out[band.start + i].width == out[first + i].width;
  }
  if (same && count > 0) {
    for (size_t i = 0; i < bandCount; ++i) out[band.start + i].height = static_cast<uint16_t>(out[band.start + i].height + rows);
    out.resize(first);
  } else {
    band.start = first;
    band.present = count > 0;
  }
}

void AppendRow(const uint32_t* row, int y, int width, std::vector<SShapeRect>& out, SBandEnd& band) {
  const size_t first = out.size();
  for (int x = 0; x < width;) {
    // Four pixels at a time through the long runs: all clear when none has alpha, all
    // set when every one has (the alphas' AND is then not zero).
    while (x + 4 <= width && ((row[x] | row[x + 1] | row[x + 2] | row[x + 3]) >> 24) == 0) x += 4;
    if (x < width && (row[x] >> 24) == 0) {
      ++x;
      continue;
    }
    if (x >= width) break;
    const int start = x;
    while (x + 4 <= width && ((row[x] & row[x + 1] & row[x + 2] & row[x + 3]) >> 24) != 0) x += 4;
    while (x < width && (row[x] >> 24) != 0) ++x;
    out.push_back(SShapeRect{static_cast<int16_t>(start), static_cast<int16_t>(y), static_cast<uint16_t>(x - start), 1});
  }
  CloseBand(out, first, y, 1, band);
}

// Appends the part of `from`'s bands that lies in rows [top, bottom).
void AppendBands(const std::vector<SShapeRect>& from, int top, int bottom, std::vector<SShapeRect>& out,
                 SBandEnd& band) {
  for (size_t i = 0; i < from.size();) {
    size_t end = i + 1;
    while (end < from.size() && from[end].y == from[i].y && from[end].height == from[i].height) ++end;
    const int y = std::max<int>(from[i].y, top);
    const int last = std::min<int>(from[i].y + from[i].height, bottom);
    if (y < last) {
      const size_t first = out.size();
      for (size_t k = i; k < end; ++k) {
        out.push_back(SShapeRect{from[k].x, static_cast<int16_t>(y), from[k].width, static_cast<uint16_t>(last - y)});
      }
      CloseBand(out, first, y, last - y, band);
    }
    i = end;
  }
}

}  // namespace

void AlphaShapeRects(const uint32_t* pixels, int width, int height, int stride,
                     std::vector<SShapeRect>& out) {
  out.clear();
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) return;
  width = std::min(width, kMaxExtent);
  height = std::min(height, kMaxExtent);
  SBandEnd band;
  for (int y = 0; y < height; ++y) {
    AppendRow(pixels + static_cast<size_t>(y) * static_cast<size_t>(stride), y, width, out, band);
  }
}

void AlphaShapeRectsAgain(const uint32_t* pixels, int width, int height, int stride, int top, int bottom,
                          std::vector<SShapeRect>& rects, std::vector<SShapeRect>& scratch) {
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) {
    rects.clear();
    return;
  }
  width = std::min(width, kMaxExtent);
  height = std::min(height, kMaxExtent);
  top = std::clamp(top, 0, height);
  bottom = std::clamp(bottom, top, height);
  scratch.clear();
  SBandEnd band;
  AppendBands(rects, 0, top, scratch, band);
  for (int y = top; y < bottom; ++y) {
    AppendRow(pixels + static_cast<size_t>(y) * static_cast<size_t>(stride), y, width, scratch, band);
  }
  AppendBands(rects, bottom, height, scratch, band);
  rects.swap(scratch);
}
