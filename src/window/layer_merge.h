#pragma once
// Building a frame with its image layers in the layer surface: copy the frame to the
// surface's top-left corner, then merge each layer over it.
#include "window/image_view.h"

// Copies `rect` of `frame` to the top-left of `layer`, clipped to the surface; nothing
// when the rectangle is not inside the frame image. Costs one row copy per row.
void CopyFrame(const SImageView& frame, const SPixelRect& rect, CPixelSurface& layer);

// Merges `source` of `image` into `layer` at (dstX, dstY), mirrored by `mirror`, within
// the frame's frameWidth × frameHeight area (clipped to the surface). A layer reaching
// past the left or top edge is clipped there and its hidden source pixels are skipped.
// Nothing is drawn when `source` is not inside the image.
void MergeLayer(CPixelSurface& layer, int frameWidth, int frameHeight, const SImageView& image,
                const SPixelRect& source, int dstX, int dstY, int mirror);

// One layer pixel `s` over the frame pixel `d`: opaque replaces, transparent keeps, over
// a transparent pixel copies, else blends with weight 256 − alpha(s).
inline uint32_t MergePixel(uint32_t s, uint32_t d) {
  const uint32_t a = s >> 24;
  if (a == 255) return s;
  if (a == 0) return d;
  const uint32_t da = d >> 24;
  if (da == 0) return s;
  const uint32_t weight = 256 - a;
  const uint32_t green = ((s & 0xFF00u) + ((weight * (d & 0xFF00u)) >> 8)) & 0xFF00u;
  const uint32_t redBlue = ((s & 0xFF00FFu) + ((weight * (d & 0xFF00FFu)) >> 8)) & 0xFF00FFu;
  const uint32_t alpha = da == 255 ? 255 : da + a - da * a / 255;
  return (alpha << 24) | redBlue | green;
}
