#include "runtime/mover.h"

#include <algorithm>

void CMover::SetPosition(double x, double y) {
  x_ = x;
  y_ = y;
}

void CMover::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void CMover::SetOpacity(double opacity) { opacity_ = std::clamp(opacity, 0.0, 1.0); }

void CMover::SetDisplayedSize(double width, double height) {
  displayedWidth_ = width;
  displayedHeight_ = height;
}
