// The balloon's picture: its motion frame, the image layers of its function and the
// glyphs its text layers have placed, at the displayed size of the opening animation.
// The picture is kept from frame to frame, so typing costs only the new glyphs.
#include <algorithm>

#include "balloon/balloon.h"
#include "platform/layered_window.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"

namespace {

const uint32_t kTransparentPixel = 0;

SImageView ImageViewOf(const CImageLoad* image) {
  if (image == nullptr || !image->HasBitmap()) return {};
  return {image->Pixels(), image->Width(), image->Width(), image->Height()};
}

// The scale the filter is chosen by: exactly 1 only while the balloon is shown at its
// own size; a balloon growing at 100 % is smoothed like any other scaled picture.
double FilterScale(double scale, double sizeFactor) {
  if (sizeFactor == 1.0) return scale;
  return scale == 1.0 ? 0.999 : scale;
}

}  // namespace

void CBalloon::PaintHidden() {
  ILayeredWindow* window = Window();
  if (hiddenPainted_ || window == nullptr) return;
  SLayeredFrame frame;
  frame.position = {paintedX_, paintedY_};
  frame.width = 1;
  frame.height = 1;
  frame.pixels = &kTransparentPixel;
  frame.stride = 1;
  frame.constantAlpha = 255;
  if (!window->Update(frame)) {
    window->Destroy();
    return;
  }
  hiddenPainted_ = true;
}

void CBalloon::Paint() {
  ILayeredWindow* window = Window();
  if (window == nullptr) return;
  Place();
  paintedX_ = static_cast<int>(mover_.GetX());
  paintedY_ = static_cast<int>(mover_.GetY());
  if (!visible_ || owner_.Hidden()) {
    PaintHidden();
    picture_.Invalidate();
    return;
  }

  ICharaHost& host = owner_.Host();
  SBalloonFrame& frame = frame_;
  frame.frameImage = ImageViewOf(motion_.Image());
  frame.frame = {motion_.OffsetX(), motion_.OffsetY(), motion_.Width(), motion_.Height()};
  if (!RectInside(frame.frameImage, frame.frame)) {
    // A frame outside its picture shows nothing rather than stale pixels.
    frame.frameImage = {&kTransparentPixel, 1, 1, 1};
    frame.frame = {0, 0, 1, 1};
  }
  frame.mirror = motion_.Flip();
  frame.width = std::max(1, static_cast<int>(mover_.DisplayedWidth()));
  frame.height = std::max(1, static_cast<int>(mover_.DisplayedHeight()));
  frame.filter = ChooseFilter(FilterScale(scale_, mover_.SizeFactor()), host.LowQuality());
  frame.opacity = mover_.GetOpacity();
  frame.opacityInPixels = host.OpacityInPixels();

  frame.imageLayers.clear();
  for (int i = 0; i < activeImageLayers_; ++i) {
    const CImageLayerStatus& layer = *imageLayers_[static_cast<size_t>(i)];
    const SImageView image = ImageViewOf(layer.Image());
    if (image.pixels == nullptr) continue;
    frame.imageLayers.push_back({image,
                                 {layer.OffsetX(), layer.OffsetY(), layer.Width(), layer.Height()},
                                 layer.PositionX(),
                                 static_cast<int>(layer.PositionY()),
                                 layer.Flip()});
  }
  // The whole picture is mirrored with the motion; the text is mirrored once more on
  // its way in, so it reads the right way round in a flipped balloon.
  const int mirror = frame.mirror;
  frame.glyphs.clear();
  frame.runEnds.clear();
  frame.generations.clear();
  for (int i = 0; i < activeTextLayers_; ++i) {
    const CTextLayerStatus& text = *textLayers_[static_cast<size_t>(i)];
    const SImageView atlas = text.Renderer().AtlasView();
    const std::vector<SGlyphCell>& cells = text.Renderer().Cells();
    for (const SPlacedGlyph& glyph : text.Glyphs()) {
      const SGlyphCell& cell = cells[static_cast<size_t>(glyph.cell)];
      int x = glyph.x;
      int y = glyph.y;
      if (MirrorsColumns(mirror)) x = frame.frame.width - x - cell.Width();
      if (MirrorsRows(mirror)) y = frame.frame.height - y - cell.Height();
      frame.glyphs.push_back({atlas, {cell.left, cell.top, cell.Width(), cell.Height()}, x, y, mirror});
    }
    frame.runEnds.push_back(frame.glyphs.size());
    frame.generations.push_back(text.Generation());
  }

  SLayeredFrame update;
  update.position = {paintedX_, paintedY_};
  if (picture_.Compose(frame)) {
    update.width = frame.width;
    update.height = frame.height;
    update.pixels = picture_.Pixels();
    update.stride = picture_.Stride();
    update.changed = picture_.Changed();
  }
  // Opacity changes alone still reach the window through its constant alpha.
  update.constantAlpha = ConstantAlphaFor(frame.opacity, frame.opacityInPixels);
  if (update.pixels == nullptr && update.constantAlpha != lastAlpha_) {
    update.width = frame.width;
    update.height = frame.height;
    update.pixels = picture_.Pixels();
    update.stride = picture_.Stride();
  }
  lastAlpha_ = update.constantAlpha;
  if (!window->Update(update)) window->Destroy();
}
