#include "runtime/mover.h"

#include <algorithm>

CMover& CMover::operator=(const CMover& other) {
  x_ = other.x_.load();
  y_ = other.y_.load();
  width_ = other.width_.load();
  height_ = other.height_.load();
  scale_ = other.scale_.load();
  opacity_ = other.opacity_.load();
  displayedWidth_ = other.displayedWidth_.load();
  displayedHeight_ = other.displayedHeight_.load();
  return *this;
}

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
