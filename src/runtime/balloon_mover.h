#pragma once
// CBalloonMover: where a balloon stands relative to its character, and how far its
// opening or closing animation has come (size and opacity factors with their steps).
#include "runtime/mover.h"

class CBalloonMover : public CMover {
 public:
  explicit CBalloonMover(const CMover* owner = nullptr) : owner_(owner) {}

  const CMover* Owner() const { return owner_; }
  void SetOwner(const CMover* owner) { owner_ = owner; }

  double offsetX = 0.0;  // accumulated offset from the anchor, unscaled
  double offsetY = 0.0;
  double scaledOffsetX = 0.0;
  double scaledOffsetY = 0.0;
  double sizeFactor = 1.0;  // 0 … 1 of the balloon's size while it opens or closes
  double sizeStep = 0.0;
  double opacityFactor = 1.0;  // 0 … 1 of its opacity likewise
  double opacityStep = 0.0;
  int anchorX = 0;
  int anchorY = 0;

 private:
  const CMover* owner_;
};
