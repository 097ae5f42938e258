#include "frame_recorder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/headless/layered_windows.h"

namespace {

bool IsEmpty(const SRect& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

SRect Union(const SRect& a, const SRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The window's rectangle clipped to `desktop`; computed wide, as a window may sit far
// off the desktop.
SRect ClippedWindowRect(const SLayeredWindowState& state, const SRect& desktop) {
  const int64_t left = std::max<int64_t>(state.position.x, desktop.left);
  const int64_t top = std::max<int64_t>(state.position.y, desktop.top);
  const int64_t right = std::min<int64_t>(int64_t{state.position.x} + state.width, desktop.right);
  const int64_t bottom = std::min<int64_t>(int64_t{state.position.y} + state.height, desktop.bottom);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

size_t ByteSize(const SRect& rect) {
  return static_cast<size_t>(rect.Width()) * static_cast<size_t>(rect.Height()) * sizeof(uint32_t);
}

}  // namespace

void CFrameRecorder::Capture(const CHeadlessLayeredWindows& windows) {
  SFrame frame;
  for (const ILayeredWindow* window : windows.StackingOrder()) {
    const SLayeredWindowState state = windows.State(*window);
    if (!state.visible) continue;
    const SRect rect = ClippedWindowRect(state, desktop_);
    if (IsEmpty(rect)) continue;
    frame.part = IsEmpty(frame.part) ? rect : Union(frame.part, rect);
  }
  if (!IsEmpty(frame.part)) {
    // zlib counts in uLong, 32 bits on Windows.
    if (ByteSize(frame.part) > std::numeric_limits<uLong>::max() / 2) {
      throw std::runtime_error("a frame too large to keep");
    }
    const CPixelSurface pixels = windows.Snapshot(frame.part, background_);
    uLongf length = compressBound(static_cast<uLong>(ByteSize(frame.part)));
    frame.deflated.resize(length);
    // Level 1: the pictures are mostly flat, and a capture must not slow the run down.
    if (compress2(reinterpret_cast<Bytef*>(frame.deflated.data()), &length,
                  reinterpret_cast<const Bytef*>(pixels.Pixels()), static_cast<uLong>(ByteSize(frame.part)),
                  Z_BEST_SPEED) != Z_OK) {
      throw std::runtime_error("out of memory while keeping a frame");
    }
    frame.deflated.resize(length);
    frame.deflated.shrink_to_fit();
    area_ = IsEmpty(area_) ? frame.part : Union(area_, frame.part);
  }
  frames_.push_back(std::move(frame));
}

CPixelSurface CFrameRecorder::Compose(size_t index, SRect canvas) const {
  CPixelSurface out(canvas.Width(), canvas.Height());
  std::fill_n(out.Pixels(), static_cast<size_t>(out.Width()) * static_cast<size_t>(out.Height()), background_);
  const SFrame& frame = frames_[index];
  if (IsEmpty(frame.part)) return out;
  CPixelSurface part(frame.part.Width(), frame.part.Height());
  uLongf length = static_cast<uLongf>(ByteSize(frame.part));
  if (uncompress(reinterpret_cast<Bytef*>(part.Pixels()), &length,
                 reinterpret_cast<const Bytef*>(frame.deflated.data()),
                 static_cast<uLong>(frame.deflated.size())) != Z_OK) {
    throw std::runtime_error("a kept frame could not be restored");
  }
  // Every part lies inside the area, which is the canvas.
  for (int y = 0; y < part.Height(); ++y) {
    std::memcpy(out.Row(y + frame.part.top - canvas.top) + (frame.part.left - canvas.left), part.Row(y),
                static_cast<size_t>(part.Width()) * sizeof(uint32_t));
  }
  return out;
}

SAnimation CFrameRecorder::Animation(int delayTicks) const {
  const SRect canvas = IsEmpty(area_) ? SRect{desktop_.left, desktop_.top, desktop_.left + 1, desktop_.top + 1} : area_;
  SAnimation animation;
  animation.width = canvas.Width();
  animation.height = canvas.Height();
  animation.frameCount = frames_.size();
  animation.delayTicks = delayTicks;
  animation.ticksPerSecond = 30;
  animation.transparent = (background_ >> 24) != 0xFF;
  animation.frame = [this, canvas](size_t index) { return Compose(index, canvas); };
  return animation;
}
