#include "window/scaler_avx2.h"

#if defined(ZV_SCALER_AVX2)
#include <immintrin.h>

#include <cstddef>

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

ZV_AVX2_TARGET int BlendRowsAvx2(const uint16_t* top, const uint16_t* bottom, uint32_t f, uint32_t* target,
                                 int first, int last) {
  const __m256i wTop = _mm256_set1_epi16(static_cast<short>(256 - f));
  const __m256i wBottom = _mm256_set1_epi16(static_cast<short>(f));
  int j = first;
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
    // Packing works within each 128-bit half: the pixels come out as 0 1 4 5 2 3 6 7.
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(v0, v1), 0xD8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + j), packed);
  }
  return j;
}
#endif
