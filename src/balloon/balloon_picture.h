#pragma once
// CBalloonPicture: the composed picture of one balloon, kept between frames. A balloon
// that is typing changes only where its new glyphs go, so after a first full
// composition only that rectangle is composed and scaled again; the rest of the scaled
// picture stays as it was. Anything else that changes (the motion frame, an image
// layer, the size, the scale, the opacity in the pixels, a cleared text) composes the
// whole picture. Frame thread.
#include <cstdint>
#include <vector>

#include "media/pixel_surface.h"
#include "platform/geometry.h"
#include "window/paint_pipeline.h"
#include "window/scaler.h"

// What the picture is made of this frame.
struct SBalloonFrame {
  SImageView frameImage;
  SPixelRect frame;
  int mirror = kMirrorNone;
  int width = 1;  // displayed size
  int height = 1;
  EScaleFilter filter = EScaleFilter::Nearest;
  double opacity = 1.0;
  bool opacityInPixels = false;
  std::vector<SLayerPlacement> imageLayers;
  // The glyphs, in drawing order; one run per text layer, with its generation.
  std::vector<SLayerPlacement> glyphs;
  std::vector<size_t> runEnds;         // glyph index where each text layer's run ends
  std::vector<unsigned> generations;   // each text layer's generation
};

class CBalloonPicture {
 public:
  // Sized for a composition of at most `width` × `height` before scaling.
  CBalloonPicture(int width, int height);

  // Brings the scaled picture up to date with `frame`; false when nothing changed.
  bool Compose(const SBalloonFrame& frame);
  // Forgets the picture: the next Compose composes everything.
  void Invalidate() { valid_ = false; }

  const uint32_t* Pixels() const { return output_.Pixels(); }
  int Stride() const { return output_.Width(); }
  // How the last Compose went, for tests: whole, partial, or nothing to do.
  enum class ELastWork { None, Whole, Part };
  ELastWork LastWork() const { return lastWork_; }
  // The scaled pixels the last Compose changed; empty after a whole composition (all
  // of them) or none.
  SRect Changed() const { return changed_; }

 private:
  bool SameAsLast(const SBalloonFrame& frame) const;
  void ComposeWhole(const SBalloonFrame& frame);
  void ComposePart(const SBalloonFrame& frame, const SPixelRect& dirty);
  void Scale(const SBalloonFrame& frame, const SPixelRect& region);
  void Remember(const SBalloonFrame& frame);

  CPixelSurface layer_;
  CPixelSurface output_;
  CScaler scaler_;
  bool valid_ = false;
  ELastWork lastWork_ = ELastWork::None;
  SRect changed_;
  SBalloonFrame last_;
};
