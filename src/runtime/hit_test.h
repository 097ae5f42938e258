#pragma once
// CHitTest: the hit areas and hit events of one character's functions, and the target
// of the last hit that the next function reads. The character calls it at fixed points:
// per function while the definition is checked, once all characters exist, on every
// scale change and function entry, once per frame, and on clicks and cursor moves.
// Until areas are evaluated no event ever fires and the target stays empty.
#include "chardef/definition_validator.h"

class CCharaMap;
class CHitEventConfig;

class CHitTest : public IFunctionHitTestSetUp {
 public:
  // Called for every function once its names are resolved.
  void SetUpFunctionHitTest(COrderConfig&, const CMotionConfig&) override {}
  // Builds the targets of the character-against-character events.
  virtual void SetUp(const CCharaMap&) {}
  virtual void SetScale(double) {}
  // The function was entered: its stroke counters start again.
  virtual void ResetStrokes(const COrderConfig&) {}
  // The event the frame's test fires, or null (frame thread).
  virtual const CHitEventConfig* FrameTest() { return nullptr; }
  // The click event under the cursor, or null; a hit sets the target (main thread).
  virtual const CHitEventConfig* ClickEvent() { return nullptr; }
  // The click event whose area is under the cursor, for its cursor; changes nothing.
  virtual const CHitEventConfig* ClickArea() { return nullptr; }
  // The stroke event whose area is under the cursor, or null (main thread).
  virtual const CHitEventConfig* StrokeArea() { return nullptr; }
  // Counts a cursor position over `stroke`'s area; the event when the stroke fires.
  virtual const CHitEventConfig* Stroke(const CHitEventConfig&) { return nullptr; }

  // What target.Width, target.Height, target.X and target.Y show.
  int TargetWidth() const { return targetWidth_; }
  int TargetHeight() const { return targetHeight_; }
  double TargetX() const { return targetX_; }
  double TargetY() const { return targetY_; }

 protected:
  int targetWidth_ = 0;
  int targetHeight_ = 0;
  double targetX_ = 0.0;
  double targetY_ = 0.0;
};
