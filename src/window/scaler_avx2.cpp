#include "window/scaler_avx2.h"

#if defined(ZV_SCALER_AVX2)
#include <immintrin.h>

#include <cstddef>

namespace {

// Stores eight columns of 16-bit channels, a column of `first` then one of `second` in
// turn: columns 0 and 1 of each register's halves, then columns 2 and 3.
ZV_AVX2_TARGET void StoreInTurn(uint16_t* out, __m256i first, __m256i second) {
  const __m256i low = _mm256_unpacklo_epi64(first, second);
  const __m256i high = _mm256_unpackhi_epi64(first, second);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(low, high, 0x20));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16), _mm256_permute2x128_si256(low, high, 0x31));
}

// Eight pixels from two registers of 16-bit channels, in order: packing works within
// each 128-bit half, so the pixels come out as 0 1 4 5 2 3 6 7 and are put back.
ZV_AVX2_TARGET void StorePixels(uint32_t* out, __m256i v0, __m256i v1) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute4x64_epi64(_mm256_packus_epi16(v0, v1), 0xD8));
}

}  // namespace

ZV_AVX2_TARGET int HorizontalPairsAvx2(const uint32_t* source, const int32_t* pair, const uint16_t* lanes,
                                       uint16_t* target, int first, int last) {
  int j = first;
  for (; j + 4 <= last; j += 4) {
    // Columns j and j + 2 share one register, j + 1 and j + 3 the other, so the two
    // halves' sums come out as four neighbouring columns.
    const __m128i x0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j]));
    const __m128i x1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j + 1]));
    const __m128i x2 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j + 2]));
    const __m128i x3 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + pair[j + 3]));
    const __m256i even = _mm256_cvtepu8_epi16(_mm_unpacklo_epi64(x0, x2));
    const __m256i odd = _mm256_cvtepu8_epi16(_mm_unpacklo_epi64(x1, x3));
    const uint16_t* w = lanes + static_cast<size_t>(j) * 8;
    const __m256i evenWeights =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 16)), 1);
    const __m256i oddWeights =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 8))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 24)), 1);
    // l × (256 − w) and r × w never exceed 255 × 256, nor does their sum.
    const __m256i p0 = _mm256_mullo_epi16(even, evenWeights);
    const __m256i p1 = _mm256_mullo_epi16(odd, oddWeights);
    const __m256i sum = _mm256_add_epi16(_mm256_unpacklo_epi64(p0, p1), _mm256_unpackhi_epi64(p0, p1));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + static_cast<size_t>(j) * 4), _mm256_srli_epi16(sum, 8));
  }
  return j;
}

ZV_AVX2_TARGET int HorizontalDoubleAvx2(const uint32_t* source, int sourceWidth, uint16_t* target, int first,
                                        int last) {
  int j = first;
  // Eight columns from source pixels k … k + 4; the last columns, whose right neighbour
  // is clamped, are left to the caller.
  for (; j + 8 <= last && j / 2 + 5 <= sourceWidth; j += 8) {
    const int k = j / 2;
    const __m256i pixels = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k)));
    const __m256i right = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k + 1)));
    // (l × 128 + r × 128) >> 8 is (l + r) >> 1.
    const __m256i means = _mm256_srli_epi16(_mm256_add_epi16(pixels, right), 1);
    StoreInTurn(target + static_cast<size_t>(j) * 4, pixels, means);
  }
  return j;
}

ZV_AVX2_TARGET int HorizontalDoubleMirroredAvx2(const uint32_t* source, int sourceWidth, uint16_t* target,
                                                int first, int last) {
  int j = first;
  // Eight columns from source pixels w − m − 4 … w − m, read backwards.
  for (; j + 8 <= last && j / 2 + 4 <= sourceWidth; j += 8) {
    const int m = j / 2;
    const __m128i backwards = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + sourceWidth - m - 4));
    const __m128i neighbours = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + sourceWidth - m - 3));
    const __m256i pixels = _mm256_cvtepu8_epi16(_mm_shuffle_epi32(backwards, 0x1B));
    const __m256i left = _mm256_cvtepu8_epi16(_mm_shuffle_epi32(neighbours, 0x1B));
    const __m256i means = _mm256_srli_epi16(_mm256_add_epi16(pixels, left), 1);
    StoreInTurn(target + static_cast<size_t>(j) * 4, means, pixels);
  }
  return j;
}

ZV_AVX2_TARGET int BlendRowsAvx2(const uint16_t* top, const uint16_t* bottom, uint32_t f, uint32_t* target,
                                 int first, int last) {
  const __m256i wTop = _mm256_set1_epi16(static_cast<short>(256 - f));
  const __m256i wBottom = _mm256_set1_epi16(static_cast<short>(f));
  int j = first;
  // Rows on a source row (f = 0) are that row; rows halfway (f = 128, as at twice the
  // size) are the mean of the two.
  if (f == 0 || f == 128) {
    for (; j + 8 <= last; j += 8) {
      const size_t at = static_cast<size_t>(j) * 4;
      __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + at));
      __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + at + 16));
      if (f == 128) {
        v0 = _mm256_srli_epi16(_mm256_add_epi16(v0, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + at))), 1);
        v1 = _mm256_srli_epi16(
            _mm256_add_epi16(v1, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + at + 16))), 1);
      }
      StorePixels(target + j, v0, v1);
    }
    return j;
  }
  for (; j + 8 <= last; j += 8) {
    const size_t at = static_cast<size_t>(j) * 4;
    const __m256i t0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + at));
    const __m256i t1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + at + 16));
    const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + at));
    const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + at + 16));
    const __m256i v0 =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(t0, wTop), _mm256_mullo_epi16(b0, wBottom)), 8);
    const __m256i v1 =
        _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(t1, wTop), _mm256_mullo_epi16(b1, wBottom)), 8);
    StorePixels(target + j, v0, v1);
  }
  return j;
}
#endif
