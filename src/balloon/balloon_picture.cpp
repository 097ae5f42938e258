#include "balloon/balloon_picture.h"

#include <algorithm>
#include <cstring>

#include "window/layer_merge.h"

namespace {

bool SameRect(const SPixelRect& a, const SPixelRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool SamePlacement(const SLayerPlacement& a, const SLayerPlacement& b) {
  return a.image.pixels == b.image.pixels && SameRect(a.source, b.source) && a.dstX == b.dstX && a.dstY == b.dstY &&
         a.mirror == b.mirror;
}

SPixelRect Union(const SPixelRect& a, const SPixelRect& b) {
  if (a.width <= 0 || a.height <= 0) return b;
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.width, b.x + b.width);
  const int bottom = std::max(a.y + a.height, b.y + b.height);
  return {left, top, right - left, bottom - top};
}

// The part of `placement` that falls inside `clip` (placements without mirroring);
// false when nothing does.
bool ClipPlacement(const SLayerPlacement& placement, const SPixelRect& clip, SLayerPlacement& out) {
  const int left = std::max(placement.dstX, clip.x);
  const int top = std::max(placement.dstY, clip.y);
  const int right = std::min(placement.dstX + placement.source.width, clip.x + clip.width);
  const int bottom = std::min(placement.dstY + placement.source.height, clip.y + clip.height);
  if (left >= right || top >= bottom) return false;
  out = placement;
  out.source = {placement.source.x + left - placement.dstX, placement.source.y + top - placement.dstY, right - left,
                bottom - top};
  out.dstX = left;
  out.dstY = top;
  return true;
}

}  // namespace

CBalloonPicture::CBalloonPicture(int width, int height) : layer_(std::max(width, 1), std::max(height, 1)) {}

bool CBalloonPicture::SameAsLast(const SBalloonFrame& frame) const {
  const SBalloonFrame& a = last_;
  if (a.frameImage.pixels != frame.frameImage.pixels || !SameRect(a.frame, frame.frame) || a.mirror != frame.mirror ||
      a.width != frame.width || a.height != frame.height || a.filter != frame.filter ||
      a.opacityInPixels != frame.opacityInPixels || (frame.opacityInPixels && a.opacity != frame.opacity)) {
    return false;
  }
  if (!std::equal(a.imageLayers.begin(), a.imageLayers.end(), frame.imageLayers.begin(), frame.imageLayers.end(),
                  SamePlacement)) {
    return false;
  }
  // The text may only have grown: the same layers, none cleared, none shorter.
  if (a.generations != frame.generations || a.runEnds.size() != frame.runEnds.size()) return false;
  size_t begin = 0;
  size_t lastBegin = 0;
  for (size_t run = 0; run < frame.runEnds.size(); ++run) {
    if (frame.runEnds[run] - begin < a.runEnds[run] - lastBegin) return false;
    begin = frame.runEnds[run];
    lastBegin = a.runEnds[run];
  }
  return true;
}

bool CBalloonPicture::Compose(const SBalloonFrame& frame) {
  // Mirrored pictures place their pieces the other way round; they are composed whole.
  bool mirrored = frame.mirror != kMirrorNone;
  for (const SLayerPlacement& layer : frame.imageLayers) mirrored |= layer.mirror != kMirrorNone;

  const int outWidth = std::max(frame.width, 1);
  const int outHeight = std::max(frame.height, 1);
  if (output_.Width() < outWidth || output_.Height() < outHeight) {
    output_ = CPixelSurface(std::max(outWidth, output_.Width()), std::max(outHeight, output_.Height()));
    valid_ = false;
  }
  changed_ = {};
  if (!valid_ || mirrored || !SameAsLast(frame)) {
    ComposeWhole(frame);
    lastWork_ = ELastWork::Whole;
    Remember(frame);
    return true;
  }

  // Only glyphs were added: the rectangle they cover.
  SPixelRect dirty;
  size_t begin = 0;
  size_t lastBegin = 0;
  for (size_t run = 0; run < frame.runEnds.size(); ++run) {
    const size_t known = last_.runEnds[run] - lastBegin;
    for (size_t i = begin + known; i < frame.runEnds[run]; ++i) {
      const SLayerPlacement& glyph = frame.glyphs[i];
      dirty = Union(dirty, {glyph.dstX, glyph.dstY, glyph.source.width, glyph.source.height});
    }
    begin = frame.runEnds[run];
    lastBegin = last_.runEnds[run];
  }
  Remember(frame);
  if (dirty.width <= 0 || dirty.height <= 0) {
    lastWork_ = ELastWork::None;
    return false;
  }
  ComposePart(frame, dirty);
  lastWork_ = ELastWork::Part;
  return true;
}

void CBalloonPicture::ComposeWhole(const SBalloonFrame& frame) {
  CopyFrame(frame.frameImage, frame.frame, layer_);
  for (const SLayerPlacement& placement : frame.imageLayers) {
    MergeLayer(layer_, frame.frame.width, frame.frame.height, placement.image, placement.source, placement.dstX,
               placement.dstY, placement.mirror);
  }
  for (const SLayerPlacement& placement : frame.glyphs) {
    MergeLayer(layer_, frame.frame.width, frame.frame.height, placement.image, placement.source, placement.dstX,
               placement.dstY, placement.mirror);
  }
  Scale(frame, {});
  valid_ = true;
}

void CBalloonPicture::ComposePart(const SBalloonFrame& frame, const SPixelRect& dirtyRect) {
  const int frameWidth = std::min(frame.frame.width, layer_.Width());
  const int frameHeight = std::min(frame.frame.height, layer_.Height());
  const int left = std::max(dirtyRect.x, 0);
  const int top = std::max(dirtyRect.y, 0);
  const int right = std::min(dirtyRect.x + dirtyRect.width, frameWidth);
  const int bottom = std::min(dirtyRect.y + dirtyRect.height, frameHeight);
  if (left >= right || top >= bottom) return;
  const SPixelRect dirty{left, top, right - left, bottom - top};

  // The frame under the rectangle, then everything drawn over it there.
  for (int y = top; y < bottom; ++y) {
    std::memcpy(layer_.Row(y) + left, frame.frameImage.Row(frame.frame.y + y) + frame.frame.x + left,
                static_cast<size_t>(right - left) * sizeof(uint32_t));
  }
  SLayerPlacement clipped;
  for (const SLayerPlacement& placement : frame.imageLayers) {
    if (!ClipPlacement(placement, dirty, clipped)) continue;
    MergeLayer(layer_, frameWidth, frameHeight, clipped.image, clipped.source, clipped.dstX, clipped.dstY,
               kMirrorNone);
  }
  for (const SLayerPlacement& placement : frame.glyphs) {
    if (!ClipPlacement(placement, dirty, clipped)) continue;
    MergeLayer(layer_, frameWidth, frameHeight, clipped.image, clipped.source, clipped.dstX, clipped.dstY,
               kMirrorNone);
  }

  // The output pixels that read any changed pixel: the rectangle scaled, widened by the
  // filters' reach of one source pixel and one output pixel each way.
  const double sx = static_cast<double>(frame.width) / frame.frame.width;
  const double sy = static_cast<double>(frame.height) / frame.frame.height;
  const int outLeft = static_cast<int>((left - 1) * sx) - 1;
  const int outTop = static_cast<int>((top - 1) * sy) - 1;
  const int outRight = static_cast<int>((right + 1) * sx) + 2;
  const int outBottom = static_cast<int>((bottom + 1) * sy) + 2;
  Scale(frame, {outLeft, outTop, outRight - outLeft, outBottom - outTop});
  changed_ = ClippedTo({outLeft, outTop, outRight, outBottom}, std::max(frame.width, 1), std::max(frame.height, 1));
}

void CBalloonPicture::Scale(const SBalloonFrame& frame, const SPixelRect& region) {
  SScaleRequest scale;
  scale.image = ViewOf(layer_);
  scale.source = {0, 0, std::min(frame.frame.width, layer_.Width()), std::min(frame.frame.height, layer_.Height())};
  scale.outWidth = std::max(frame.width, 1);
  scale.outHeight = std::max(frame.height, 1);
  scale.filter = frame.filter;
  scale.mirror = frame.mirror;
  scale.opacity = frame.opacityInPixels ? frame.opacity : 1.0;
  scale.region = region;
  scaler_.Scale(scale, output_.Pixels(), output_.Width());
}

void CBalloonPicture::Remember(const SBalloonFrame& frame) {
  last_.frameImage = frame.frameImage;
  last_.frame = frame.frame;
  last_.mirror = frame.mirror;
  last_.width = frame.width;
  last_.height = frame.height;
  last_.filter = frame.filter;
  last_.opacity = frame.opacity;
  last_.opacityInPixels = frame.opacityInPixels;
  last_.imageLayers.assign(frame.imageLayers.begin(), frame.imageLayers.end());
  last_.runEnds.assign(frame.runEnds.begin(), frame.runEnds.end());
  last_.generations.assign(frame.generations.begin(), frame.generations.end());
}
