#include "window/scale_rules.h"

#include <algorithm>

EScaleFilter ChooseFilter(double scale, bool lowQuality) {
  if (scale == 1.0 || lowQuality) return EScaleFilter::Nearest;
  return scale < 0.6 ? EScaleFilter::AreaAverage : EScaleFilter::Bilinear;
}

SAreaSpan AreaSpan(int index, uint32_t step, int sourceSize) {
  const uint64_t begin = static_cast<uint64_t>(index) * step;
  const uint64_t end = static_cast<uint64_t>(index + 1) * step;
  SAreaSpan span;
  span.first = static_cast<int>(begin >> 16);
  span.last = std::min(static_cast<int>(end >> 16), sourceSize - 1);
  span.firstWeight = 256 - static_cast<uint32_t>((begin >> 8) & 0xFF);
  const uint32_t endFraction = static_cast<uint32_t>((end >> 8) & 0xFF);
  // A span ending exactly on a boundary takes that boundary entry with full weight.
  span.lastWeight = endFraction != 0 ? endFraction : 256;
  if (span.last == span.first) span.lastWeight = span.firstWeight;
  return span;
}

namespace {

uint32_t NearestPixel(const SScaleRequest& r, uint32_t sx, uint32_t sy, int i, int j) {
  const int column = static_cast<int>((static_cast<uint64_t>(j) * sx) >> 16);
  const int row = static_cast<int>((static_cast<uint64_t>(i) * sy) >> 16);
  return r.image.Row(r.source.y + row)[r.source.x + column];
}

uint32_t BilinearPixel(const SScaleRequest& r, uint32_t sx, uint32_t sy, int i, int j) {
  const SBilinearTap rows = BilinearTap(i, sy, r.source.height);
  const SBilinearTap columns = BilinearTap(j, sx, r.source.width);
  const uint32_t* top = r.image.Row(r.source.y + rows.first) + r.source.x;
  const uint32_t* bottom = r.image.Row(r.source.y + rows.second) + r.source.x;
  const uint32_t upper = LerpPixel(top[columns.first], top[columns.second], columns.weight);
  const uint32_t lower = LerpPixel(bottom[columns.first], bottom[columns.second], columns.weight);
  return LerpPixel(upper, lower, rows.weight);
}

uint32_t SpanWeight(const SAreaSpan& span, int at) {
  if (at == span.first) return span.firstWeight;
  if (at == span.last) return span.lastWeight;
  return 256;
}

uint32_t AreaPixel(const SScaleRequest& r, uint32_t sx, uint32_t sy, int i, int j) {
  const SAreaSpan rows = AreaSpan(i, sy, r.source.height);
  const SAreaSpan columns = AreaSpan(j, sx, r.source.width);
  uint64_t sums[4] = {};
  uint64_t total = 0;
  for (int row = rows.first; row <= rows.last; ++row) {
    const uint32_t* pixels = r.image.Row(r.source.y + row) + r.source.x;
    const uint64_t rowWeight = SpanWeight(rows, row);
    for (int column = columns.first; column <= columns.last; ++column) {
      const uint64_t weight = rowWeight * SpanWeight(columns, column);
      for (int c = 0; c < 4; ++c) sums[c] += weight * ((pixels[column] >> (8 * c)) & 0xFF);
      total += weight;
    }
  }
  uint32_t pixel = 0;
  for (int c = 0; c < 4; ++c) pixel |= static_cast<uint32_t>(sums[c] / total) << (8 * c);
  return pixel;
}

}  // namespace

void ScaleReference(const SScaleRequest& r, uint32_t* out, int outStride) {
  if (!RectInside(r.image, r.source) || r.outWidth <= 0 || r.outHeight <= 0) return;
  const uint32_t sx = ScaleStep(r.source.width, r.outWidth);
  const uint32_t sy = ScaleStep(r.source.height, r.outHeight);
  for (int i = 0; i < r.outHeight; ++i) {
    const int outRow = MirrorsRows(r.mirror) ? r.outHeight - 1 - i : i;
    uint32_t* target = out + static_cast<std::ptrdiff_t>(outRow) * outStride;
    for (int j = 0; j < r.outWidth; ++j) {
      const int outColumn = MirrorsColumns(r.mirror) ? r.outWidth - 1 - j : j;
      switch (r.filter) {
        case EScaleFilter::Nearest: target[outColumn] = NearestPixel(r, sx, sy, i, j); break;
        case EScaleFilter::Bilinear: target[outColumn] = BilinearPixel(r, sx, sy, i, j); break;
        case EScaleFilter::AreaAverage: target[outColumn] = AreaPixel(r, sx, sy, i, j); break;
      }
    }
  }
  if (r.opacity < 1.0) ApplyOpacity(out, outStride, r.outWidth, r.outHeight, r.opacity);
}

void ApplyOpacity(uint32_t* out, int outStride, int outWidth, int outHeight, double factor) {
  if (!(factor > 0.0)) factor = 0.0;
  // The truncated product of every 8-bit value, so each pixel costs four look-ups.
  uint8_t scaled[256];
  for (int v = 0; v < 256; ++v) scaled[v] = static_cast<uint8_t>(std::min(static_cast<double>(v) * factor, 255.0));
  for (int y = 0; y < outHeight; ++y) {
    uint32_t* row = out + static_cast<std::ptrdiff_t>(y) * outStride;
    for (int x = 0; x < outWidth; ++x) {
      const uint32_t p = row[x];
      const uint32_t alpha = scaled[p >> 24];
      row[x] = alpha == 0 ? 0
                          : (alpha << 24) | (uint32_t{scaled[(p >> 16) & 0xFF]} << 16) |
                                (uint32_t{scaled[(p >> 8) & 0xFF]} << 8) | scaled[p & 0xFF];
    }
  }
}
