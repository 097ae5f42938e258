#pragma once
// CBalloonMover: where a balloon stands relative to its character, and how far its
// opening or closing animation has come. It grows out of the anchor point: the size
// and opacity factors run from 0 (closed) to 1 (open) by their steps each frame. The
// balloon drives these values; the mover only keeps them.
#include "runtime/mover.h"

class CBalloonMover : public CMover {
 public:
  // The character's mover the balloon is placed against; it must outlive this one.
  explicit CBalloonMover(const CMover& owner) : owner_(&owner) {}

  const CMover& Owner() const { return *owner_; }
  // The balloon sets its displayed size from the animation's size factor.
  using CMover::SetDisplayedSize;

  // The offset from the character's top-left corner, unscaled, as the balloon's motion
  // has moved it so far.
  double OffsetX() const { return offsetX_; }
  double OffsetY() const { return offsetY_; }
  void SetOffset(double x, double y) {
    offsetX_ = x;
    offsetY_ = y;
  }
  // The offset times the scale.
  double ScaledOffsetX() const { return scaledOffsetX_; }
  double ScaledOffsetY() const { return scaledOffsetY_; }
  void SetScaledOffset(double x, double y) {
    scaledOffsetX_ = x;
    scaledOffsetY_ = y;
  }

  double SizeFactor() const { return sizeFactor_; }
  void SetSizeFactor(double factor) { sizeFactor_ = factor; }
  double SizeStep() const { return sizeStep_; }
  void SetSizeStep(double step) { sizeStep_ = step; }
  double OpacityFactor() const { return opacityFactor_; }
  void SetOpacityFactor(double factor) { opacityFactor_ = factor; }
  double OpacityStep() const { return opacityStep_; }
  void SetOpacityStep(double step) { opacityStep_ = step; }

  // The point (unscaled, in the balloon's picture) the balloon grows out of.
  int AnchorX() const { return anchorX_; }
  int AnchorY() const { return anchorY_; }
  void SetAnchor(int x, int y) {
    anchorX_ = x;
    anchorY_ = y;
  }

 private:
  const CMover* owner_;
  double offsetX_ = 0.0;
  double offsetY_ = 0.0;
  double scaledOffsetX_ = 0.0;
  double scaledOffsetY_ = 0.0;
  double sizeFactor_ = 0.0;
  double sizeStep_ = 0.0;
  double opacityFactor_ = 0.0;
  double opacityStep_ = 0.0;
  int anchorX_ = 0;
  int anchorY_ = 0;
};
