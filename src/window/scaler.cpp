#include "window/scaler.h"

#include <algorithm>
#include <cstring>

// SSE2 is part of every x86-64 processor; MSVC does not announce it with __SSE2__.
// ZV_SCALER_PORTABLE builds the plain loops alone, so tests can check them too.
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(ZV_SCALER_PORTABLE)
#define ZV_SCALER_SSE2 1
#include <emmintrin.h>
#endif
#include "window/scaler_avx2.h"

CScaler::CScaler(int maxOutWidth) { Reserve(maxOutWidth); }

void CScaler::Reserve(int outWidth) {
  if (outWidth <= capacity_) return;
  const size_t width = static_cast<size_t>(outWidth);
  firstColumn_.resize(width);
  secondColumn_.resize(width);
  columnWeight_.resize(width);
  lastWeight_.resize(width);
  pairColumn_.resize(width);
  laneWeights_.resize(width * 8);
  // Room for one extra pixel lets the vector loops run in pairs.
  for (auto& row : rows_) row.resize((width + 1) * 4);
  capacity_ = outWidth;
}

bool CScaler::SetRegion(const SScaleRequest& r) {
  int x0 = 0, y0 = 0, x1 = r.outWidth, y1 = r.outHeight;
  if (r.region.width > 0 && r.region.height > 0) {
    x0 = std::max(r.region.x, 0);
    y0 = std::max(r.region.y, 0);
    x1 = static_cast<int>(std::min<long long>(static_cast<long long>(r.region.x) + r.region.width, r.outWidth));
    y1 = static_cast<int>(std::min<long long>(static_cast<long long>(r.region.y) + r.region.height, r.outHeight));
  }
  if (x0 >= x1 || y0 >= y1) return false;
  firstCol_ = x0;
  lastCol_ = x1;
  // Rows are computed top-down in the unmirrored order; a mirrored region is the
  // matching band of that order.
  firstRow_ = MirrorsRows(r.mirror) ? r.outHeight - y1 : y0;
  lastRow_ = MirrorsRows(r.mirror) ? r.outHeight - y0 : y1;
  return true;
}

void CScaler::Scale(const SScaleRequest& r, uint32_t* out, int outStride) {
  if (!RectInside(r.image, r.source) || r.outWidth <= 0 || r.outHeight <= 0) return;
  if (!SetRegion(r)) return;
  Reserve(r.outWidth);
  const uint32_t sx = ScaleStep(r.source.width, r.outWidth);
  const uint32_t sy = ScaleStep(r.source.height, r.outHeight);
  PrepareColumns(r, sx);
  doubling_ = EDoubling::None;
  if (r.filter == EScaleFilter::Bilinear && r.outWidth == 2 * r.source.width) {
    doubling_ = MirrorsColumns(r.mirror) ? EDoubling::Mirrored : EDoubling::Plain;
  }
  switch (r.filter) {
    case EScaleFilter::Nearest: Nearest(r, sy, out, outStride); break;
    case EScaleFilter::Bilinear: Bilinear(r, sy, out, outStride); break;
    case EScaleFilter::AreaAverage: AreaAverage(r, sy, out, outStride); break;
  }
  if (r.opacity < 1.0) {
    const int top = MirrorsRows(r.mirror) ? r.outHeight - lastRow_ : firstRow_;
    ApplyOpacity(out + static_cast<std::ptrdiff_t>(top) * outStride + firstCol_, outStride, lastCol_ - firstCol_,
                 lastRow_ - firstRow_, r.opacity);
  }
}

void CScaler::PrepareColumns(const SScaleRequest& r, uint32_t sx) {
  for (int j = 0; j < r.outWidth; ++j) {
    const size_t at = static_cast<size_t>(MirrorsColumns(r.mirror) ? r.outWidth - 1 - j : j);
    switch (r.filter) {
      case EScaleFilter::Nearest:
        firstColumn_[at] = static_cast<int32_t>((static_cast<uint64_t>(j) * sx) >> 16);
        break;
      case EScaleFilter::Bilinear: {
        const SBilinearTap tap = BilinearTap(j, sx, r.source.width);
        firstColumn_[at] = tap.first;
        secondColumn_[at] = tap.second;
        columnWeight_[at] = static_cast<uint16_t>(tap.weight);
        const bool clamped = tap.second == tap.first;
        const uint32_t right = clamped ? 256 : tap.weight;
        pairColumn_[at] = clamped ? tap.first - 1 : tap.first;
        for (size_t lane = 0; lane < 4; ++lane) {
          laneWeights_[at * 8 + lane] = static_cast<uint16_t>(256 - right);
          laneWeights_[at * 8 + 4 + lane] = static_cast<uint16_t>(right);
        }
        break;
      }
      case EScaleFilter::AreaAverage: {
        const SAreaSpan span = AreaSpan(j, sx, r.source.width);
        firstColumn_[at] = span.first;
        secondColumn_[at] = span.last;
        columnWeight_[at] = static_cast<uint16_t>(span.firstWeight);
        lastWeight_[at] = static_cast<uint16_t>(span.lastWeight);
        break;
      }
    }
  }
}

namespace {

// Writes `count` pixels from `source` to `target` in reverse order.
void ReverseCopy(const uint32_t* source, int count, uint32_t* target) {
  int i = 0;
#if defined(ZV_SCALER_SSE2)
  // Four at a time: the last four of the source, their order turned, go first.
  for (; i + 4 <= count; i += 4) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + count - i - 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), _mm_shuffle_epi32(four, _MM_SHUFFLE(0, 1, 2, 3)));
  }
#endif
  for (; i < count; ++i) target[i] = source[count - 1 - i];
}

uint32_t* OutputRow(const SScaleRequest& r, uint32_t* out, int outStride, int i) {
  const int row = MirrorsRows(r.mirror) ? r.outHeight - 1 - i : i;
  return out + static_cast<std::ptrdiff_t>(row) * outStride;
}

}  // namespace

void CScaler::Nearest(const SScaleRequest& r, uint32_t sy, uint32_t* out, int outStride) {
  // At 100 % each row is a straight copy, or a reversed one when the columns mirror.
  const bool sameWidth = r.outWidth == r.source.width;
  const bool straight = sameWidth && !MirrorsColumns(r.mirror);
  const bool reversed = sameWidth && MirrorsColumns(r.mirror);
  for (int i = firstRow_; i < lastRow_; ++i) {
    const uint32_t* source =
        r.image.Row(r.source.y + static_cast<int>((static_cast<uint64_t>(i) * sy) >> 16)) + r.source.x;
    uint32_t* target = OutputRow(r, out, outStride, i);
    if (straight) {
      std::memcpy(target + firstCol_, source + firstCol_, static_cast<size_t>(lastCol_ - firstCol_) * sizeof(uint32_t));
      continue;
    }
    if (reversed) {
      // Output column j shows source column width - 1 - j.
      ReverseCopy(source + (r.outWidth - lastCol_), lastCol_ - firstCol_, target + firstCol_);
      continue;
    }
    const int32_t* columns = firstColumn_.data();
    int j = firstCol_;
    for (; j + 4 <= lastCol_; j += 4) {
      target[j] = source[columns[j]];
      target[j + 1] = source[columns[j + 1]];
      target[j + 2] = source[columns[j + 2]];
      target[j + 3] = source[columns[j + 3]];
    }
    for (; j < lastCol_; ++j) target[j] = source[columns[j]];
  }
}

const uint16_t* CScaler::HorizontalRow(const SScaleRequest& r, int row) {
  for (int k = 0; k < 2; ++k) {
    if (cachedRow_[k] == row) return rows_[k].data();
  }
  // Replace the cached row that is not the other one in use: rows only move downwards.
  const int slot = cachedRow_[0] < cachedRow_[1] ? 0 : 1;
  cachedRow_[slot] = row;
  uint16_t* target = rows_[slot].data();
  const uint32_t* source = r.image.Row(r.source.y + row) + r.source.x;
  const int32_t* first = firstColumn_.data();
  const int32_t* second = secondColumn_.data();
  const uint16_t* weight = columnWeight_.data();
  int j = firstCol_;
#if defined(ZV_SCALER_SSE2)
  // Pairs need two pixels in the row; a one-pixel-wide source takes the plain loop.
  if (r.source.width >= 2) {
    const int32_t* pair = pairColumn_.data();
#if defined(ZV_SCALER_AVX2)
    if (ProcessorHasAvx2()) {
      if (doubling_ == EDoubling::Plain && j % 2 == 0) {
        j = HorizontalDoubleAvx2(source, r.source.width, target, j, lastCol_);
      } else if (doubling_ == EDoubling::Mirrored && j % 2 == 0) {
        // Column 0 reads the clamped neighbour: the first columns take the common loop.
        if (j == 0) j = HorizontalPairsAvx2(source, pair, laneWeights_.data(), target, 0, std::min(8, lastCol_));
        if (j >= 2) j = HorizontalDoubleMirroredAvx2(source, r.source.width, target, j, lastCol_);
      }
      j = HorizontalPairsAvx2(source, pair, laneWeights_.data(), target, j, lastCol_);
    }
#endif
    const __m128i zero = _mm_setzero_si128();
    const uint16_t* lanes = laneWeights_.data();
    for (; j + 2 <= lastCol_; j += 2) {
      const __m128i x0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j]));
      const __m128i x1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j + 1]));
      // Left pixel in the low four lanes, right in the high four, each times its weight;
      // l × (256 − w) and r × w never exceed 255 × 256, nor does their sum.
      const __m128i p0 = _mm_mullo_epi16(_mm_unpacklo_epi8(x0, zero),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + static_cast<size_t>(j) * 8)));
      const __m128i p1 = _mm_mullo_epi16(_mm_unpacklo_epi8(x1, zero),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + static_cast<size_t>(j) * 8 + 8)));
      const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpackhi_epi64(p0, p1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target + static_cast<size_t>(j) * 4), _mm_srli_epi16(sum, 8));
    }
  }
#endif
  for (; j < lastCol_; ++j) {
    const uint32_t p = source[first[j]];
    const uint32_t q = source[second[j]];
    for (int c = 0; c < 4; ++c) {
      const uint32_t l = (p >> (8 * c)) & 0xFF;
      const uint32_t h = (q >> (8 * c)) & 0xFF;
      target[static_cast<size_t>(j) * 4 + static_cast<size_t>(c)] =
          static_cast<uint16_t>((l * (256u - weight[j]) + h * weight[j]) >> 8);
    }
  }
  return target;
}

void CScaler::Bilinear(const SScaleRequest& r, uint32_t sy, uint32_t* out, int outStride) {
  cachedRow_[0] = cachedRow_[1] = -1;
  for (int i = firstRow_; i < lastRow_; ++i) {
    const SBilinearTap tap = BilinearTap(i, sy, r.source.height);
    const uint16_t* top = HorizontalRow(r, tap.first);
    const uint16_t* bottom = HorizontalRow(r, tap.second);
    uint32_t* target = OutputRow(r, out, outStride, i);
    const uint32_t f = tap.weight;
    int j = firstCol_;
#if defined(ZV_SCALER_AVX2)
    if (ProcessorHasAvx2()) j = BlendRowsAvx2(top, bottom, f, target, j, lastCol_);
#endif
#if defined(ZV_SCALER_SSE2)
    const __m128i wTop = _mm_set1_epi16(static_cast<short>(256 - f));
    const __m128i wBottom = _mm_set1_epi16(static_cast<short>(f));
    for (; j + 4 <= lastCol_; j += 4) {
      const size_t at = static_cast<size_t>(j) * 4;
      const __m128i t0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + at));
      const __m128i t1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + at + 8));
      const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + at));
      const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + at + 8));
      const __m128i v0 = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(t0, wTop), _mm_mullo_epi16(b0, wBottom)), 8);
      const __m128i v1 = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(t1, wTop), _mm_mullo_epi16(b1, wBottom)), 8);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target + j), _mm_packus_epi16(v0, v1));
    }
#endif
    for (; j < lastCol_; ++j) {
      uint32_t pixel = 0;
      for (int c = 0; c < 4; ++c) {
        const size_t at = static_cast<size_t>(j) * 4 + static_cast<size_t>(c);
        pixel |= ((top[at] * (256 - f) + bottom[at] * f) >> 8) << (8 * c);
      }
      target[j] = pixel;
    }
  }
}

void CScaler::AreaAverage(const SScaleRequest& r, uint32_t sy, uint32_t* out, int outStride) {
  for (int i = firstRow_; i < lastRow_; ++i) {
    const SAreaSpan rows = AreaSpan(i, sy, r.source.height);
    uint32_t* target = OutputRow(r, out, outStride, i);
    for (int j = firstCol_; j < lastCol_; ++j) {
      const int32_t firstColumn = firstColumn_[static_cast<size_t>(j)];
      const int32_t lastColumn = secondColumn_[static_cast<size_t>(j)];
      const uint64_t firstWeight = columnWeight_[static_cast<size_t>(j)];
      const uint64_t lastWeight = lastWeight_[static_cast<size_t>(j)];
      uint64_t sums[4] = {};
      uint64_t total = 0;
      for (int row = rows.first; row <= rows.last; ++row) {
        const uint64_t rowWeight = row == rows.first ? rows.firstWeight : row == rows.last ? rows.lastWeight : 256;
        const uint32_t* pixels = r.image.Row(r.source.y + row) + r.source.x;
        for (int32_t column = firstColumn; column <= lastColumn; ++column) {
          const uint64_t columnWeight =
              column == firstColumn ? firstWeight : column == lastColumn ? lastWeight : 256;
          const uint64_t weight = rowWeight * columnWeight;
          const uint32_t p = pixels[column];
          sums[0] += weight * (p & 0xFF);
          sums[1] += weight * ((p >> 8) & 0xFF);
          sums[2] += weight * ((p >> 16) & 0xFF);
          sums[3] += weight * (p >> 24);
          total += weight;
        }
      }
      target[j] = static_cast<uint32_t>(sums[0] / total) | static_cast<uint32_t>(sums[1] / total) << 8 |
                  static_cast<uint32_t>(sums[2] / total) << 16 | static_cast<uint32_t>(sums[3] / total) << 24;
    }
  }
}
