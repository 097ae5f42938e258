#include "runtime/chara_mover.h"

#include <algorithm>
#include <cmath>

#include "script/shared_random.h"

namespace {

// Scales a 32-bit random word to [0, 1).
constexpr double kWordScale = 1.0 / 4294967296.0;

// A double truncated toward zero, saturated to the int range (NaN gives 0): positions
// come from scripts and may be anything.
int Truncate(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace

void CCharaMover::Init(const SCharaStartState& state, double scale) {
  noLines_ = state.noLines;
  lineHeight_ = state.lineHeight;
  SetMoveRange(state.moveRange);
  SetScale(scale);
  if (state.read) {
    x_ = state.x;
    y_ = state.y;
    CountLines();
    line_ = std::clamp(state.lineNumber, 1, lineCount_);
    return;
  }
  const int width = range_.Width();
  const int height = range_.Height();
  const double r1 = NextSharedRandom() * kWordScale;
  const double r2 = NextSharedRandom() * kWordScale;
  x_ = width / 2 + range_.left - width / 6 + r1 * (width / 3);
  y_ = height / 2 + range_.top - height / 6 + r2 * (height / 3);
  CountLines();
  const double line = scaledLineHeight_ > 0 ? std::floor((y_ - range_.top - remainder_) / scaledLineHeight_) : 1.0;
  line_ = std::clamp(Truncate(line), 1, lineCount_);
}

void CCharaMover::SetScale(double scale) {
  scale_ = scale;
  UpdateScaledValues();
}

void CCharaMover::SetSize(int width, int height) {
  CMover::SetSize(width, height);
  UpdateFarOffsets();
  UpdateScaledValues();
}

void CCharaMover::SetMoveRange(const SRect& range) {
  range_ = range;
  if (noLines_) lineHeight_ = range_.Height();
  // The cap of the scaled line height depends on the range: a range made taller again
  // must get its full lines back, not keep the capped height of the smaller one.
  UpdateScaledValues();
}

void CCharaMover::SetEventLineOffsets(int eventLinePosX, int eventLinePosY) {
  lineOffsetX_ = eventLinePosX;
  lineOffsetY_ = eventLinePosY;
  UpdateFarOffsets();
  UpdateScaledValues();
}

void CCharaMover::UpdateFarOffsets() {
  farOffsetX_ = lineOffsetX_ == 0 ? 0 : width_ - lineOffsetX_;
  farOffsetY_ = lineOffsetY_ == 0 ? 0 : height_ - lineOffsetY_;
}

void CCharaMover::UpdateScaledValues() {
  SetDisplayedSize(width_ * scale_, height_ * scale_);
  marginLeft_ = lineOffsetX_ * scale_;
  marginTop_ = lineOffsetY_ * scale_;
  marginRight_ = farOffsetX_ * scale_;
  marginBottom_ = farOffsetY_ * scale_;
  const double rangeHeight = range_.Height();
  scaledLineHeight_ = lineHeight_ * scale_;
  if (noLines_ || scaledLineHeight_ > rangeHeight) scaledLineHeight_ = rangeHeight;
}

void CCharaMover::CountLines() {
  const double rangeHeight = range_.Height();
  // An empty range gives a line height of 0; it still holds one line.
  lineCount_ = scaledLineHeight_ > 0 ? std::max(1, Truncate(rangeHeight / scaledLineHeight_)) : 1;
  remainder_ = Truncate(rangeHeight - lineCount_ * scaledLineHeight_);
}

void CCharaMover::RecomputeLines() {
  previousLeft_ = eventLeft_;
  previousTop_ = eventTop_;
  previousRight_ = eventRight_;
  previousBottom_ = eventBottom_;
  CountLines();
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
  const double line = band > 0 ? std::floor((y_ - range_.top + motionHeight * scale_ - remainder_) / band) + 1 : 1.0;
  line_ = std::clamp(Truncate(line), 1, lineCount_);
}

void CCharaMover::ClampToMoveRange() {
  x_ = std::min(std::max(x_.load(), range_.left - displayedWidth_), static_cast<double>(range_.right));
  y_ = std::min(std::max(y_.load(), range_.top - displayedHeight_), static_cast<double>(range_.bottom));
}

void CCharaMover::ClampInsideMoveRange() {
  x_ = std::max(std::min(x_.load(), range_.right - displayedWidth_), static_cast<double>(range_.left));
  y_ = std::max(std::min(y_.load(), range_.bottom - displayedHeight_), static_cast<double>(range_.top));
}
