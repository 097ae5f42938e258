// The balloon's picture: its motion frame, the image layers of its function and the
// glyphs its text layers have placed, at the displayed size of the opening animation.
#include <algorithm>

#include "balloon/balloon.h"
#include "platform/layered_window.h"
#include "runtime/chara_host.h"
#include "runtime/character.h"

namespace {

const uint32_t kTransparentPixel = 0;
const SImageView kTransparentPictureView{&kTransparentPixel, 1, 1, 1};

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
  CWorkSurfaces* surfaces = owner_.Host().WorkSurfaces();
  if (window == nullptr || surfaces == nullptr) return;
  Place();
  paintedX_ = static_cast<int>(mover_.GetX());
  paintedY_ = static_cast<int>(mover_.GetY());
  if (!visible_ || owner_.Hidden()) {
    PaintHidden();
    return;
  }

  const SImageView frameImage = ImageViewOf(motion_.Image());
  const SPixelRect frame{motion_.OffsetX(), motion_.OffsetY(), motion_.Width(), motion_.Height()};
  SPaintRequest request;
  request.position = {paintedX_, paintedY_};
  request.width = std::max(1, static_cast<int>(mover_.DisplayedWidth()));
  request.height = std::max(1, static_cast<int>(mover_.DisplayedHeight()));
  request.scale = FilterScale(scale_, mover_.SizeFactor());
  request.lowQuality = owner_.Host().LowQuality();
  request.opacity = mover_.GetOpacity();
  request.opacityInPixels = owner_.Host().OpacityInPixels();
  if (!RectInside(frameImage, frame)) {
    request.frameImage = kTransparentPictureView;
    request.frame = {0, 0, 1, 1};
    PresentFrame(surfaces, request);
    return;
  }
  request.frameImage = frameImage;
  request.frame = frame;
  request.mirror = motion_.Flip();

  // The whole picture is mirrored with the motion; the text is mirrored once more on
  // its way in, so it reads the right way round in a flipped balloon.
  const int mirror = request.mirror;
  placements_.clear();
  for (int i = 0; i < activeImageLayers_; ++i) {
    const CImageLayerStatus& layer = *imageLayers_[static_cast<size_t>(i)];
    const SImageView image = ImageViewOf(layer.Image());
    if (image.pixels == nullptr) continue;
    placements_.push_back({image,
                           {layer.OffsetX(), layer.OffsetY(), layer.Width(), layer.Height()},
                           layer.PositionX(),
                           static_cast<int>(layer.PositionY()),
                           layer.Flip()});
  }
  for (int i = 0; i < activeTextLayers_; ++i) {
    const CTextLayerStatus& text = *textLayers_[static_cast<size_t>(i)];
    const SImageView atlas = text.Renderer().AtlasView();
    const std::vector<SGlyphCell>& cells = text.Renderer().Cells();
    for (const SPlacedGlyph& glyph : text.Glyphs()) {
      const SGlyphCell& cell = cells[static_cast<size_t>(glyph.cell)];
      int x = glyph.x;
      int y = glyph.y;
      if (MirrorsColumns(mirror)) x = frame.width - x - cell.Width();
      if (MirrorsRows(mirror)) y = frame.height - y - cell.Height();
      placements_.push_back({atlas, {cell.left, cell.top, cell.Width(), cell.Height()}, x, y, mirror});
    }
  }
  request.mergeLayers = !placements_.empty();
  request.layers = placements_;
  PresentFrame(surfaces, request);
}
