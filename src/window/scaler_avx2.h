#pragma once
// The bilinear scaler's two inner loops with 256-bit AVX2 arithmetic, for processors
// that have it: the same sums as the SSE2 loops, twice the pixels per step. Each
// returns the column it stopped at; the caller finishes the rest of the row.
#include <cstdint>

#include "window/avx2.h"

// ZV_SCALER_PORTABLE and ZV_SCALER_NO_AVX2 leave them out, so tests check the others.
#if defined(ZV_CAN_TARGET_AVX2) && !defined(ZV_SCALER_PORTABLE) && !defined(ZV_SCALER_NO_AVX2)
#define ZV_SCALER_AVX2 1

// Source pixels at `pair[j]` and `pair[j] + 1`, weighted by `lanes[j * 8 ...]`, into
// four 16-bit channels per output column, for columns [first, last).
int HorizontalPairsAvx2(const uint32_t* source, const int32_t* pair, const uint16_t* lanes, uint16_t* target,
                        int first, int last);

// The same for an output exactly twice as wide as the source, unmirrored: column 2k is
// source pixel k, column 2k + 1 the mean of pixels k and k + 1 (the pair weights are
// then 0 and 128). `first` must be even.
int HorizontalDoubleAvx2(const uint32_t* source, int sourceWidth, uint16_t* target, int first, int last);

// The same with the columns mirrored: column 2m is the mean of source pixels w − 1 − m
// and w − m, column 2m + 1 pixel w − 1 − m. `first` must be even and at least 2 (column
// 0 reads the clamped neighbour).
int HorizontalDoubleMirroredAvx2(const uint32_t* source, int sourceWidth, uint16_t* target, int first, int last);

// Two rows of 16-bit channels blended with weight `f` of 256 for the bottom one, into
// pixels, for columns [first, last).
int BlendRowsAvx2(const uint16_t* top, const uint16_t* bottom, uint32_t f, uint32_t* target, int first, int last);
#endif
