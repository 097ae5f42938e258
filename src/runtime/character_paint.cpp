// The character's picture: its motion frame with the image layers of the current
// function, scaled to the displayed size. A frame that would compose to the same
// picture as the last one only moves the window.
#include <algorithm>

#include "platform/layered_window.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"

namespace {

// What the hidden function shows: one transparent pixel, scaled to the displayed size.
const uint32_t kTransparentPixel = 0;
const SImageView kTransparentView{&kTransparentPixel, 1, 1, 1};

SImageView ImageViewOf(const CImageLoad* image) {
  if (image == nullptr || !image->HasBitmap()) return {};
  return {image->Pixels(), image->Width(), image->Width(), image->Height()};
}

bool SamePlacement(const SLayerPlacement& a, const SLayerPlacement& b) {
  return a.image.pixels == b.image.pixels && a.source.x == b.source.x && a.source.y == b.source.y &&
         a.source.width == b.source.width && a.source.height == b.source.height && a.dstX == b.dstX &&
         a.dstY == b.dstY && a.mirror == b.mirror;
}

}  // namespace

void CCharacter::Paint() {
  CWorkSurfaces* surfaces = host_.WorkSurfaces();
  ILayeredWindow* window = Window();
  if (surfaces == nullptr || window == nullptr) return;

  SPaintRequest request;
  request.position = {static_cast<int>(mover_.GetX()), static_cast<int>(mover_.GetY())};
  request.width = std::max(1, static_cast<int>(mover_.DisplayedWidth()));
  request.height = std::max(1, static_cast<int>(mover_.DisplayedHeight()));
  request.scale = mover_.GetScale();
  request.lowQuality = host_.LowQuality();
  request.opacity = mover_.GetOpacity();
  request.opacityInPixels = host_.OpacityInPixels();

  SPaintKey key;
  key.hidden = nextFunctionId_.load(std::memory_order_relaxed) == kHiddenFunctionId;
  placements_.clear();
  const SImageView frameImage = ImageViewOf(motion_->Image());
  const SPixelRect frame{motion_->OffsetX(), motion_->OffsetY(), motion_->Width(), motion_->Height()};
  if (key.hidden || !RectInside(frameImage, frame)) {
    // Nothing to show, or a frame outside its image: a transparent picture rather than
    // whatever the shared surfaces held from another window.
    request.frameImage = kTransparentView;
    request.frame = {0, 0, 1, 1};
    key.hidden = true;
  } else {
    request.frameImage = frameImage;
    request.frame = frame;
    request.mirror = motion_->Flip();
    key.image = motion_->Image();
    for (int i = 0; i < activeLayers_; ++i) {
      const CImageLayerStatus& layer = *layers_[static_cast<size_t>(i)];
      const SImageView image = ImageViewOf(layer.Image());
      if (image.pixels == nullptr) continue;
      placements_.push_back({image,
                             {layer.OffsetX(), layer.OffsetY(), layer.Width(), layer.Height()},
                             layer.PositionX(),
                             static_cast<int>(layer.PositionY()),
                             layer.Flip()});
    }
    request.mergeLayers = !placements_.empty();
    request.layers = placements_;
  }
  key.frameX = request.frame.x;
  key.frameY = request.frame.y;
  key.frameWidth = request.frame.width;
  key.frameHeight = request.frame.height;
  key.mirror = request.mirror;
  key.width = request.width;
  key.height = request.height;
  key.opacity = request.opacity;
  key.scale = request.scale;
  key.lowQuality = request.lowQuality;
  key.opacityInPixels = request.opacityInPixels;
  key.layerCount = static_cast<int>(placements_.size());

  const bool unchanged = painted_ && key == lastPaint_ &&
                         std::equal(placements_.begin(), placements_.end(), lastPlacements_.begin(),
                                    lastPlacements_.end(), SamePlacement);
  if (unchanged && !composeEveryFrame_) {
    SLayeredFrame move;
    move.position = request.position;
    if (!window->Update(move)) window->Destroy();
    return;
  }
  PresentFrame(surfaces, request);
  lastPaint_ = key;
  lastPlacements_.assign(placements_.begin(), placements_.end());
  painted_ = true;
}
