#pragma once
// Keeps frames of a headless run for an animation. Each frame is stored as the part of
// the desktop its visible layered windows cover, deflated, so a long run of a small
// character costs little memory; the animation's picture is the union of those parts
// over all kept frames, and each frame is composed onto it only when an encoder asks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "animation.h"
#include "platform/geometry.h"

class CHeadlessLayeredWindows;

class CFrameRecorder {
 public:
  // `desktop` clips every frame; `background` is what shows where no window is
  // (opaque, or 0 for a transparent desktop).
  CFrameRecorder(SRect desktop, uint32_t background) : desktop_(desktop), background_(background) {}

  // Keeps the desktop as `windows` show it now. Costs a composition of the covered part
  // and its compression.
  void Capture(const CHeadlessLayeredWindows& windows);

  size_t FrameCount() const { return frames_.size(); }
  // The union of every kept frame's part, in desktop coordinates; empty when no window
  // was ever visible.
  SRect Area() const { return area_; }
  // The animation of the kept frames over Area() (one background pixel when it is empty),
  // each shown for `delayTicks` thirtieths of a second. It reads this recorder.
  SAnimation Animation(int delayTicks) const;

 private:
  struct SFrame {
    SRect part;            // desktop coordinates; empty when nothing was visible
    std::string deflated;  // part's premultiplied pixels, rows top to bottom, zlib
  };

  CPixelSurface Compose(size_t index, SRect canvas) const;

  SRect desktop_;
  uint32_t background_;
  SRect area_{};
  std::vector<SFrame> frames_;
};
