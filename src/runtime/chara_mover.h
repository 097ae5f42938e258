#pragma once
// CCharaMover: a character's mover. Besides position, size, scale and opacity it keeps
// the move range, its division into horizontal lines (bands of the line height sitting
// at the bottom of the range, the remainder above them), the current line (1 is the
// top one), and the four event lines the edge steps compare the position with: at
// x = L or x = R the window's left or right edge is on the range's, at y = T or y = B
// its top or bottom is on the current band's. The margins move those meeting points
// inside the frame by the function's EventLinePosX / EventLinePosY.
#include "platform/geometry.h"
#include "runtime/chara_start_state.h"
#include "runtime/mover.h"

class CCharaMover : public CMover {
 public:
  // Takes the range, line height and no-lines flag from the start state and the scale;
  // then the saved position and line when the state was read, else a random place in
  // the middle third of the range (two draws of the shared generator). The event lines
  // stay unset (degenerate) until the first RecomputeLines.
  void Init(const SCharaStartState& state, double scale);
  // The displayed size, the margins and the scaled line height follow the scale; the
  // scaled line height is capped at the range height (and is it without lines).
  void SetScale(double scale) override;
  void SetSize(int width, int height) override;
  // A new move range; without lines the line height becomes the range height. The
  // scaled line height is recomputed at the current scale; call RecomputeLines (and
  // Remap) afterwards.
  void SetMoveRange(const SRect& range);
  // The current function's EventLinePosX / EventLinePosY (unscaled). An offset of 0
  // keeps that axis's meeting points on the frame's own edges.
  void SetEventLineOffsets(int eventLinePosX, int eventLinePosY);

  // The line count, remainder and event lines for the current range, scale, size and
  // line (the line is limited to the count); the old event lines are kept for Remap.
  void RecomputeLines();
  // Moves the position from the previous event lines to the current ones, keeping its
  // relative place in the band; nothing while the previous lines are degenerate.
  void Remap();
  // The line whose band holds the bottom edge of a motion `motionHeight` (unscaled) high.
  void SetLineFromPosition(int motionHeight);
  // x within [left − displayed width, right], y within [top − displayed height, bottom]:
  // the character may leave the range until it is entirely outside, no further.
  void ClampToMoveRange();
  // The whole frame inside the range: left ≤ x ≤ right − displayed width, likewise for
  // y. A frame larger than the range keeps its left (top) edge on the range's.
  void ClampInsideMoveRange();

  int Line() const { return line_; }
  // Unchecked; RecomputeLines limits it to 1 … LineCount().
  void SetLine(int line) { line_ = line; }
  int LineCount() const { return lineCount_; }
  int Remainder() const { return remainder_; }
  int LineHeight() const { return lineHeight_; }
  double ScaledLineHeight() const { return scaledLineHeight_; }
  bool NoLines() const { return noLines_; }
  const SRect& MoveRange() const { return range_; }
  int EventLeft() const { return eventLeft_; }
  int EventTop() const { return eventTop_; }
  int EventRight() const { return eventRight_; }
  int EventBottom() const { return eventBottom_; }
  double MarginLeft() const { return marginLeft_; }
  double MarginTop() const { return marginTop_; }
  double MarginRight() const { return marginRight_; }
  double MarginBottom() const { return marginBottom_; }

 private:
  void UpdateScaledValues();
  void UpdateFarOffsets();
  void CountLines();

  int lineHeight_ = 160;
  double scaledLineHeight_ = 160.0;
  int line_ = 4;
  int lineCount_ = 1;
  int remainder_ = 0;
  bool noLines_ = false;
  SRect range_{};
  int eventLeft_ = 0;
  int eventTop_ = 0;
  int eventRight_ = 0;
  int eventBottom_ = 0;
  int previousLeft_ = 0;
  int previousTop_ = 0;
  int previousRight_ = 0;
  int previousBottom_ = 0;
  int lineOffsetX_ = 0;
  int lineOffsetY_ = 0;
  int farOffsetX_ = 0;
  int farOffsetY_ = 0;
  double marginLeft_ = 0.0;
  double marginTop_ = 0.0;
  double marginRight_ = 0.0;
  double marginBottom_ = 0.0;
};
