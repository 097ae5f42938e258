#include "runtime/chara_mover.h"

#include <algorithm>

#include "script/shared_random.h"

namespace {

constexpr double kWordScale = 1.0 / 4294967296.0;

// A truncated integer of a double, saturated to the int range.
int Truncate(double value) {
  if (!(value == value)) return 0;
  return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace

void CCharaMover::Init(const SCharaStartState& state, double scale) {
  noLines_ = state.noLines;
  lineHeight_ = state.lineHeight;
  SetMoveRange(state.moveRange);
  SetScale(scale);
  const int width = range_.Width();
  const int height = range_.Height();
  if (state.read) {
    x_ = state.x;
    y_ = state.y;
    UpdateLineCount();
    line_ = std::clamp(state.lineNumber, 1, lineCount_);
  } else {
    const double r1 = NextSharedRandom() * kWordScale;
    const double r2 = NextSharedRandom() * kWordScale;
    x_ = width / 2 + range_.left - width / 6 + r1 * (width / 3);
    y_ = height / 2 + range_.top - height / 6 + r2 * (height / 3);
    UpdateLineCount();
    const int line = scaledLineHeight_ > 0 ? Truncate((y_ - range_.top - remainder_) / scaledLineHeight_) : 1;
    line_ = std::clamp(line, 1, lineCount_);
  }
}

void CCharaMover::SetScale(double scale) {
  scale_ = scale;
  displayedWidth_ = width_ * scale;
  displayedHeight_ = height_ * scale;
  UpdateMargins();
  const double rangeHeight = range_.Height();
  scaledLineHeight_ = lineHeight_ * scale;
  if (noLines_ || scaledLineHeight_ > rangeHeight) scaledLineHeight_ = rangeHeight;
}

void CCharaMover::SetSize(int width, int height) {
  CMover::SetSize(width, height);
  farOffsetX_ = lineOffsetX_ == 0 ? 0 : width_ - lineOffsetX_;
  farOffsetY_ = lineOffsetY_ == 0 ? 0 : height_ - lineOffsetY_;
  UpdateMargins();
}

void CCharaMover::SetMoveRange(const SRect& range) {
  range_ = range;
  if (noLines_) {
    lineHeight_ = range_.Height();
    scaledLineHeight_ = range_.Height();
  }
}

void CCharaMover::SetEventLineOffsets(int eventLinePosX, int eventLinePosY) {
  lineOffsetX_ = eventLinePosX;
  lineOffsetY_ = eventLinePosY;
  farOffsetX_ = lineOffsetX_ == 0 ? 0 : width_ - lineOffsetX_;
  farOffsetY_ = lineOffsetY_ == 0 ? 0 : height_ - lineOffsetY_;
  UpdateMargins();
}

void CCharaMover::UpdateMargins() {
  marginLeft_ = lineOffsetX_ * scale_;
  marginTop_ = lineOffsetY_ * scale_;
  marginRight_ = farOffsetX_ * scale_;
  marginBottom_ = farOffsetY_ * scale_;
}

void CCharaMover::UpdateLineCount() {
  const double rangeHeight = range_.Height();
  // A line height of 0 (an empty range) still leaves one line.
  lineCount_ = scaledLineHeight_ > 0 ? std::max(1, Truncate(rangeHeight / scaledLineHeight_)) : 1;
  remainder_ = Truncate(rangeHeight - lineCount_ * scaledLineHeight_);
}

void CCharaMover::RecomputeLines() {
  previousLeft_ = eventLeft_;
  previousTop_ = eventTop_;
  previousRight_ = eventRight_;
  previousBottom_ = eventBottom_;
  UpdateLineCount();
  line_ = std::clamp(line_, 1, lineCount_);
  eventLeft_ = range_.left;
  eventRight_ = Truncate(range_.right - displayedWidth_);
  eventTop_ = Truncate((line_ - 1) * scaledLineHeight_ + range_.top + remainder_);
  eventBottom_ = Truncate(line_ * scaledLineHeight_ + range_.top - displayedHeight_ + remainder_);
}

void CCharaMover::Remap() {
  if (previousLeft_ == previousRight_ || previousTop_ == previousBottom_) return;
  x_ = (x_ - previousLeft_) / (previousRight_ - previousLeft_) * (eventRight_ - eventLeft_) + eventLeft_;
  y_ = (y_ - previousTop_) / (previousBottom_ - previousTop_) * (eventBottom_ - eventTop_) + eventTop_;
}

void CCharaMover::SetLineFromPosition(int motionHeight) {
  const double band = lineHeight_ * scale_;
  const int line = band > 0 ? Truncate((y_ - range_.top + motionHeight * scale_ - remainder_) / band) + 1 : 1;
  line_ = std::clamp(line, 1, lineCount_);
}

void CCharaMover::ClampToMoveRange() {
  x_ = std::min(std::max(x_, range_.left - displayedWidth_), static_cast<double>(range_.right));
  y_ = std::min(std::max(y_, range_.top - displayedHeight_), static_cast<double>(range_.bottom));
}

void CCharaMover::ClampInsideMoveRange() {
  // A frame wider or higher than the range keeps its left or top edge on the range's.
  x_ = std::max(std::min(x_, range_.right - displayedWidth_), static_cast<double>(range_.left));
  y_ = std::max(std::min(y_, range_.bottom - displayedHeight_), static_cast<double>(range_.top));
}
