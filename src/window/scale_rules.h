#pragma once
// Scaling a rectangle of an image into an output of W' × H' pixels in 16.16 fixed point:
// the filters, the spans each output pixel reads, and the opacity multiply. The plain
// functions here are the reference every faster path must match bit for bit.
#include <cstdint>

#include "window/image_view.h"

enum class EScaleFilter { Nearest, Bilinear, AreaAverage };

struct SScaleRequest {
  SImageView image;
  SPixelRect source;
  int outWidth = 0;
  int outHeight = 0;
  EScaleFilter filter = EScaleFilter::Nearest;
  int mirror = kMirrorNone;
  double opacity = 1.0;  // below 1.0: every output pixel is multiplied
  // CScaler only: the part of the output to write, in output pixels (after mirroring),
  // when a caller keeps the rest from an earlier scaling; empty means all of it.
  SPixelRect region;
};

// Nearest at exactly 100 % or in low quality, area average below 60 %, else bilinear.
EScaleFilter ChooseFilter(double scale, bool lowQuality);

// The 16.16 step from one output pixel to the next over `sourceSize` source pixels.
inline uint32_t ScaleStep(int sourceSize, int outSize) {
  return static_cast<uint32_t>((static_cast<uint64_t>(sourceSize) << 16) / static_cast<uint64_t>(outSize));
}

// Bilinear: the two source positions (relative to the rectangle) and the weight of the
// second for output index `index`.
struct SBilinearTap {
  int first = 0;
  int second = 0;
  uint32_t weight = 0;  // 0…255
};
inline SBilinearTap BilinearTap(int index, uint32_t step, int sourceSize) {
  const uint64_t position = static_cast<uint64_t>(index) * step;
  const int first = static_cast<int>(position >> 16);
  return {first, first + 1 < sourceSize ? first + 1 : sourceSize - 1,
          static_cast<uint32_t>((position >> 8) & 0xFF)};
}

// Area average: the source span (relative, inclusive) for output index `index`, with the
// weights of its first and last entries; every entry between weighs 256. A span of one
// entry uses the first weight (alone it cancels out of the average).
struct SAreaSpan {
  int first = 0;
  int last = 0;
  uint32_t firstWeight = 256;
  uint32_t lastWeight = 256;
};
SAreaSpan AreaSpan(int index, uint32_t step, int sourceSize);

// Blends two pixels channel by channel, (p × (256 − w) + q × w) >> 8, on the red-blue
// and alpha-green pairs.
inline uint32_t LerpPixel(uint32_t p, uint32_t q, uint32_t w) {
  const uint32_t inverse = 256 - w;
  const uint32_t redBlue = (((p & 0xFF00FFu) * inverse + (q & 0xFF00FFu) * w) >> 8) & 0xFF00FFu;
  const uint32_t alphaGreen = (((p >> 8) & 0xFF00FFu) * inverse + ((q >> 8) & 0xFF00FFu) * w) & 0xFF00FF00u;
  return alphaGreen | redBlue;
}

// Scales `request` into `out` (stride in pixels) exactly by the rules, one pixel at a
// time. Nothing is written when the source is not inside the image or the output is
// empty. Allocates nothing.
void ScaleReference(const SScaleRequest& request, uint32_t* out, int outStride);

// Multiplies the outWidth × outHeight pixels at `out` by `factor` (below 1.0): alpha and
// colours truncated; a pixel whose alpha becomes 0 becomes 0.
void ApplyOpacity(uint32_t* out, int outStride, int outWidth, int outHeight, double factor);
